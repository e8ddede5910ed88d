// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One device as an OpenRGB SDK client sees it ("RGBController"): a plain description, its
// encoding for the controller-data reply of protocol versions 0-3, and the reading of the
// requests that change it (UpdateLEDs, UpdateZoneLEDs, UpdateSingleLED, UpdateMode). Every
// index and count of a request is checked against the description; a request that does not
// fit is refused whole, so nothing of it reaches a device.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "integrations/openrgb/sdk_bytes.h"

namespace orvane::integrations::openrgb {

/// The newest protocol version whose controller data and requests are served here in full:
/// 1 adds the vendor, 2 the profile requests (answered with an empty list), 3 the modes'
/// brightness. Version 4 would add zone segments and the plugin requests.
inline constexpr uint32_t kNewestProtocol = 3;

enum class DeviceType : int32_t { Keyboard = 5, Mouse = 6, Mousemat = 7 };
enum class ZoneType : int32_t { Single = 0, Linear = 1, Matrix = 2 };

namespace mode_flag {
inline constexpr uint32_t kHasSpeed = 1u << 0;
inline constexpr uint32_t kHasDirectionLeftRight = 1u << 1;
inline constexpr uint32_t kHasBrightness = 1u << 4;
inline constexpr uint32_t kHasPerLedColour = 1u << 5;
inline constexpr uint32_t kHasModeSpecificColour = 1u << 6;
inline constexpr uint32_t kHasRandomColour = 1u << 7;
}  // namespace mode_flag

enum class ColourMode : uint32_t { None = 0, PerLed = 1, ModeSpecific = 2, Random = 3 };
inline constexpr uint32_t kDirectionLeft = 0;
inline constexpr uint32_t kDirectionRight = 1;
/// A matrix cell with no LED.
inline constexpr uint32_t kNoLed = 0xFFFFFFFF;

struct Mode {
    std::string name;
    int32_t value = 0;  ///< the device's own mode number; handed back in UpdateMode
    uint32_t flags = 0;
    uint32_t speedMin = 0, speedMax = 0;  ///< min may be above max (slowest first)
    uint32_t brightnessMin = 0, brightnessMax = 0;
    uint32_t coloursMin = 0, coloursMax = 0;
    uint32_t speed = 0, brightness = 0, direction = 0;
    ColourMode colourMode = ColourMode::None;
    std::vector<Colour> colours;
    friend bool operator==(const Mode&, const Mode&) = default;
};

struct MatrixMap {
    uint32_t height = 0;
    uint32_t width = 0;
    std::vector<uint32_t> cells;  ///< row by row: the LED index within the zone, or kNoLed
    friend bool operator==(const MatrixMap&, const MatrixMap&) = default;
};

struct Zone {
    std::string name;
    ZoneType type = ZoneType::Linear;
    uint32_t ledsMin = 0, ledsMax = 0, ledsCount = 0;
    std::optional<MatrixMap> matrix;
    friend bool operator==(const Zone&, const Zone&) = default;
};

struct Led {
    std::string name;
    uint32_t value = 0;  ///< the device's own LED number
    friend bool operator==(const Led&, const Led&) = default;
};

/// Zones hold consecutive LEDs in order: zone 0 the first ledsCount of `leds`, and so on.
struct Controller {
    DeviceType type = DeviceType::Keyboard;
    std::string name, vendor, description, version, serial, location;
    std::vector<Mode> modes;
    int32_t activeMode = 0;
    std::vector<Zone> zones;
    std::vector<Led> leds;
    std::vector<Colour> colours;  ///< one per LED
    friend bool operator==(const Controller&, const Controller&) = default;

    /// Index of the zone's first LED in `leds` (the zone must exist).
    size_t zoneStart(size_t zone) const;
};

/// The controller-data reply's payload for `protocol` (above kNewestProtocol: as
/// kNewestProtocol; the caller answers with min(client's, ours) anyway).
std::vector<uint8_t> EncodeController(const Controller& c, uint32_t protocol);
/// Reads a controller-data payload written for `protocol`; nullopt when it does not hold
/// exactly one well-formed controller.
std::optional<Controller> DecodeController(std::span<const uint8_t> payload, uint32_t protocol);

/// Why a request was refused.
enum class Refusal {
    None,
    Malformed,         ///< too short, too long, or its size field disagrees with its size
    ZoneOutOfRange,
    LedOutOfRange,
    ModeOutOfRange,
    LedCountMismatch,  ///< not one colour per LED of the device or zone
    ModeValueChanged,  ///< UpdateMode names another device mode than the mode's own
    ValueOutOfRange,   ///< a speed, brightness, direction, colour mode or colour count the mode does not take
};
std::string_view Describe(Refusal r);

template <class T>
struct Parsed {
    std::optional<T> value;
    Refusal refusal = Refusal::None;
    explicit operator bool() const { return value.has_value(); }
};

struct ZoneColours {
    uint32_t zone = 0;
    std::vector<Colour> colours;
};
struct SingleLed {
    uint32_t led = 0;
    Colour colour;
};
struct ModeChange {
    uint32_t index = 0;
    Mode mode;
};

Parsed<std::vector<Colour>> ParseUpdateLeds(std::span<const uint8_t> payload, const Controller& c);
Parsed<ZoneColours> ParseUpdateZoneLeds(std::span<const uint8_t> payload, const Controller& c);
Parsed<SingleLed> ParseUpdateSingleLed(std::span<const uint8_t> payload, const Controller& c);
/// UpdateMode (and SaveMode, same layout) as written for `protocol`.
Parsed<ModeChange> ParseUpdateMode(std::span<const uint8_t> payload, const Controller& c, uint32_t protocol);
/// The version a client asks for in RequestProtocolVersion or RequestControllerData: 0 for an
/// empty payload (protocol 0 clients send none), nullopt for any other size.
std::optional<uint32_t> ParseClientProtocol(std::span<const uint8_t> payload);
/// SetClientName: the text up to the first zero, at most 255 characters kept.
std::string ParseClientName(std::span<const uint8_t> payload);

// A client's side of the requests (the tests and the fuzz seeds speak it).
std::vector<uint8_t> EncodeUpdateLeds(std::span<const Colour> colours);
std::vector<uint8_t> EncodeUpdateZoneLeds(uint32_t zone, std::span<const Colour> colours);
std::vector<uint8_t> EncodeUpdateSingleLed(uint32_t led, Colour colour);
std::vector<uint8_t> EncodeUpdateMode(uint32_t index, const Mode& mode, uint32_t protocol);
/// The profile-list reply of protocol 2 and later: its names (the server offers none).
std::vector<uint8_t> EncodeProfileList(std::span<const std::string> names);

}  // namespace orvane::integrations::openrgb
