// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/action_file.h"

#include <algorithm>

#include "platform/atomic_file.h"
#include "platform/ini_index.h"

namespace orvane::macros {

ActionFile ReadActionFile(const std::filesystem::path& path) {
    const auto ini = platform::IniIndex::Load(path);
    ActionFile file;
    file.exists = ini.loaded();
    file.declaredCount = ini.readInt(kActionCountSection, kCountKey);
    const int count = std::clamp(file.declaredCount, 0, kMaxFileActions);
    file.lines.reserve(size_t(count));
    for (int i = 0; i < count; ++i) file.lines.push_back(ini.readString(kActionSection, std::to_string(i)));
    return file;
}

int ReadActionCount(const std::filesystem::path& path) {
    return platform::IniIndex::Load(path).readInt(kActionCountSection, kCountKey);
}

std::optional<std::string> ComposeActionFile(std::span<const std::string> lines) {
    std::string text;
    text.reserve(64 + lines.size() * 32);
    text += "[" + std::string(kActionCountSection) + "]\n";
    text += std::string(kCountKey) + "=" + std::to_string(lines.size()) + "\n";
    text += "[" + std::string(kActionSection) + "]\n";
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find_first_of("\r\n") != std::string::npos) return std::nullopt;
        text += std::to_string(i);
        text += '=';
        text += lines[i];
        text += '\n';
    }
    return text;
}

bool WriteActionFile(const std::filesystem::path& path, std::span<const std::string> lines) {
    const auto text = ComposeActionFile(lines);
    return text && platform::WriteFileAtomically(path, *text);
}

}  // namespace orvane::macros
