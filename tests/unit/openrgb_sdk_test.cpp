// SPDX-License-Identifier: GPL-3.0-or-later
// The OpenRGB SDK codec: packets cut from a byte stream (split, joined, hostile), the
// controller-data layout byte for byte, round trips for every model and protocol version,
// the requests' index and size checks, and our devices as controllers.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "integrations/openrgb/sdk_devices.h"
#include "integrations/openrgb/sdk_packet.h"
#include "lighting/keyboard_tables.h"
#include "lighting/lighting_edits.h"

namespace orvane::integrations::openrgb {
namespace {

using Bytes = std::vector<uint8_t>;

/// Hex digits, spaces and line breaks ignored.
Bytes FromHex(std::string_view hex) {
    Bytes out;
    std::string digits;
    for (char ch : hex)
        if (std::isxdigit(static_cast<unsigned char>(ch))) digits += ch;
    for (size_t i = 0; i + 1 < digits.size(); i += 2) out.push_back(uint8_t(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return out;
}

Bytes Joined(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Slice(const Bytes& b, size_t from, size_t to) { return Bytes(b.begin() + from, b.begin() + std::min(to, b.size())); }

TEST(OpenRgbPackets, HeaderIsLittleEndianWithMagic) {
    EXPECT_EQ(EncodeU32Packet(2, packet_id::kRequestProtocolVersion, 3),
              FromHex("4f524742 02000000 28000000 04000000 03000000"));
    EXPECT_EQ(EncodePacket(0x01020304, packet_id::kUpdateLeds), FromHex("4f524742 04030201 1a040000 00000000"));
}

TEST(OpenRgbPackets, StreamCases) {
    const Bytes a = EncodeU32Packet(0, packet_id::kRequestProtocolVersion, 3);
    const Bytes b = EncodePacket(1, packet_id::kSetCustomMode);
    const Bytes name = EncodePacket(0, packet_id::kSetClientName, Bytes{'n', 'o', 'd', 'e', 0});
    Bytes huge = EncodePacket(0, packet_id::kUpdateLeds);
    huge[12] = 0x01, huge[13] = 0x00, huge[14] = 0x10, huge[15] = 0x00;  // 1 MB + 1
    Bytes limit = EncodePacket(0, packet_id::kUpdateLeds);
    limit[14] = 0x10;  // exactly 1 MB: allowed, waits for its data
    using S = ReadStatus;
    struct Case {
        const char* name;
        std::vector<Bytes> reads;
        std::vector<S> after;  ///< what next() gives after all reads, in order
        size_t packets;
    };
    const Case cases[] = {
        {"two packets in one read", {Joined({a, b})}, {S::Packet, S::Packet, S::NeedMore}, 2},
        {"half a header, then the rest", {Slice(a, 0, 7), Slice(a, 7, 99)}, {S::Packet, S::NeedMore}, 1},
        {"header, then payload in two", {Slice(name, 0, 16), Slice(name, 16, 18), Slice(name, 18, 99)}, {S::Packet, S::NeedMore}, 1},
        {"one and a half packets", {Joined({a, Slice(b, 0, 5)})}, {S::Packet, S::NeedMore}, 1},
        {"half a packet then silence", {Slice(name, 0, 19)}, {S::NeedMore, S::NeedMore}, 0},
        {"wrong magic", {FromHex("4f524758 00000000 00000000 00000000")}, {S::BadMagic, S::BadMagic}, 0},
        {"wrong first byte, before a whole header", {Bytes{'G', 'E', 'T'}}, {S::BadMagic}, 0},
        {"wrong magic after a good packet", {Joined({a, Bytes{'H', 'T', 'T', 'P'}}), a}, {S::BadMagic, S::BadMagic}, 1},
        {"size over 1 MB, refused from the header", {huge}, {S::TooLarge, S::TooLarge}, 0},
        {"size of exactly 1 MB waits for its data", {limit}, {S::NeedMore}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PacketReader reader;
        std::vector<Packet> got;
        std::vector<S> statuses;
        for (size_t i = 0; i < c.reads.size(); ++i) {
            reader.feed(c.reads[i]);
            // Between reads the reader only ever has whole packets to give.
            if (i + 1 < c.reads.size()) {
                Packet p;
                while (reader.next(p) == S::Packet) got.push_back(p);
            }
        }
        for (size_t i = 0; i < c.after.size(); ++i) {
            Packet p;
            statuses.push_back(reader.next(p));
            if (statuses.back() == S::Packet) got.push_back(p);
        }
        EXPECT_EQ(statuses, std::vector<S>(c.after.begin(), c.after.end()));
        EXPECT_EQ(got.size(), c.packets);
        if (!Describe(statuses.back()).empty()) { EXPECT_TRUE(reader.broken()); }
    }
}

TEST(OpenRgbPackets, ByteByByteGivesTheSamePackets) {
    const Bytes stream = Joined({EncodePacket(0, packet_id::kSetClientName, Bytes{'x', 0}),
                                 EncodeU32Packet(5, packet_id::kRequestControllerData, 3), EncodePacket(2, 0)});
    PacketReader reader;
    std::vector<Packet> got;
    for (uint8_t byte : stream) {
        reader.feed(std::span<const uint8_t>(&byte, 1));
        Packet p;
        while (reader.next(p) == ReadStatus::Packet) got.push_back(p);
    }
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].payload, (Bytes{'x', 0}));
    EXPECT_EQ(got[1].device, 5u);
    EXPECT_EQ(ParseClientProtocol(got[1].payload), 3u);
    EXPECT_EQ(got[2].device, 2u);
    EXPECT_EQ(reader.pending(), 0u);
}

/// A controller small enough to write out by hand: one mode, one 1x2 matrix zone, two LEDs.
Controller Tiny() {
    Controller c;
    c.type = DeviceType::Mouse;
    c.name = "M", c.vendor = "V", c.description = "D", c.version = "1", c.serial = "", c.location = "L";
    Mode direct;
    direct.name = "Direct";
    direct.value = 0x100;
    direct.flags = mode_flag::kHasPerLedColour;
    direct.colourMode = ColourMode::PerLed;
    c.modes = {direct};
    c.zones = {{"Z", ZoneType::Matrix, 2, 2, 2, MatrixMap{1, 2, {0, 1}}}};
    c.leds = {{"A", 0}, {"B", 1}};
    c.colours = {{1, 2, 3}, {4, 5, 6}};
    return c;
}

TEST(OpenRgbController, GoldenBytesOfATinyController) {
    const char* head = "06000000 0200 4d00";  // type mouse, name "M"
    const char* vendor = "0200 5600";
    const char* strings = "0200 4400  0200 3100  0100 00  0200 4c00";  // description, version, serial, location
    const char* modesHead = "0100 00000000";                          // one mode, active 0
    const char* modeHead = "0700 446972656374 00  00010000 20000000 00000000 00000000";  // name, value, flags, speed min/max
    const char* brightnessRange = "00000000 00000000";
    const char* coloursRange = "00000000 00000000 00000000";  // colours min/max, speed
    const char* brightness = "00000000";
    const char* modeTail = "00000000 01000000 0000";  // direction, per-LED colour, no colours
    const char* rest =
        "0100  0200 5a00 02000000 02000000 02000000 02000000"  // one zone "Z", matrix, 2/2/2 LEDs
        "1000 01000000 02000000 00000000 01000000"            // 16 bytes of matrix: 1 x 2, LEDs 0 1
        "0200 0200 4100 00000000 0200 4200 01000000"          // LEDs "A" 0, "B" 1
        "0200 01020300 04050600";                             // colours
    const std::string v3 = std::string("a4000000") + head + vendor + strings + modesHead + modeHead + brightnessRange +
                           coloursRange + brightness + modeTail + rest;
    const std::string v0 = std::string("94000000") + head + strings + modesHead + modeHead + coloursRange + modeTail + rest;
    EXPECT_EQ(EncodeController(Tiny(), 3), FromHex(v3));
    EXPECT_EQ(EncodeController(Tiny(), 0), FromHex(v0));
    EXPECT_EQ(EncodeController(Tiny(), 9), FromHex(v3));  // newer clients get the newest we serve
}

/// What a client of `protocol` can learn of a controller.
Controller AsSeenAt(Controller c, uint32_t protocol) {
    if (protocol < 1) c.vendor.clear();
    if (protocol < 3)
        for (auto& m : c.modes) m.brightnessMin = m.brightnessMax = m.brightness = 0;
    return c;
}

TEST(OpenRgbController, RoundTripsForEveryModelAndVersion) {
    lighting::LightingChoice choice{.mode = 2, .brightness = 3, .speed = 1, .direction = 1, .sevenColour = 0, .colour = {9, 8, 7}};
    std::vector<Controller> controllers{Tiny()};
    for (const auto& row : device::kModels) controllers.push_back(ControllerOf(row.model, choice));
    for (const auto& c : controllers)
        for (uint32_t protocol = 0; protocol <= kNewestProtocol; ++protocol) {
            SCOPED_TRACE(c.name + " protocol " + std::to_string(protocol));
            const Bytes bytes = EncodeController(c, protocol);
            EXPECT_LT(bytes.size(), kMaxPayload);
            const auto back = DecodeController(bytes, protocol);
            ASSERT_TRUE(back.has_value());
            EXPECT_EQ(*back, AsSeenAt(c, protocol));
            // Cut anywhere, or read with another version's layout: refused, not misread.
            for (size_t cut : {size_t(0), size_t(5), bytes.size() / 2, bytes.size() - 1}) {
                Bytes shortened = Slice(bytes, 0, cut);
                if (shortened.size() >= 4) shortened[0] = uint8_t(cut);  // size field agrees
                EXPECT_FALSE(DecodeController(shortened, protocol).has_value()) << cut;
            }
            if (protocol > 0 && !c.modes.empty()) { EXPECT_FALSE(DecodeController(bytes, protocol == 3 ? 1 : 3).has_value()); }
        }
}

Controller MouseNow() {
    return ControllerOf(device::DeviceModel::Mouse, {.mode = 0, .brightness = 4, .speed = 2, .colour = {255, 0, 0}});
}

size_t ModeNamed(const Controller& c, std::string_view name) {
    for (size_t i = 0; i < c.modes.size(); ++i)
        if (c.modes[i].name == name) return i;
    ADD_FAILURE() << "no mode " << name;
    return 0;
}

Refusal RefusalOf(uint32_t id, const Bytes& payload, const Controller& c) {
    switch (id) {
    case packet_id::kUpdateLeds: return ParseUpdateLeds(payload, c).refusal;
    case packet_id::kUpdateZoneLeds: return ParseUpdateZoneLeds(payload, c).refusal;
    case packet_id::kUpdateSingleLed: return ParseUpdateSingleLed(payload, c).refusal;
    case packet_id::kUpdateMode: return ParseUpdateMode(payload, c, kNewestProtocol).refusal;
    }
    return Refusal::Malformed;
}

TEST(OpenRgbController, RequestsAreCheckedAgainstTheController) {
    const Controller c = MouseNow();  // 20 LEDs in one zone
    const std::vector<Colour> all(20, Colour{1, 2, 3});
    const std::vector<Colour> one(1, Colour{1, 2, 3});
    Bytes wrongSize = EncodeUpdateLeds(all);
    wrongSize[0] += 4;
    Bytes bigCount = EncodeUpdateLeds(one);
    bigCount[4] = 0x60, bigCount[5] = 0xEA;  // 60000 colours announced, one sent
    const size_t wave = ModeNamed(c, "Wave");
    Mode goodWave = c.modes[wave];
    goodWave.speed = 3, goodWave.direction = kDirectionLeft, goodWave.colours = {{0, 0, 255}};
    Mode slowWave = goodWave;
    slowWave.speed = 9;
    Mode otherValue = goodWave;
    otherValue.value = 7;
    Mode noColour = goodWave;
    noColour.colours.clear();
    Mode perLed = goodWave;
    perLed.colourMode = ColourMode::PerLed;
    Bytes trailing = EncodeUpdateMode(uint32_t(wave), goodWave, kNewestProtocol);
    trailing.push_back(0);
    trailing[0] += 1;
    struct Case {
        const char* name;
        uint32_t id;
        Bytes payload;
        Refusal expected;
    };
    const Case cases[] = {
        {"all LEDs", packet_id::kUpdateLeds, EncodeUpdateLeds(all), Refusal::None},
        {"one LED too few", packet_id::kUpdateLeds, EncodeUpdateLeds(std::vector<Colour>(19)), Refusal::LedCountMismatch},
        {"one LED too many", packet_id::kUpdateLeds, EncodeUpdateLeds(std::vector<Colour>(21)), Refusal::LedCountMismatch},
        {"size field disagrees", packet_id::kUpdateLeds, wrongSize, Refusal::Malformed},
        {"count beyond the data", packet_id::kUpdateLeds, bigCount, Refusal::Malformed},
        {"cut short", packet_id::kUpdateLeds, Slice(EncodeUpdateLeds(all), 0, 5), Refusal::Malformed},
        {"empty", packet_id::kUpdateLeds, Bytes{}, Refusal::Malformed},
        {"zone 0", packet_id::kUpdateZoneLeds, EncodeUpdateZoneLeds(0, all), Refusal::None},
        {"zone 1", packet_id::kUpdateZoneLeds, EncodeUpdateZoneLeds(1, all), Refusal::ZoneOutOfRange},
        {"zone 2^32-1", packet_id::kUpdateZoneLeds, EncodeUpdateZoneLeds(0xFFFFFFFF, all), Refusal::ZoneOutOfRange},
        {"zone short of colours", packet_id::kUpdateZoneLeds, EncodeUpdateZoneLeds(0, one), Refusal::LedCountMismatch},
        {"LED 19", packet_id::kUpdateSingleLed, EncodeUpdateSingleLed(19, {}), Refusal::None},
        {"LED 20", packet_id::kUpdateSingleLed, EncodeUpdateSingleLed(20, {}), Refusal::LedOutOfRange},
        {"LED -1", packet_id::kUpdateSingleLed, EncodeUpdateSingleLed(0xFFFFFFFF, {}), Refusal::LedOutOfRange},
        {"single LED, 7 bytes", packet_id::kUpdateSingleLed, Slice(EncodeUpdateSingleLed(0, {}), 0, 7), Refusal::Malformed},
        {"mode as offered, changed within range", packet_id::kUpdateMode, EncodeUpdateMode(uint32_t(wave), goodWave, 3), Refusal::None},
        {"mode index past the end", packet_id::kUpdateMode, EncodeUpdateMode(uint32_t(c.modes.size()), goodWave, 3), Refusal::ModeOutOfRange},
        {"mode index -1", packet_id::kUpdateMode, EncodeUpdateMode(0xFFFFFFFF, goodWave, 3), Refusal::ModeOutOfRange},
        {"speed out of range", packet_id::kUpdateMode, EncodeUpdateMode(uint32_t(wave), slowWave, 3), Refusal::ValueOutOfRange},
        {"another device value", packet_id::kUpdateMode, EncodeUpdateMode(uint32_t(wave), otherValue, 3), Refusal::ModeValueChanged},
        {"no colour for a one-colour mode", packet_id::kUpdateMode, EncodeUpdateMode(uint32_t(wave), noColour, 3), Refusal::ValueOutOfRange},
        {"per-LED colours for an effect", packet_id::kUpdateMode, EncodeUpdateMode(uint32_t(wave), perLed, 3), Refusal::ValueOutOfRange},
        {"mode written for protocol 0", packet_id::kUpdateMode, EncodeUpdateMode(uint32_t(wave), goodWave, 0), Refusal::Malformed},
        {"a byte after the mode", packet_id::kUpdateMode, trailing, Refusal::Malformed},
    };
    for (const auto& k : cases) EXPECT_EQ(RefusalOf(k.id, k.payload, c), k.expected) << k.name << ": " << Describe(RefusalOf(k.id, k.payload, c));

    const auto zone = ParseUpdateZoneLeds(EncodeUpdateZoneLeds(0, all), c);
    ASSERT_TRUE(zone);
    EXPECT_EQ(zone.value->colours, all);
    const auto led = ParseUpdateSingleLed(EncodeUpdateSingleLed(7, {4, 5, 6}), c);
    ASSERT_TRUE(led);
    EXPECT_EQ(led.value->led, 7u);
    EXPECT_EQ(led.value->colour, (Colour{4, 5, 6}));
    const auto mode = ParseUpdateMode(EncodeUpdateMode(uint32_t(wave), goodWave, 3), c, 3);
    ASSERT_TRUE(mode);
    EXPECT_EQ(mode.value->mode, goodWave);
}

TEST(OpenRgbController, ClientFields) {
    EXPECT_EQ(ParseClientProtocol(Bytes{}), 0u);
    EXPECT_EQ(ParseClientProtocol(FromHex("03000000")), 3u);
    EXPECT_FALSE(ParseClientProtocol(FromHex("0300")).has_value());
    EXPECT_EQ(ParseClientName(Bytes{'a', 'b', 0, 'c'}), "ab");
    EXPECT_EQ(ParseClientName(Bytes(1000, 'x')).size(), 255u);
    EXPECT_EQ(EncodeProfileList({}), FromHex("06000000 0000"));
    const std::string names[] = {"a"};
    EXPECT_EQ(EncodeProfileList(names), FromHex("0a000000 0100 0200 6100"));
}

TEST(OpenRgbDevices, KeyboardsAreTheirLightingGrid) {
    for (auto model : {device::DeviceModel::RgbKeyboard, device::DeviceModel::MonoKeyboard}) {
        const Controller c = ControllerOf(model, {});
        SCOPED_TRACE(c.name);
        const auto variant = keyboard::VariantOf(model);
        EXPECT_EQ(c.type, DeviceType::Keyboard);
        ASSERT_EQ(c.zones.size(), 1u);
        const Zone& z = c.zones[0];
        ASSERT_TRUE(z.matrix.has_value());
        EXPECT_EQ(z.type, ZoneType::Matrix);
        EXPECT_EQ(z.ledsCount, c.leds.size());
        EXPECT_EQ(c.colours.size(), c.leds.size());
        ASSERT_EQ(z.matrix->cells.size(), size_t(z.matrix->height) * z.matrix->width);
        // Each cell names the LED of the grid's key position there; every LED is on the map.
        std::set<uint32_t> onMap;
        for (size_t row = 0; row < lighting::kGridRows; ++row)
            for (size_t column = 0; column < lighting::kGridColumns; ++column) {
                const uint32_t led = z.matrix->cells[row * z.matrix->width + column];
                const uint8_t position = lighting::GridCell(column, row);
                if (led == kNoLed) {
                    EXPECT_TRUE(!lighting::IsKey(position) || !lighting::IsKey(lighting::PaintSlotOf(variant, position)));
                    continue;
                }
                ASSERT_LT(led, c.leds.size());
                EXPECT_EQ(c.leds[led].value, lighting::PaintSlotOf(variant, position));
                onMap.insert(led);
            }
        EXPECT_EQ(onMap.size(), c.leds.size());
        std::set<uint32_t> slots;
        std::set<std::string> names;
        for (const auto& led : c.leds) {
            EXPECT_LT(led.value, lighting::kKeyCount);
            slots.insert(led.value);
            names.insert(led.name);
        }
        EXPECT_EQ(slots.size(), c.leds.size()) << "two LEDs drive one slot";
        EXPECT_EQ(names.size(), c.leds.size());
        EXPECT_TRUE(names.count("Key: Esc"));
        EXPECT_TRUE(names.count("Key: Space"));
        EXPECT_TRUE(names.count("Key: Position 110"));  // a key without a name of its own
        EXPECT_EQ(names.count("Light 17"), variant == keyboard::KeyboardVariant::Rgb ? 1u : 0u);  // a lamp
        EXPECT_EQ(c.leds[z.matrix->cells[0 * z.matrix->width + 2]].name, "Key: Esc");  // the grid's column 2
    }
}

TEST(OpenRgbDevices, ModesFollowTheModelAndTheChoice) {
    const std::pair<device::DeviceModel, size_t> modeCounts[] = {
        {device::DeviceModel::RgbKeyboard, lighting::kRgbKeyboardModeCount},
        {device::DeviceModel::MonoKeyboard, lighting::kMonoKeyboardModeCount},
        {device::DeviceModel::Mouse, lighting::kMouseModeCount},
        {device::DeviceModel::Mouse2, lighting::kMouseModeCount},
        {device::DeviceModel::Mousepad, 10},
    };
    for (const auto& [model, count] : modeCounts) {
        const auto& row = device::RowOf(model);
        SCOPED_TRACE(std::string(row.displayName));
        if (row.kind != device::DeviceKind::Keyboard) { EXPECT_EQ(ControllerOf(model, {}).leds.size(), row.ledCount); }
        for (const EffectRow& e : EffectsOf(model)) {
            EXPECT_LT(e.mode, count);
            const Controller c = ControllerOf(model, {.mode = e.mode, .brightness = 9, .speed = 200, .direction = 1, .sevenColour = 1, .colour = {1, 2, 3}});
            ASSERT_GT(c.activeMode, 0);
            const Mode& m = c.modes[size_t(c.activeMode)];
            EXPECT_EQ(m.name, e.name);
            EXPECT_EQ(m.value, e.mode);
            // Out-of-range record bytes are shown clamped, so the offered mode is one a
            // client can send back unchanged.
            EXPECT_EQ(ParseUpdateMode(EncodeUpdateMode(uint32_t(c.activeMode), m, 3), c, 3).refusal, Refusal::None);
            EXPECT_EQ((m.flags & mode_flag::kHasSpeed) != 0, e.speed);
            EXPECT_EQ((m.flags & mode_flag::kHasDirectionLeftRight) != 0, e.direction);
            if (e.direction) { EXPECT_EQ(m.direction, kDirectionLeft); }
            if (e.colour) { EXPECT_EQ(m.colours, (std::vector<Colour>{{1, 2, 3}})); }
            if (e.sevenColour) { EXPECT_EQ(m.colourMode, ColourMode::Random); }
        }
        // A mode offered for a choice stands for that choice again (within the effect's parameters).
        for (const EffectRow& e : EffectsOf(model)) {
            const lighting::LightingChoice choice{.mode = e.mode, .brightness = 2, .speed = 3, .direction = 1, .sevenColour = 1, .colour = {7, 8, 9}};
            const Controller c = ControllerOf(model, choice);
            const lighting::LightingChoice untouched{.mode = 99, .brightness = 1, .speed = 1, .direction = 0, .sevenColour = 0, .colour = {1, 1, 1}};
            const auto back = ChoiceOf(model, c.modes[size_t(c.activeMode)], untouched);
            ASSERT_TRUE(back.has_value()) << e.name;
            EXPECT_EQ(back->mode, e.mode);
            EXPECT_EQ(back->speed, e.speed ? 3 : 1) << e.name;
            EXPECT_EQ(back->brightness, e.brightness ? 2 : 1) << e.name;
            EXPECT_EQ(back->direction, e.direction ? 1 : 0) << e.name;
            EXPECT_EQ(back->sevenColour, e.sevenColour ? 1 : 0) << e.name;
            EXPECT_EQ(back->colour, (e.colour ? device::Rgb{7, 8, 9} : device::Rgb{1, 1, 1})) << e.name;
        }
        const Controller direct = ControllerOf(model, {}, true);
        EXPECT_FALSE(ChoiceOf(model, direct.modes[0], {}).has_value());
        EXPECT_EQ(direct.activeMode, 0);
        EXPECT_EQ(direct.modes[0].name, "Direct");
        EXPECT_EQ(direct.modes[0].colourMode, ColourMode::PerLed);
    }
}

}  // namespace
}  // namespace orvane::integrations::openrgb
