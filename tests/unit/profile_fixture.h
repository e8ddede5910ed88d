// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A profile store on a fresh data folder of its own, with the shipped default files and the
// three device models; helpers to plant and read profile files.

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "support/file_size_limit.h"
#include "profiles/profile_operations.h"

namespace orvane::testing {

inline std::filesystem::path FreshFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-profiles-XXXXXX").string();
    const char* made = ::mkdtemp(pattern.data());
    EXPECT_NE(made, nullptr);
    return pattern;
}

inline std::filesystem::path ShippedDefaults() { return std::filesystem::path(ORVANE_SOURCE_DIR) / "data" / "defaults"; }

struct ProfileRig {
    std::filesystem::path data = FreshFolder();
    keyboard::KeyboardModel keyboard;
    mouse::MouseModel mouse;
    mousepad::PadModel pad;
    profiles::ProfileStore store{data, {ShippedDefaults()}, {&keyboard, &mouse, &pad}};

    ~ProfileRig() {
        std::error_code ec;
        std::filesystem::remove_all(data, ec);
    }

    void initAll() {
        for (auto kind : {device::DeviceKind::Keyboard, device::DeviceKind::Mouse, device::DeviceKind::Mousepad})
            ASSERT_TRUE(store.initProfileLists(kind).message.empty());
    }

    std::filesystem::path file(profiles::ListId id, const std::string& name) const {
        return *store.profilePath(id, name);
    }
    std::string bytesOf(const std::filesystem::path& path) const {
        return platform::ReadWholeFile(path).value_or("<missing>");
    }
    /// A body of the list's size whose bytes show where they came from.
    static std::vector<uint8_t> Pattern(profiles::ListId id, uint8_t seed) {
        std::vector<uint8_t> body(profiles::ListSpecOf(id).bodySize);
        for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<uint8_t>(seed + i * 3);
        return body;
    }
    /// Writes a profile file directly (as an earlier run or another tool left it).
    void plant(profiles::ListId id, const std::string& name, const std::vector<uint8_t>& body) {
        ASSERT_TRUE(profiles::WriteProfileFile(file(id, name), profiles::ListSpecOf(id).kind, body));
    }
    std::vector<std::string> indexNames(profiles::ListId id) const {
        std::vector<std::string> names;
        for (int i = 0; i < store.indexCount(id); ++i) names.push_back(store.indexName(id, i));
        return names;
    }
};

}  // namespace orvane::testing
