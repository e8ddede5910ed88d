// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mouse sensors the page knows: the minimum DPI the program writes into the information
// record and the texts of the stage limit labels ("ms_DPI1_min" ... "ms_DPI6_max").

#include <array>
#include <cstdint>
#include <string_view>

namespace orvane::mouse {

struct SensorLimits {
    uint16_t sensorId;
    uint16_t minimumDpi;
    std::string_view minLabel;
    std::string_view maxLabel;
};

inline constexpr std::array<SensorLimits, 3> kSensorLimits{{
    {0x3325, 200, "200", "5000"},
    {0x3050, 250, "250", "4000"},
    {0x3360, 100, "100", "12000"},
}};

/// The row of that sensor, or null for a sensor this program does not know.
constexpr const SensorLimits* FindSensorLimits(uint16_t sensorId) {
    for (const auto& s : kSensorLimits)
        if (s.sensorId == sensorId) return &s;
    return nullptr;
}

}  // namespace orvane::mouse
