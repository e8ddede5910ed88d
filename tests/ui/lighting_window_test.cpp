// SPDX-License-Identifier: GPL-3.0-or-later
// The lighting workers in the window with emulated devices: the previews of all three
// devices move, their updates are coalesced, and the mousepad page's same mode, mode
// selection and edits set and clear the sync flags.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QImage>
#include <QTemporaryDir>

#include "app/features.h"
#include "app/preview_layout.h"
#include "app/screenshot_pages.h"
#include "program_rig.h"

using namespace orvane;
using device::DeviceModel;
using lighting::LightingDevice;

namespace {

// Zero-time link, no start waits: the program with its presence, pages and lighting.
struct LightingRig : programtest::ProgramRig {
    explicit LightingRig(std::initializer_list<DeviceModel> models) : ProgramRig(Options(models)) {}
    static programtest::RigOptions Options(std::initializer_list<DeviceModel> models) {
        programtest::RigOptions o;
        o.models.assign(models.begin(), models.end());
        o.features = std::vector<std::string_view>{"presence", "mouse page", "mousepad page", "lighting"};
        return o;
    }
    app::LightingFeature& lightingFeature() { return *feature<app::LightingFeature>(); }
    lighting::AnimationEngine& engine() { return runtime().lighting; }
    // Bytes 1-8 of a device's record: mode, brightness, speed, direction, seven, R, G, B.
    void choose(LightingDevice device, std::array<uint8_t, 8> c) {
        const auto put = [&](auto& record) { std::copy(c.begin(), c.end(), record.bytes.begin() + 1); };
        if (device == LightingDevice::Keyboard) runtime().keyboard.update([&](auto& d) { put(d.lighting); });
        if (device == LightingDevice::Mouse) runtime().mouse.update([&](auto& d) { put(d.state); });
        if (device == LightingDevice::Pad) runtime().pad.update([&](auto& d) { put(d.state); });
        engine().requestReset(device);
    }
    QColor preview(const QString& name) {
        auto* overlay = ui::Preview::of(control(name));
        return overlay ? overlay->color() : QColor();
    }
    std::array<uint8_t, 8> choiceOf(const auto& record) const {
        std::array<uint8_t, 8> c{};
        std::copy_n(record.bytes.begin() + 1, 8, c.begin());
        return c;
    }
    bool flags(bool kb, bool ms, bool mp) {
        using device::DeviceKind;
        return runtime().connection(DeviceKind::Keyboard).syncLighting == kb &&
               runtime().connection(DeviceKind::Mouse).syncLighting == ms &&
               runtime().connection(DeviceKind::Mousepad).syncLighting == mp;
    }
};

TEST(LightingWindow, PreviewsOfAllThreeDevicesMove) {
    LightingRig rig({DeviceModel::RgbKeyboard, DeviceModel::Mouse, DeviceModel::Mousepad});
    ASSERT_TRUE(rig.waitForTab("mp_tab") && rig.waitForTab("ms_tab") && rig.waitForTab("kb_tab"));
    rig.choose(LightingDevice::Keyboard, {7, 4, 0, 1, 0, 0, 0, 0});  // colour cycle
    rig.choose(LightingDevice::Mouse, {3, 4, 0, 1, 0, 0, 0, 0});     // spectrum
    rig.choose(LightingDevice::Pad, {0, 4, 0, 1, 1, 0, 0, 0});       // seven-colour wave

    const QStringList cells{QStringLiteral("kb_dkey_30"), QStringLiteral("ms_dkey_0"), QStringLiteral("mp_dkey_0")};
    const auto sample = [&] {
        QList<QColor> colours;
        for (const auto& c : cells) colours << rig.preview(c);
        return colours;
    };
    ASSERT_TRUE(shelltest::WaitUntil([&] { return sample()[0].alpha() && sample()[1].alpha() && sample()[2].alpha(); }));
    // Two pictures a moment apart, on the page of each device: every one has moved.
    for (const char* tab : {"kb_tab", "ms_tab", "mp_tab"}) {
        SCOPED_TRACE(tab);
        rig.control<QAbstractButton>(tab)->setChecked(true);
        const auto colours = sample();
        const QImage first = rig.window().grab().toImage();
        shelltest::WaitUntil([] { return false; }, 250);
        const QImage second = rig.window().grab().toImage();
        EXPECT_NE(first, second);
        if (const char* out = std::getenv("ORVANE_LIGHTING_SHOTS")) {
            first.save(QStringLiteral("%1/%2-1.png").arg(QLatin1String(out), QLatin1String(tab)));
            second.save(QStringLiteral("%1/%2-2.png").arg(QLatin1String(out), QLatin1String(tab)));
        }
        const auto later = sample();
        for (int i = 0; i < cells.size(); ++i) EXPECT_NE(colours[i], later[i]) << cells[i].toStdString();
    }
    // All three stream at their fastest; the overlays were updated at most once per screen
    // frame (with room for a late timer).
    const uint64_t before = rig.lightingFeature().previews().updates();
    QElapsedTimer clock;
    clock.start();
    shelltest::WaitUntil([] { return false; }, 500);
    const double frames = double(clock.elapsed()) / double(app::PreviewCoalescer::kFramePeriod.count());
    EXPECT_LE(double(rig.lightingFeature().previews().updates() - before), frames + 2);
    EXPECT_GT(rig.engine().counters(LightingDevice::Mouse).accepted, 0u);
}

// The share of a device's shown preview cells that the picture shows lit: the pixel just
// inside each cell's corner (clear of a legend) against the same pixel with the previews
// hidden, in pictures of the window as a screenshot takes them.
double LitShare(programtest::ProgramRig& rig, device::DeviceKind kind) {
    const char* prefix = nullptr;
    for (const auto& family : app::kPreviewFamilies)
        if (family.kind == kind) prefix = family.controlPrefix;
    std::vector<QPoint> corners;
    std::vector<ui::PreviewOverlay*> overlays;
    for (size_t i = 0; i < app::PreviewCellsOf(kind); ++i) {
        QWidget* cell = rig.control(QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(i));
        if (!cell || !cell->isVisible() || cell->width() < 6 || cell->height() < 6) continue;
        corners.push_back(cell->mapTo(&rig.window(), QPoint(3, 3)));
        overlays.push_back(ui::Preview::of(cell));
    }
    if (corners.empty()) return 0;
    const QImage lit = rig.window().grab().toImage();
    for (auto* overlay : overlays)
        if (overlay) overlay->hide();
    const QImage dark = rig.window().grab().toImage();
    for (auto* overlay : overlays)
        if (overlay) overlay->show();
    int n = 0;
    for (const QPoint& at : corners) {
        const QColor a = lit.pixelColor(at), b = dark.pixelColor(at);
        n += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) >= 60;
    }
    return double(n) / double(corners.size());
}

