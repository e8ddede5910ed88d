// SPDX-License-Identifier: GPL-3.0-or-later
// Routing: names split into family and index, owners found by name, events by exact type.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QStackedWidget>
#include <QTemporaryDir>

#include "app/program.h"
#include "platform/pointer_settings.h"
#include "app/router.h"
#include "app/split_name.h"
#include "shell_test_support.h"
#include "sim/emulator.h"

using namespace orvane;
using app::Owner;

namespace {

TEST(SplitName, Cases) {
    struct Case {
        const char* name;
        const char* prefix;
        int index;
        bool ok;
        bool hasIndex;
    };
    const Case cases[] = {
        {"closebtn", "", 0, false, false},
        {"ms_DPI_color_btn_3", "ms_DPI_color_btn_", 3, true, true},
        {"kb_key_57", "kb_key_", 57, true, true},
        {"kb_key_A", "kb_key_", 0, true, false},
        {"kb_key_", "kb_key_", 0, true, false},
        {"kb_key_12x", "kb_key_", 12, true, false},
        {"MS_KEY_2", "MS_KEY_", 2, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto parts = app::SplitName(QString::fromLatin1(c.name));
        EXPECT_EQ(parts.prefix, QLatin1String(c.prefix));
        EXPECT_EQ(parts.index, c.index);
        EXPECT_EQ(parts.ok, c.ok);
        EXPECT_EQ(parts.hasIndex, c.hasIndex);
    }
}

TEST(Router, OwnersByName) {
    struct Case {
        const char* type;
        const char* name;
        std::optional<Owner> owner;
    };
    const Case cases[] = {
        {"click", "closebtn", Owner::Window},
        {"click", "CloseBtn", Owner::Window},
        {"Click", "closebtn", std::nullopt},  // event types are exact
        {"selectchanged", "ms_tab", Owner::DeviceTabs},
        {"click", "MS_KEY_2", Owner::MouseButtons},
        {"msenter", "ms_key_7", Owner::MouseButtons},
        {"itemselect", "ms_key_fct_combo", Owner::MouseButtons},
        {"click", "kb_key_57", Owner::KeyboardKeys},
        {"click", "kb_dkey_3", Owner::KeyboardCustomLighting},
        {"click", "kb_Deng_all_btn", Owner::KeyboardCustomLighting},
        {"itemselect", "kb_deng_combo_curtom_count", Owner::KeyboardCustomLighting},
        {"click", "kb_Deng_color_btn_4", Owner::KeyboardLighting},
        {"valuechanged", "kb_deng_bright_slider", Owner::KeyboardLighting},
        {"movevaluechanged", "ms_DPI2_slider", Owner::MouseDpi},
        {"click", "ms_DPI_color_btn_3", Owner::MouseDpi},
        {"colorchanged", "Pallet", Owner::MouseDpi},
        {"colorchanged", "ms_deng_Color_Pallet", Owner::MouseLighting},
        {"click", "ms_profile_3", Owner::MouseSlots},
        {"click", "ms_one_profile_default", Owner::MouseSlots},
        {"itemselect", "ms_profile_list", Owner::Profiles},  // not a slot: no index
        {"click", "kb_profile_link_btn", Owner::ProfileLinks},
        {"click", "ms_pro_deng_spread", Owner::Profiles},
        {"click", "ms_gun_op_2", Owner::CursorSequences},
        {"textchanged", "ms_cursor_name_edit", Owner::CursorSequences},
        {"valuechanged", "mp_deng_speed_slider", Owner::MousepadLighting},
        {"click", "mp_one_profile_default", Owner::MousepadLighting},
        {"selectchanged", "ms_macro_Op_tab", Owner::Macros},
        {"textchanged", "ms_mouse_x_left_edit", Owner::Macros},
        {"click", "macro_label_3", Owner::Macros},
        {"msenter", "ms_DPI2_slider", std::nullopt},  // the owner does not take that event
        {"click", "unknown_thing", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + c.name);
        const auto route = app::FindRoute(QString::fromLatin1(c.type), QString::fromLatin1(c.name));
        ASSERT_EQ(route.has_value(), c.owner.has_value());
        if (route) {
            EXPECT_EQ(route->owner, *c.owner);
        }
    }
}

class RoutedWindow : public ::testing::Test {
protected:
    RoutedWindow() : program(Options()), window(program.window()) {}
    std::filesystem::path path(const char* name) { return std::filesystem::path(dir.path().toStdString()) / name; }
    app::ProgramOptions Options() {
        app::ProgramOptions o;
        o.runtime.backend = &backend;
        o.runtime.dataFolder = path("data");
        o.runtime.pointerBackend = platform::MakeFallbackPointerBackend();
        o.window = {.skinFolder = shelltest::FixtureSkin(), .mainIni = path("main.ini"),
                    .machineSettings = path("machine.ini"), .dialogs = &dialogs, .tray = false};
        o.features = std::vector<std::string_view>{};
        return o;
    }

    QTemporaryDir dir;
    sim::EmulatorBackend backend;
    ui::ScriptedDialogs dialogs;
    app::Program program;
    app::MainWindow& window;
};

TEST_F(RoutedWindow, WidgetSignalsReachTheirOwnersByName) {
    std::vector<std::tuple<QString, QString, int>> seen;  // type, sender, index
    auto record = [&](const ui::Notification& n, const app::Route& r) { seen.emplace_back(n.type, n.sender, r.name.index); };
    const auto buttons = window.router().subscribe(Owner::MouseButtons, record);
    const auto dpi = window.router().subscribe(Owner::MouseDpi, record);
    const auto macros = window.router().subscribe(Owner::Macros, record);
    window.initialise();
    shelltest::LogCapture log;

    window.control<QAbstractButton>("ms_key_2")->click();  // the skin spells it MS_KEY_2
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], std::make_tuple(QString("click"), QString("MS_KEY_2"), 2));
    EXPECT_TRUE(log.contains("orvane.notify: click MS_KEY_2"));

