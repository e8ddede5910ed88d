// SPDX-License-Identifier: GPL-3.0-or-later
// The settings window through its controls: the device areas, the version texts from a real
// HTTP server in the test process, the language list and the language change in both
// windows, the brand's pages, and "closebtn" while the server never answers.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPointer>

#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "app/features/settings_feature.h"
#include "app/features/skin_feature.h"
#include "app/window_frame.h"
#include "platform/ini_file.h"
#include "platform/machine_settings.h"
#include "program_rig.h"
#include "ui/language.h"

namespace {

using orvane::device::DeviceModel;
using programtest::ProgramRig;
using namespace std::chrono_literals;

/// The update server: each product code's "Data"."version" from `versions`.
class VersionServer {
public:
    explicit VersionServer(std::map<std::string, std::string> versions) : versions_(std::move(versions)) {
        server_.Post(".*", [this](const httplib::Request& req, httplib::Response& res) {
            std::string version;
            bool query = false;
            for (const char* code : {"Kx022", "Kx023", "Kx026", "Kx027"})
                query = query || req.body.find(Encoded(code)) != std::string::npos;
            for (const auto& [code, v] : versions_)
                if (req.body.find(Encoded(code)) != std::string::npos) version = v;
            // Anything but a version query is a registration, and it is confirmed.
            if (!query) res.set_content(R"({"Result_Code":"2"})", "application/json");
            else res.set_content(version.empty() ? "{}" : R"({"Data":{"version":")" + version + "\"}}", "application/json");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        for (int i = 0; i < 500 && !server_.is_running(); ++i) std::this_thread::sleep_for(10ms);
    }
    ~VersionServer() {
        server_.stop();
        thread_.join();
    }
    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }

private:
    /// The query's Base64 text for a code (the command is the same text for every code
    /// but the code itself, so the whole encoded command identifies it).
    static std::string Encoded(const std::string& code) {
        return orvane::update::Base64(orvane::update::VersionQueryJson(code));
    }
    std::map<std::string, std::string> versions_;
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
};

/// A server that takes the connection and never answers.
class SilentServer {
public:
    SilentServer() {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(fd_, 8);
        socklen_t len = sizeof a;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
    }
    ~SilentServer() { ::close(fd_); }
    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }

private:
    int fd_ = -1;
    int port_ = 0;
};

/// The pages the brand buttons opened (the desktop's handler is not called in tests).
std::vector<QString> gOpened;

class SettingsRig : public ProgramRig {
public:
    SettingsRig(std::vector<DeviceModel> models, const std::string& server, std::optional<int> language = {})
        : ProgramRig(Options(std::move(models), server, language)) {}

    orvane::app::SettingsFeature& settings() { return *feature<orvane::app::SettingsFeature>(); }
    orvane::app::FunctionSet* open() {
        auto* gear = control<QAbstractButton>("setbtn");
        EXPECT_NE(gear, nullptr);
        if (gear) gear->click();
        return settings().window();
    }
    QString text(const char* name) {
        auto* w = settings().window();
        auto* label = w ? qobject_cast<QLabel*>(w->control(QLatin1String(name))) : nullptr;
        return label ? label->text() : QStringLiteral("<none>");
    }
    bool shownIn(const char* name) {
        auto* w = settings().window();
        QWidget* c = w ? w->control(QLatin1String(name)) : nullptr;
        return c && !c->isHidden();
    }
    bool enabledIn(const char* name) {
        auto* w = settings().window();
        QWidget* c = w ? w->control(QLatin1String(name)) : nullptr;
        return c && c->isEnabled();
    }
    void clickIn(const char* name) {
        auto* w = settings().window();
        auto* b = w ? qobject_cast<QAbstractButton*>(w->control(QLatin1String(name))) : nullptr;
        ASSERT_NE(b, nullptr) << name;
        b->click();
    }
private:
    static programtest::RigOptions Options(std::vector<DeviceModel> models, const std::string& server,
                                           std::optional<int> language) {
        programtest::RigOptions o;
        o.language = language;
        o.models = std::move(models);
        o.features = std::vector<std::string_view>{"presence", "profiles", "settings"};
        o.beforeBuild = [server](ProgramRig& rig) {
            orvane::platform::MachineSettings machine(rig.path("machine.ini"));
            machine.setValue(orvane::platform::MachineSettings::kDisplayVersion, "1.0.5");
            machine.setValue(orvane::platform::MachineSettings::kUpdateServer, server);
            machine.setValue(orvane::platform::MachineSettings::kWebSite, "https://www.example.com/");
            machine.setValue(orvane::platform::MachineSettings::kSocialPage, "https://social.example.com/orvane");
        };
        o.beforeStart = [](ProgramRig& rig) {
            gOpened.clear();
            rig.feature<orvane::app::SettingsFeature>()->hooks.openUrl = [](const QString& url) { gOpened.push_back(url); };
        };
        return o;
    }
};

