// SPDX-License-Identifier: GPL-3.0-or-later
// The orvane executable itself: command line, no display, a screenshot's lit previews, and a
// second start.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "app/preview_layout.h"
#include "app/screenshot_pages.h"
#include "program_rig.h"
#include "shell_test_support.h"

namespace {

QString Program() { return QCoreApplication::applicationDirPath() + "/../src/app/orvane"; }

class OrvaneProcess : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFileInfo::exists(Program())) GTEST_SKIP() << "orvane is not built";
        env.insert("HOME", home.path());
        env.insert("XDG_CONFIG_HOME", home.path() + "/.config");
        env.insert("XDG_RUNTIME_DIR", home.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
    }
    int run(const QStringList& args, const QProcessEnvironment& environment, QByteArray* err = nullptr) {
        QProcess p;
        p.setProcessEnvironment(environment);
        p.start(Program(), args);
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            return -1;
        }
        if (err) *err = p.readAllStandardError();
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    QTemporaryDir home;
    QProcessEnvironment env = [] {
        auto e = QProcessEnvironment::systemEnvironment();
        e.insert("QT_LOGGING_RULES", "orvane.*.debug=true");  // the checks read the debug texts
        return e;
    }();
};

TEST_F(OrvaneProcess, CommandLineAndDisplay) {
    QByteArray err;
    EXPECT_EQ(run({"--bogus"}, env, &err), 2);
    EXPECT_TRUE(err.contains("usage: orvane"));
    EXPECT_EQ(run({"--screenshot"}, env), 2);

    auto noDisplay = env;
    noDisplay.remove("QT_QPA_PLATFORM");
    EXPECT_EQ(run({}, noDisplay, &err), 1);
    EXPECT_EQ(err.count('\n'), 1);  // one line, no abort
    EXPECT_TRUE(err.contains("display"));

    const QString shot = home.path() + "/shot.png";
    EXPECT_EQ(run({"--simulate", "--screenshot", shot}, env), 0);
    EXPECT_FALSE(QImage(shot).isNull());
    EXPECT_EQ(QImage(shot).size(), orvane::app::kFirstWindowSize);  // whatever the screen
}

// The previews in a screenshot are lit although the device's start wait is far from over
// when it is taken: each mousepad cell of the picture the program writes differs from the
// same page laid out here with the previews hidden.
TEST_F(OrvaneProcess, AScreenshotShowsThePreviewsLit) {
    const QString shot = home.path() + "/mp.png";
    ASSERT_EQ(run({"--simulate", "--screenshot", shot, "--page", "mp", "--language", "en"}, env), 0);
    const QImage lit(shot);

    programtest::RigOptions o;
    o.models = {orvane::device::DeviceModel::Mousepad};
    o.language = 0;  // English
    programtest::ProgramRig rig(o);
    ASSERT_TRUE(rig.waitForTab("mp_tab"));
    ASSERT_TRUE(orvane::app::ShowScreenshotPage(rig.window(), *orvane::app::FindScreenshotPage("mp"), nullptr));
    rig.wait();
    std::vector<QPoint> corners;
    for (size_t i = 0; i < orvane::app::PreviewCellsOf(orvane::device::DeviceKind::Mousepad); ++i) {
        QWidget* cell = rig.control(QStringLiteral("mp_dkey_%1").arg(i));
        if (!cell || !cell->isVisible()) continue;
        corners.push_back(cell->mapTo(&rig.window(), QPoint(3, 3)));
        if (auto* overlay = orvane::ui::Preview::of(cell)) overlay->hide();
    }
    const QImage dark = rig.window().grab().toImage();
    ASSERT_EQ(lit.size(), dark.size());
    ASSERT_FALSE(corners.empty());
    size_t litCells = 0;
    for (const QPoint& at : corners) {
        const QColor a = lit.pixelColor(at), b = dark.pixelColor(at);
        litCells += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) >= 60;
    }
    EXPECT_GE(litCells * 4, corners.size() * 3) << litCells << " of " << corners.size() << " cells lit";
}

TEST_F(OrvaneProcess, SecondStartSignalsTheFirstAndExits) {
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(Program(), {"--simulate"});
    ASSERT_TRUE(first.waitForStarted());
    // The first copy is ready once its socket is there.
    ASSERT_TRUE(shelltest::WaitUntil([&] { return QFileInfo::exists(home.path() + "/ECORVADA_001"); }, 30000));
    EXPECT_EQ(run({"--simulate"}, env), 0);
    // No device: the first copy shows "message_text_1"; it logs the signal either way.
    QByteArray log;
    EXPECT_TRUE(shelltest::WaitUntil([&] {
        log += first.readAllStandardError();
        return log.contains("软件标示");
    }, 30000));
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
}

}  // namespace
