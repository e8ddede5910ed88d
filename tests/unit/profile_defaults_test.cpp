// SPDX-License-Identifier: GPL-3.0-or-later
// The default profile files shipped in data/defaults are the ones gen_defaults makes from
// the emulated devices' factory contents: right size, magic and kind, and the same bodies.

#include <gtest/gtest.h>

#include "platform/atomic_file.h"
#include "tools/default_profiles.h"
#include "unit/profile_fixture.h"

namespace orvane {
namespace {

TEST(DefaultProfileFiles, ShippedFilesMatchTheFactoryContents) {
    const auto expected = tools::DefaultProfiles();
    ASSERT_EQ(expected.size(), 8u);
    for (const auto& file : expected) {
        SCOPED_TRACE(std::string(file.fileName));
        const auto& listSpec = profiles::ListSpecOf(file.list);
        ASSERT_EQ(file.body.size(), listSpec.bodySize);
        const auto shipped = platform::ReadWholeFile(testing::ShippedDefaults() / file.fileName);
        ASSERT_TRUE(shipped) << "run gen_defaults data/defaults";
        EXPECT_EQ(*shipped, profiles::ProfileFileBytes(listSpec.kind, file.body)) << "run gen_defaults data/defaults";
    }
}

TEST(DefaultProfileFiles, LightingDefaultsHoldUsableSettings) {
    for (const auto& file : tools::DefaultProfiles()) {
        if (!profiles::ListSpecOf(file.list).lighting) continue;
        SCOPED_TRACE(std::string(file.fileName));
        EXPECT_EQ(file.body[2], 4);                    // full brightness
        EXPECT_NE(file.body[5] + file.body[6], 0);     // seven-colour, or a colour
        if (file.list == profiles::ListId::MouseLighting) {
            EXPECT_EQ(file.body[23], 10);  // pointer speed
            EXPECT_EQ(file.body[24], 3);   // wheel lines
        }
    }
}

}  // namespace
}  // namespace orvane
