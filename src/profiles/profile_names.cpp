// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/profile_names.h"

#include <algorithm>

namespace orvane::profiles {

namespace {
constexpr std::string_view kNewProfilePrefix = "New Profile ";
}  // namespace

std::string NextNewProfileName(std::span<const std::string> names) {
    for (size_t n = 1;; ++n) {
        std::string name = std::string(kNewProfilePrefix) + std::to_string(n);
        if (!ContainsName(names, name)) return name;
    }
}

std::optional<std::string> NewProfileNumber(std::string_view name) {
    if (!name.starts_with(kNewProfilePrefix)) return std::nullopt;
    const std::string_view number = name.substr(kNewProfilePrefix.size());
    // As NextNewProfileName writes it: digits, no leading zero.
    if (number.empty() || number.size() > 9 || number.front() == '0' ||
        !std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::string(number);
}

std::string CopyName(std::span<const std::string> names, std::string_view source) {
    std::string name = std::string(source) + " copy";
    while (ContainsName(names, name)) name += " copy";
    return name;
}

}  // namespace orvane::profiles
