// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers shared by the HID descriptor and input-report tests.

#include <cctype>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace orvane::hid::test {

/// Bytes of a hex fixture: whitespace-separated hex pairs, '#' comments to the end of a line.
inline std::vector<uint8_t> LoadHexFixture(const std::string& name) {
    std::ifstream in(std::string(ORVANE_FIXTURES_DIR) + "/hid/" + name);
    std::vector<uint8_t> bytes;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line.substr(0, line.find('#')));
        std::string word;
        while (words >> word) bytes.push_back(static_cast<uint8_t>(std::stoul(word, nullptr, 16)));
    }
    return bytes;
}

}  // namespace orvane::hid::test