QString TextIn(const char* file, const char* id) {
    orvane::ui::Language language;
    language.load(QDir(shelltest::SourceSkin()).filePath(QLatin1String(file)), QStringLiteral("x"));
    return language.text(QLatin1String(id));
}

TEST(SettingsWindow, AnUpdateFoundAtStartOpensItWithTheVersionsAndDeviceAreas) {
    VersionServer server({{"Kx027", "1.0.6"}, {"Kx026", "1.0.6"}});
    SettingsRig rig({DeviceModel::RgbKeyboard, DeviceModel::Mouse}, server.address());
    ASSERT_TRUE(rig.waitForTab("kb_tab"));
    ASSERT_TRUE(rig.waitForTab("ms_tab"));
    // The software's 1.0.6 is newer than the installed 1.0.5: the start-up check opens the window.
    ASSERT_TRUE(shelltest::WaitUntil([&] { return rig.settings().window() != nullptr; }));
    EXPECT_TRUE(shelltest::WaitUntil([&] { return rig.shownIn("ms_page"); }));  // at opening, or when it arrived
    EXPECT_FALSE(rig.shownIn("blue_page"));
    EXPECT_EQ(rig.text("soft_now_version"), QStringLiteral("V1.0.5"));
    ASSERT_TRUE(shelltest::WaitUntil([&] { return rig.text("soft_new_version") == QStringLiteral("V1.0.6"); }));

    // An RGB keyboard (version 0x105) connects while the window is open: its area and versions.
    rig.runtime().flags.keyboardVersion = 0x105;
    rig.runtime().events.deviceConnected.emit(orvane::device::DeviceKind::Keyboard);
    EXPECT_TRUE(rig.shownIn("rgb_page"));
    EXPECT_EQ(rig.text("RGB_KB_N"), QStringLiteral("V1.0.5"));
    ASSERT_TRUE(shelltest::WaitUntil([&] { return rig.text("RGB_KB_F") == QStringLiteral("V1.0.6"); }));
    EXPECT_TRUE(rig.enabledIn("soft_update_btn"));
    EXPECT_TRUE(rig.enabledIn("rgb_kb_btn"));
    // The "installed" entry of the language list follows main.ini (LANGUAGE 0: English, entry 2).
    auto* combo = qobject_cast<QComboBox*>(rig.settings().window()->control(QStringLiteral("lanuage_select_combo")));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentIndex(), 2);

    // The keyboard goes (the presence monitor clears its flag first): its area hides.
    rig.runtime().flags.keyboardKind = orvane::runtime::RuntimeFlags::NoKeyboard;
    rig.runtime().events.deviceGone.emit(orvane::device::DeviceKind::Keyboard);
    EXPECT_FALSE(rig.shownIn("rgb_page"));

    rig.clickIn("net_btn");
    rig.clickIn("facebook_btn");
    EXPECT_EQ(gOpened, (std::vector<QString>{QStringLiteral("https://www.example.com/"),
                                                QStringLiteral("https://social.example.com/orvane")}));
}

