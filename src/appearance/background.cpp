// SPDX-License-Identifier: GPL-3.0-or-later
#include "appearance/background.h"

#include <charconv>
#include <cstdio>

#include "platform/ini_file.h"

namespace orvane::appearance {

SkinChangedParam ImageChoice(std::string_view image) { return {false, 0, std::string(image)}; }

SkinChangedParam ColourChoice(uint32_t argb) { return {true, argb, {}}; }

SkinChangedParam ResetChoice() { return ImageChoice(kDefaultImage); }

BackgroundSettings::BackgroundSettings(std::filesystem::path mainIni) : mainIni_(std::move(mainIni)) {}

std::optional<std::string> BackgroundSettings::rememberedImage() const {
    const platform::IniFile ini(mainIni_);
    if (ini.readInt(kSkinSection, kFlagsKey) != 1) return std::nullopt;
    return ini.readString(kSkinSection, kImageKey, "");
}

std::optional<uint32_t> BackgroundSettings::rememberedColour() const {
    const platform::IniFile ini(mainIni_);
    if (ini.readInt(kSkinSection, kFlagsKey) != 2) return std::nullopt;
    return ParseColour(ini.readString(kSkinSection, kColourKey, ""));
}

bool BackgroundSettings::rememberColour(uint32_t argb) {
    platform::IniFile ini(mainIni_);
    char text[10];
    std::snprintf(text, sizeof text, "#%08X", unsigned(argb));
    // The colour first: "FLAGS" 2 never points at the previous choice's colour.
    return ini.writeString(kSkinSection, kColourKey, text) && ini.writeString(kSkinSection, kFlagsKey, "2");
}

bool BackgroundSettings::rememberPreset(std::string_view image) {
    platform::IniFile ini(mainIni_);
    // The image first: "FLAGS" 1 never points at the previous choice's image.
    return ini.writeString(kSkinSection, kImageKey, image) && ini.writeString(kSkinSection, kFlagsKey, "1");
}

bool BackgroundSettings::rememberReset() {
    platform::IniFile ini(mainIni_);
    return ini.writeString(kSkinSection, kFlagsKey, "0") && ini.writeString(kSkinSection, kImageKey, kDefaultImage);
}

std::filesystem::path ImageFile(const std::filesystem::path& skinFolder, std::string_view image) {
    const std::filesystem::path path(image);
    return path.is_absolute() ? path : skinFolder / path;
}

std::optional<uint32_t> ParseColour(std::string_view text) {
    if (text.empty() || text.front() != '#' || (text.size() != 7 && text.size() != 9)) return std::nullopt;
    uint32_t value = 0;
    const auto r = std::from_chars(text.data() + 1, text.data() + text.size(), value, 16);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return std::nullopt;
    return text.size() == 7 ? (0xFF000000u | value) : value;
}

}  // namespace orvane::appearance
