// SPDX-License-Identifier: GPL-3.0-or-later
#include "integrations/openrgb/sdk_controller.h"

#include <algorithm>
#include <type_traits>

namespace orvane::integrations::openrgb {

namespace {

// Counts the layout holds in 16 bits; a description never comes near them, but a count is
// cut rather than wrapped so that the bytes written always agree with the count.
uint16_t Count16(size_t n) { return static_cast<uint16_t>(std::min<size_t>(n, 0xFFFF)); }

/// The device's texts in their order on the wire (the vendor from protocol 1).
template <class C, class F>
void EachDeviceText(C& c, uint32_t protocol, F&& f) {
    f(c.name);
    if (protocol >= 1) f(c.vendor);
    f(c.description);
    f(c.version);
    f(c.serial);
    f(c.location);
}

/// The mode's numbers in their order on the wire; `M` is `Mode` or `const Mode`.
template <class M, class F>
void EachModeNumber(M& m, uint32_t protocol, F&& f) {
    f(m.value);
    f(m.flags);
    f(m.speedMin);
    f(m.speedMax);
    if (protocol >= 3) {
        f(m.brightnessMin);
        f(m.brightnessMax);
    }
    f(m.coloursMin);
    f(m.coloursMax);
    f(m.speed);
    if (protocol >= 3) f(m.brightness);
    f(m.direction);
    f(m.colourMode);
}

/// A 16-bit count and the colours.
void WriteColours(ByteWriter& w, std::span<const Colour> colours) {
    const uint16_t n = Count16(colours.size());
    w.u16(n);
    for (size_t i = 0; i < n; ++i) w.colour(colours[i]);
}

/// A payload that starts with its own size (a 32-bit field counting itself too).
template <class F>
std::vector<uint8_t> SizedPayload(F&& body) {
    ByteWriter w;
    w.u32(0);
    body(w);
    w.patchU32(0, static_cast<uint32_t>(w.size()));
    return w.take();
}

void WriteMode(ByteWriter& w, const Mode& m, uint32_t protocol) {
    w.text(m.name);
    EachModeNumber(m, protocol, [&](const auto& v) { w.u32(static_cast<uint32_t>(v)); });
    WriteColours(w, m.colours);
}

bool ReadColours(ByteReader& r, size_t n, std::vector<Colour>& out) {
    // The count is checked against the bytes left before anything is allocated.
    if (r.left() / 4 < n) return false;
    out.resize(n);
    for (auto& c : out) r.colour(c);
    return r.ok();
}

bool ReadMode(ByteReader& r, Mode& m, uint32_t protocol) {
    r.text(m.name);
    EachModeNumber(m, protocol, [&](auto& v) {
        uint32_t u = 0;
        r.u32(u);
        v = static_cast<std::remove_reference_t<decltype(v)>>(u);
    });
    uint16_t colours = 0;
    return r.u16(colours) && ReadColours(r, colours, m.colours);
}

void WriteZone(ByteWriter& w, const Zone& z) {
    w.text(z.name);
    w.i32(static_cast<int32_t>(z.type));
    w.u32(z.ledsMin);
    w.u32(z.ledsMax);
    w.u32(z.ledsCount);
    if (!z.matrix) {
        w.u16(0);
        return;
    }
    const MatrixMap& m = *z.matrix;
    w.u16(static_cast<uint16_t>(8 + 4 * m.cells.size()));
    w.u32(m.height);
    w.u32(m.width);
    for (uint32_t cell : m.cells) w.u32(cell);
}

bool ReadZone(ByteReader& r, Zone& z) {
    int32_t type = 0;
    uint16_t matrixBytes = 0;
    r.text(z.name);
    r.i32(type);
    z.type = static_cast<ZoneType>(type);
    r.u32(z.ledsMin);
    r.u32(z.ledsMax);
    r.u32(z.ledsCount);
    if (!r.u16(matrixBytes)) return false;
    if (matrixBytes == 0) return true;
    MatrixMap m;
    if (matrixBytes < 8 || !r.u32(m.height) || !r.u32(m.width)) return false;
    const uint64_t cells = uint64_t(m.height) * m.width;
    if (cells * 4 != uint64_t(matrixBytes) - 8) return false;
    m.cells.resize(cells);
    for (auto& cell : m.cells) r.u32(cell);
    z.matrix = std::move(m);
    return r.ok();
}

/// The 32-bit size field that starts most payloads counts the whole payload, itself too.
bool SizeFieldFits(ByteReader& r, size_t payloadSize) {
    uint32_t size = 0;
    return r.u32(size) && size == payloadSize;
}

template <class T>
Parsed<T> Refused(Refusal why) {
    return {std::nullopt, why};
}

}  // namespace

size_t Controller::zoneStart(size_t zone) const {
    size_t start = 0;
    for (size_t i = 0; i < zone && i < zones.size(); ++i) start += zones[i].ledsCount;
    return start;
}

std::vector<uint8_t> EncodeController(const Controller& c, uint32_t protocol) {
    protocol = std::min(protocol, kNewestProtocol);
    return SizedPayload([&](ByteWriter& w) {
        w.i32(static_cast<int32_t>(c.type));
        EachDeviceText(c, protocol, [&](const std::string& t) { w.text(t); });
        const uint16_t modes = Count16(c.modes.size());
        w.u16(modes);
        w.i32(c.activeMode);
        for (size_t i = 0; i < modes; ++i) WriteMode(w, c.modes[i], protocol);
        const uint16_t zones = Count16(c.zones.size());
        w.u16(zones);
        for (size_t i = 0; i < zones; ++i) WriteZone(w, c.zones[i]);
        const uint16_t leds = Count16(c.leds.size());
        w.u16(leds);
        for (size_t i = 0; i < leds; ++i) {
            w.text(c.leds[i].name);
            w.u32(c.leds[i].value);
        }
        WriteColours(w, c.colours);
    });
}

std::optional<Controller> DecodeController(std::span<const uint8_t> payload, uint32_t protocol) {
    ByteReader r(payload);
    Controller c;
    int32_t type = 0;
    uint16_t count = 0;
    if (!SizeFieldFits(r, payload.size())) return std::nullopt;
    r.i32(type);
    c.type = static_cast<DeviceType>(type);
    EachDeviceText(c, protocol, [&](std::string& t) { r.text(t); });
    if (!r.u16(count) || !r.i32(c.activeMode)) return std::nullopt;
    for (uint16_t i = 0; i < count; ++i)
        if (!ReadMode(r, c.modes.emplace_back(), protocol)) return std::nullopt;
    if (!r.u16(count)) return std::nullopt;
    for (uint16_t i = 0; i < count; ++i)
        if (!ReadZone(r, c.zones.emplace_back())) return std::nullopt;
    if (!r.u16(count)) return std::nullopt;
    for (uint16_t i = 0; i < count; ++i) {
        Led& led = c.leds.emplace_back();
        if (!r.text(led.name) || !r.u32(led.value)) return std::nullopt;
    }
    if (!r.u16(count) || !ReadColours(r, count, c.colours) || !r.atEnd()) return std::nullopt;
    return c;
}

std::string_view Describe(Refusal r) {
    switch (r) {
    case Refusal::None: return "";
    case Refusal::Malformed: return "malformed request (its size or size field is wrong)";
    case Refusal::ZoneOutOfRange: return "zone index out of range";
    case Refusal::LedOutOfRange: return "LED index out of range";
    case Refusal::ModeOutOfRange: return "mode index out of range";
    case Refusal::LedCountMismatch: return "colour count does not match the LED count";
    case Refusal::ModeValueChanged: return "the mode's device value differs from the one offered";
    case Refusal::ValueOutOfRange: return "a mode value is out of its range";
    }
    return "";
}

Parsed<std::vector<Colour>> ParseUpdateLeds(std::span<const uint8_t> payload, const Controller& c) {
    ByteReader r(payload);
    uint16_t n = 0;
    if (!SizeFieldFits(r, payload.size()) || !r.u16(n) || r.left() != size_t(n) * 4)
        return Refused<std::vector<Colour>>(Refusal::Malformed);
    if (n != c.leds.size()) return Refused<std::vector<Colour>>(Refusal::LedCountMismatch);
    std::vector<Colour> colours;
    ReadColours(r, n, colours);
    return {std::move(colours), Refusal::None};
}

Parsed<ZoneColours> ParseUpdateZoneLeds(std::span<const uint8_t> payload, const Controller& c) {
    ByteReader r(payload);
    ZoneColours z;
    uint16_t n = 0;
    if (!SizeFieldFits(r, payload.size()) || !r.u32(z.zone) || !r.u16(n) || r.left() != size_t(n) * 4)
        return Refused<ZoneColours>(Refusal::Malformed);
    if (z.zone >= c.zones.size()) return Refused<ZoneColours>(Refusal::ZoneOutOfRange);
    if (n != c.zones[z.zone].ledsCount) return Refused<ZoneColours>(Refusal::LedCountMismatch);
    ReadColours(r, n, z.colours);
    return {std::move(z), Refusal::None};
}

Parsed<SingleLed> ParseUpdateSingleLed(std::span<const uint8_t> payload, const Controller& c) {
    ByteReader r(payload);
    SingleLed s;
    if (payload.size() != 8 || !r.u32(s.led) || !r.colour(s.colour)) return Refused<SingleLed>(Refusal::Malformed);
    if (s.led >= c.leds.size()) return Refused<SingleLed>(Refusal::LedOutOfRange);
    return {s, Refusal::None};
}

namespace {
bool Within(uint32_t v, uint32_t a, uint32_t b) { return v >= std::min(a, b) && v <= std::max(a, b); }

/// What a client may change in a mode: speed, brightness, direction, colour mode and colours
/// within what the offered mode declares; name, value, flags and ranges are the server's.
Refusal CheckModeChange(const Mode& offered, const Mode& asked) {
    if (asked.value != offered.value) return Refusal::ModeValueChanged;
    const uint32_t f = offered.flags;
    if ((f & mode_flag::kHasSpeed) && !Within(asked.speed, offered.speedMin, offered.speedMax))
        return Refusal::ValueOutOfRange;
    if ((f & mode_flag::kHasBrightness) && !Within(asked.brightness, offered.brightnessMin, offered.brightnessMax))
        return Refusal::ValueOutOfRange;
    if ((f & mode_flag::kHasDirectionLeftRight) && asked.direction > kDirectionRight) return Refusal::ValueOutOfRange;
    const bool colourModeOffered = [&] {
        switch (asked.colourMode) {
        case ColourMode::None: return true;
        case ColourMode::PerLed: return (f & mode_flag::kHasPerLedColour) != 0;
        case ColourMode::ModeSpecific: return (f & mode_flag::kHasModeSpecificColour) != 0;
        case ColourMode::Random: return (f & mode_flag::kHasRandomColour) != 0;
        }
        return false;
    }();
    if (!colourModeOffered) return Refusal::ValueOutOfRange;
    if (asked.colourMode == ColourMode::ModeSpecific && !Within(uint32_t(asked.colours.size()), offered.coloursMin, offered.coloursMax))
        return Refusal::ValueOutOfRange;
    return Refusal::None;
}
}  // namespace

Parsed<ModeChange> ParseUpdateMode(std::span<const uint8_t> payload, const Controller& c, uint32_t protocol) {
    protocol = std::min(protocol, kNewestProtocol);
    ByteReader r(payload);
    ModeChange m;
    int32_t index = 0;
    if (!SizeFieldFits(r, payload.size()) || !r.i32(index) || !ReadMode(r, m.mode, protocol) || !r.atEnd())
        return Refused<ModeChange>(Refusal::Malformed);
    if (index < 0 || size_t(index) >= c.modes.size()) return Refused<ModeChange>(Refusal::ModeOutOfRange);
    m.index = static_cast<uint32_t>(index);
    if (const Refusal why = CheckModeChange(c.modes[m.index], m.mode); why != Refusal::None)
        return Refused<ModeChange>(why);
    return {std::move(m), Refusal::None};
}

std::optional<uint32_t> ParseClientProtocol(std::span<const uint8_t> payload) {
    if (payload.empty()) return 0u;
    ByteReader r(payload);
    uint32_t v = 0;
    if (payload.size() != 4 || !r.u32(v)) return std::nullopt;
    return v;
}

std::string ParseClientName(std::span<const uint8_t> payload) {
    const auto end = std::find(payload.begin(), payload.end(), uint8_t{0});
    const size_t n = std::min<size_t>(static_cast<size_t>(end - payload.begin()), 255);
    return std::string(reinterpret_cast<const char*>(payload.data()), n);
}

std::vector<uint8_t> EncodeUpdateLeds(std::span<const Colour> colours) {
    return SizedPayload([&](ByteWriter& w) { WriteColours(w, colours); });
}

std::vector<uint8_t> EncodeUpdateZoneLeds(uint32_t zone, std::span<const Colour> colours) {
    return SizedPayload([&](ByteWriter& w) {
        w.u32(zone);
        WriteColours(w, colours);
    });
}

std::vector<uint8_t> EncodeUpdateSingleLed(uint32_t led, Colour colour) {
    ByteWriter w;
    w.u32(led);
    w.colour(colour);
    return w.take();
}

std::vector<uint8_t> EncodeUpdateMode(uint32_t index, const Mode& mode, uint32_t protocol) {
    return SizedPayload([&](ByteWriter& w) {
        w.u32(index);
        WriteMode(w, mode, std::min(protocol, kNewestProtocol));
    });
}

std::vector<uint8_t> EncodeProfileList(std::span<const std::string> names) {
    return SizedPayload([&](ByteWriter& w) {
        const uint16_t n = Count16(names.size());
        w.u16(n);
        for (size_t i = 0; i < n; ++i) w.text(names[i]);
    });
}

}  // namespace orvane::integrations::openrgb
