// SPDX-License-Identifier: GPL-3.0-or-later
// Application-linked profiles in the window: the link controls of the profile panels
// through their real controls, and the watchers' switches as device jobs on emulated
// devices, with the application in front given by a stand-in for the X display.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>

#include <fstream>
#include <mutex>

#include "app/features/links_feature.h"
#include "profiles/profile_file.h"
#include "program_rig.h"
#include "ui/pages/profile_panel.h"

namespace {

using orvane::device::DeviceKind;
using orvane::device::DeviceModel;
using orvane::profiles::ListId;
using programtest::ProgramRig;
namespace fs = std::filesystem;

/// An executable file in the scratch folder, as the file dialog would return it.
std::string MakeApplication(ProgramRig& rig, const char* name) {
    const fs::path path = rig.path(name);
    std::ofstream(path) << "#!/bin/sh\n";
    fs::permissions(path, fs::perms::owner_all);
    return fs::canonical(path).string();
}

/// What the watchers see in front; set by the test, read by the watcher threads.
struct FakeForeground {
    std::mutex mutex;
    std::optional<std::string> application;
    void set(std::optional<std::string> app) {
        std::lock_guard lock(mutex);
        application = std::move(app);
    }
    std::optional<std::string> get() {
        std::lock_guard lock(mutex);
        return application;
    }
};

programtest::RigOptions Options(std::vector<DeviceModel> models, FakeForeground* foreground = nullptr) {
    programtest::RigOptions o;
    o.models = std::move(models);
    o.features = std::vector<std::string_view>{"presence", "profiles", "links"};
    if (foreground)
        o.beforeStart = [foreground](ProgramRig& rig) {
            rig.feature<orvane::app::LinksFeature>()->setForegroundQuery([foreground] { return foreground->get(); });
        };
    return o;
}

struct Names {
    QString check, button, edit, area, combo, add;
};
Names NamesOf(ListId id) {
    const auto n = orvane::ui::pages::ProfilePanelNames::Of(id);
    return {n.linkCheck, QString(n.linkCheck).replace(QStringLiteral("_check"), QStringLiteral("_btn")), n.linkEdit,
            n.linkArea, n.combo, n.add};
}

/// A value of the index file as written, spaces included (readers trim them).
std::string RawValue(const fs::path& file, std::string_view section, const std::string& key) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') inside = line == "[" + std::string(section) + "]";
        else if (inside && line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    }
    return "<missing>";
}

void ClickControl(ProgramRig& rig, const QString& name) {
    auto* b = rig.control<QAbstractButton>(name);
    ASSERT_NE(b, nullptr) << name.toStdString();
    b->click();
    rig.settle();
}