TEST(SettingsWindow, UnknownVersionsDisableTheUpdateButtons) {
    // 0.9.9 begins with 0: no version to offer; the keyboard's 3.0.0 is not a valid one.
    VersionServer server({{"Kx027", "0.9.9"}, {"Kx026", "3.0.0"}});
    SettingsRig rig({DeviceModel::RgbKeyboard}, server.address());
    ASSERT_TRUE(rig.waitForTab("kb_tab"));
    rig.runtime().flags.keyboardVersion = 0x105;
    ASSERT_NE(rig.open(), nullptr);
    const QString unknown = TextIn("lan_en.xml", "version_unknown_text");
    ASSERT_TRUE(shelltest::WaitUntil([&] { return rig.text("soft_new_version") == unknown && rig.text("RGB_KB_F") == unknown; }));
    EXPECT_FALSE(rig.enabledIn("soft_update_btn"));
    EXPECT_FALSE(rig.enabledIn("rgb_kb_btn"));
    EXPECT_FALSE(rig.shownIn("ms_page"));
    // Each disabled button says why.
    const QString why = TextIn("lan_en.xml", "update_versions_unknown_tip");
    for (const char* button : {"soft_update_btn", "rgb_kb_btn"})
        EXPECT_EQ(rig.settings().window()->control(QLatin1String(button))->toolTip(), why) << button;
}

TEST(SettingsWindow, TheMouseFirmwareUpdateIsNotOfferedWhileItsVersionsAreUnknown) {
    VersionServer server(std::map<std::string, std::string>{{"Kx027", "1.0.6"}});
    SettingsRig rig({DeviceModel::Mouse}, server.address());
    ASSERT_TRUE(rig.waitForTab("ms_tab"));
    ASSERT_NE(rig.open(), nullptr);
    EXPECT_TRUE(shelltest::WaitUntil([&] { return rig.shownIn("ms_page"); }));
    const QString unknown = TextIn("lan_en.xml", "version_unknown_text");
    EXPECT_EQ(rig.text("ms_now_fw"), unknown);
    EXPECT_EQ(rig.text("ms_new"), unknown);
    EXPECT_FALSE(rig.enabledIn("ms_update_btn"));
    QWidget* button = rig.settings().window()->control(QStringLiteral("ms_update_btn"));
    EXPECT_EQ(button->toolTip(), TextIn("lan_en.xml", "update_versions_unknown_tip"));
    // The software's line, whose versions are known, offers its update and explains nothing.
    ASSERT_TRUE(shelltest::WaitUntil([&] { return rig.enabledIn("soft_update_btn"); }));
    EXPECT_TRUE(rig.settings().window()->control(QStringLiteral("soft_update_btn"))->toolTip().isEmpty());
}

TEST(SettingsWindow, TheLanguageListChangesTheLanguageOfBothWindows) {
    VersionServer server({});
    SettingsRig rig({}, server.address());
    ASSERT_NE(rig.open(), nullptr);
    EXPECT_FALSE(rig.shownIn("rgb_page"));
    EXPECT_FALSE(rig.shownIn("blue_page"));
    auto* combo = qobject_cast<QComboBox*>(rig.settings().window()->control(QStringLiteral("lanuage_select_combo")));
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 4);
    // Entry order: Simplified Chinese, Traditional Chinese, English, Japanese.
    struct Case {
        int entry;
        const char* file;
        int ini;
        const char* machine;
    };
    for (const Case c : {Case{3, "lan_jp.xml", 3, "4040"}, Case{0, "lan_cn.xml", 1, "2020"}, Case{1, "lan_sn.xml", 2, "3030"},
                         Case{2, "lan_en.xml", 0, "1010"}}) {
        SCOPED_TRACE(c.file);
        combo->setCurrentIndex(c.entry);
        QApplication::processEvents();
        EXPECT_EQ(orvane::platform::IniFile(rig.path("main.ini")).readInt("SKINIMAGE", "LANGUAGE", -1), c.ini);
        EXPECT_EQ(orvane::platform::MachineSettings(rig.path("machine.ini")).language().value_or("?"), c.machine);
        EXPECT_EQ(rig.text("set_title"), TextIn(c.file, "settings_title_text"));
        EXPECT_EQ(rig.settings().window()->windowTitle(), TextIn(c.file, "settings_title_text")) << "as the desktop shows it";
        auto* caption = rig.control<QLabel>("kb_deng_profile_link_caption");
        ASSERT_NE(caption, nullptr);
        EXPECT_EQ(caption->text(), TextIn(c.file, "profile_link_text")) << "the main window follows";
    }
}