    auto* slider = window.control<QSlider>("ms_dpi1_slider");
    slider->setValue(40);
    ui::Silently(slider, [](QSlider* s) { s->setValue(60); });  // no notification
    auto* combo = window.control<QComboBox>("ms_key_fct_combo");
    combo->setCurrentIndex(1);
    Q_EMIT window.control<QLineEdit>("ms_macro_name_edit")->textEdited("m1");
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(std::get<0>(seen[1]), "valuechanged");
    EXPECT_EQ(std::get<1>(seen[1]), "ms_DPI1_slider");
    EXPECT_EQ(std::get<0>(seen[2]), "itemselect");
    EXPECT_EQ(std::get<0>(seen[3]), "textchanged");
    EXPECT_EQ(std::get<1>(seen[3]), "ms_macro_name_edit");

    // Event types are exact: the same control with a differently spelt type goes nowhere,
    // but it is still logged.
    window.notify({QStringLiteral("Click"), QStringLiteral("MS_KEY_2"), nullptr});
    EXPECT_EQ(seen.size(), 4u);
    EXPECT_TRUE(log.contains("orvane.notify: Click MS_KEY_2"));
}

TEST_F(RoutedWindow, DeviceTabsSwitchPagesAndAnUnsavedMacroKeepsItsEditor) {
    window.initialise();
    auto* pages = window.control<QStackedWidget>("tab_switch");
    window.control<QAbstractButton>("ms_tab")->click();
    EXPECT_EQ(pages->currentIndex(), 1);
    window.control<QAbstractButton>("kb_tab")->click();
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_FALSE(window.control<QAbstractButton>("ms_tab")->isChecked());
    EXPECT_TRUE(dialogs.shown.empty());

    // The mouse macro editor has unsaved edits: another tab keeps it and says why.
    window.control<QAbstractButton>("ms_tab")->click();
    window.control("ms_macro_tab_saveorcancel")->show();
    window.control<QAbstractButton>("kb_tab")->click();
    EXPECT_EQ(pages->currentIndex(), 1);
    EXPECT_TRUE(window.control<QAbstractButton>("ms_tab")->isChecked());
    EXPECT_FALSE(window.control<QAbstractButton>("kb_tab")->isChecked());
    EXPECT_TRUE(window.control<QAbstractButton>("ms_macro_Op_tab")->isChecked());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "message_text_3");
    EXPECT_TRUE(dialogs.shown[0].textIsId);
}

}  // namespace
