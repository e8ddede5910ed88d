// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line of `orvane`:
//   --simulate[=LIST]   emulated devices in-process (LIST of kb, kb1, ms, ms2, mp; default kb,ms,mp)
//   --share             with --simulate: serve the emulated devices to other processes on
//                       the run-time folder's simulator.sock (orvanectl --simulate-shared)
//   --screenshot PATH   write a PNG of the main window once it is shown and laid out, then exit
//   --page NAME         the page the screenshot shows (see kScreenshotPages)
//   --size WxH          the window's size for the screenshot (default: its first size)
//   --maximised         the screenshot shows the window maximised on the platform's screen
//   --language CODE     the language of this run only (en, cn, tw, jp); nothing is stored
//   --list-pages        print the page names --page knows, then exit
//   --minimized         start hidden in the tray (how the session's autostart entry starts it)
//   --sdk-server[=PORT] run the OpenRGB SDK server this run (default port 6742), whatever the
//                       settings say; nothing is stored
//   --dbus              offer the D-Bus service also with --simulate (it is on for real devices)
//   --version           print the program's version, then exit
//   -h, --help
// Qt's own -platform, -display and -style options pass through.

#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace orvane::app {

struct CommandLine {
    std::optional<QString> simulate;  ///< the device list when simulating
    bool share = false;               ///< serve the emulated devices on the local socket
    std::optional<QString> screenshot;
    std::optional<QString> page;      ///< a name of kScreenshotPages
    std::optional<QSize> size;        ///< the screenshot's window size
    bool maximised = false;           ///< the screenshot's window maximised
    std::optional<int> language;      ///< the "LANGUAGE" value of --language
    bool listPages = false;
    bool minimized = false;  ///< start hidden in the tray, not with the window shown
    std::optional<uint16_t> sdkServer;  ///< --sdk-server: run the SDK server on this port
    bool dbus = false;  ///< --dbus: the D-Bus service also for emulated devices
    bool help = false;
    bool version = false;  ///< --version: print the version and exit
    bool platformGiven = false;  ///< -platform on the command line
    QString error;               ///< set when the line is not understood
};

inline constexpr char kDefaultSimulation[] = "kb,ms,mp";
/// The OpenRGB SDK's own port ("ORGB" on a phone's keypad).
inline constexpr uint16_t kDefaultSdkPort = 6742;
inline constexpr char kUsage[] =
    "usage: orvane [--simulate[=kb,ms,mp] [--share]] [--screenshot PATH [--page NAME] [--size WxH] [--maximised]] [--language en|cn|tw|jp] "
    "[--list-pages] [--minimized] [--sdk-server[=PORT]] [--dbus] [--version] [-platform NAME]";

/// The "LANGUAGE" value of a --language name (en, cn, tw, jp, or a language code), or -1.
int LanguageOfName(const QString& name);

/// A TCP port 1-65535 written as a decimal number, else nullopt.
std::optional<uint16_t> PortOfText(const QString& text);

/// "WIDTHxHEIGHT" with each 200 to 8000, else nullopt.
std::optional<QSize> SizeOfText(const QString& text);

CommandLine ParseCommandLine(const QStringList& arguments);  // arguments without the program

/// Whether a window can be shown: a display server or a chosen Qt platform.
bool HasDisplay(const CommandLine& line);

}  // namespace orvane::app
