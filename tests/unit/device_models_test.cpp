// SPDX-License-Identifier: GPL-3.0-or-later
// The model rows: every fact that differs between the Orvane models comes from them, so they
// are checked against the tables and files that depend on them.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <utility>

#include "device/models.h"
#include "keyboard/key_positions.h"
#include "keyboard/keyboard_model.h"
#include "lighting/device_tables.h"
#include "lighting/keyboard_engine.h"
#include "profiles/profile_lists.h"

using namespace orvane;
using device::DeviceKind;
using device::DeviceModel;

TEST(ModelRows, IdentitiesAndNamesAreUnique) {
    std::set<std::pair<uint16_t, uint16_t>> ids;
    std::set<std::string_view> names;
    for (const auto& row : device::kModels) {
        EXPECT_TRUE(ids.insert({row.vendorId, row.productId}).second) << row.shortName;
        EXPECT_TRUE(names.insert(row.shortName).second) << row.shortName;
        EXPECT_EQ(device::ModelFor(row.vendorId, row.productId), row.model);
        EXPECT_EQ(device::ModelByShortName(row.shortName), row.model);
        EXPECT_EQ(&device::RowOf(row.model), &row);
    }
    EXPECT_EQ(device::KindTag(DeviceKind::Keyboard), "kb");
    EXPECT_EQ(device::KindTag(DeviceKind::Mouse), "ms");
    EXPECT_EQ(device::KindTag(DeviceKind::Mousepad), "mp");
}

TEST(ModelRows, CountsMatchTheTablesThatUseThem) {
    struct Case {
        DeviceModel model;
        size_t leds, frameBytes, dpiStages, keys;
        bool singleColour;
    };
    const Case cases[] = {
        {DeviceModel::RgbKeyboard, keyboard::kKeyPositionCount, lighting::kRgbFrameSize, 0, keyboard::kKeyPositionCount, false},
        {DeviceModel::MonoKeyboard, keyboard::kKeyPositionCount, lighting::kMonoFrameSize, 0, keyboard::kKeyPositionCount, true},
        {DeviceModel::Mouse, lighting::kMouseLedCount, 60, 5, 6, false},
        {DeviceModel::Mouse2, lighting::kMouseLedCount, 60, 6, 6, false},
        {DeviceModel::Mousepad, lighting::kPadLedCount, 45, 0, 0, false},
    };
    for (const auto& c : cases) {
        const auto& row = device::RowOf(c.model);
        SCOPED_TRACE(std::string(row.shortName));
        EXPECT_EQ(row.ledCount, c.leds);
        EXPECT_EQ(row.frameBytes(), c.frameBytes);
        EXPECT_EQ(row.dpiStages, c.dpiStages);
        EXPECT_EQ(row.keyCount, c.keys);
        EXPECT_EQ(row.singleColour(), c.singleColour);
    }
    EXPECT_EQ(keyboard::VariantOf(DeviceModel::MonoKeyboard), keyboard::KeyboardVariant::SingleColour);
    EXPECT_EQ(keyboard::VariantOf(DeviceModel::RgbKeyboard), keyboard::KeyboardVariant::Rgb);
}

TEST(ModelRows, ModelAfterConnectKeepsWhatWasKnownForAStrangeId) {
    struct Case {
        DeviceKind kind;
        uint16_t product;
        DeviceModel previous, expected;
    };
    const Case cases[] = {
        {DeviceKind::Keyboard, 0x3021, DeviceModel::MonoKeyboard, DeviceModel::RgbKeyboard},
        {DeviceKind::Keyboard, 0x0000, DeviceModel::RgbKeyboard, DeviceModel::MonoKeyboard},
        {DeviceKind::Keyboard, 0x4444, DeviceModel::MonoKeyboard, DeviceModel::MonoKeyboard},
        {DeviceKind::Mouse, 0x6717, DeviceModel::Mouse, DeviceModel::Mouse2},
        {DeviceKind::Mouse, 0x5523, DeviceModel::Mouse2, DeviceModel::Mouse},
        {DeviceKind::Mouse, 0x1111, DeviceModel::Mouse2, DeviceModel::Mouse2},
        {DeviceKind::Mouse, 0x3021, DeviceModel::Mouse, DeviceModel::Mouse},  // a keyboard's id is not a mouse
    };
    for (const auto& c : cases)
        EXPECT_EQ(device::ModelAfterConnect(c.kind, c.product, c.previous), c.expected) << c.product;
}

TEST(ModelRows, EveryDefaultFileIsShipped) {
    const std::filesystem::path shipped = std::filesystem::path(ORVANE_SOURCE_DIR) / "data" / "defaults";
    for (const auto& row : device::kModels)
        for (const auto& list : profiles::kLists) {
            if (list.kind != row.kind) continue;
            const auto file = profiles::DefaultFileOf(list.id, row.model);
            ASSERT_FALSE(file.empty()) << row.shortName;
            EXPECT_TRUE(std::filesystem::is_regular_file(shipped / file)) << file;
        }
    EXPECT_EQ(profiles::DefaultFileOf(profiles::ListId::MouseLighting, DeviceModel::Mouse2), "msdengdefault2.led");
    EXPECT_EQ(profiles::DefaultFileOf(profiles::ListId::KeyboardLighting, DeviceModel::MonoKeyboard),
              "kbonecolordengdefault.led");
}
