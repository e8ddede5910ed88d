// SPDX-License-Identifier: GPL-3.0-or-later
// The macro editors in the whole program on the emulated mouse: recording through the
// capture service's events, capture ending with the window's, the unsaved guard on the
// page options, and the set's change told to the key editors. With ORVANE_SCREENSHOTS set
// to a folder, the macro and cursor pages are also drawn there in every language.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QDir>
#include <QStackedWidget>

#include <functional>

#include "app/features/key_capture_feature.h"
#include "app/features/macro_pages_feature.h"
#include "program_rig.h"
#include "ui/language.h"

namespace {

using orvane::device::DeviceKind;
using orvane::device::DeviceModel;
using orvane::functions::CapturedInput;
using orvane::runtime::CaptureTarget;

CapturedInput Right(bool pressed, int64_t t) {
    CapturedInput in;
    in.kind = CapturedInput::Kind::MouseButton;
    in.button = CapturedInput::Button::Right;
    in.pressed = pressed;
    in.mode = 64;
    in.timeMs = t;
    return in;
}

TEST(MacroPagesProgram, RecordsCapturedInputKeepsThePageWhileUnsavedAndTellsTheKeyEditors) {
    programtest::ProgramRig rig({.models = {DeviceModel::Mouse}});
    ASSERT_TRUE(rig.waitForTab("ms_tab"));
    ASSERT_TRUE(rig.settle());
    auto& rt = rig.runtime();
    auto* feature = rig.feature<orvane::app::MacroPagesFeature>();
    ASSERT_NE(feature, nullptr);
    std::vector<DeviceKind> changed;
    auto sub = rt.events.macrosChanged.subscribe([&](const DeviceKind& k) { changed.push_back(k); });

    rig.control<QAbstractButton>("ms_macro_Op_tab")->click();
    rig.control<QAbstractButton>("ms_macro_btn_name_add")->click();
    ASSERT_TRUE(rig.settle());  // the macro set changes as a job of the mouse
    EXPECT_EQ(changed, std::vector<DeviceKind>{DeviceKind::Mouse});
    rig.control<QAbstractButton>("ms_macro_mouse_click")->setChecked(true);
    rig.control<QAbstractButton>("ms_macro_btn_redio")->click();
    const auto* capture = rig.feature<orvane::app::KeyCaptureFeature>()->capture();
    EXPECT_EQ(capture->mode(), 64);
    EXPECT_TRUE(capture->capturesMouse());

    rt.events.inputCaptured.emit(CaptureTarget::MouseMacro, Right(true, 1));
    rt.events.inputCaptured.emit(CaptureTarget::KeyboardMacro, Right(false, 2));  // not this editor's
    rt.events.inputCaptured.emit(CaptureTarget::MouseMacro, Right(false, 3));
    EXPECT_EQ(rig.control<QAbstractItemView>("ms_Macro_list")->model()->rowCount(), 2);
    rt.events.captureEnds.emit();  // the window lost activation
    EXPECT_FALSE(capture->capturesMouse());
    EXPECT_FALSE(feature->macroPage(orvane::macros::MacroSet::Mouse).recording());

    // Unsaved: another option of the page is refused and the macro page stays.
    rig.control<QAbstractButton>("ms_key_Op_tab")->click();
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, QStringLiteral("message_text_3"));
    EXPECT_TRUE(rig.checked("ms_macro_Op_tab"));
    rig.control<QAbstractButton>("ms_macro_btn_save")->click();
    ASSERT_TRUE(rig.settle());
    EXPECT_EQ(rt.macroStore.LoadMacro(orvane::macros::MacroSet::Mouse, "Macro_1").size(), 2u);
    EXPECT_EQ(changed.size(), 2u);
    rig.control<QAbstractButton>("ms_key_Op_tab")->click();
    EXPECT_TRUE(rig.checked("ms_key_Op_tab"));
    EXPECT_EQ(rig.dialogs.shown.size(), 1u);
}

/// Pictures of the three pages in the four languages, for a look by eye.
TEST(MacroPagesProgram, Screenshots) {
    const QString folder = qEnvironmentVariable("ORVANE_SCREENSHOTS");
    if (folder.isEmpty()) GTEST_SKIP() << "set ORVANE_SCREENSHOTS to a folder to draw the pages";
    QDir().mkpath(folder);
    programtest::RigOptions options{.models = {DeviceModel::RgbKeyboard, DeviceModel::Mouse}};
    options.beforeBuild = [](programtest::ProgramRig& r) {
        using orvane::macros::MacroSet;
        orvane::macros::MacroStore store(r.data, {});
        const std::vector<std::string> lines{
            "12,0,137,1,1,keyboard_key_LCtrl", "8,0,138,4,1,keyboard_key_A",  "5,0,10,4,0,keyboard_key_A",
            "3,0,9,1,0,keyboard_key_LCtrl",   "5,0,132,20,1,mouse_move_to_left_text",
            "10,0,129,1,1,mouse_key_left",       "0,0,1,1,0,mouse_key_left"};
        for (auto set : {MacroSet::Keyboard, MacroSet::Mouse}) {
            for (int i = 0; i < 3; ++i) store.AddMacro(set);
            store.SaveMacro(set, "Macro_3", lines);
        }
    };
    programtest::ProgramRig rig(std::move(options));
    ASSERT_TRUE(rig.waitForTab("ms_tab"));
    ASSERT_TRUE(rig.settle());
    rig.window().resize(1280, 800);
    auto clickRow = [&](const char* view, int row) {
        auto* v = rig.control<QAbstractItemView>(view);
        const QModelIndex index = v->model()->index(row, 0);
        v->setCurrentIndex(index);
        Q_EMIT v->clicked(index);
    };
    auto click = [&](const char* name) { rig.control<QAbstractButton>(name)->click(); };
    // The cursor layout is on the keyboard's page too: the mouse's copy.
    auto cursorClick = [&](const char* name) {
        rig.control("MS_CURSOR_UI")->findChild<QAbstractButton*>(QLatin1String(name))->click();
    };
    struct Shot {
        const char* tab;
        const char* option;  ///< selected on the device page
        int keyboardPage;    ///< or: the keyboard's sub-page shown (-1: none)
        const char* name;
        std::function<void()> before, after;  ///< what the picture shows, and back
    };
    const Shot shots[] = {
        {"kb_tab", nullptr, 1, "kb-macros", [&] { click("kb_macro_btn_shubiao"); }, [&] { click("kb_macro_btn_shubiao"); }},
        {"ms_tab", "ms_macro_Op_tab", -1, "ms-macros", [&] { clickRow("ms_Macro_list", 4); },
         [&] { click("ms_macro_btn_cancel"); }},
        {"ms_tab", "ms_cursor_Op_tab", -1, "ms-cursor",
         [&] {
             cursorClick("ms_gun_op_1");
             cursorClick("ms_bullet_op_3");
         },
         [&] { cursorClick("ms_gun_op_0"); }}};
    for (const auto& language : orvane::ui::kLanguages) {
        rig.window().changeLanguage(language);
        for (const auto& s : shots) {
            rig.window().selectTab(QLatin1String(s.tab));
            if (s.option) click(s.option);
            if (s.keyboardPage >= 0) rig.control<QStackedWidget>("kb_tab_switch")->setCurrentIndex(s.keyboardPage);
            s.before();
            shelltest::WaitUntil([] { return false; }, 150);
            const QString file = folder + QStringLiteral("/%1-%2.png").arg(QLatin1String(s.name), QLatin1String(language.code));
            EXPECT_TRUE(rig.window().grab().save(file)) << file.toStdString();
            s.after();
        }
    }
}

}  // namespace