TEST(LinkControls, LinkRefuseDuplicateAndUnlinkThroughTheControls) {
    // Every list has its controls; the keyboard lighting and mouse key lists are worked through.
    for (const ListId id : {ListId::KeyboardLighting, ListId::MouseKeys}) {
        SCOPED_TRACE(int(id));
        ProgramRig rig(Options({DeviceModel::RgbKeyboard, DeviceModel::Mouse}));
        ASSERT_TRUE(rig.waitForTab("kb_tab"));
        ASSERT_TRUE(rig.waitForTab("ms_tab"));
        rig.settle();
        auto& store = rig.runtime().store;
        const Names n = NamesOf(id);
        const std::string game = MakeApplication(rig, "game");

        // Profile 0 linked through the check box to "game".
        rig.dialogs.files = {QString::fromStdString(game)};
        ClickControl(rig, n.check);
        ASSERT_FALSE(rig.dialogs.fileChoices.empty());
        EXPECT_TRUE(rig.dialogs.fileChoices.back().executables);
        EXPECT_EQ(store.link(id, 0).flag, "1");
        EXPECT_EQ(store.link(id, 0).process, game);
        EXPECT_TRUE(rig.checked(n.check.toLatin1().constData()));
        EXPECT_EQ(rig.control<QLineEdit>(n.edit)->text(), QStringLiteral("game"));
        EXPECT_TRUE(rig.shown(n.area.toLatin1().constData()));

        // A second profile: the check box refuses "game" (another spelling of the same file:
        // the same application).
        ClickControl(rig, n.add);
        ASSERT_EQ(store.list(id).selection, 1);
        QString alias = QString::fromStdString(game);
        alias.replace(QStringLiteral("/game"), QStringLiteral("/./game"));
        rig.dialogs.files = {alias};
        ClickControl(rig, n.check);
        ASSERT_FALSE(rig.dialogs.shown.empty());
        EXPECT_EQ(rig.dialogs.shown.back().text, QStringLiteral("message_text_13"));
        EXPECT_FALSE(rig.checked(n.check.toLatin1().constData()));
        EXPECT_FALSE(store.link(id, 1).linked());
        EXPECT_FALSE(rig.shown(n.area.toLatin1().constData()));

        // The button takes it (two profiles may share an application) and a cancelled button
        // choice changes nothing.
        rig.dialogs.files = {QString::fromStdString(game)};
        ClickControl(rig, n.button);
        EXPECT_EQ(store.link(id, 1).flag, "1");
        ClickControl(rig, n.button);  // no file scripted: cancelled
        EXPECT_EQ(store.link(id, 1).process, game);
        // A relative path is no application.
        rig.dialogs.files = {QStringLiteral("bin/other")};
        ClickControl(rig, n.check);  // unticks: removes the link
        rig.dialogs.files = {QStringLiteral("bin/other")};
        ClickControl(rig, n.check);
        EXPECT_FALSE(store.link(id, 1).linked());
        EXPECT_FALSE(rig.checked(n.check.toLatin1().constData()));

        // Back on profile 0: its link shows; unticking writes "0" and " ".
        rig.control<QComboBox>(n.combo)->setCurrentIndex(0);
        rig.settle();
        EXPECT_TRUE(rig.checked(n.check.toLatin1().constData()));
        ClickControl(rig, n.check);
        EXPECT_EQ(store.link(id, 0).flag, "0");
        EXPECT_EQ(RawValue(store.indexPath(id), orvane::profiles::ListSpecOf(id).sections->process, "0"), " ");
        EXPECT_EQ(rig.control<QLineEdit>(n.edit)->text(), QStringLiteral(" "));
        EXPECT_FALSE(rig.shown(n.area.toLatin1().constData()));
    }
}

TEST(LinkControls, WithoutAnX11DisplayTheHintIsGivenOnce) {
    ProgramRig rig(Options({DeviceModel::Mousepad}));
    ASSERT_TRUE(rig.waitForTab("mp_tab"));
    rig.settle();
    auto* links = rig.feature<orvane::app::LinksFeature>();
    links->setCoverage(orvane::platform::ForegroundApp::Coverage::None);
    const Names n = NamesOf(ListId::PadLighting);
    EXPECT_FALSE(links->limitsTold());
    rig.dialogs.files = {QString::fromStdString(MakeApplication(rig, "game"))};
    ClickControl(rig, n.button);
    EXPECT_TRUE(links->limitsTold());
}

std::vector<uint8_t> Pattern(ListId id, uint8_t seed) {
    std::vector<uint8_t> body(orvane::profiles::ListSpecOf(id).bodySize);
    for (size_t i = 0; i < body.size(); ++i) body[i] = uint8_t(seed + i * 7);
    return body;
}

