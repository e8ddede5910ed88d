// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/profile_names.h"

#include <algorithm>

namespace orvane::profiles {

std::string NextNewProfileName(std::span<const std::string> names) {
    for (size_t n = 1;; ++n) {
        std::string name = "New Profile " + std::to_string(n);
        if (!ContainsName(names, name)) return name;
    }
}

std::string CopyName(std::span<const std::string> names, std::string_view source) {
    std::string name = std::string(source) + " copy";
    while (ContainsName(names, name)) name += " copy";
    return name;
}

}  // namespace orvane::profiles
