// SPDX-License-Identifier: GPL-3.0-or-later
// orvane: the configuration program. One copy per session; it lives in the tray until a
// device is found.
#include <QApplication>
#include <QElapsedTimer>
#include <QLayout>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/command_line.h"
#include "app/features.h"
#include "app/program.h"
#include "app/screenshot_pages.h"
#include "device/hid/hidapi_backend.h"
#include "platform/machine_settings.h"
#include "platform/single_instance.h"
#include "sim/emulator.h"
#include "sim/shared_server.h"
#include "ui/log.h"
#include "ui/skin_loader.h"

using namespace orvane;
using app::Program;
using app::ProgramOptions;

namespace {

constexpr qint64 kScreenshotWaitMs = 5000;
// After the page is brought up: the relayout after a connect and a window that opens.
constexpr int kScreenshotSettleMs = 400;

QStringList ArgumentsOf(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    return args;
}

// The picture of the page named on the command line (the mouse's performance page when
// none is named and a mouse is there), taken from the shown window as a user sees it.
void TakeScreenshot(Program& program, const app::CommandLine& line, int& status) {
    app::MainWindow& window = program.window();
    const app::ScreenshotPage* page = line.page ? app::FindScreenshotPage(*line.page) : nullptr;
    if (!page && window.runtime().connected(device::DeviceKind::Mouse)) page = app::FindScreenshotPage(QStringLiteral("ms-performance"));
    QString why;
    if (page && !app::ShowScreenshotPage(window, *page, &why)) {
        std::fprintf(stderr, "orvane: page %s not available: %s\n", page->name, qPrintable(why));
        status = 1;
        program.shutdown();
        return;
    }
    if (line.maximised) {
        // Maximised on the platform's screen (the offscreen platform's screen is set with
        // -platform offscreen:configfile=FILE).
        window.setWindowState(Qt::WindowMaximized);
        window.show();
    } else {
        window.resize(line.size.value_or(app::kFirstWindowSize));
        window.show();
    }
    QTimer::singleShot(kScreenshotSettleMs, &window, [&program, &line, &status, page] {
        QWidget* target = app::ScreenshotTarget(program.window(), page);
        if (!target) {
            std::fprintf(stderr, "orvane: page %s not available: its window does not open\n", page->name);
            status = 1;
        } else if (!app::SaveScreenshot(*target, *line.screenshot)) {
            std::fprintf(stderr, "orvane: cannot write %s\n", qPrintable(*line.screenshot));
            status = 1;
        }
        program.shutdown();
    });
}

}  // namespace

int main(int argc, char** argv) {
    const app::CommandLine line = app::ParseCommandLine(ArgumentsOf(argc, argv));
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "orvane: %s\n%s\n", qPrintable(line.error), app::kUsage);
        return 2;
    }
    if (line.help) {
        std::puts(app::kUsage);
        return 0;
    }
    if (line.version) {
        std::printf("orvane %s\n", platform::MachineSettings::BuildVersion().c_str());
        return 0;
    }
    if (line.listPages) {
        for (const auto& page : app::kScreenshotPages) std::puts(page.name);
        return 0;
    }
    if (!app::HasDisplay(line)) {
        std::fputs("orvane: no display found: set DISPLAY or WAYLAND_DISPLAY, or run with "
                   "QT_QPA_PLATFORM=offscreen (or xvfb-run)\n", stderr);
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvane"));
    // Wayland compositors match the window to its desktop entry by this id.
    QApplication::setDesktopFileName(QStringLiteral("com.orvane.configurator"));
    QApplication::setQuitOnLastWindowClosed(false);

    // A screenshot run is a one-off rendering and does not take part in the one-copy rule.
    std::unique_ptr<platform::SingleInstance> instance;
    if (!line.screenshot) {
        instance = std::make_unique<platform::SingleInstance>();
        if (!instance->acquire()) {
            instance->signalRunning();
            return 0;
        }
    }

    std::unique_ptr<hid::Backend> backend;
    if (line.simulate) {
        auto emulator = std::make_unique<sim::EmulatorBackend>();
        std::string error;
        if (!emulator->addFromList(line.simulate->toStdString(), &error)) {
            std::fprintf(stderr, "orvane: %s\n%s\n", error.c_str(), app::kUsage);
            return 2;
        }
        backend = std::move(emulator);
    } else {
        backend = std::make_unique<hid::HidapiBackend>();
    }
    // --share: the emulated devices for other processes too, until the program ends.
    std::unique_ptr<sim::EmulatorServer> shared;
    if (line.share) {
        std::string problem;
        const auto socket = sim::EmulatorServer::DefaultSocket(problem);
        shared = std::make_unique<sim::EmulatorServer>(static_cast<sim::EmulatorBackend&>(*backend));
        if (socket.empty() || !shared->start(socket, problem)) {
            std::fprintf(stderr, "orvane: cannot share the emulated devices: %s\n", problem.c_str());
            return 1;
        }
    }

    int status = 0;
    {
        ProgramOptions options;
        // A skin that cannot build the window would give a blank one: say what is wrong and
        // where, on the terminal and in a plain box (the skin's own box is part of it).
        if (const QString problem = ui::SkinLoader(options.window.skinFolder).problem(); !problem.isEmpty()) {
            const QString text = QStringLiteral("The program's skin cannot be used: %1").arg(problem);
            std::fprintf(stderr, "orvane: %s\n", qPrintable(text));
            if (!line.screenshot && QGuiApplication::platformName() != QLatin1String("offscreen"))
                QMessageBox::critical(nullptr, QString::fromUtf8(app::MainWindow::kTitle), text);
            return 1;
        }
        options.runtime.backend = backend.get();
        options.runtime.pointerLog = [](std::string_view line) {
            qCDebug(lcShell).noquote() << QString::fromUtf8(line.data(), qsizetype(line.size()));
        };
        options.window.tray = !line.screenshot;
        options.window.startMinimized = line.minimized;
        options.window.language = line.language;
        options.window.sdkServerPort = line.sdkServer;
        // Emulated devices are not the user's: orvanectl must not reach them unless asked.
        options.window.busService = (!line.simulate || line.dbus) && !line.screenshot;
        // Real devices: udev tells the monitors at once when a hidraw node comes or goes.
        options.runtime.hotplug = !line.simulate;
        Program program(std::move(options));
        app::MainWindow& window = program.window();
        if (instance)
            QObject::connect(instance.get(), &platform::SingleInstance::signalled, &window,
                             &app::MainWindow::onInstanceSignal);
        program.initialise();
        QTimer screenshotWait;
        QElapsedTimer sinceStart;
        if (line.screenshot) {
            // The picture waits for the devices present at start to be read back and shown,
            // or a few seconds when none answers.
            sinceStart.start();
            screenshotWait.setInterval(50);
            QObject::connect(&screenshotWait, &QTimer::timeout, &window, [&] {
                const auto* presence = program.feature<app::PresenceFeature>();
                if (presence && !presence->settled() && sinceStart.elapsed() < kScreenshotWaitMs) return;
                screenshotWait.stop();
                TakeScreenshot(program, line, status);
            });
            screenshotWait.start();
        }
        const int loop = application.exec();
        if (status == 0) status = loop;
        if (program.runtime().stopOutcome() == runtime::StopOutcome::TimedOut) {
            // Workers that outlived the bound still run: end now rather than free what
            // they use.
            std::fflush(nullptr);
            std::_Exit(status);
        }
    }
    return status;
}
