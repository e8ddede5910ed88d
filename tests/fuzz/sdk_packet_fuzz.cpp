// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the OpenRGB SDK server's input: any bytes, fed in pieces whose sizes
// the input's first byte chooses, through the packet reader, and every packet's payload
// through the request readers against our keyboard's controller and through the
// controller-data reader. What a reader accepts must lie inside the controller.
// Standalone:
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc -Itests/fuzz \
//     tests/fuzz/sdk_packet_fuzz.cpp src/integrations/openrgb/*.cpp src/lighting/lighting_edits.cpp \
//     -o /tmp/sdk_packet_fuzz
//   /tmp/sdk_packet_fuzz tests/fuzz/corpus/sdk_packet_fuzz

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_check.h"
#include "integrations/openrgb/sdk_devices.h"
#include "integrations/openrgb/sdk_packet.h"

using namespace orvane::integrations::openrgb;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Controller keyboard = ControllerOf(orvane::device::DeviceModel::RgbKeyboard, {});
    if (size == 0) return 0;
    const size_t piece = size_t(data[0] % 31) + 1;
    const std::span<const uint8_t> stream(data + 1, size - 1);
    PacketReader reader;
    for (size_t at = 0; at < stream.size(); at += piece) {
        reader.feed(stream.subspan(at, std::min(piece, stream.size() - at)));
        Packet p;
        ReadStatus status;
        while ((status = reader.next(p)) == ReadStatus::Packet) {
            FUZZ_CHECK(p.payload.size() <= kMaxPayload);
            const uint32_t protocol = p.device % (kNewestProtocol + 1);
            if (auto leds = ParseUpdateLeds(p.payload, keyboard)) FUZZ_CHECK(leds.value->size() == keyboard.leds.size());
            if (auto zone = ParseUpdateZoneLeds(p.payload, keyboard)) {
                FUZZ_CHECK(zone.value->zone < keyboard.zones.size());
                FUZZ_CHECK(zone.value->colours.size() == keyboard.zones[zone.value->zone].ledsCount);
            }
            if (auto led = ParseUpdateSingleLed(p.payload, keyboard)) FUZZ_CHECK(led.value->led < keyboard.leds.size());
            if (auto mode = ParseUpdateMode(p.payload, keyboard, protocol)) FUZZ_CHECK(mode.value->index < keyboard.modes.size());
            if (auto c = DecodeController(p.payload, protocol)) FUZZ_CHECK(c->colours.size() <= 0xFFFF);
            ParseClientProtocol(p.payload);
            ParseClientName(p.payload);
        }
        if (status != ReadStatus::NeedMore) {
            FUZZ_CHECK(reader.broken());
            break;
        }
    }
    return 0;
}
