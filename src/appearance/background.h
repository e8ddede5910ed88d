// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's background as the skin window chooses it: a preset image of the skin,
// a plain colour, any PNG file, or the default image. Preset images, colours and the reset
// are remembered in main.ini ("SKINIMAGE": "FLAGS" "1" and the image in "IMAGE" for a
// preset, "FLAGS" "2" and "#AARRGGBB" in "COLOR" for a colour, "FLAGS" "0" and
// "common/background.png" after a reset) and applied again at start; a custom file lasts
// until the program ends.

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
inline constexpr std::string_view kColourKey = "COLOR";
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
/// The colour buttons (opaque ARGB): navy, wine, forest, amber, violet, slate; each far
/// enough from the others to tell apart, and dark enough under the skin's light text.
inline constexpr std::array<uint32_t, 6> kPresetColours{0xFF215A8C, 0xFF7A2430, 0xFF24664A,
                                                         0xFF6E531F, 0xFF52368A, 0xFF3A4250};

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
    /// The colour to apply at start: "COLOR" when "FLAGS" reads as 2 and the colour reads.
    std::optional<uint32_t> rememberedColour() const;
    /// A preset was chosen: "FLAGS" "1" and its image. false when main.ini cannot be written.
    bool rememberPreset(std::string_view image);
    /// A colour was chosen: "FLAGS" "2" and the colour.
    bool rememberColour(uint32_t argb);
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
