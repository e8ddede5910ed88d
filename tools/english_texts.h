// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The English texts of the language keys, for the tool's output: read from "lan_en.xml" of
// the skin folder (beside the tool, at the top of the build folder, or the source tree's).

#include <string>
#include <string_view>
#include <unordered_map>

namespace orvane::cli {

class EnglishTexts {
public:
    EnglishTexts();
    /// The English text of a language key; the key itself when the file has none.
    std::string text(std::string_view id) const;

private:
    std::unordered_map<std::string, std::string> texts_;
};

}  // namespace orvane::cli