// A run started in Japanese on a machine set to English: the list shows what the window
// speaks, and showing it stores nothing. Versions the program never learns say so.
TEST(SettingsWindow, TheLanguageListShowsTheLanguageInUse) {
    VersionServer server({});
    SettingsRig rig({DeviceModel::Mouse}, server.address(), 3);
    ASSERT_TRUE(rig.waitForTab("ms_tab"));
    ASSERT_NE(rig.open(), nullptr);
    auto* combo = qobject_cast<QComboBox*>(rig.settings().window()->control(QStringLiteral("lanuage_select_combo")));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentIndex(), 3);
    EXPECT_EQ(orvane::platform::IniFile(rig.path("main.ini")).readInt("SKINIMAGE", "LANGUAGE", 0), 0);
    for (const char* version : {"ms_now_fw", "ms_new"}) EXPECT_EQ(rig.text(version), TextIn("lan_jp.xml", "version_unknown_text"));
}

// The desktop's title bar and frame in place of the program's own: the check box applies it
// to the shown window at once (maximised stays maximised), keeps it in main.ini for the next
// start, and an unwritable main.ini leaves everything as it was and says so.
TEST(SettingsWindow, TheDesktopFrameChoiceAppliesAtOnceAndIsKeptForTheNextStart) {
    VersionServer server({});
    const auto windowButtonsShown = [](ProgramRig& rig) {
        int n = 0;
        for (const char* name : {"minbtn", "maxbtn", "restorebtn", "closebtn"}) n += rig.shown(name);
        return n;
    };
    const auto frameActive = [](QWidget& window) {
        for (QObject* child : window.children())
            if (auto* frame = dynamic_cast<orvane::app::WindowFrame*>(child)) return frame->active();
        return false;
    };
    {
        SettingsRig rig({}, server.address());
        QWidget& window = rig.window();
        window.show();
        window.setWindowState(Qt::WindowMaximized);
        ASSERT_NE(rig.open(), nullptr);
        auto* check = qobject_cast<QAbstractButton*>(rig.settings().window()->control(QStringLiteral("desktop_frame_check")));
        ASSERT_NE(check, nullptr);
        EXPECT_FALSE(check->isChecked());
        EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
        EXPECT_EQ(windowButtonsShown(rig), 3);  // minimise, restore, close

        check->click();
        QApplication::processEvents();
        EXPECT_EQ(orvane::platform::IniFile(rig.path("main.ini")).readInt("WINDOW", "DESKTOPFRAME", -1), 1);
        EXPECT_FALSE(window.windowFlags() & Qt::FramelessWindowHint);
        EXPECT_TRUE(window.isVisible());
        EXPECT_TRUE(window.isMaximized());
        EXPECT_EQ(windowButtonsShown(rig), 0);
        EXPECT_FALSE(frameActive(window)) << "the program's edges and background still move and resize";

        check->click();
        QApplication::processEvents();
        EXPECT_EQ(orvane::platform::IniFile(rig.path("main.ini")).readInt("WINDOW", "DESKTOPFRAME", -1), 0);
        EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(windowButtonsShown(rig), 3);
        EXPECT_TRUE(frameActive(window));

        // main.ini cannot be written (a folder in its place): nothing changes and the user is told.
        std::filesystem::remove(rig.path("main.ini"));
        std::filesystem::create_directory(rig.path("main.ini"));
        rig.dialogs.shown.clear();
        check->click();
        QApplication::processEvents();
        EXPECT_FALSE(check->isChecked());
        EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
        ASSERT_EQ(rig.dialogs.shown.size(), 1u);
        EXPECT_EQ(rig.dialogs.shown[0].text, QLatin1String(orvane::platform::kMainIniUnusableMessage));
    }
    // The next start reads the choice before the window first shows.
    programtest::RigOptions o;
    o.features = std::vector<std::string_view>{"settings"};
    o.beforeBuild = [](ProgramRig& rig) {
        orvane::platform::IniFile(rig.path("main.ini")).writeInt("WINDOW", "DESKTOPFRAME", 1);
    };
    ProgramRig rig(o);
    EXPECT_FALSE(rig.window().windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(windowButtonsShown(rig), 0);
    rig.control<QAbstractButton>("setbtn")->click();
    auto* settings = rig.feature<orvane::app::SettingsFeature>()->window();
    ASSERT_NE(settings, nullptr);
    auto* check = qobject_cast<QAbstractButton*>(settings->control(QStringLiteral("desktop_frame_check")));
    ASSERT_NE(check, nullptr);
    EXPECT_TRUE(check->isChecked());
}

TEST(SettingsWindow, UpdateButtonsRegisterAndStartTheUpdaterWithItsParameters) {
    VersionServer server({{"Kx027", "1.0.6"}, {"Kx026", "1.0.6"}});
    SettingsRig rig({DeviceModel::RgbKeyboard}, server.address());
    ASSERT_TRUE(rig.waitForTab("kb_tab"));
    // The updater: a script beside the "program" that writes down its one argument.
    const auto folder = rig.path("program");
    std::filesystem::create_directories(folder);
    const auto said = rig.path("updater.txt");
    {
        std::ofstream script(folder / "VantrellUpdate");
        script << "#!/bin/sh\nprintf '%s' \"$1\" > '" << said.string() << "'\n";
    }
    std::filesystem::permissions(folder / "VantrellUpdate", std::filesystem::perms::owner_all);
    rig.settings().hooks.updater = orvane::update::UpdaterProgram{folder};
    ASSERT_TRUE(shelltest::WaitUntil([&] { return rig.settings().window() != nullptr; }));
    rig.runtime().flags.keyboardVersion = 0x105;
    rig.settings().window()->close();
    QApplication::processEvents();
    ASSERT_NE(rig.open(), nullptr);
    struct Case {
        const char* button;
        const char* parameters;
    };
    for (const Case c : {Case{"soft_update_btn", "OrvaneGamingJP;ja;1.0.5"}, Case{"rgb_kb_btn", "KestrelEliteRGBJP;ja;1.0.5"}}) {
        SCOPED_TRACE(c.button);
        std::filesystem::remove(said);
        ASSERT_TRUE(shelltest::WaitUntil([&] { return rig.enabledIn(c.button); }));
        rig.clickIn(c.button);
        ASSERT_TRUE(shelltest::WaitUntil([&] { return std::filesystem::exists(said) && std::filesystem::file_size(said) > 0; }));
        std::ifstream in(said);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), c.parameters);
        // The user is told, and the button is offered again.
        ASSERT_TRUE(shelltest::WaitUntil([&] { return !rig.dialogs.shown.empty(); }));
        EXPECT_EQ(rig.dialogs.shown.back().text, QStringLiteral("update_started_text"));
        EXPECT_TRUE(rig.enabledIn(c.button));
        rig.dialogs.shown.clear();
    }
    EXPECT_NE(rig.settings().window(), nullptr) << "the window stays open";

    // Without the updater the request says so instead of doing nothing.
    rig.settings().hooks.updater = orvane::update::UpdaterProgram{rig.path("nowhere")};
    rig.settings().window()->close();
    QApplication::processEvents();
    ASSERT_NE(rig.open(), nullptr);
    ASSERT_TRUE(shelltest::WaitUntil([&] { return rig.enabledIn("soft_update_btn"); }));
    rig.clickIn("soft_update_btn");
    ASSERT_TRUE(shelltest::WaitUntil([&] { return !rig.dialogs.shown.empty(); }));
    EXPECT_EQ(rig.dialogs.shown.back().text, QStringLiteral("update_updater_missing_text"));
}

