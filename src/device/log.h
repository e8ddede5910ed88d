// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Debug texts of the device link (monitor exit texts, connect and disconnect notes). They go
// to the Qt logging category "orvane.device"; enable with QT_LOGGING_RULES="orvane.*=true".

#include <string_view>

namespace orvane::device {

void Log(std::string_view text);

}  // namespace orvane::device