TEST(ProfileWatchers, SwitchAsDeviceJobsAndGiveTheUsersChoiceBack) {
    // Connected, the key bank goes to the keyboard; not connected, the list still switches.
    for (const bool connected : {true, false}) {
        SCOPED_TRACE(connected);
        FakeForeground front;
        std::vector<DeviceModel> models;
        if (connected) models.push_back(DeviceModel::RgbKeyboard);
        ProgramRig rig(Options(models, &front));
        if (connected) {
            ASSERT_TRUE(rig.waitForTab("kb_tab"));
        }
        rig.settle();
        const ListId id = ListId::KeyboardKeys;
        auto& store = rig.runtime().store;
        const Names n = NamesOf(id);
        const std::string game = MakeApplication(rig, "game");

        ClickControl(rig, n.add);  // "New Profile 2", linked to the game through the button
        const auto linkedBody = Pattern(id, 0x31);
        ASSERT_TRUE(orvane::profiles::WriteProfileFile(*store.profilePath(id, "New Profile 2"), DeviceKind::Keyboard, linkedBody));
        rig.dialogs.files = {QString::fromStdString(game)};
        ClickControl(rig, n.button);
        ASSERT_TRUE(store.link(id, 1).linked());
        auto* combo = rig.control<QComboBox>(n.combo);
        combo->setCurrentIndex(0);  // the user's own choice
        rig.settle();
        ASSERT_EQ(store.recordedSelection(id), 0);
        const auto ownMemory = connected ? rig.keyMemory(DeviceModel::RgbKeyboard, 16) : std::vector<uint8_t>{};

        front.set(game);
        ASSERT_TRUE(shelltest::WaitUntil([&] { return combo->currentIndex() == 1; }, 15000));
        rig.settle();
        EXPECT_EQ(store.list(id).selection, 1);
        EXPECT_EQ(store.recordedSelection(id), 0) << "the user's choice is written back after the pass";
        EXPECT_EQ(rig.control<QLineEdit>(orvane::ui::pages::ProfilePanelNames::Of(id).nameEdit)->text(),
                  QStringLiteral("New Profile 2"));
        EXPECT_TRUE(rig.checked(n.check.toLatin1().constData())) << "the panel shows the linked profile";
        if (connected) {
            EXPECT_EQ(rig.keyMemory(DeviceModel::RgbKeyboard, 16),
                      std::vector<uint8_t>(linkedBody.begin(), linkedBody.begin() + 16));
        }

        front.set(std::nullopt);  // unknown matches nothing: the user's profile returns
        ASSERT_TRUE(shelltest::WaitUntil([&] { return combo->currentIndex() == 0; }, 15000));
        rig.settle();
        EXPECT_EQ(store.recordedSelection(id), 0);
        if (connected) {
            EXPECT_EQ(rig.keyMemory(DeviceModel::RgbKeyboard, 16), ownMemory);
        }
    }
}

TEST(ProfileWatchers, StopEndsTheWatchersAtOnce) {
    FakeForeground front;
    programtest::RigOptions o = Options({}, &front);
    o.stopBound = std::chrono::milliseconds(1000);  // well under a watcher's 2-second wait
    ProgramRig rig(std::move(o));
    rig.wait(300);  // the watchers are in their wait
    EXPECT_EQ(rig.program->shutdown(), orvane::runtime::StopOutcome::AllEnded);
}

}  // namespace

namespace {

/// A picture of a linked profile's controls: ORVANE_SCREENSHOT_DIR=/tmp/shots.
TEST(LinkControls, PictureOfALinkedProfile) {
    const QByteArray folder = qgetenv("ORVANE_SCREENSHOT_DIR");
    if (folder.isEmpty()) GTEST_SKIP() << "set ORVANE_SCREENSHOT_DIR to take the picture";
    ProgramRig rig(Options({DeviceModel::Mouse}));
    ASSERT_TRUE(rig.waitForTab("ms_tab"));
    rig.settle();
    rig.window().show();
    ClickControl(rig, QStringLiteral("ms_deng_Op_tab"));
    ClickControl(rig, QStringLiteral("ms_profile_fun_spread_btn"));
    rig.dialogs.files = {QString::fromStdString(MakeApplication(rig, "game"))};
    ClickControl(rig, NamesOf(ListId::MouseLighting).check);
    QApplication::processEvents();
    QDir().mkpath(QString::fromLocal8Bit(folder));
    EXPECT_TRUE(rig.window().grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/links.png")));
}

}  // namespace
