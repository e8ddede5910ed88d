// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// MachineSettings: the values an installer leaves for the program and the program keeps in
// step: the interface language ("LANGUAGE": 1010 English, 2020 Simplified Chinese,
// 3030 Traditional Chinese, 4040 Japanese) and the installed version ("DisplayVersion"),
// and where the brand's services are: the update server ("UpdateServer": a host, host:port
// or an http:// URL), the web site ("WebSite") and the social-media page ("SocialPage").
// Kept in an INI file in the XDG config folder, section "Orvane Gaming Software 3.0".

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::platform {

class MachineSettings {
public:
    static constexpr char kProductKey[] = "Orvane Gaming Software 3.0";
    static constexpr char kLanguage[] = "LANGUAGE";
    static constexpr char kDisplayVersion[] = "DisplayVersion";
    static constexpr char kUpdateServer[] = "UpdateServer";
    static constexpr char kWebSite[] = "WebSite";
    static constexpr char kSocialPage[] = "SocialPage";

    /// <XDG config>/Orvane/machine.ini
    static std::filesystem::path DefaultPath();

    explicit MachineSettings(std::filesystem::path file = DefaultPath());

    const std::filesystem::path& path() const { return file_; }

    /// The stored language value as text, or nullopt when it cannot be read.
    std::optional<std::string> language() const;
    bool setLanguage(std::string_view value);

    /// The installed version: the stored value when an installer wrote one, else this
    /// build's own version.
    std::string displayVersion() const;
    static std::string BuildVersion();

    /// The update server, web site and social-media page; nullopt when not configured
    /// (missing or blank).
    std::optional<std::string> updateServer() const { return configured(kUpdateServer); }
    std::optional<std::string> webSite() const { return configured(kWebSite); }
    std::optional<std::string> socialPage() const { return configured(kSocialPage); }
    bool setValue(std::string_view key, std::string_view value);

private:
    std::optional<std::string> configured(std::string_view key) const;

    std::filesystem::path file_;
};

}  // namespace orvane::platform
