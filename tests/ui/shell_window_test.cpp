// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: hiding, the tray, a second copy, languages, start-up and shutdown.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>

#include <atomic>

#include "app/program.h"
#include "platform/pointer_settings.h"
#include "platform/stop_wait.h"
#include "platform/single_instance.h"
#include "shell_test_support.h"
#include "sim/emulator.h"

using namespace orvane;

namespace {

class WindowTest : public ::testing::Test {
protected:
    std::filesystem::path path(const char* name) { return std::filesystem::path(dir.path().toStdString()) / name; }
    /// The bare window: no features, the fixture skin.
    app::ProgramOptions options(std::chrono::milliseconds bound = runtime::WorkerSet::kStopBound) {
        app::ProgramOptions o;
        o.runtime.backend = &backend;
        o.runtime.dataFolder = path("data");
        o.runtime.pointerBackend = platform::MakeFallbackPointerBackend();
        o.runtime.stopBound = bound;
        o.window = {.skinFolder = shelltest::FixtureSkin(), .mainIni = path("main.ini"),
                    .machineSettings = path("machine.ini"), .dialogs = &dialogs, .tray = true,
                    .trayAvailable = true};
        o.features = std::vector<std::string_view>{};
        return o;
    }
    std::string mainLanguage() { return platform::IniFile(path("main.ini")).readString("SKINIMAGE", "LANGUAGE", "?"); }
    std::string machineLanguage() { return platform::MachineSettings(path("machine.ini")).language().value_or("?"); }
    QString title(app::MainWindow& w) { return w.control<QLabel>("title")->text(); }

    QTemporaryDir dir;
    sim::EmulatorBackend backend;
    ui::ScriptedDialogs dialogs;
};

TEST_F(WindowTest, CloseButtonOnlyHides) {
    app::Program program(options());
    app::MainWindow& window = program.window();
    window.initialise();
    EXPECT_FALSE(window.isVisible());  // no device: the window stays in the tray
    window.show();
    window.control<QAbstractButton>("closebtn")->click();
    EXPECT_FALSE(window.isVisible());
    window.show();
    window.close();  // the window manager's close does the same
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.shutdownOutcome().has_value());
}

TEST_F(WindowTest, TrayClickWithoutDeviceShowsTheMessageOnceWhileItIsOpen) {
    app::Program program(options());
    app::MainWindow& window = program.window();
    window.initialise();
    window.show();
    dialogs.whileOpen = [&] {
        window.onTrayLeftClick();
        window.onTrayLeftClick();
        window.onInstanceSignal();
    };
    window.onTrayLeftClick();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "message_text_1");
    EXPECT_TRUE(dialogs.shown[0].textIsId);
    EXPECT_FALSE(window.isVisible());
    dialogs.whileOpen = nullptr;
    window.onTrayLeftClick();  // the box was closed: the next click shows it again
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(WindowTest, TrayClickTogglesTheWindowWhenADeviceIsConnected) {
    app::Program program(options());
    app::MainWindow& window = program.window();
    window.initialise();
    program.runtime().connection(device::DeviceKind::Mouse).connected = true;
    window.onTrayLeftClick();
    EXPECT_TRUE(window.isVisible());
    window.onTrayLeftClick();
    EXPECT_FALSE(window.isVisible());
    window.onTrayLeftClick();
    window.showMinimized();
    window.onTrayLeftClick();  // minimised counts as hidden: it is restored
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(dialogs.shown.empty());
    program.runtime().connection(device::DeviceKind::Mouse).connected = false;
}

TEST_F(WindowTest, SecondCopySignalsTheFirst) {
    app::Program program(options());
    app::MainWindow& window = program.window();
    window.initialise();
    platform::SingleInstance first(dir.path() + "/run");
    ASSERT_TRUE(first.acquire());
    QObject::connect(&first, &platform::SingleInstance::signalled, &window, &app::MainWindow::onInstanceSignal);

    platform::SingleInstance second(dir.path() + "/run");
    ASSERT_FALSE(second.acquire());
    ASSERT_TRUE(second.signalRunning());
    EXPECT_TRUE(shelltest::WaitUntil([&] { return dialogs.shown.size() == 1; }));  // no device
    EXPECT_EQ(dialogs.shown[0].text, "message_text_1");

    program.runtime().connection(device::DeviceKind::Keyboard).connected = true;
    ASSERT_TRUE(second.signalRunning());
    EXPECT_TRUE(shelltest::WaitUntil([&] { return window.isVisible(); }));  // raised
    EXPECT_EQ(dialogs.shown.size(), 1u);
    program.runtime().connection(device::DeviceKind::Keyboard).connected = false;
}

