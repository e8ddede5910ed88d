// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's background as the skin window chooses it: a preset image of the skin,
// a plain colour, any PNG file, or the default image. Preset images and the reset are
// remembered in main.ini ("SKINIMAGE": "FLAGS" "1" and the image in "IMAGE" for a preset,
// "FLAGS" "0" and "common/background.png" after a reset) and applied again at start; a
// colour or a custom file lasts until the program ends.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::appearance {

inline constexpr std::string_view kSkinSection = "SKINIMAGE";
inline constexpr std::string_view kFlagsKey = "FLAGS";
inline constexpr std::string_view kImageKey = "IMAGE";
inline constexpr std::string_view kDefaultImage = "common/background.png";

/// The message the skin window passes to the main window (the receivers).
struct SkinChangedParam {
    bool bColor = false;       ///< true: a plain colour; false: an image
    uint32_t bkcolor = 0;      ///< ARGB, when bColor
    std::string bgimage;       ///< the image path as the skin resolves it, when not bColor
};

/// A preset button of the skin window: its image (relative to the skin folder) and the
/// text id of its tooltip.
struct PresetImage {
    std::string_view image;
    std::string_view tipId;
};
inline constexpr std::array<PresetImage, 4> kPresetImages{{
    {"backgrounds/graphite.png", "skin_preset_graphite_tip"},
    {"backgrounds/ember.png", "skin_preset_ember_tip"},
    {"backgrounds/glacier.png", "skin_preset_glacier_tip"},
    {"backgrounds/dusk.png", "skin_preset_dusk_tip"},
}};
/// The colour buttons (opaque ARGB).
inline constexpr std::array<uint32_t, 6> kPresetColours{0xFF121418, 0xFF1B1F27, 0xFF23171A,
                                                         0xFF14201F, 0xFF1C1826, 0xFF262626};

SkinChangedParam ImageChoice(std::string_view image);
SkinChangedParam ColourChoice(uint32_t argb);
SkinChangedParam ResetChoice();

/// main.ini's "SKINIMAGE" part of the background.
class BackgroundSettings {
public:
    explicit BackgroundSettings(std::filesystem::path mainIni);

    /// The image to apply at start: "IMAGE" when "FLAGS" reads as 1, else nullopt (the
    /// skin's own background stays).
    std::optional<std::string> rememberedImage() const;
    /// A preset was chosen: "FLAGS" "1" and its image. false when main.ini cannot be written.
    bool rememberPreset(std::string_view image);
    /// The default was chosen: "FLAGS" "0" and "common/background.png".
    bool rememberReset();

private:
    std::filesystem::path mainIni_;
};

/// The file of an image path as the skin names it: relative paths are inside the skin
/// folder; an absolute path (a custom file) stays as it is.
std::filesystem::path ImageFile(const std::filesystem::path& skinFolder, std::string_view image);

/// "#AARRGGBB" → ARGB; nullopt when malformed. "#RRGGBB" is opaque.
std::optional<uint32_t> ParseColour(std::string_view text);

}  // namespace orvane::appearance
