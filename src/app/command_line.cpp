#include "app/command_line.h"

namespace orvane::app {

CommandLine ParseCommandLine(const QStringList& args) {
    CommandLine line;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        auto value = [&]() -> std::optional<QString> {
            if (i + 1 < args.size()) return args[++i];
            line.error = QStringLiteral("%1 needs a value").arg(arg);
            return std::nullopt;
        };
        if (arg == QLatin1String("--simulate")) {
            line.simulate = QString::fromLatin1(kDefaultSimulation);
        } else if (arg.startsWith(QLatin1String("--simulate="))) {
            line.simulate = arg.mid(11);
            if (line.simulate->isEmpty()) line.error = QStringLiteral("--simulate= needs a device list");
        } else if (arg == QLatin1String("--screenshot")) {
            line.screenshot = value();
        } else if (arg.startsWith(QLatin1String("--screenshot="))) {
            line.screenshot = arg.mid(13);
        } else if (arg == QLatin1String("--minimized")) {
            line.minimized = true;
        } else if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            line.help = true;
        } else if (arg == QLatin1String("-platform") || arg == QLatin1String("-display") ||
                   arg == QLatin1String("-style")) {
            line.platformGiven = line.platformGiven || arg == QLatin1String("-platform") ||
                                 arg == QLatin1String("-display");
            value();
        } else {
            line.error = QStringLiteral("unknown option %1").arg(arg);
        }
        if (!line.error.isEmpty()) break;
    }
    if (line.screenshot && line.screenshot->isEmpty() && line.error.isEmpty())
        line.error = QStringLiteral("--screenshot needs a path");
    return line;
}

bool HasDisplay(const CommandLine& line) {
    return line.platformGiven || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

}  // namespace orvane::app
