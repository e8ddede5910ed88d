// SPDX-License-Identifier: GPL-3.0-or-later
// Routing: the bound tables name the controls (exact names, families within their size),
// one table per control and event, events by exact type.
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
#include "shell_test_support.h"
#include "sim/emulator.h"
#include "ui/pages/leave_check.h"

using namespace orvane;
using ui::pages::PageBindings;

namespace {

TEST(PageBindings, FamiliesNameTheirMembersWithinTheirSize) {
    struct Case {
        const char* prefix;  // null: the exact name "ms_tab"
        int size;
        const char* control;
        bool named;
    };
    const Case cases[] = {
        {"ms_DPI_color_btn_", 8, "ms_DPI_color_btn_3", true},
        {"kb_key_", 170, "kb_key_57", true},
        {"ms_key_", 6, "MS_KEY_2", true},  // names without regard to case
        {"ms_key_", 6, "ms_key_5", true},
        {"ms_key_", 6, "ms_key_6", false},  // beyond the family
        {"ms_key_", 6, "ms_key_-1", false},
        {"kb_key_", 170, "kb_key_A", false},
        {"kb_key_", 170, "kb_key_", false},
        {"kb_key_", 170, "kb_key_12x", false},
        {"ms_key_", 6, "ms_key_0_0", false},  // a zone of the drawing, not a family member
        {nullptr, 0, "MS_TAB", true},
        {nullptr, 0, "ms_tab_panel", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        const PageBindings::Entry entry{QLatin1String(c.prefix ? c.prefix : "ms_tab"), ui::event::kClick,
                                        c.prefix != nullptr, c.size};
        EXPECT_EQ(entry.names(QLatin1String(c.control)), c.named);
    }
}

// Two tables that name one control for one event: the second is refused, whole, at bind
// time; the first keeps it. Different events or names outside a family do not collide.
TEST(Router, RefusesASecondTableForTheSameControlAndEvent) {
    using namespace ui::event;
    std::vector<QString> seen;
    PageBindings first, exact, family, otherEvent, outside;
    first.onFamily("ms_key_", 6, kClick, [&](const ui::Notification&, int i) { seen.push_back("first " + QString::number(i)); })
        .on("ms_key_fct_combo", kItemSelect, [&](const ui::Notification&) { seen.push_back("first combo"); });
    exact.on("MS_KEY_3", kClick, [&](const ui::Notification&) { seen.push_back("exact"); });
    family.onFamily("MS_key_", 2, kClick, [&](const ui::Notification&, int) { seen.push_back("family"); });
    otherEvent.on("ms_key_3", kMouseEnter, [&](const ui::Notification&) { seen.push_back("enter"); })
        .on("ms_key_fct_combo", kClick, [&](const ui::Notification&) { seen.push_back("combo click"); });
    outside.on("ms_key_6", kClick, [&](const ui::Notification&) { seen.push_back("outside"); });

    app::Router router;
    shelltest::LogCapture log;
    auto a = router.bind("first", first);
    {
        const auto b = router.bind("exact", exact);
        const auto c = router.bind("family", family);
        ASSERT_EQ(router.refusals().size(), 2u);
        EXPECT_EQ(router.refusals()[0].page, "exact");
        EXPECT_EQ(router.refusals()[0].boundPage, "first");
        EXPECT_EQ(router.refusals()[0].control.toLower(), "ms_key_3");
        EXPECT_EQ(router.refusals()[1].page, "family");
        EXPECT_TRUE(log.contains("binding refused: family and first both take"));
    }
    const auto d = router.bind("other event", otherEvent);
    const auto e = router.bind("outside", outside);
    EXPECT_EQ(router.refusals().size(), 2u);

    const std::pair<QString, const char*> sent[] = {
        {Click, "ms_key_3"}, {MouseEnter, "ms_key_3"}, {Click, "ms_key_6"}, {ItemSelect, "ms_key_fct_combo"},
        {Click, "ms_key_fct_combo"}};
    for (const auto& [type, sender] : sent) EXPECT_TRUE(router.dispatch({type, QLatin1String(sender), nullptr}));
    EXPECT_EQ(seen, (std::vector<QString>{"first 3", "enter", "outside", "first combo", "combo click"}));
    EXPECT_EQ(router.pageFor({MouseEnter, "ms_key_3", nullptr}), "other event");  // the exact table; a refused one never

    // Once the first table is gone a table may name its controls.
    seen.clear();
    a.reset();
    const auto later = router.bind("later", exact);
    EXPECT_EQ(router.refusals().size(), 2u);
    EXPECT_TRUE(router.dispatch({Click, "ms_key_3", nullptr}));
    EXPECT_EQ(seen, std::vector<QString>{"exact"});
}

// What no bound table names is dropped and logged; event types are compared exactly.
TEST(Router, DropsAndLogsWhatNoTableTakes) {
    using namespace ui::event;
    int clicks = 0;
    PageBindings page;
    page.on("closebtn", kClick, [&](const ui::Notification&) { ++clicks; });
    app::Router router;
    const auto bound = router.bind("window", page);
    shelltest::LogCapture log;
    EXPECT_TRUE(router.dispatch({Click, "CloseBtn", nullptr}));
    EXPECT_FALSE(router.dispatch({"Click", "closebtn", nullptr}));
    EXPECT_FALSE(router.dispatch({Click, "unknown_thing", nullptr}));
    EXPECT_FALSE(router.dispatch({MouseEnter, "closebtn", nullptr}));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(log.contains("orvane.notify: no page takes click unknown_thing"));
    EXPECT_TRUE(log.contains("orvane.notify: no page takes Click closebtn"));
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

TEST_F(RoutedWindow, WidgetSignalsReachTheTablesThatNameThem) {
    using namespace ui::event;
    std::vector<std::tuple<QString, QString, int>> seen;  // type, sender, index
    auto record = [&](const ui::Notification& n) { seen.emplace_back(n.type, n.sender, -1); };
    PageBindings buttons, dpi, macros;
    buttons.onFamily("ms_key_", 6, kClick, [&](const ui::Notification& n, int i) { seen.emplace_back(n.type, n.sender, i); })
        .on("ms_key_fct_combo", kItemSelect, record);
    dpi.on("ms_dpi1_slider", kValueChanged, record);
    macros.on("ms_macro_name_edit", kTextChanged, record);
    const auto b = window.router().bind("buttons", buttons);
    const auto d = window.router().bind("dpi", dpi);
    const auto m = window.router().bind("macros", macros);
    EXPECT_TRUE(window.router().refusals().empty());
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

// A page that says it may not be left keeps its place; the window does not look at its controls.
struct Unsaved : ui::pages::LeaveCheck {
    bool unsaved = false;
    bool mayLeave() const override { return !unsaved; }
};

TEST_F(RoutedWindow, DeviceTabsSwitchPagesAndAPageThatMayNotBeLeftStays) {
    Unsaved macroPage;
    auto guard = window.guardPage("ms-macros", macroPage);
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
    window.control<QAbstractButton>("ms_macro_Op_tab")->click();
    macroPage.unsaved = true;
    window.control<QAbstractButton>("ms_tab")->click();  // its own device's tab: no question
    EXPECT_TRUE(dialogs.shown.empty());
    window.control<QAbstractButton>("kb_tab")->click();
    EXPECT_EQ(pages->currentIndex(), 1);
    EXPECT_TRUE(window.control<QAbstractButton>("ms_tab")->isChecked());
    EXPECT_FALSE(window.control<QAbstractButton>("kb_tab")->isChecked());
    EXPECT_TRUE(window.control<QAbstractButton>("ms_macro_Op_tab")->isChecked());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "message_text_3");
    EXPECT_TRUE(dialogs.shown[0].textIsId);

    // Saved, or the guard gone with its page: the tab changes.
    macroPage.unsaved = false;
    window.control<QAbstractButton>("kb_tab")->click();
    EXPECT_EQ(pages->currentIndex(), 0);
    window.control<QAbstractButton>("ms_tab")->click();
    macroPage.unsaved = true;
    guard.reset();
    window.control<QAbstractButton>("kb_tab")->click();
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

}  // namespace