TEST(LightingWindow, PreviewsAreLitWhileTheDevicesStartWaitsRun) {
    // Start waits far longer than the test: whatever the previews show comes from the frames
    // rendered for them alone, and nothing reaches a device.
    programtest::RigOptions o;
    o.models = {DeviceModel::RgbKeyboard, DeviceModel::Mouse, DeviceModel::Mousepad};
    o.lightingStartWaits = std::chrono::hours(1);
    programtest::ProgramRig rig(o);
    ASSERT_TRUE(rig.waitForTab("mp_tab") && rig.waitForTab("ms_tab") && rig.waitForTab("kb_tab"));
    struct Case {
        const char* page;
        device::DeviceKind kind;
        DeviceModel model;
    };
    for (const Case& c : {Case{"kb-lighting", device::DeviceKind::Keyboard, DeviceModel::RgbKeyboard},
                          Case{"ms-lighting", device::DeviceKind::Mouse, DeviceModel::Mouse},
                          Case{"mp", device::DeviceKind::Mousepad, DeviceModel::Mousepad}}) {
        SCOPED_TRACE(c.page);
        QString why;
        ASSERT_TRUE(app::ShowScreenshotPage(rig.window(), *app::FindScreenshotPage(QLatin1String(c.page)), &why))
            << why.toStdString();
        // Most cells lit (the keyboard has a key without a light; an effect may dim a few).
        EXPECT_TRUE(shelltest::WaitUntil([&] { return LitShare(rig, c.kind) >= 0.75; }))
            << "lit share " << LitShare(rig, c.kind);
        uint64_t frames = 0;
        rig.device(c.model).withFirmware(
            [&](sim::Firmware& f) { frames = static_cast<sim::DeviceFirmware&>(f).frameCount(); });
        EXPECT_EQ(frames, 0u) << "a frame reached the device before its start wait was over";
    }
}

