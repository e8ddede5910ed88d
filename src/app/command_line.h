#pragma once
// The command line of `orvane`:
//   --simulate[=LIST]   emulated devices in-process (LIST of kb, kb1, ms, ms2, mp; default kb,ms,mp)
//   --screenshot PATH   write a PNG of the main window once it is laid out, then exit
//   --minimized         start hidden in the tray (how the session's autostart entry starts it)
//   -h, --help
// Qt's own -platform, -display and -style options pass through.

#include <QString>
#include <QStringList>

#include <optional>

namespace orvane::app {

struct CommandLine {
    std::optional<QString> simulate;  ///< the device list when simulating
    std::optional<QString> screenshot;
    bool minimized = false;  ///< start hidden in the tray, not with the window shown
    bool help = false;
    bool platformGiven = false;  ///< -platform on the command line
    QString error;               ///< set when the line is not understood
};

inline constexpr char kDefaultSimulation[] = "kb,ms,mp";
inline constexpr char kUsage[] =
    "usage: orvane [--simulate[=kb,ms,mp]] [--screenshot PATH] [--minimized] [-platform NAME]";

CommandLine ParseCommandLine(const QStringList& arguments);  // arguments without the program

/// Whether a window can be shown: a display server or a chosen Qt platform.
bool HasDisplay(const CommandLine& line);

}  // namespace orvane::app
