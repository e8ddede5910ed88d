// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ini_file.h"

#include <mutex>

#include "platform/atomic_file.h"
#include "platform/platform_log.h"

namespace orvane::platform {

namespace {

std::recursive_mutex& IniMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

IniSnapshot Load(const std::filesystem::path& path) {
    IniSnapshot snapshot;
    auto contents = ReadRegularFile(path);
    snapshot.status = contents.status;
    if (contents.status == FileStatus::Read || contents.status == FileStatus::TooLarge)
        snapshot.doc = ini::Document::Parse(contents.bytes);
    if (!snapshot.usable()) Log(path.string() + " " + FileProblemText(snapshot.status) + ": not used");
    return snapshot;
}

}  // namespace

std::optional<std::string> IniSnapshot::find(std::string_view section, std::string_view key) const {
    if (!usable()) return std::nullopt;
    return doc.get(section, key, kMaxValueLength);
}

std::string IniSnapshot::readString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
    auto value = find(section, key);
    return value ? std::move(*value) : ini::CookValue(defaultValue, kMaxValueLength);
}

int IniSnapshot::readInt(std::string_view section, std::string_view key, int defaultValue) const {
    const auto value = find(section, key);
    return value ? ini::LeadingInt(*value) : defaultValue;
}

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) {}

IniSnapshot IniFile::read() const {
    std::lock_guard guard(IniMutex());
    return Load(path_);
}

FileStatus IniFile::status() const { return ReadRegularFile(path_, kMaxSettingsFileBytes).status; }

std::string IniFile::problem() const {
    const auto s = status();
    return s == FileStatus::Read || s == FileStatus::Missing ? std::string() : path_.string() + " " + FileProblemText(s);
}

std::optional<std::string> IniFile::find(std::string_view section, std::string_view key) const {
    return read().find(section, key);
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    auto value = find(section, key);
    return value ? std::move(*value) : ini::CookValue(defaultValue, kMaxValueLength);
}

int IniFile::readInt(std::string_view section, std::string_view key, int defaultValue) const {
    const auto value = find(section, key);
    return value ? ini::LeadingInt(*value) : defaultValue;
}

bool IniFile::edit(const std::function<bool(ini::Document&)>& change, std::string* why) {
    std::lock_guard guard(IniMutex());
    auto snapshot = Load(path_);
    if (!snapshot.usable()) {
        // Never written over: a folder or device stays, a too-large file is not cut.
        if (why) *why = "the file " + FileProblemText(snapshot.status);
        return false;
    }
    if (!change(snapshot.doc)) {
        if (why) *why = "the text would change the file's structure";
        return false;
    }
    const auto outcome = WriteFile(path_, snapshot.doc.serialise());
    if (!outcome.ok()) {
        Log("cannot write " + path_.string() + ": " + outcome.text());
        if (why) *why = outcome.text();
    }
    return outcome.ok();
}

bool IniFile::replace(const ini::Document& doc, std::string* why) {
    std::lock_guard guard(IniMutex());
    const auto outcome = WriteFile(path_, doc.serialise());
    if (!outcome.ok()) {
        Log("cannot write " + path_.string() + ": " + outcome.text());
        if (why) *why = outcome.text();
    }
    return outcome.ok();
}

bool IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    return edit([&](ini::Document& doc) { return doc.set(section, key, value); });
}

bool IniFile::writeInt(std::string_view section, std::string_view key, int value) {
    return writeString(section, key, std::to_string(value));
}

bool IniFile::removeKey(std::string_view section, std::string_view key) {
    return edit([&](ini::Document& doc) { return doc.removeKey(section, key); });
}

bool IniFile::removeSection(std::string_view section) {
    return edit([&](ini::Document& doc) { return doc.removeSection(section); });
}

std::vector<std::string> IniFile::sections() const {
    const auto snapshot = read();
    return snapshot.usable() ? snapshot.doc.sectionNames() : std::vector<std::string>{};
}

std::vector<std::string> IniFile::keys(std::string_view section) const {
    const auto snapshot = read();
    return snapshot.usable() ? snapshot.doc.keys(section) : std::vector<std::string>{};
}

}  // namespace orvane::platform
