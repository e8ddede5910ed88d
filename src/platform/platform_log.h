// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Debug texts of the platform layer (files refused, writes that failed). They go to the Qt
// logging category "orvane.platform"; enable with QT_LOGGING_RULES="orvane.*=true".

#include <string_view>

namespace orvane::platform {

void Log(std::string_view text);

}  // namespace orvane::platform
