// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/profile_bodies.h"

#include <algorithm>
#include <cstring>

#include "mouse/dpi.h"

namespace orvane::profiles {

namespace {

template <class Record>
void CopyInto(Record& record, std::span<const uint8_t> body, size_t offset = 0) {
    const size_t n = std::min(record.bytes.size(), body.size() > offset ? body.size() - offset : 0);
    std::copy_n(body.begin() + std::ptrdiff_t(offset), n, record.bytes.begin());
}

template <class Record>
void Append(std::vector<uint8_t>& out, const Record& record) {
    out.insert(out.end(), record.bytes.begin(), record.bytes.end());
}

void LoadKeyboardLighting(keyboard::KeyboardData& d, std::span<const uint8_t> body) {
    CopyInto(d.lightingSlots[0], body);
    d.lighting = d.lightingSlots[0].record();
    CopyInto(d.paint, body, offsetof(keyboard::KeyboardLightingBody, paint));
    CopyInto(d.colours, body, offsetof(keyboard::KeyboardLightingBody, colours));
}

void LoadMouseLighting(mouse::MouseData& d, std::span<const uint8_t> body) {
    auto& record = d.block.slots[0];
    CopyInto(record, body);
    d.state = record.state();
    d.pointerSpeed = static_cast<uint8_t>(mouse::StoredPointerSpeed(record.pointerSpeed()));
    d.wheelLines = static_cast<uint8_t>(mouse::StoredWheelLines(record.wheelLines()));
}

void LoadPadLighting(mousepad::PadData& d, std::span<const uint8_t> body) {
    CopyInto(d.slots[0], body);
    d.state = d.slots[0].state();
}

}  // namespace

bool DeviceModels::has(ListId id) const {
    switch (ListSpecOf(id).kind) {
    case DeviceKind::Keyboard: return keyboard != nullptr;
    case DeviceKind::Mouse: return mouse != nullptr;
    case DeviceKind::Mousepad: return pad != nullptr;
    }
    return false;
}

void LoadBody(ListId id, std::span<const uint8_t> body, const DeviceModels& models) {
    if (!models.has(id)) return;
    switch (id) {
    case ListId::KeyboardLighting:
        models.keyboard->update([&](keyboard::KeyboardData& d) { LoadKeyboardLighting(d, body); });
        break;
    case ListId::KeyboardKeys:
        models.keyboard->update([&](keyboard::KeyboardData& d) { CopyInto(d.banks[0], body); });
        break;
    case ListId::MouseLighting:
        models.mouse->update([&](mouse::MouseData& d) { LoadMouseLighting(d, body); });
        break;
    case ListId::MouseKeys:
        models.mouse->update([&](mouse::MouseData& d) { CopyInto(d.block.pages[0], body); });
        break;
    case ListId::PadLighting:
        models.pad->update([&](mousepad::PadData& d) { LoadPadLighting(d, body); });
        break;
    }
}

std::vector<uint8_t> SaveBody(ListId id, const DeviceModels& models) {
    std::vector<uint8_t> body;
    body.reserve(ListSpecOf(id).bodySize);
    if (!models.has(id)) return body;
    switch (id) {
    case ListId::KeyboardLighting:
        models.keyboard->update([&](keyboard::KeyboardData& d) {
            // Whatever slot the record names, the profile is staged in slot 0.
            d.lightingSlots[0].setRecord(d.lighting);
            Append(body, d.lightingSlots[0]);
            Append(body, d.paint);
            Append(body, d.colours);
        });
        break;
    case ListId::KeyboardKeys:
        models.keyboard->read([&](const keyboard::KeyboardData& d) { Append(body, d.banks[0]); });
        break;
    case ListId::MouseLighting:
        models.mouse->update([&](mouse::MouseData& d) { Append(body, mouse::StageLightingProfile(d)); });
        break;
    case ListId::MouseKeys:
        models.mouse->read([&](const mouse::MouseData& d) { Append(body, d.block.pages[0]); });
        break;
    case ListId::PadLighting:
        models.pad->update([&](mousepad::PadData& d) {
            d.slots[0].setState(d.state);
            Append(body, d.slots[0]);
        });
        break;
    }
    return body;
}

void ResetBody(ListId id, std::span<const uint8_t> body, const DeviceModels& models) {
    if (!models.has(id)) return;
    const auto exchanged = body.first(std::min(body.size(), ListSpecOf(id).resetBytes));
    switch (id) {
    case ListId::MouseLighting:
        models.mouse->update([&](mouse::MouseData& d) {
            d.block.slots[0].assignPrefix(exchanged);
            d.state = d.block.slots[0].state();
        });
        break;
    case ListId::PadLighting:
        models.pad->update([&](mousepad::PadData& d) {
            d.slots[0].assignPrefix(exchanged);
            d.state = d.slots[0].state();
        });
        break;
    default: LoadBody(id, body, models); break;
    }
}

}  // namespace orvane::profiles
