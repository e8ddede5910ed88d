// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/action_line.h"

#include <algorithm>

#include "platform/ini_index.h"
#include "platform/ini_text.h"

namespace orvane::macros {

void ActionLine::setDelayUnits(int units) {
    units = std::clamp(units, 0, kMaxDelayUnits);
    delayLow = static_cast<uint8_t>(units & 0xFF);
    delayHigh = static_cast<uint8_t>(units >> 8);
}

ActionLine ParseActionLine(std::string_view line) {
    // Split from the right: label, then pressed, code, kind, delayHigh; delayLow is what
    // remains (it may still hold commas of its own, which end its number).
    std::array<std::string_view, 5> numbers;  // delayLow, delayHigh, kind, code, pressed
    auto cut = line.rfind(',');
    if (cut == std::string_view::npos) return {};
    const std::string_view label = line.substr(cut + 1);
    std::string_view rest = line.substr(0, cut);
    for (size_t field = 4; field >= 1; --field) {
        cut = rest.rfind(',');
        if (cut == std::string_view::npos) return {};
        numbers[field] = rest.substr(cut + 1);
        rest = rest.substr(0, cut);
    }
    numbers[0] = rest;
    const auto byte = [](std::string_view text) { return static_cast<uint8_t>(platform::ini::LeadingInt(text)); };
    ActionLine a;
    a.delayLow = byte(numbers[0]);
    a.delayHigh = byte(numbers[1]);
    a.kind = byte(numbers[2]);
    a.code = byte(numbers[3]);
    a.pressed = static_cast<uint16_t>(platform::ini::LeadingInt(numbers[4]));
    a.label = std::string(label);
    return a;
}

std::string FormatActionLine(const ActionLine& a) {
    std::string line;
    line.reserve(24 + a.label.size());
    for (int value : {int(a.delayLow), int(a.delayHigh), int(a.kind), int(a.code), int(a.pressed)}) {
        line += std::to_string(value);
        line += ',';
    }
    line += a.label;
    return line;
}

}  // namespace orvane::macros
