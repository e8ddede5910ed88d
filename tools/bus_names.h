// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's D-Bus service: its well-known name on the session bus, its objects and
// interfaces, and its error names. The interfaces are described in data/dbus (installed to
// share/dbus-1/interfaces).

namespace orvane::cli::bus {

inline constexpr char kService[] = "io.orvane.Configurator1";
inline constexpr char kManagerPath[] = "/io/orvane/Configurator1";
inline constexpr char kManagerInterface[] = "io.orvane.Configurator1.Manager";
inline constexpr char kDeviceInterface[] = "io.orvane.Configurator1.Device";
/// A value or argument the command refuses (orvanectl's exit code 2); nothing was changed.
inline constexpr char kBadArgumentError[] = "io.orvane.Configurator1.Error.BadArgument";
/// The device or a file failed (orvanectl's exit code 1).
inline constexpr char kFailedError[] = "io.orvane.Configurator1.Error.Failed";

/// The device objects, by kind: /io/orvane/Configurator1/Keyboard, /Mouse, /Mousepad.
inline constexpr const char* kDevicePaths[] = {"/io/orvane/Configurator1/Keyboard", "/io/orvane/Configurator1/Mouse",
                                               "/io/orvane/Configurator1/Mousepad"};

}  // namespace orvane::cli::bus