// An update server that is no usable address: the "latest" fields say so and name the
// setting and its file, rather than passing for "none configured".
TEST(SettingsWindow, AnUnusableUpdateServerIsNamedWhereTheVersionsShow) {
    SettingsRig rig({}, "http://example.com/some/path");
    auto* window = rig.open();
    ASSERT_NE(window, nullptr);
    const QString tip = window->control(QStringLiteral("soft_new_version"))->toolTip();
    EXPECT_TRUE(tip.startsWith(TextIn("lan_en.xml", "update_check_failed_text"))) << tip.toStdString();
    EXPECT_TRUE(tip.contains(QStringLiteral("UpdateServer=\"http://example.com/some/path\""))) << tip.toStdString();
    EXPECT_TRUE(tip.contains(QStringLiteral("machine.ini"))) << tip.toStdString();
    EXPECT_FALSE(tip.contains(QStringLiteral("no update server configured")));
}

TEST(SettingsWindow, ClosesAtOnceWhileTheServerDoesNotAnswer) {
    SilentServer server;
    SettingsRig rig({DeviceModel::RgbKeyboard}, server.address());
    ASSERT_TRUE(rig.waitForTab("kb_tab"));
    QPointer<orvane::app::FunctionSet> window = rig.open();
    ASSERT_FALSE(window.isNull());
    rig.wait(200);  // the request is out and waiting for the reply (the time-outs are 30 s and more)
    EXPECT_EQ(rig.text("soft_new_version"), QStringLiteral("…"));
    rig.clickIn("closebtn");
    EXPECT_TRUE(window.isNull() || window->isHidden());
    // Gone well before any time-out of the request could have ended it.
    EXPECT_TRUE(shelltest::WaitUntil([&] { return window.isNull(); }, 5000));
}

}  // namespace

