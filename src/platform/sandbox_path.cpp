// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sandbox_path.h"

#include <fstream>

namespace orvane::platform {

namespace {

constexpr std::string_view kAppPrefix = "/app/";
constexpr size_t kMaxInfoBytes = 64 * 1024;

/// "app-path" of the [Instance] group of a .flatpak-info text.
std::optional<std::string> AppPath(std::string_view text) {
    bool instance = false;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.starts_with('[')) {
            instance = line == "[Instance]";
            continue;
        }
        if (instance && line.starts_with("app-path=")) return std::string(line.substr(9));
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> FlatpakHostPath(const std::filesystem::path& processRoot, std::string_view executable) {
    if (!executable.starts_with(kAppPrefix)) return std::nullopt;
    std::ifstream in(processRoot / ".flatpak-info", std::ios::binary);
    if (!in) return std::nullopt;
    std::string text(kMaxInfoBytes + 1, '\0');
    in.read(text.data(), std::streamsize(text.size()));
    text.resize(size_t(in.gcount()));
    if (text.size() > kMaxInfoBytes) return std::nullopt;
    const auto appPath = AppPath(text);
    if (!appPath || !appPath->starts_with('/')) return std::nullopt;
    const std::filesystem::path host =
        std::filesystem::path(*appPath) / std::string(executable.substr(kAppPrefix.size()));
    // The joined path must stay inside app-path and name a file that is there.
    const auto normal = host.lexically_normal();
    const auto base = std::filesystem::path(*appPath).lexically_normal();
    const auto rel = normal.lexically_relative(base);
    if (rel.empty() || rel.begin()->string() == "..") return std::nullopt;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(normal, ec)) return std::nullopt;
    return normal.string();
}

}  // namespace orvane::platform
