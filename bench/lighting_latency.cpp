// SPDX-License-Identifier: GPL-3.0-or-later
// orvane_lighting_latency: how long from a click on the keyboard lighting page to the first
// frame on the emulated keyboard that shows it. The program is built as main() builds it
// (offscreen, emulated RGB keyboard on a link of LINK_US per report, its lighting worker
// streaming); each sample clicks a key of the picture in the custom mode (paint or erase),
// or changes the mode between static red (4) and the first fixed colour (0), then waits on
// the window's thread for the first received frame that shows it.
//   orvane_lighting_latency [SAMPLES] [LINK_US]   (defaults 40, 1000)
#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "app/features.h"
#include "app/program.h"
#include "lighting/keyboard_tables.h"
#include "platform/pointer_settings.h"
#include "sim/emulator.h"
#include "sim/firmware_device.h"
#include "ui/dialogs.h"

using namespace orvane;

namespace {

bool RunUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 1);
    return done();
}

struct Stats {
    std::vector<double> ms;
    int missed = 0;  ///< never shown within 5 s
    void print(const char* what) {
        if (missed) std::printf("  %-34s %d samples never shown\n", what, missed);
        if (ms.empty()) return;
        std::sort(ms.begin(), ms.end());
        std::printf("  %-34s median %6.1f ms   p90 %6.1f ms   max %6.1f ms   (%zu samples)\n", what,
                    ms[ms.size() / 2], ms[ms.size() * 9 / 10], ms.back(), ms.size());
    }
};

}  // namespace

int main(int argc, char** argv) {
    const int samples = argc > 1 ? std::atoi(argv[1]) : 40;
    const int linkUs = argc > 2 ? std::atoi(argv[2]) : 1000;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir scratch;
    sim::EmulatorBackend backend;
    backend.setLink({std::chrono::microseconds(linkUs)});
    auto& keyboard = backend.add(device::DeviceModel::RgbKeyboard);

    app::ProgramOptions options;
    options.runtime.backend = &backend;
    options.runtime.dataFolder = std::filesystem::path(scratch.path().toStdString()) / "KX";
    options.runtime.defaultFolders = {std::filesystem::path(ORVANE_SOURCE_DIR) / "data" / "defaults"};
    options.window.skinFolder = QStringLiteral(ORVANE_SOURCE_DIR "/skin");  // the build has no skin beside the benchmark
    options.runtime.pointerBackend = platform::MakeFallbackPointerBackend();
    options.runtime.pointerLog = [](std::string_view) {};
    options.window.mainIni = std::filesystem::path(scratch.path().toStdString()) / "main.ini";
    options.window.machineSettings = std::filesystem::path(scratch.path().toStdString()) / "machine.ini";
    options.window.tray = false;
    ui::ScriptedDialogs dialogs;
    options.window.dialogs = &dialogs;
    app::Program program(std::move(options));
    program.initialise();
    auto& window = program.window();
    if (!RunUntil(
            [&] {
                return program.feature<app::PresenceFeature>()->settled() &&
                       program.runtime().connected(device::DeviceKind::Keyboard);
            },
            30000)) {
        std::fprintf(stderr, "orvane_lighting_latency: the emulated keyboard did not arrive\n");
        return 1;
    }
    // The arrival's profile selection and the first frames settle first.
    RunUntil(
        [&] {
            for (auto kind : runtime::kDeviceKinds)
                if (!program.runtime().jobs(kind).idle()) return false;
            return true;
        },
        30000);
    auto frame = [&] {
        std::vector<uint8_t> out;
        keyboard.withFirmware([&](sim::Firmware& f) {
            const auto last = static_cast<sim::DeviceFirmware&>(f).lastFrame();
            out.assign(last.begin(), last.end());
        });
        return out;
    };
    auto slotIs = [&](size_t slot, uint8_t r, uint8_t g, uint8_t b) {
        const auto f = frame();
        // Full brightness scales a component by 256/256 give or take one.
        const auto near = [](uint8_t a, uint8_t b) { return std::abs(int(a) - int(b)) <= 1; };
        return f.size() >= 3 * slot + 3 && near(f[3 * slot], r) && near(f[3 * slot + 1], g) &&
               near(f[3 * slot + 2], b);
    };
    auto click = [&](const char* name) { window.control<QAbstractButton>(QLatin1String(name))->click(); };
    auto* modes = window.control<QComboBox>(QStringLiteral("kb_deng_combo_modeSelect"));
    auto time = [&](const std::function<void()>& act, const std::function<bool()>& shows, Stats& into) {
        QElapsedTimer clock;
        clock.start();
        act();
        if (RunUntil(shows, 5000))
            into.ms.push_back(double(clock.nsecsElapsed()) / 1e6);
        else
            ++into.missed;
    };

    Stats paint, mode;
    window.control<QAbstractSlider>(QStringLiteral("kb_deng_light_slider"))->setValue(4);  // full level
    modes->setCurrentIndex(15);
    click("kb_Deng_color_btn_0");  // paint colour red
    const size_t slot = lighting::kRgbSlot[30];
    // The keyboard's worker has passed its start wait and streams.
    RunUntil([&] { return !frame().empty(); }, 30000);
    for (int i = 0; i < samples; ++i) {
        const bool light = i % 2 == 0;
        click(light ? "kb_Deng_on_bright_check" : "kb_Deng_off_kill_check");
        time([&] { click("kb_dkey_30"); }, [&] { return slotIs(slot, light ? 255 : 0, 0, 0); }, paint);
    }
    modes->setCurrentIndex(4);
    click("kb_Deng_color_btn_0");  // static red
    for (int i = 0; i < samples; ++i) {
        const bool red = i % 2 == 0;
        time([&] { modes->setCurrentIndex(red ? 4 : 0); },
             [&] { return red ? slotIs(0, 255, 0, 0) : slotIs(0, 90, 255, 155); }, mode);
    }
    std::printf("link %d us per report; from the click to the first frame on the keyboard showing it:\n",
                linkUs);
    paint.print("key painted / erased (mode 15)");
    mode.print("mode changed (0 <-> 4)");
    program.shutdown();
    return 0;
}
