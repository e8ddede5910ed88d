// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard's lighting page and the mouse page's lighting section through their real
// controls on emulated devices: the groups each mode shows, the colour controls, the fixed
// colour of the single-colour keyboard, per-key painting checked on the frames the emulated
// keyboard receives, and the selected lighting profile's file matching the screen.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include "app/features.h"
#include "keyboard/keyboard_records.h"
#include "lighting/keyboard_tables.h"
#include "program_rig.h"
#include "sim/firmware_device.h"
#include "ui/language.h"

using namespace orvane;
using device::DeviceKind;
using device::DeviceModel;
using profiles::ListId;

namespace {

struct LightingPagesRig : programtest::ProgramRig {
    explicit LightingPagesRig(std::initializer_list<DeviceModel> models) : ProgramRig(Options(models)) {}
    static programtest::RigOptions Options(std::initializer_list<DeviceModel> models) {
        programtest::RigOptions o;
        o.models.assign(models.begin(), models.end());
        o.features = std::vector<std::string_view>{"presence",      "profiles", "mouse page",
                                                   "mousepad page", "lighting", "lighting pages"};
        return o;
    }
    /// The device arrived and its arrival work (profile selection, refresh) is done.
    bool arrived(DeviceKind kind) {
        const bool ok = shelltest::WaitUntil([&] { return runtime().connected(kind); });
        wait(200);
        return ok;
    }
    void select(const char* combo, int index) { control<QComboBox>(combo)->setCurrentIndex(index); }
    void reselect(const char* combo) {
        auto* c = control<QComboBox>(combo);
        Q_EMIT c->activated(c->currentIndex());
    }
    void type(const char* edit, const QString& text) {
        auto* e = control<QLineEdit>(edit);
        e->setText(text);
        Q_EMIT e->textEdited(text);
    }
    void click(const char* name) { control<QAbstractButton>(name)->click(); }
    void click(const QString& name) { control<QAbstractButton>(name)->click(); }
    QString text(const char* edit) { return control<QLineEdit>(edit)->text(); }
    bool enabled(const char* name) { return control(name) && control(name)->isEnabled(); }

