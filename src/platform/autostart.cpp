// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/autostart.h"

#include <cstdlib>
#include <sstream>
#include <system_error>

#include "platform/atomic_file.h"

namespace orvane::platform {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

fs::path AutostartFolder() {
    // XDG: a relative $XDG_CONFIG_HOME is invalid and ignored.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/')
        return fs::path(config) / "autostart";
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : "/") / ".config" / "autostart";
}

fs::path AutostartEntryPath() { return AutostartFolder() / kAutostartFileName; }

std::string DesktopExecArgument(std::string_view argument) {
    std::string quoted;
    const bool quote = argument.empty() || argument.find_first_of(kReserved) != std::string_view::npos;
    if (quote) quoted += '"';
    for (char c : argument) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) quoted += '\\';
        quoted += c;
        if (c == '%') quoted += '%';  // a field code otherwise
    }
    if (quote) quoted += '"';
    // The desktop file's string escapes come on top of the Exec quoting.
    std::string out;
    for (char c : quoted) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

std::string AutostartEntryText(const fs::path& program) {
    std::ostringstream text;
    text << "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Orvane Gaming Software\n"
            "Comment=Keeps the Orvane devices set up; starts in the tray\n"
            "Exec=" << DesktopExecArgument(program.string()) << ' ' << kMinimizedOption << "\n"
            "Icon=com.orvane.configurator\n"
            "Terminal=false\n"
            "X-GNOME-Autostart-enabled=true\n";
    return text.str();
}

bool AutostartEnabled(const fs::path& entry) {
    const auto text = ReadWholeFile(entry);
    if (!text) return false;
    // Only the keys of the [Desktop Entry] group count; anything else in the file is ignored.
    std::istringstream lines(*text);
    std::string line;
    bool inEntry = false;
    while (std::getline(lines, line)) {
        const std::string_view l = Trim(line);
        if (l.empty() || l.front() == '#') continue;
        if (l.front() == '[') {
            inEntry = l == "[Desktop Entry]";
            continue;
        }
        if (!inEntry) continue;
        const auto eq = l.find('=');
        if (eq == std::string_view::npos) continue;
        const auto key = Trim(l.substr(0, eq));
        const auto value = Trim(l.substr(eq + 1));
        if ((key == "Hidden" && value == "true") || (key == "X-GNOME-Autostart-enabled" && value == "false"))
            return false;
    }
    return true;
}

bool SetAutostart(bool enabled, const fs::path& program, std::string* error, const fs::path& entry) {
    auto fail = [&](std::string why) {
        if (error) *error = std::move(why);
        return false;
    };
    if (enabled) {
        if (!WriteFileAtomically(entry, AutostartEntryText(program)))
            return fail("cannot write the autostart entry " + entry.string());
        return true;
    }
    std::error_code ec;
    fs::remove(entry, ec);
    if (ec) return fail("cannot remove the autostart entry " + entry.string() + ": " + ec.message());
    return true;
}

}  // namespace orvane::platform