TEST_F(WindowTest, LanguageFromTheTrayMenu) {
    app::Program program(options());
    app::MainWindow& window = program.window();
    window.initialise();
    EXPECT_EQ(title(window), "Orvane");
    shelltest::LogCapture log;

    QMenu menu;
    window.fillMenu(menu, true);
    QStringList names, texts;
    for (QAction* a : menu.actions()) names << a->objectName(), texts << a->text();
    // The skin's items with "exit" second, then the start-with-the-session check after a separator.
    EXPECT_EQ(names, (QStringList{"lan_cn", "exit", "lan_tw", "lan_en", "about", "", "autostart"}));
    EXPECT_EQ(texts[1], "Close");

    struct Case {
        const char* item;
        const char* ini;
        const char* machine;
        const char* title;
        const char* exitText;
    };
    for (const Case& c : {Case{"lan_cn", "1", "2020", "奥凡", "关闭"}, Case{"lan_tw", "2", "3030", "奧凡", "關閉"},
                          Case{"lan_en", "0", "1010", "Orvane", "Close"}}) {
        SCOPED_TRACE(c.item);
        window.fillMenu(menu, true);
        menu.findChild<QAction*>(c.item)->trigger();
        EXPECT_EQ(mainLanguage(), c.ini);
        EXPECT_EQ(machineLanguage(), c.machine);
        EXPECT_EQ(title(window), QString::fromUtf8(c.title));
        window.fillMenu(menu, true);
        EXPECT_EQ(menu.actions().at(1)->text(), QString::fromUtf8(c.exitText));
    }
    EXPECT_TRUE(log.contains("写成功！"));

    // An item the window does not know shows its text as it is.
    window.fillMenu(menu, true);
    menu.findChild<QAction*>("about")->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "About");
    EXPECT_FALSE(dialogs.shown[0].textIsId);
}

TEST_F(WindowTest, StartUpTakesTheMachineLanguage) {
    platform::IniFile(path("main.ini")).writeString("SKINIMAGE", "LANGUAGE", "0");
    platform::MachineSettings(path("machine.ini")).setLanguage("2020");
    app::Program program(options());
    app::MainWindow& window = program.window();
    window.initialise();
    EXPECT_EQ(mainLanguage(), "1");
    EXPECT_EQ(title(window), QString::fromUtf8("奥凡"));
    EXPECT_EQ(window.language().code(), "cn_zh");
    auto& rt = program.runtime();
    EXPECT_EQ(rt.connection(device::DeviceKind::Keyboard).vendorId, 0x264A);
    EXPECT_EQ(rt.connection(device::DeviceKind::Keyboard).productId, 0x3021);
    EXPECT_EQ(rt.connection(device::DeviceKind::Mouse).productId, 0x5523);
    EXPECT_EQ(rt.connection(device::DeviceKind::Mousepad).productId, 0x5104);
    EXPECT_EQ(rt.connection(device::DeviceKind::Mousepad).usagePage, 0xFF1C);
    EXPECT_EQ(rt.connection(device::DeviceKind::Mousepad).usage, 0x0092);
    int ticks = 0;
    const auto counting = rt.events.flushTick.subscribe([&] { ++ticks; });
    EXPECT_TRUE(shelltest::WaitUntil([&] { return ticks > 0; }));  // the flush timer runs
}

TEST_F(WindowTest, NoMachineLanguageLeavesMainIniAlone) {
    platform::IniFile(path("main.ini")).writeString("SKINIMAGE", "LANGUAGE", "3");
    shelltest::LogCapture log;
    app::Program program(options());
    app::MainWindow& window = program.window();
    window.initialise();
    EXPECT_TRUE(log.contains("读注册表失败了"));
    EXPECT_EQ(mainLanguage(), "3");
    EXPECT_EQ(window.language().code(), "jp");
}

TEST_F(WindowTest, ShutdownIsBoundedWhenAWorkerIgnoresItsStop) {
    app::Program program(options(std::chrono::milliseconds(300)));
    app::MainWindow& window = program.window();
    auto release = std::make_shared<std::atomic<bool>>(false);
    program.runtime().workers.plug(runtime::WorkerSlot::KeyboardPresence, {"stubborn", [release](std::stop_token) {
        while (!*release) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }, {}});
    program.runtime().workers.plug(runtime::WorkerSlot::MouseLighting, {"polite", [](std::stop_token stop) {
        while (platform::SleepUnlessStopped(stop, std::chrono::milliseconds(1))) {}
    }, {}});
    window.initialise();
    shelltest::LogCapture log;
    EXPECT_EQ(window.shutdown(), runtime::StopOutcome::TimedOut);
    EXPECT_TRUE(log.contains("所有对象处于非激发状态，超时"));
    EXPECT_TRUE(log.contains("退出测试"));
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.anyDeviceConnected());
    EXPECT_EQ(window.shutdown(), runtime::StopOutcome::TimedOut);  // once only
    *release = true;  // let the stubborn one end before the test does
    EXPECT_TRUE(shelltest::WaitUntil([&] { return program.runtime().workers.running() == 0; }));
}

TEST_F(WindowTest, ShutdownWaitsForWorkersButNotForTheVersionCheck) {
    app::Program program(options());  // the full 10 s bound: stops must be prompt
    app::MainWindow& window = program.window();
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    for (auto slot : {runtime::WorkerSlot::KeyboardPresence, runtime::WorkerSlot::MousePresence,
                      runtime::WorkerSlot::SynchronisedLighting, runtime::WorkerSlot::MousepadWatcher})
        program.runtime().workers.plug(slot, {"waiter", [](std::stop_token stop) {
            while (platform::SleepUnlessStopped(stop, std::chrono::seconds(30))) {}
        }, {}});
    // A version check stuck in its request until cancelled; the exit must not wait for it.
    program.runtime().workers.plug(runtime::WorkerSlot::VersionCheck, {"version", [cancelled](std::stop_token) {
        while (!*cancelled) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }, [cancelled] { *cancelled = true; }});
    window.initialise();
    EXPECT_EQ(program.runtime().workers.running(), 5u);
    shelltest::LogCapture log;
    EXPECT_EQ(window.shutdown(), runtime::StopOutcome::AllEnded);
    EXPECT_TRUE(log.contains("所有对象处于激发状态"));
    EXPECT_TRUE(*cancelled);
}

}  // namespace
