// SPDX-License-Identifier: GPL-3.0-or-later
// Profile files: any bytes read as a body of exactly the list's size (or a refusal), load
// into the models and save back at the list's size.

#include "fuzz_check.h"
#include "profiles/profile_bodies.h"
#include "profiles/profile_file.h"

using namespace orvane;
using namespace orvane::profiles;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    keyboard::KeyboardModel keyboard;
    mouse::MouseModel mouse;
    mousepad::PadModel pad;
    const DeviceModels models{&keyboard, &mouse, &pad};
    for (const auto& list : kLists) {
        const auto body = ParseProfileBytes(bytes, list.bodySize);
        FUZZ_CHECK(body.bytes.size() == list.bodySize);
        FUZZ_CHECK(body.bodyBytesRead <= list.bodySize);
        if (!body.ok()) continue;
        LoadBody(list.id, body.bytes, models);
        FUZZ_CHECK(SaveBody(list.id, models).size() == list.bodySize);
        ResetBody(list.id, body.bytes, models);
        (void)body.shortNote();
    }
    return 0;
}
