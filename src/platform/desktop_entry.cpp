// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop_entry.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace orvane::platform {

namespace {

/// A desktop entry is a few kilobytes; anything far larger is not one to read.
constexpr size_t kMaxEntryBytes = 256 * 1024;

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

/// The words of an Exec value: quoted words ("…", with \" \\ \` \$ escapes) or plain ones.
std::vector<std::string> ExecWords(std::string_view value) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < value.size()) {
        while (i < value.size() && value[i] == ' ') ++i;
        if (i >= value.size()) break;
        std::string word;
        if (value[i] == '"') {
            for (++i; i < value.size() && value[i] != '"'; ++i) {
                if (value[i] == '\\' && i + 1 < value.size()) ++i;
                word += value[i];
            }
            ++i;  // the closing quote
        } else {
            while (i < value.size() && value[i] != ' ') word += value[i++];
        }
        words.push_back(std::move(word));
    }
    return words;
}

std::optional<std::string> FindInPath(const std::string& name) {
    if (name.find('/') != std::string::npos) return std::nullopt;  // relative paths name nothing certain
    const char* path = std::getenv("PATH");
    std::string_view dirs = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (!dirs.empty()) {
        const auto colon = dirs.find(':');
        const std::string_view dir = dirs.substr(0, colon);
        dirs = colon == std::string_view::npos ? std::string_view{} : dirs.substr(colon + 1);
        if (dir.empty() || dir.front() != '/') continue;
        const std::filesystem::path candidate = std::filesystem::path(dir) / name;
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec) && ::access(candidate.c_str(), X_OK) == 0)
            return candidate.string();
    }
    return std::nullopt;
}

/// Programs that start another one (a sandbox, a shell): the entry says nothing certain
/// about which application runs, and a link to them must not match every app they start.
bool IsLauncher(std::string_view name) {
    for (const std::string_view launcher : {"flatpak", "snap", "sh", "bash", "dash", "zsh", "env", "gtk-launch"})
        if (name == launcher) return true;
    return false;
}

}  // namespace

std::vector<std::string> ApplicationFolders() {
    std::vector<std::string> folders;
    const char* home = std::getenv("XDG_DATA_HOME");
    const char* user = std::getenv("HOME");
    if (home && *home == '/')
        folders.push_back(std::string(home) + "/applications");
    else if (user && *user == '/')
        folders.push_back(std::string(user) + "/.local/share/applications");
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    std::string_view rest = dirs && *dirs ? dirs : "/usr/local/share:/usr/share";
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::string_view dir = rest.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
        if (!dir.empty() && dir.front() == '/') folders.push_back(std::string(dir) + "/applications");
    }
    return folders;
}

std::optional<std::string> DesktopExecProgram(std::string_view text) {
    bool inEntry = false;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.starts_with('[')) {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry || !line.starts_with("Exec")) continue;
        const std::string_view rest = Trimmed(line.substr(4));
        if (!rest.starts_with('=')) continue;  // "ExecFoo=", or a localised key
        const auto words = ExecWords(Trimmed(rest.substr(1)));
        size_t i = 0;
        if (i < words.size() && (words[i] == "env" || words[i] == "/usr/bin/env")) {
            // "env [-i] [-u NAME] [-C DIR] [NAME=VALUE]… PROGRAM"; a split string (-S) hides the program.
            for (++i; i < words.size() && (words[i].find('=') != std::string::npos || words[i].starts_with('-')); ++i) {
                if (words[i].starts_with("-S") || words[i].starts_with("--split")) return std::nullopt;
                if (words[i] == "-u" || words[i] == "-C" || words[i] == "--unset" || words[i] == "--chdir") ++i;
            }
        }
        if (i >= words.size() || words[i].empty() || words[i].starts_with('%')) return std::nullopt;
        return words[i];
    }
    return std::nullopt;
}

std::optional<std::string> DesktopEntryProgram(std::string_view appId, const std::vector<std::string>& folders) {
    if (appId.empty() || appId.size() > 255 || appId.find_first_of("/\\\n\r") != std::string_view::npos ||
        appId.starts_with('.'))
        return std::nullopt;
    for (const auto& folder : folders) {
        const std::filesystem::path file = std::filesystem::path(folder) / (std::string(appId) + ".desktop");
        std::error_code ec;
        if (!std::filesystem::is_regular_file(file, ec)) continue;
        // The first entry of that name hides the others, as the desktop sees it.
        std::ifstream in(file, std::ios::binary);
        std::string text;
        text.resize(kMaxEntryBytes + 1);
        in.read(text.data(), std::streamsize(text.size()));
        text.resize(size_t(in.gcount()));
        if (text.size() > kMaxEntryBytes) return std::nullopt;
        const auto program = DesktopExecProgram(text);
        if (!program) return std::nullopt;
        const auto found = program->starts_with('/') ? std::optional(*program) : FindInPath(*program);
        if (!found) return std::nullopt;
        const auto resolved = std::filesystem::canonical(*found, ec);
        if (ec || IsLauncher(resolved.filename().string())) return std::nullopt;
        return resolved.string();
    }
    return std::nullopt;
}

}  // namespace orvane::platform
