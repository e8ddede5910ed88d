// SPDX-License-Identifier: GPL-3.0-or-later
// orvane_ui_stall: how long the window's thread stands still while device work runs on a
// slow emulated device. The program is built as main() builds it (offscreen, emulated RGB
// keyboard and mouse on a link of LINK_MS per report); a 2 ms timer on the window's thread
// records the longest gap between its ticks while each kind of work runs:
//   a full read-back of the mouse, a key-profile selection (the bank goes to the keyboard),
//   a switch of the mouse's on-board slot, and — while another process holds the data
//   folder's lock for 5 s (as orvanectl does while it writes) — a macro added, edited and
//   saved, and a key-profile selection.
//   orvane_ui_stall [LINK_MS]   (default 5)
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>

#include "app/features.h"
#include "app/program.h"
#include "platform/folder_lock.h"
#include "platform/pointer_settings.h"
#include "sim/emulator.h"
#include "ui/dialogs.h"

using namespace orvane;
using device::DeviceKind;

namespace {

bool RunUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

bool Idle(runtime::Runtime& rt) {
    for (auto kind : runtime::kDeviceKinds)
        if (!rt.jobs(kind).idle()) return false;
    return true;
}

// Runs `start`, then the event loop until the jobs are done; returns the longest gap between
// two ticks of a 2 ms timer and how long the work took.
std::pair<qint64, qint64> Measure(runtime::Runtime& rt, const std::function<void()>& start) {
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, gap = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(2);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        gap = std::max(gap, clock.elapsed() - last);
        last = clock.elapsed();
    });
    ticker.start();
    last = clock.elapsed();
    start();
    gap = std::max(gap, clock.elapsed() - last);  // the call itself
    last = clock.elapsed();
    RunUntil([&] { return Idle(rt); }, 60000);
    return {gap, clock.elapsed()};
}

// Another process holds the folder's lock (flock(1) on the lock file) until `seconds` pass.
bool HoldFolderLock(QProcess& holder, const std::filesystem::path& folder, int seconds) {
    const auto file = folder / platform::kFolderLockName;
    holder.start(QStringLiteral("flock"), {QString::fromStdString(file.string()), QStringLiteral("sleep"),
                                           QString::number(seconds)});
    if (!holder.waitForStarted(5000)) return false;
    platform::FolderLock probe(folder);
    return RunUntil([&] {
        const bool busy = probe.acquire(std::chrono::milliseconds(0)) == platform::FolderLock::State::Busy;
        probe.release();
        return busy;
    }, 5000);
}

}  // namespace

int main(int argc, char** argv) {
    const int linkMs = argc > 1 ? std::atoi(argv[1]) : 5;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir scratch;

    sim::EmulatorBackend backend;
    backend.setLink({std::chrono::microseconds(linkMs * 1000)});
    backend.add(device::DeviceModel::RgbKeyboard);
    backend.add(device::DeviceModel::Mouse);

    app::ProgramOptions options;
    options.runtime.backend = &backend;
    const auto dataFolder = std::filesystem::path(scratch.path().toStdString()) / "KX";
    options.runtime.dataFolder = dataFolder;
    options.runtime.defaultFolders = {std::filesystem::path(ORVANE_SOURCE_DIR) / "data" / "defaults"};
    options.window.skinFolder = QStringLiteral(ORVANE_SOURCE_DIR "/skin");  // the build has no skin beside the benchmark
    options.runtime.pointerBackend = platform::MakeFallbackPointerBackend();
    options.runtime.pointerLog = [](std::string_view) {};
    options.window.mainIni = std::filesystem::path(scratch.path().toStdString()) / "main.ini";
    options.window.machineSettings = std::filesystem::path(scratch.path().toStdString()) / "machine.ini";
    options.window.tray = false;
    ui::ScriptedDialogs dialogs;  // a message would otherwise wait for a click
    options.window.dialogs = &dialogs;
    // Lighting streams too, as in the program, competing for the same devices.
    app::Program program(std::move(options));
    program.initialise();
    auto& rt = program.runtime();
    auto& window = program.window();
    if (!RunUntil([&] { return program.feature<app::PresenceFeature>()->settled() && Idle(rt); }, 30000)) {
        std::fprintf(stderr, "orvane_ui_stall: the emulated devices did not arrive\n");
        return 1;
    }
    // A second key profile to select.
    window.control<QAbstractButton>(QStringLiteral("kb_pro_key_add_btn"))->click();
    RunUntil([&] { return Idle(rt); }, 30000);

    struct Work {
        const char* name;
        std::function<void()> start;
    };
    const Work work[] = {
        {"mouse read-back", [&] {
             rt.jobs(DeviceKind::Mouse).submit({.name = "read-back"}, [&rt] { rt.readBack(DeviceKind::Mouse); });
         }},
        {"key profile selection (bank to the keyboard)", [&] {
             auto* combo = window.control<QComboBox>(QStringLiteral("kb_key_profile_combo"));
             combo->setCurrentIndex(combo->currentIndex() == 0 ? 1 : 0);
         }},
        {"mouse slot switch", [&] { window.control<QAbstractButton>(QStringLiteral("ms_profile_2"))->click(); }},
    };
    auto click = [&window](const char* name) { window.control<QAbstractButton>(QLatin1String(name))->click(); };
    const Work locked[] = {
        {"macro added, edited and saved", [&] {
             click("kb_macro_Op_tab");
             click("kb_macro_btn_name_add");
             RunUntil([&] { return Idle(rt); }, 30000);
             click("kb_macro_inset_leftkeydown_btn");
             click("kb_macro_btn_save");
         }},
        {"key profile selection", work[1].start},
        {"cursor step edited", [&] {
             auto* x = window.control<QLineEdit>(QStringLiteral("ms_cursor_x_eidt"));
             x->setText(QStringLiteral("42"));
             Q_EMIT x->textEdited(x->text());
         }},
    };
    std::printf("link %d ms per report; longest stall of the window's thread while the work ran:\n", linkMs);
    auto report = [](const char* name, std::pair<qint64, qint64> result) {
        std::printf("  %-46s %4lld ms stall   (the work took %lld ms)\n", name, static_cast<long long>(result.first),
                    static_cast<long long>(result.second));
    };
    for (const auto& w : work) report(w.name, Measure(rt, w.start));
    std::printf("while another process holds the data folder's lock for 5 s:\n");
    for (const auto& w : locked) {
        QProcess holder;
        if (!HoldFolderLock(holder, dataFolder, 5)) {
            std::fprintf(stderr, "orvane_ui_stall: could not hold the folder's lock (flock)\n");
            return 1;
        }
        report(w.name, Measure(rt, w.start));
        holder.waitForFinished(10000);
    }
    program.shutdown();
    for (const auto& shown : dialogs.shown) std::printf("message shown: %s\n", qPrintable(shown.text));
    return 0;
}
