// SPDX-License-Identifier: GPL-3.0-or-later
// The background pop-up through its controls: presets, colours, a custom file and the reset
// change the main window's "root" and (all but a custom file) main.ini; the remembered
// preset or colour comes back at the next start; the thumbnails fill their buttons and the
// swatches differ; an image that cannot be loaded leaves none and is told once.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPointer>
#include <QStackedWidget>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <optional>
#include <fstream>
#include <thread>

#include "app/features/skin_feature.h"
#include "appearance/background.h"
#include "platform/ini_file.h"
#include "program_rig.h"

namespace {

using programtest::ProgramRig;

programtest::RigOptions Options(std::function<void(ProgramRig&)> beforeBuild = {}) {
    programtest::RigOptions o;
    o.features = std::vector<std::string_view>{"skin"};
    o.beforeBuild = std::move(beforeBuild);
    return o;
}

struct SkinRig : ProgramRig {
    explicit SkinRig(std::function<void(ProgramRig&)> beforeBuild = {}) : ProgramRig(Options(std::move(beforeBuild))) {}

    orvane::app::CSkinFrame* open() {
        control<QAbstractButton>("skinbtn")->click();
        return feature<orvane::app::SkinFeature>()->frame();
    }
    /// Opens the pop-up and clicks one of its controls; the pop-up closes with the choice.
    void choose(const QString& name) {
        QPointer<orvane::app::CSkinFrame> frame = open();
        ASSERT_FALSE(frame.isNull());
        auto* b = qobject_cast<QAbstractButton*>(frame->control(name));
        ASSERT_NE(b, nullptr) << name.toStdString();
        b->click();
        QApplication::processEvents();
        EXPECT_TRUE(frame.isNull() || frame->isHidden()) << "a choice closes the pop-up";
    }
    std::string ini(const char* key) { return orvane::platform::IniFile(path("main.ini")).readString("SKINIMAGE", key, "-"); }
    QString rootImage() { return control("root")->property("backgroundImage").toString(); }
    QVariant rootColour() { return control("root")->property("backgroundColour"); }
};

TEST(SkinWindow, PresetColourCustomAndResetChangeRootAndMainIni) {
    SkinRig rig;
    rig.choose(QStringLiteral("skin_image_btn_1"));
    EXPECT_EQ(rig.ini("FLAGS"), "1");
    EXPECT_EQ(rig.ini("IMAGE"), std::string(orvane::appearance::kPresetImages[1].image));
    EXPECT_TRUE(rig.rootImage().endsWith(QStringLiteral("backgrounds/ember.png"))) << rig.rootImage().toStdString();

    // A colour is remembered beside the preset's image, which stays for a later reset.
    rig.choose(QStringLiteral("skin_color_btn_2"));
    EXPECT_EQ(rig.rootColour().toUInt(), orvane::appearance::kPresetColours[2]);
    EXPECT_TRUE(rig.rootImage().isEmpty());
    EXPECT_EQ(rig.ini("FLAGS"), "2");
    EXPECT_EQ(rig.ini("COLOR"), "#FF24664A");
    EXPECT_EQ(rig.ini("IMAGE"), std::string(orvane::appearance::kPresetImages[1].image));

    // A custom PNG: shown, not remembered; one that cannot be loaded leaves no image.
    const auto custom = rig.path("mine.png");
    {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        ASSERT_TRUE(image.save(QString::fromStdString(custom.string())));
    }
    rig.dialogs.files = {QString::fromStdString(custom.string())};
    rig.choose(QStringLiteral("skin_Custom"));
    ASSERT_FALSE(rig.dialogs.fileChoices.empty());
    EXPECT_EQ(rig.dialogs.fileChoices.back().defaultExtension, QStringLiteral("png"));
    EXPECT_EQ(rig.rootImage(), QString::fromStdString(custom.string()));
    EXPECT_EQ(rig.ini("IMAGE"), std::string(orvane::appearance::kPresetImages[1].image));
    const auto broken = rig.path("broken.png");
    std::ofstream(broken) << "\x89PNG\r\n\x1a\n not really";
    rig.dialogs.files = {QString::fromStdString(broken.string())};
    rig.choose(QStringLiteral("skin_Custom"));
    EXPECT_TRUE(rig.rootImage().isEmpty());
    EXPECT_FALSE(rig.rootColour().isValid());
    rig.choose(QStringLiteral("skin_Custom"));  // cancelled: nothing changes
    EXPECT_TRUE(rig.rootImage().isEmpty());

    rig.choose(QStringLiteral("skin_reset"));
    EXPECT_EQ(rig.ini("FLAGS"), "0");
    EXPECT_EQ(rig.ini("IMAGE"), "common/background.png");
    EXPECT_TRUE(rig.rootImage().endsWith(QStringLiteral("common/background.png")));
}

TEST(SkinWindow, TheRememberedPresetComesBackAtStartAndAResetDoesNot) {
    struct Case {
        const char* flags;
        const char* image;
        const char* shown;  ///< the end of root's image, empty for none
    };
    for (const Case c : {Case{"1", "backgrounds/dusk.png", "backgrounds/dusk.png"},
                         Case{"0", "common/background.png", ""}, Case{"1", "backgrounds/missing.png", ""}}) {
        SCOPED_TRACE(c.image);
        SkinRig rig([c](ProgramRig& r) {
            orvane::platform::IniFile ini(r.path("main.ini"));
            ini.writeString("SKINIMAGE", "FLAGS", c.flags);
            ini.writeString("SKINIMAGE", "IMAGE", c.image);
        });
        if (*c.shown) EXPECT_TRUE(rig.rootImage().endsWith(QLatin1String(c.shown))) << rig.rootImage().toStdString();
        else EXPECT_TRUE(rig.rootImage().isEmpty()) << rig.rootImage().toStdString();
    }
}

TEST(SkinWindow, TheRememberedColourComesBackAtStartAndAMalformedOneIsIgnored) {
    struct Case { const char* flags; const char* colour; std::optional<uint32_t> shown; };
    for (const Case& c : {Case{"2", "#FF7A2430", 0xFF7A2430u}, Case{"2", "#7A2430", 0xFF7A2430u},
                          Case{"2", "#GG0000", std::nullopt}, Case{"0", "#FF7A2430", std::nullopt}}) {
        SCOPED_TRACE(std::string(c.flags) + " " + c.colour);
        SkinRig rig([c](ProgramRig& r) {
            orvane::platform::IniFile ini(r.path("main.ini"));
            ini.writeString("SKINIMAGE", "FLAGS", c.flags);
            ini.writeString("SKINIMAGE", "COLOR", c.colour);
        });
        if (c.shown) EXPECT_EQ(rig.rootColour().toUInt(), *c.shown);
        else EXPECT_FALSE(rig.rootColour().isValid());
        EXPECT_TRUE(rig.rootImage().isEmpty());
    }
}

TEST(SkinWindow, ThumbnailsFillTheirButtonsAndTheSwatchesAreColoursApart) {
    SkinRig rig;
    QPointer<orvane::app::CSkinFrame> frame = rig.open();
    ASSERT_FALSE(frame.isNull());
    for (size_t i = 0; i < orvane::appearance::kPresetImages.size(); ++i) {
        auto* b = qobject_cast<QAbstractButton*>(frame->control(QStringLiteral("skin_image_btn_%1").arg(i)));
        ASSERT_NE(b, nullptr);
        // The picture covers the whole icon: no bars beside or above it.
        EXPECT_EQ(b->icon().pixmap(b->iconSize()).size(), b->iconSize()) << i;
    }
    const auto luminance = [](uint32_t c) {
        const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(((c >> 16) & 255) / 255.0) + 0.7152 * channel(((c >> 8) & 255) / 255.0) +
               0.0722 * channel((c & 255) / 255.0);
    };
    const double text = luminance(0xE4E7EC);  // the skin's text colour
    const auto& colours = orvane::appearance::kPresetColours;
    for (size_t i = 0; i < colours.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_GE((text + 0.05) / (luminance(colours[i]) + 0.05), 4.5) << "text stays readable";
        EXPECT_GE(luminance(colours[i]), 0.03) << "not near-black";
        for (size_t j = 0; j < i; ++j) {
            int distance = 0;
            for (int shift : {16, 8, 0}) distance += std::abs(int((colours[i] >> shift) & 255) - int((colours[j] >> shift) & 255));
            EXPECT_GE(distance, 60) << "too close to swatch " << j;
        }
    }
}

// main.ini naming a FIFO, a device or a missing file as the background: start-up goes on
// (nothing that is not a regular file is opened), the window has no image, and one message
// says so. Should start-up open the FIFO after all, a watchdog opens its other end after a
// generous wait, so the test fails instead of hanging.
TEST(SkinWindow, ABackgroundThatIsNotAPictureFileIsToldOnceAndStartGoesOn) {
    QTemporaryDir folder;
    const std::string fifo = folder.filePath(QStringLiteral("background.png")).toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string image : {fifo, std::string("/dev/zero"), std::string("backgrounds/missing.png")}) {
        SCOPED_TRACE(image);
        std::atomic<bool> started{false}, unblocked{false};
        std::thread watchdog([&] {
            for (int i = 0; i < 600 && !started; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
            while (!started) {
                const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);  // succeeds only with a reader waiting
                if (fd >= 0) {
                    unblocked = true;
                    ::close(fd);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        });
        {
            SkinRig rig([&](ProgramRig& r) {
                orvane::platform::IniFile ini(r.path("main.ini"));
                ini.writeString("SKINIMAGE", "FLAGS", "1");
                ini.writeString("SKINIMAGE", "IMAGE", image);
            });
            started = true;
            watchdog.join();
            EXPECT_FALSE(unblocked) << "start-up waited on the FIFO";
            EXPECT_TRUE(rig.rootImage().isEmpty()) << rig.rootImage().toStdString();
            shelltest::WaitUntil([&] { return !rig.dialogs.shown.empty(); }, 2000);
            QApplication::processEvents();
            ASSERT_EQ(rig.dialogs.shown.size(), 1u);
            EXPECT_EQ(rig.dialogs.shown[0].text, "message_picture_unusable");
        }
    }
}

TEST(SkinWindow, OpensUnderTheButtonSwitchesPagesAndClosesWhenItLosesFocus) {
    SkinRig rig;
    QPointer<orvane::app::CSkinFrame> frame = rig.open();
    ASSERT_FALSE(frame.isNull());
    QWidget* anchor = rig.control("skinbtn");
    const QPoint corner = anchor->mapToGlobal(QPoint(anchor->width(), anchor->height()));
    EXPECT_EQ(frame->geometry().topRight() + QPoint(1, 0), corner);
    auto* tab = qobject_cast<QStackedWidget*>(frame->control(QStringLiteral("skin_tab")));
    ASSERT_NE(tab, nullptr);
    qobject_cast<QAbstractButton*>(frame->control(QStringLiteral("skin_color")))->click();
    EXPECT_EQ(tab->currentIndex(), 1);
    qobject_cast<QAbstractButton*>(frame->control(QStringLiteral("skin_image")))->click();
    EXPECT_EQ(tab->currentIndex(), 0);
    const std::string before = rig.ini("FLAGS");
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(frame, &deactivate);
    EXPECT_TRUE(shelltest::WaitUntil([&] { return frame.isNull(); }, 5000));
    EXPECT_EQ(rig.ini("FLAGS"), before);
}

}  // namespace