    keyboard::KeyboardData keyboardData() { return runtime().keyboard.snapshot(); }
    /// The selected lighting profile's body as its file holds it now.
    std::vector<uint8_t> savedBody(ListId id) {
        settle();
        auto& store = runtime().store;
        const auto list = store.list(id);
        const int selected = store.recordedSelection(id);
        if (selected < 0 || size_t(selected) >= list.names.size()) return {};
        const auto path = store.profilePath(id, list.names[size_t(selected)]);
        return path ? store.readBody(id, *path).bytes : std::vector<uint8_t>{};
    }
    std::vector<uint8_t> lastFrame(DeviceModel model) {
        std::vector<uint8_t> out;
        device(model).withFirmware([&](sim::Firmware& f) {
            const auto frame = static_cast<sim::DeviceFirmware&>(f).lastFrame();
            out.assign(frame.begin(), frame.end());
        });
        return out;
    }
    /// Waits until the keyboard's latest frame satisfies `ok`.
    bool frameShows(DeviceModel model, const std::function<bool(const std::vector<uint8_t>&)>& ok) {
        return shelltest::WaitUntil([&] {
            const auto f = lastFrame(model);
            return !f.empty() && ok(f);
        });
    }
};

// Bytes 1-8 of a lighting record as the keyboard's ".led" body keeps it.
std::array<uint8_t, 8> RecordOfBody(const std::vector<uint8_t>& body) {
    std::array<uint8_t, 8> r{};
    if (body.size() >= 9) std::copy_n(body.begin() + 1, 8, r.begin());
    return r;
}
std::array<uint8_t, 8> RecordOf(const keyboard::LightingRecord& l) {
    std::array<uint8_t, 8> r{};
    std::copy_n(l.bytes.begin() + 1, 8, r.begin());
    return r;
}

TEST(KeyboardLightingPage, EachRgbModeShowsItsGroups) {
    LightingPagesRig rig({DeviceModel::RgbKeyboard});
    ASSERT_TRUE(rig.arrived(DeviceKind::Keyboard));
    EXPECT_TRUE(rig.shown("kb_deng_combo_modeSelect"));
    EXPECT_FALSE(rig.shown("kb_deng_onecolor_combo_modeSelect"));
    rig.select("kb_deng_combo_modeSelect", 5);
    rig.click("kb_Deng_color_btn_16");  // 0x48B1FA
    struct Case {
        int mode;
        bool brightness, direction, colour, seven, speed, palette, paintTools;
    };
    const Case cases[] = {
        {4, true, false, true, false, false, true, false},
        {7, true, false, false, false, true, false, false},
        {6, true, true, true, true, true, true, false},
        {14, false, false, false, false, false, false, false},
        {15, true, false, true, false, false, true, true},
        {0, true, false, false, false, false, false, false},
        {9, true, false, true, true, true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        rig.select("kb_deng_combo_modeSelect", c.mode);
        EXPECT_EQ(rig.shown("kb_deng_light_layout"), c.brightness);
        EXPECT_EQ(rig.shown("kb_deng_fx_layout"), c.direction);
        EXPECT_EQ(rig.shown("kb_deng_color_layout"), c.colour);
        EXPECT_EQ(rig.shown("kb_deng_7colorselect_layout"), c.seven);
        EXPECT_EQ(rig.shown("kb_deng_speed_layout"), c.speed);
        EXPECT_EQ(rig.shown("kb_deng_Color_Pallet"), c.palette);
        EXPECT_EQ(rig.shown("kb_deng_custom_tool_layout"), c.paintTools);
        EXPECT_EQ(rig.shown("kb_deng_color_display_layout"), !c.paintTools);
        EXPECT_FALSE(rig.enabled("kb_deng_same_mode"));
        EXPECT_EQ(rig.keyboardData().lighting.mode(), c.mode);
        // The colour stays stored whatever the mode shows.
        EXPECT_EQ(rig.keyboardData().lighting.colour(), (device::Rgb{0x48, 0xB1, 0xFA}));
        EXPECT_EQ(RecordOfBody(rig.savedBody(ListId::KeyboardLighting)),
                  RecordOf(rig.keyboardData().lighting));
    }
    // Choosing the selected mode again is a selection too: it ends synchronised lighting
    // on all three devices (and restarts the animation).
    rig.runtime().lighting.startSynchronised();
    rig.reselect("kb_deng_combo_modeSelect");
    for (auto kind : runtime::kDeviceKinds) EXPECT_FALSE(rig.runtime().connection(kind).syncLighting);
    // The direction labels follow the mode.
    rig.select("kb_deng_combo_modeSelect", 8);
    EXPECT_EQ(rig.control("kb_Deng_label_FXL")->property("textId").toString(), "Deng_CWISE_text");
    EXPECT_EQ(rig.control("kb_Deng_label_FXR")->property("textId").toString(), "Deng_AWISE_text");
}

TEST(KeyboardLightingPage, ColourSpeedAndDirectionControls) {
    LightingPagesRig rig({DeviceModel::RgbKeyboard});
    ASSERT_TRUE(rig.arrived(DeviceKind::Keyboard));
    rig.select("kb_deng_combo_modeSelect", 6);
    rig.control<QAbstractButton>("kb_Deng_7color_check")->setChecked(true);
    EXPECT_EQ(rig.keyboardData().lighting.at(keyboard::LightingRecord::off::sevenColour), 1);
    rig.click("kb_Deng_color_btn_0");  // red
    EXPECT_FALSE(rig.checked("kb_Deng_7color_check"));
    EXPECT_EQ(rig.keyboardData().lighting.at(keyboard::LightingRecord::off::sevenColour), 0);
    rig.type("kb_Deng_edit_G", "300");
    EXPECT_EQ(rig.text("kb_Deng_edit_G"), "255");
    EXPECT_EQ(rig.keyboardData().lighting.colour(), (device::Rgb{255, 255, 0}));
    // Speed: 4 - position, not below 0 (a wider slider still stores 0 above 4).
    auto* speed = rig.control<QAbstractSlider>("kb_deng_speed_slider");
    for (const auto& [position, stored] : std::vector<std::pair<int, int>>{{0, 4}, {1, 3}, {4, 0}}) {
        speed->setValue(position);
        EXPECT_EQ(rig.keyboardData().lighting.at(keyboard::LightingRecord::off::speed), stored) << position;
    }
    speed->setMaximum(8);
    speed->setValue(7);
    EXPECT_EQ(rig.keyboardData().lighting.at(keyboard::LightingRecord::off::speed), 0);
    rig.click("kb_Deng_FXR_check");
    EXPECT_TRUE(rig.checked("kb_Deng_FXR_check"));
    EXPECT_FALSE(rig.checked("kb_Deng_FXL_check"));
    rig.click("kb_Deng_FXL_check");
    EXPECT_FALSE(rig.checked("kb_Deng_FXR_check"));
    EXPECT_EQ(rig.keyboardData().lighting.at(keyboard::LightingRecord::off::direction), 1);
    // A change ends the keyboard's synchronised lighting.
    rig.runtime().lighting.startSynchronised();
    rig.control<QAbstractSlider>("kb_deng_light_slider")->setValue(2);
    EXPECT_FALSE(rig.runtime().connection(DeviceKind::Keyboard).syncLighting);
    EXPECT_TRUE(rig.runtime().connection(DeviceKind::Mouse).syncLighting);
    EXPECT_EQ(RecordOfBody(rig.savedBody(ListId::KeyboardLighting)), RecordOf(rig.keyboardData().lighting));
}

TEST(KeyboardLightingPage, SingleColourKeyboardShowsItsFixedColour) {
    LightingPagesRig rig({DeviceModel::MonoKeyboard, DeviceModel::Mouse});
    // The page shows the single-colour keyboard's list once the keyboard is there.
    ASSERT_TRUE(shelltest::WaitUntil([&] { return !rig.shown("kb_deng_combo_modeSelect"); }));
    EXPECT_TRUE(rig.shown("kb_deng_onecolor_combo_modeSelect"));
    rig.settle();
    rig.runtime().keyboard.update([](keyboard::KeyboardData& d) { d.lighting.setRgb(6, {1, 2, 3}); });
    for (int mode : {0, 2, 10, 13}) {
        SCOPED_TRACE(mode);
        rig.select("kb_deng_onecolor_combo_modeSelect", mode);
        EXPECT_EQ(rig.text("kb_Deng_edit_R"), "36");
        EXPECT_EQ(rig.text("kb_Deng_edit_G"), "0");
        EXPECT_EQ(rig.text("kb_Deng_edit_B"), "255");
        EXPECT_FALSE(rig.enabled("kb_deng_same_mode"));
        EXPECT_EQ(rig.shown("kb_deng_custom_tool_layout"), mode == 10);
    }
    rig.runtime().events.modelChanged.emit(DeviceKind::Keyboard);  // the refresh
    EXPECT_EQ(rig.text("kb_Deng_edit_R"), "36");
    EXPECT_FALSE(rig.shown("kb_deng_Color_Pallet"));
    EXPECT_FALSE(rig.checked("kb_Deng_7color_check"));
    // The mouse's same mode is never offered beside the single-colour keyboard.
    rig.control<QAbstractButton>("ms_tab")->setChecked(true);
    for (int mode = 0; mode < 10; ++mode) {
        rig.select("ms_deng_combo_modeSelect", mode);
        EXPECT_FALSE(rig.enabled("ms_deng_same_mode")) << mode;
    }
}

// Full brightness scales a component c to ((255 + 1) * c) >> 8 give or take one.
bool Near(device::Rgb a, device::Rgb b) {
    return std::abs(a.r - b.r) <= 1 && std::abs(a.g - b.g) <= 1 && std::abs(a.b - b.b) <= 1;
}

// The RGB keyboard's frame: slot s at 3s.
device::Rgb SlotColour(const std::vector<uint8_t>& frame, size_t slot) {
    return frame.size() >= 3 * slot + 3
               ? device::Rgb{frame[3 * slot], frame[3 * slot + 1], frame[3 * slot + 2]}
               : device::Rgb{};
}

TEST(KeyboardLightingPage, PaintingReachesTheKeyboardsFrames) {
    LightingPagesRig rig({DeviceModel::RgbKeyboard});
    ASSERT_TRUE(rig.arrived(DeviceKind::Keyboard));
    rig.select("kb_deng_combo_modeSelect", 15);
    rig.control<QAbstractSlider>("kb_deng_light_slider")->setValue(4);
    rig.click("kb_Deng_all_kill_check");  // start from an empty layer
    const size_t a = 30, b = 31;          // positions with their own LED
    const uint8_t slotA = lighting::kRgbSlot[a], slotB = lighting::kRgbSlot[b];
    const device::Rgb red{255, 0, 0}, green{0, 255, 0};
    rig.click("kb_Deng_color_btn_0");  // paint colour red
    rig.click(QStringLiteral("kb_dkey_%1").arg(a));
    EXPECT_FALSE(rig.checked("kb_Deng_all_bright_check") || rig.checked("kb_Deng_all_kill_check"));
    ASSERT_TRUE(rig.frameShows(DeviceModel::RgbKeyboard,
                               [&](const auto& f) {
                                   return Near(SlotColour(f, slotA), red) &&
                                          Near(SlotColour(f, slotB), device::Rgb{});
                               }))
        << "frame " << rig.lastFrame(DeviceModel::RgbKeyboard).size() << " slot " << int(slotA) << ": "
        << int(SlotColour(rig.lastFrame(DeviceModel::RgbKeyboard), slotA).r) << " mode "
        << int(rig.keyboardData().lighting.mode()) << " paint r " << int(rig.keyboardData().paint.colour().r)
        << " level " << int(rig.keyboardData().lighting.at(2));
    // Erase a, then fill with green: a lights green (erased is unlit), nothing else changes colour.
    rig.click("kb_Deng_off_kill_check");
    rig.click(QStringLiteral("kb_dkey_%1").arg(a));
    rig.click("kb_Deng_on_bright_check");
    rig.type("kb_Deng_edit_R", "0");
    rig.type("kb_Deng_edit_G", "255");
    rig.click(QStringLiteral("kb_dkey_%1").arg(b));  // b painted green first
    rig.click("kb_Deng_color_btn_0");                // red again: fill only the unlit slots
    rig.click("kb_Deng_all_bright_check");
    ASSERT_TRUE(rig.frameShows(DeviceModel::RgbKeyboard, [&](const auto& f) {
        return Near(SlotColour(f, slotA), red) && Near(SlotColour(f, slotB), green) &&
               Near(SlotColour(f, 0), red);
    }));
    // A position without an LED is never painted; another layer is independent.
    const auto before = rig.keyboardData().colours;
    rig.click("kb_Deng_on_bright_check");
    rig.click("kb_dkey_62");  // no LED
    EXPECT_EQ(rig.keyboardData().colours.bytes, before.bytes);
    rig.select("kb_deng_combo_curtom_count", 2);
    ASSERT_TRUE(rig.frameShows(DeviceModel::RgbKeyboard,
                               [&](const auto& f) { return Near(SlotColour(f, slotB), device::Rgb{}); }));
    rig.select("kb_deng_combo_curtom_count", 0);
    ASSERT_TRUE(rig.frameShows(DeviceModel::RgbKeyboard,
                               [&](const auto& f) { return Near(SlotColour(f, slotB), green); }));
    // The file holds the layers as the screen shows them.
    const auto body = rig.savedBody(ListId::KeyboardLighting);
    const auto map = rig.keyboardData().colours;
    ASSERT_EQ(body.size(), sizeof(keyboard::KeyboardLightingBody));
    EXPECT_TRUE(std::equal(map.bytes.begin(), map.bytes.end(),
                           body.begin() + offsetof(keyboard::KeyboardLightingBody, colours)));
    // Outside the custom mode a key click paints nothing but still clears both boxes.
    rig.select("kb_deng_combo_modeSelect", 4);
    rig.control<QAbstractButton>("kb_Deng_all_bright_check")->setChecked(true);
    const auto kept = rig.keyboardData().colours;
    rig.click(QStringLiteral("kb_dkey_%1").arg(a));
    EXPECT_EQ(rig.keyboardData().colours.bytes, kept.bytes);
    EXPECT_FALSE(rig.checked("kb_Deng_all_bright_check"));
}

TEST(KeyboardLightingPage, SingleColourPaintingWritesLevels) {
    LightingPagesRig rig({DeviceModel::MonoKeyboard});
    ASSERT_TRUE(rig.arrived(DeviceKind::Keyboard));
    rig.select("kb_deng_onecolor_combo_modeSelect", 10);
    rig.control<QAbstractSlider>("kb_deng_light_slider")->setValue(4);
    rig.click("kb_Deng_all_kill_check");
    const size_t a = 0, b = 1;  // positions 0 and 1: level slots 0 and 1
    ASSERT_EQ(lighting::kMonoSlot[a], 0);
    ASSERT_EQ(lighting::kMonoSlot[b], 1);
    rig.click(QStringLiteral("kb_dkey_%1").arg(a));
    ASSERT_TRUE(rig.frameShows(DeviceModel::MonoKeyboard,
                               [&](const auto& f) { return f.size() == 126 && f[0] >= 254 && f[1] == 0; }));
    // The paint colour plays no part: painting writes level 255 or 0.
    EXPECT_EQ(rig.keyboardData().colours.levelAt(0, 0), 255);
    const auto before = rig.keyboardData().colours;
    ASSERT_EQ(lighting::kMonoSlot[16], lighting::kNoKey);
    rig.click("kb_dkey_16");
    EXPECT_EQ(rig.keyboardData().colours.bytes, before.bytes);
    // Mode 15 on this keyboard is not the custom mode: a click paints nothing.
    rig.select("kb_deng_onecolor_combo_modeSelect", 15);
    rig.click(QStringLiteral("kb_dkey_%1").arg(b));
    EXPECT_EQ(rig.keyboardData().colours.bytes, before.bytes);
}

TEST(MouseLightingPage, ModesColoursAndTheDirtyMark) {
    LightingPagesRig rig({DeviceModel::Mouse, DeviceModel::Mousepad});
    ASSERT_TRUE(rig.arrived(DeviceKind::Mouse));
    rig.control<QAbstractButton>("ms_tab")->setChecked(true);
    rig.select("ms_deng_combo_modeSelect", 0);
    rig.click("ms_Deng_color_btn_16");  // 0x48B1FA
    rig.select("ms_deng_combo_modeSelect", 3);
    EXPECT_FALSE(rig.shown("ms_deng_Color_Pallet"));
    EXPECT_FALSE(rig.shown("ms_deng_color_layout"));
    EXPECT_TRUE(rig.enabled("ms_deng_same_mode"));
    rig.select("ms_deng_combo_modeSelect", 0);
    EXPECT_TRUE(rig.shown("ms_deng_Color_Pallet"));
    EXPECT_EQ(rig.text("ms_Deng_edit_B"), "250");
    rig.select("ms_deng_combo_modeSelect", 4);
    EXPECT_FALSE(rig.enabled("ms_deng_same_mode"));

    // Only the mode change marks the state for the flush.
    rig.flush();
    EXPECT_FALSE(rig.runtime().mouse.stateDirty);
    rig.control<QAbstractSlider>("ms_deng_speed_slider")->setValue(4);
    rig.control<QAbstractButton>("ms_Deng_7color_check")->setChecked(true);
    rig.type("ms_Deng_edit_R", "300");
    EXPECT_EQ(rig.text("ms_Deng_edit_R"), "255");
    EXPECT_FALSE(rig.checked("ms_Deng_7color_check"));
    EXPECT_FALSE(rig.runtime().mouse.stateDirty);
    const auto s = rig.runtime().mouse.state();
    EXPECT_EQ(s.at(mouse::MouseState::off::speed), 0);
    EXPECT_EQ(s.colour(), (device::Rgb{255, 0xB1, 0xFA}));
    EXPECT_EQ(s.at(mouse::MouseState::off::sevenColour), 0);
    const auto body = rig.savedBody(ListId::MouseLighting);
    ASSERT_GE(body.size(), 9u);
    EXPECT_TRUE(std::equal(s.bytes.begin() + 1, s.bytes.begin() + 9, body.begin() + 1));
    rig.select("ms_deng_combo_modeSelect", 2);
    EXPECT_TRUE(rig.runtime().mouse.stateDirty);
}

// Pictures of the lighting pages in the four languages, for a look by eye: written only when
// ORVANE_LIGHTING_PAGE_SHOTS names a folder.
TEST(LightingPagesShots, WritesTheLightingPagesInEveryLanguage) {
    const QByteArray folder = qgetenv("ORVANE_LIGHTING_PAGE_SHOTS");
    if (folder.isEmpty()) GTEST_SKIP() << "ORVANE_LIGHTING_PAGE_SHOTS is not set";
    for (const bool mono : {false, true}) {
        LightingPagesRig rig({mono ? DeviceModel::MonoKeyboard : DeviceModel::RgbKeyboard, DeviceModel::Mouse,
                              DeviceModel::Mousepad});
        ASSERT_TRUE(rig.arrived(DeviceKind::Keyboard) && rig.arrived(DeviceKind::Mouse));
        rig.window().resize(1280, 860);
        rig.window().show();
        const auto save = [&](const QString& name) {
            QApplication::processEvents();
            rig.wait(300);
            rig.window().grab().save(QString::fromUtf8(folder) + "/" + name + ".png");
        };
        for (const auto& language : ui::kLanguages) {
            rig.window().changeLanguage(language);
            const QString code = QLatin1String(language.code);
            rig.window().selectTab(mono ? QStringLiteral("kb_onecolor_tab") : QStringLiteral("kb_tab"));
            if (mono) {
                rig.select("kb_deng_onecolor_combo_modeSelect", 2);
                save("kb1-lighting-" + code);
                continue;
            }
            rig.select("kb_deng_combo_modeSelect", 6);
            rig.control<QAbstractSlider>("kb_deng_light_slider")->setValue(4);
            save("kb-lighting-" + code);
            rig.select("kb_deng_combo_modeSelect", 15);
            rig.control<QAbstractSlider>("kb_deng_light_slider")->setValue(4);
            rig.click("kb_Deng_color_btn_0");
            for (int p : {21, 22, 23, 24, 25}) rig.click(QStringLiteral("kb_dkey_%1").arg(p));
            rig.click("kb_Deng_color_btn_1");
            for (int p : {42, 43, 44, 45}) rig.click(QStringLiteral("kb_dkey_%1").arg(p));
            save("kb-custom-" + code);
            rig.window().selectTab(QStringLiteral("ms_tab"));
            rig.control<QAbstractButton>("ms_deng_Op_tab")->setChecked(true);
            rig.select("ms_deng_combo_modeSelect", 2);
            save("ms-lighting-" + code);
        }
    }
}

}  // namespace

// A panel the mode shows nothing in is hidden (the effect panel keeps its room), on both
// keyboards; one the mode uses comes back.
TEST(KeyboardLightingPage, PanelsWithNothingToShowAreHidden) {
    struct Case {
        DeviceModel model;
        const char* combo;
        int mode;
        bool colourPanel, paintPanel;
    };
    const Case cases[] = {
        {DeviceModel::RgbKeyboard, "kb_deng_combo_modeSelect", 4, true, false},
        {DeviceModel::RgbKeyboard, "kb_deng_combo_modeSelect", 14, false, false},
        {DeviceModel::RgbKeyboard, "kb_deng_combo_modeSelect", 15, true, true},
        {DeviceModel::RgbKeyboard, "kb_deng_combo_modeSelect", 6, true, false},
        {DeviceModel::MonoKeyboard, "kb_deng_onecolor_combo_modeSelect", 0, false, false},
        {DeviceModel::MonoKeyboard, "kb_deng_onecolor_combo_modeSelect", 2, false, false},
    };
    for (const DeviceModel model : {DeviceModel::RgbKeyboard, DeviceModel::MonoKeyboard}) {
        LightingPagesRig rig({model});
        ASSERT_TRUE(rig.arrived(DeviceKind::Keyboard));
        for (const auto& c : cases) {
            if (c.model != model) continue;
            SCOPED_TRACE(::testing::Message() << c.combo << " " << c.mode);
            rig.select(c.combo, c.mode);
            EXPECT_EQ(rig.shown("keyboard_deng_colour"), c.colourPanel);
            EXPECT_EQ(rig.shown("keyboard_deng_paint"), c.paintPanel);
            EXPECT_TRUE(rig.shown("keyboard_deng_effect"));
        }
    }
}
