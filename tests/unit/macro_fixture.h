// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A macro store on a fresh data folder of its own (default cursor sequences from the
// source tree), and helpers to plant index and macro files as an earlier run left them.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "macros/action_file.h"
#include "macros/action_line.h"
#include "macros/macro_store.h"
#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "unit/profile_fixture.h"

namespace orvane::testing {

struct MacroRig {
    std::filesystem::path data = FreshFolder();
    macros::MacroStore store{data, {ShippedDefaults()}};

    ~MacroRig() {
        std::error_code ec;
        std::filesystem::remove_all(data, ec);
    }

    std::filesystem::path folder(macros::MacroSet set) const { return store.deviceFolder(set); }
    std::filesystem::path macroFile(macros::MacroSet set, const std::string& name) const {
        return folder(set) / (name + ".mac");
    }
    std::string bytesOf(const std::filesystem::path& path) const {
        return platform::ReadWholeFile(path).value_or("<missing>");
    }
    /// The names of the files in the set's folder.
    std::set<std::string> files(macros::MacroSet set) const {
        std::set<std::string> names;
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(folder(set), ec)) names.insert(e.path().filename().string());
        return names;
    }

    /// An index naming these macros, each with `actions` key-A lines (or none planted).
    void plant(macros::MacroSet set, const std::vector<std::string>& names, const std::vector<int>& actions = {}) {
        platform::IniFile index(store.indexPath(set));
        ASSERT_TRUE(index.writeInt("MACROCOUNT", "count", int(names.size())));
        for (size_t i = 0; i < names.size(); ++i) {
            ASSERT_TRUE(index.writeString("MACRONAME", std::to_string(i), names[i]));
            if (i < actions.size()) {
                ASSERT_TRUE(macros::WriteActionFile(macroFile(set, names[i]), Lines(actions[i])));
            }
        }
    }

    /// n lines pressing and releasing key A, 10 ms apart, distinguishable by their delay.
    static std::vector<std::string> Lines(int n, int firstDelay = 1) {
        std::vector<std::string> lines;
        for (int i = 0; i < n; ++i) {
            macros::ActionLine a{static_cast<uint8_t>(firstDelay + i), 0, static_cast<uint8_t>(i % 2 ? 0x0A : 0x8A), 0x04,
                                 static_cast<uint16_t>(i % 2 ? 0 : 1), "keyboard_key_A"};
            lines.push_back(macros::FormatActionLine(a));
        }
        return lines;
    }
};

}  // namespace orvane::testing