namespace {

/// Pictures of the settings window and the background pop-up in the four languages, for
/// looking at: ORVANE_SCREENSHOT_DIR=/tmp/shots orvane_ui_tests --gtest_filter=*Pictures*
TEST(SettingsWindow, PicturesInEveryLanguage) {
    const QByteArray folder = qgetenv("ORVANE_SCREENSHOT_DIR");
    if (folder.isEmpty()) GTEST_SKIP() << "set ORVANE_SCREENSHOT_DIR to take the pictures";
    VersionServer server({{"Kx027", "1.0.6"}, {"Kx026", "3.0.0"}});
    programtest::RigOptions o;
    o.features = std::vector<std::string_view>{"settings", "skin"};
    o.beforeBuild = [&server](ProgramRig& rig) {
        orvane::platform::MachineSettings machine(rig.path("machine.ini"));
        machine.setValue(orvane::platform::MachineSettings::kDisplayVersion, "1.0.5");
        machine.setValue(orvane::platform::MachineSettings::kUpdateServer, server.address());
    };
    o.beforeStart = [](ProgramRig& rig) {  // as if an RGB keyboard (0x105) and a mouse were connected
        auto& flags = rig.runtime().flags;
        flags.keyboardKind = orvane::runtime::RuntimeFlags::RgbKeyboard;
        flags.keyboardVersion = 0x105;
        flags.mousePresent = true;
    };
    ProgramRig rig(std::move(o));
    auto* settings = rig.feature<orvane::app::SettingsFeature>();
    ASSERT_TRUE(shelltest::WaitUntil([&] { return settings->window() != nullptr; }));  // the update found at start
    auto* window = settings->window();
    ASSERT_TRUE(shelltest::WaitUntil([&] {
        auto* l = qobject_cast<QLabel*>(window->control(QStringLiteral("RGB_KB_F")));
        return l && l->text() != QStringLiteral("…");
    }));
    auto* combo = qobject_cast<QComboBox*>(window->control(QStringLiteral("lanuage_select_combo")));
    const QString dir = QString::fromLocal8Bit(folder);
    QDir().mkpath(dir);
    for (const auto& [entry, code] : std::vector<std::pair<int, const char*>>{{2, "en"}, {0, "cn"}, {1, "sn"}, {3, "jp"}}) {
        combo->setCurrentIndex(entry);
        QApplication::processEvents();
        window->adjustSize();
        EXPECT_TRUE(window->grab().save(dir + QStringLiteral("/settings_%1.png").arg(QLatin1String(code))));
        window->hide();
        rig.control<QAbstractButton>("skinbtn")->click();
        auto* frame = rig.feature<orvane::app::SkinFeature>()->frame();
        ASSERT_NE(frame, nullptr);
        QApplication::processEvents();
        EXPECT_TRUE(frame->grab().save(dir + QStringLiteral("/skin_%1.png").arg(QLatin1String(code))));
        frame->close();
        window->show();
    }
}

}  // namespace