TEST(LightingWindow, SameModeRunsTheSourcesEffectAndEveryPageShowsIt) {
    programtest::RigOptions options =
        LightingRig::Options({DeviceModel::RgbKeyboard, DeviceModel::Mouse, DeviceModel::Mousepad});
    options.features->push_back("lighting pages");
    programtest::ProgramRig rig(options);
    ASSERT_TRUE(rig.waitForTab("mp_tab") && rig.waitForTab("ms_tab") && rig.waitForTab("kb_tab"));
    ASSERT_TRUE(rig.settle());
    rig.control<QComboBox>("kb_deng_combo_modeSelect")->setCurrentIndex(0);  // Aurora
    rig.control<QComboBox>("ms_deng_combo_modeSelect")->setCurrentIndex(5);
    auto* pad = rig.control<QComboBox>("mp_deng_combo_modeSelect");
    pad->setCurrentIndex(0);  // the pad's wave, in one colour
    rig.control<QAbstractButton>("mp_deng_same_mode")->click();
    ASSERT_TRUE(rig.settle());
    // Each effect box names the wave as its own list numbers it.
    EXPECT_EQ(rig.control<QComboBox>("kb_deng_combo_modeSelect")->currentIndex(), 6);
    EXPECT_EQ(rig.control<QComboBox>("ms_deng_combo_modeSelect")->currentIndex(), 2);
    EXPECT_EQ(pad->currentIndex(), 0);
    // And the wave runs: keys of different columns differ, where a static light is even.
    const auto colourOf = [&](const char* name) {
        auto* overlay = ui::Preview::of(rig.control(name));
        return overlay ? overlay->color() : QColor();
    };
    EXPECT_TRUE(shelltest::WaitUntil([&] { return colourOf("kb_dkey_64") != colourOf("kb_dkey_70"); }));
    EXPECT_TRUE(shelltest::WaitUntil([&] { return colourOf("mp_dkey_0") != colourOf("mp_dkey_7"); }));
}

TEST(LightingWindow, PadSameModeSetsAllFlagsAndPageChangesClearThem) {
    // The keyboard is absent: same mode still sets its flag and copies into its record.
    LightingRig rig({DeviceModel::Mouse, DeviceModel::Mousepad});
    ASSERT_TRUE(rig.waitForTab("mp_tab") && rig.waitForTab("ms_tab"));
    auto* combo = rig.control<QComboBox>("mp_deng_combo_modeSelect");
    combo->setCurrentIndex(1);  // spectrum: same mode is enabled
    auto* same = rig.control<QAbstractButton>("mp_deng_same_mode");
    ASSERT_TRUE(same && same->isEnabled());

    struct Case {
        const char* what;
        std::function<void()> change;
        bool kb, ms, mp;  // flags after the change
    };
    const Case cases[] = {
        {"mode selection on the pad page", [&] { combo->setCurrentIndex(2); }, false, false, false},
        {"brightness on the pad page", [&] { rig.control<QAbstractSlider>("mp_deng_light_slider")->setValue(2); },
         true, true, false},
        {"command 6 to the mouse (the flush)",
         [&] {
             rig.runtime().mouse.stateDirty = true;
             auto& rt = rig.runtime();
             rt.jobs(device::DeviceKind::Mouse).submit({.name = "flush"}, [&rt] { rt.flush(device::DeviceKind::Mouse); });
             rig.settle();
         },
         true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        combo->setCurrentIndex(1);
        same->click();
        EXPECT_TRUE(rig.flags(true, true, true));
        // The pad's spectrum (its mode 1) is the mouse's mode 3 and the keyboard's colour
        // cycle (mode 7); the other bytes go over as they are.
        auto pad = rig.choiceOf(rig.runtime().pad.state());
        auto mouse = rig.choiceOf(rig.runtime().mouse.state());
        auto keyboard = rig.choiceOf(rig.runtime().keyboard.read([](const auto& d) { return d.lighting; }));
        EXPECT_EQ(pad[0], 1);
        EXPECT_EQ(mouse[0], 3);
        EXPECT_EQ(keyboard[0], 7);
        EXPECT_EQ(rig.engine().syncRecord().choice().mode, 3);
        pad[0] = mouse[0] = keyboard[0] = 0;
        EXPECT_EQ(mouse, pad);
        EXPECT_EQ(keyboard, pad);
        c.change();
        EXPECT_TRUE(rig.flags(c.kb, c.ms, c.mp));
    }
    // While synchronised, the synchronised effect feeds both devices.
    combo->setCurrentIndex(1);
    same->click();
    const auto before = rig.engine().counters(LightingDevice::Mouse).accepted.load();
    EXPECT_TRUE(shelltest::WaitUntil(
        [&] { return rig.engine().counters(LightingDevice::Mouse).accepted > before + 3; }));
}

}  // namespace
