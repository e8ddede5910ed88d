// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include <array>

#include "app/screenshot_pages.h"
#include "ui/language.h"

namespace orvane::app {

int LanguageOfName(const QString& name) {
    // The short names are those of the language files (lan_cn, lan_jp) and of the tray
    // items (lan_tw), so a user meets no new word.
    static constexpr std::array<std::pair<const char*, int>, 4> kShortNames{{{"en", 0}, {"cn", 1}, {"tw", 2}, {"jp", 3}}};
    for (const auto& [shortName, value] : kShortNames)
        if (name.compare(QLatin1String(shortName), Qt::CaseInsensitive) == 0) return value;
    for (const auto& row : ui::kLanguages)
        if (name.compare(QLatin1String(row.code), Qt::CaseInsensitive) == 0) return row.iniValue;
    return -1;
}

std::optional<uint16_t> PortOfText(const QString& text) {
    if (text.isEmpty() || text.size() > 5) return std::nullopt;
    uint port = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
        port = port * 10 + uint(c.unicode() - '0');
    }
    if (port == 0 || port > 65535) return std::nullopt;
    return uint16_t(port);
}

std::optional<QSize> SizeOfText(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('x'));
    if (parts.size() != 2) return std::nullopt;
    bool okWidth = false, okHeight = false;
    const int width = parts[0].toInt(&okWidth), height = parts[1].toInt(&okHeight);
    // Digits only: toInt() also takes signs and spaces.
    for (const QString& part : parts)
        for (QChar c : part)
            if (!c.isDigit()) return std::nullopt;
    if (!okWidth || !okHeight || width < 200 || height < 200 || width > 8000 || height > 8000) return std::nullopt;
    return QSize(width, height);
}

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
        } else if (arg == QLatin1String("--share")) {
            line.share = true;
        } else if (arg == QLatin1String("--screenshot")) {
            line.screenshot = value();
        } else if (arg.startsWith(QLatin1String("--screenshot="))) {
            line.screenshot = arg.mid(13);
        } else if (arg == QLatin1String("--page") || arg.startsWith(QLatin1String("--page="))) {
            line.page = arg.startsWith(QLatin1String("--page=")) ? std::optional(arg.mid(7)) : value();
            if (line.page && !FindScreenshotPage(*line.page))
                line.error = QStringLiteral("unknown page %1 (--list-pages names them)").arg(*line.page);
        } else if (arg == QLatin1String("--size") || arg.startsWith(QLatin1String("--size="))) {
            const auto text = arg.startsWith(QLatin1String("--size=")) ? std::optional(arg.mid(7)) : value();
            if (text) {
                line.size = SizeOfText(*text);
                if (!line.size) line.error = QStringLiteral("bad size %1 (WIDTHxHEIGHT, 200 to 8000 each)").arg(*text);
            }
        } else if (arg == QLatin1String("--language") || arg.startsWith(QLatin1String("--language="))) {
            const auto name = arg.startsWith(QLatin1String("--language=")) ? std::optional(arg.mid(11)) : value();
            if (name) {
                line.language = LanguageOfName(*name);
                if (*line.language < 0) line.error = QStringLiteral("unknown language %1 (en, cn, tw, jp)").arg(*name);
            }
        } else if (arg == QLatin1String("--list-pages")) {
            line.listPages = true;
        } else if (arg == QLatin1String("--maximised")) {
            line.maximised = true;
        } else if (arg == QLatin1String("--minimized")) {
            line.minimized = true;
        } else if (arg == QLatin1String("--sdk-server")) {
            line.sdkServer = kDefaultSdkPort;
        } else if (arg.startsWith(QLatin1String("--sdk-server="))) {
            line.sdkServer = PortOfText(arg.mid(13));
            if (!line.sdkServer) line.error = QStringLiteral("bad port %1 (1 to 65535)").arg(arg.mid(13));
        } else if (arg == QLatin1String("--dbus")) {
            line.dbus = true;
        } else if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            line.help = true;
        } else if (arg == QLatin1String("--version")) {
            line.version = true;
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
    if (line.page && !line.screenshot && line.error.isEmpty())
        line.error = QStringLiteral("--page goes with --screenshot");
    if (line.size && !line.screenshot && line.error.isEmpty())
        line.error = QStringLiteral("--size goes with --screenshot");
    if (line.share && !line.simulate && line.error.isEmpty())
        line.error = QStringLiteral("--share goes with --simulate");
    if (line.maximised && !line.screenshot && line.error.isEmpty())
        line.error = QStringLiteral("--maximised goes with --screenshot");
    return line;
}

bool HasDisplay(const CommandLine& line) {
    return line.platformGiven || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

}  // namespace orvane::app
