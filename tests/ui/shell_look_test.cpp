// SPDX-License-Identifier: GPL-3.0-or-later
// The window's look and reach: pages brought up by name for screenshots, the window on a
// desktop without a tray, the font faces of each language, the window's minimum size, and
// no text of any page wider than its control in any language.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>

#include <algorithm>
#include <cmath>

#include "app/command_line.h"
#include "macros/macro_store.h"
#include "app/screenshot_pages.h"
#include "program_rig.h"

using namespace orvane;
using programtest::ProgramRig;
using programtest::RigOptions;
using device::DeviceModel;

namespace {

RigOptions AllDevices() {
    RigOptions o;
    o.models = {DeviceModel::RgbKeyboard, DeviceModel::Mouse, DeviceModel::Mousepad};
    return o;
}

QWidget* CurrentPage(ProgramRig& rig) { return rig.control<QStackedWidget>("tab_switch")->currentWidget(); }

void Settle(QWidget& window) {
    window.show();
    for (int i = 0; i < 3; ++i) {
        if (window.layout()) window.layout()->activate();
        QApplication::processEvents();
    }
}

TEST(ScreenshotPages, EveryDevicePageComesUpByNameAndAMissingDeviceIsSaid) {
    ProgramRig rig(AllDevices());
    ASSERT_TRUE(rig.waitForTab("kb_tab") && rig.waitForTab("ms_tab") && rig.waitForTab("mp_tab"));
    rig.settle();
    for (const auto& page : app::kScreenshotPages) {
        SCOPED_TRACE(page.name);
        EXPECT_EQ(app::FindScreenshotPage(QLatin1String(page.name)), &page);
        QString why;
        ASSERT_TRUE(app::ShowScreenshotPage(rig.window(), page, &why)) << why.toStdString();
        QApplication::processEvents();
        if (page.opensWindow) continue;
        const char* tab = page.device == device::DeviceKind::Keyboard ? "kb_tab"
                          : page.device == device::DeviceKind::Mouse  ? "ms_tab"
                                                                      : "mp_tab";
        EXPECT_TRUE(rig.checked(tab));
        EXPECT_TRUE(CurrentPage(rig)->isAncestorOf(rig.control(tab == std::string("kb_tab") ? "kb_tab_switch"
                                                              : tab == std::string("ms_tab") ? "ms_tab_switch"
                                                                                             : "mp_page_header")));
        if (page.option) {
            EXPECT_TRUE(rig.checked(page.option));
        }
        EXPECT_EQ(app::ScreenshotTarget(rig.window(), &page), &rig.window());
    }
    // The sub-page shown is the option's: the mouse's macro editor and its performance page.
    app::ShowScreenshotPage(rig.window(), *app::FindScreenshotPage("ms-macros"), nullptr);
    EXPECT_EQ(rig.control<QStackedWidget>("ms_tab_switch")->currentIndex(), 1);
    app::ShowScreenshotPage(rig.window(), *app::FindScreenshotPage("ms-performance"), nullptr);
    EXPECT_EQ(rig.control<QStackedWidget>("ms_tab_switch")->currentIndex(), 3);
    EXPECT_EQ(app::FindScreenshotPage("ms-nothing"), nullptr);

    RigOptions padOnly;
    padOnly.models = {DeviceModel::Mousepad};
    ProgramRig pad(padOnly);
    ASSERT_TRUE(pad.waitForTab("mp_tab"));
    QString why;
    EXPECT_FALSE(app::ShowScreenshotPage(pad.window(), *app::FindScreenshotPage("ms-buttons"), &why));
    EXPECT_EQ(why, "no mouse is connected");
}

TEST(ScreenshotCommandLine, PagesAndLanguagesAreCheckedWhenParsed) {
    struct Case {
        QStringList args;
        QString error;
        const char* page;
        int language;  // -1: none given
    } const cases[] = {
        {{"--screenshot", "/tmp/a.png", "--page", "ms-cursor"}, "", "ms-cursor", -1},
        {{"--screenshot=/tmp/a.png", "--page=mp", "--language=jp"}, "", "mp", 3},
        {{"--language", "tw"}, "", nullptr, 2},
        {{"--language", "cn_zh"}, "", nullptr, 1},
        {{"--language", "de"}, "unknown language de (en, cn, tw, jp)", nullptr, -1},
        {{"--screenshot", "/tmp/a.png", "--page", "keyboard"}, "unknown page keyboard (--list-pages names them)", nullptr, -1},
        {{"--page", "mp"}, "--page goes with --screenshot", nullptr, -1},
        {{"--screenshot", "/tmp/a.png", "--size", "1280x860"}, "", nullptr, -1},
        {{"--screenshot", "/tmp/a.png", "--size=900x"}, "bad size 900x (WIDTHxHEIGHT, 200 to 8000 each)", nullptr, -1},
        {{"--screenshot", "/tmp/a.png", "--size", "+900x700"}, "bad size +900x700 (WIDTHxHEIGHT, 200 to 8000 each)", nullptr, -1},
        {{"--screenshot", "/tmp/a.png", "--size", "100x700"}, "bad size 100x700 (WIDTHxHEIGHT, 200 to 8000 each)", nullptr, -1},
        {{"--size", "1280x860"}, "--size goes with --screenshot", nullptr, -1},
        {{"--screenshot", "/tmp/a.png", "--maximised"}, "", nullptr, -1},
        {{"--maximised"}, "--maximised goes with --screenshot", nullptr, -1},
        {{"--screenshot", "/tmp/a.png", "--page"}, "--page needs a value", nullptr, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const auto line = app::ParseCommandLine(c.args);
        EXPECT_EQ(line.error, c.error);
        if (!c.error.isEmpty()) continue;
        EXPECT_EQ(line.page.value_or(""), QString(c.page ? c.page : ""));
        EXPECT_EQ(line.language.value_or(-1), c.language);
    }
    EXPECT_EQ(app::ParseCommandLine({"--screenshot", "/tmp/a.png", "--size", "1280x860"}).size, QSize(1280, 860));
    EXPECT_TRUE(app::ParseCommandLine({"--screenshot", "/tmp/a.png", "--maximised"}).maximised);
}

TEST(TraylessDesktop, TheWindowSaysNoDeviceAndClosingAsksWhetherToQuit) {
    RigOptions o;
    o.tray = true;
    o.trayAvailable = false;
    ProgramRig rig(o);
    rig.wait();
    EXPECT_TRUE(rig.window().trayless());
    EXPECT_TRUE(rig.window().isVisible());  // nothing else would show that the program runs
    EXPECT_EQ(CurrentPage(rig), rig.control("tab_page_nodevice"));
    EXPECT_TRUE(rig.control("nodevice_udev_hint")->isHidden());

    // A device there but not to be opened by this user: the udev hint, until none is left.
    rig.window().setDeviceNotAccessible(device::DeviceKind::Mouse, true);
    rig.window().setDeviceNotAccessible(device::DeviceKind::Keyboard, false);
    EXPECT_FALSE(rig.control("nodevice_udev_hint")->isHidden());
    rig.window().setDeviceNotAccessible(device::DeviceKind::Mouse, false);
    EXPECT_TRUE(rig.control("nodevice_udev_hint")->isHidden());

    // Closing asks; "keep running" hides, a second start brings the window back.
    rig.dialogs.answers = {0};
    rig.control<QAbstractButton>("closebtn")->click();
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, "trayless_close_question");
    EXPECT_FALSE(rig.window().isVisible());
    EXPECT_FALSE(rig.window().shutdownOutcome().has_value());
    rig.window().onInstanceSignal();
    EXPECT_TRUE(rig.window().isVisible());
    EXPECT_EQ(rig.dialogs.shown.size(), 1u);  // no "no device" box: the page says it

    // A device comes: its page; it goes: the "no device" page again, the window stays up.
    rig.backend.add(DeviceModel::Mouse);
    ASSERT_TRUE(rig.waitForTab("ms_tab"));
    EXPECT_EQ(CurrentPage(rig), rig.control("tab_page_ms"));
    rig.device(DeviceModel::Mouse).unplug();
    ASSERT_TRUE(shelltest::WaitUntil([&] { return CurrentPage(rig) == rig.control("tab_page_nodevice"); }));
    EXPECT_TRUE(rig.window().isVisible());

    // The window manager's close asks too; "quit" ends the program.
    rig.dialogs.answers = {1};
    rig.window().close();
    EXPECT_EQ(rig.dialogs.shown.size(), 2u);
    EXPECT_TRUE(rig.window().shutdownOutcome().has_value());
}

TEST(TraylessDesktop, WithATrayTheWindowHidesAndAsksNothing) {
    RigOptions o;
    o.tray = true;
    o.trayAvailable = true;
    ProgramRig rig(o);
    rig.wait();
    EXPECT_FALSE(rig.window().trayless());
    EXPECT_FALSE(rig.window().isVisible());
    rig.window().show();
    rig.control<QAbstractButton>("closebtn")->click();
    EXPECT_FALSE(rig.window().isVisible());
    EXPECT_TRUE(rig.dialogs.shown.empty());
    EXPECT_FALSE(rig.window().shutdownOutcome().has_value());
}

TEST(LanguageFonts, JapaneseIsDrawnWithAJapaneseFaceAndChineseWithAChineseOne) {
    ProgramRig rig(RigOptions{});
    auto* label = rig.control<QLabel>("nodevice_title");
    ASSERT_NE(label, nullptr);
    struct Case {
        int language;
        const char* cjkFace;    // the first CJK face the label's font names
        const char* notBefore;  // a face that must come later or not at all
    } const cases[] = {
        {3, "IPAPGothic", "WenQuanYi Micro Hei"},
        {1, "WenQuanYi Micro Hei", "IPAPGothic"},
        {2, "WenQuanYi Micro Hei", "IPAPGothic"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        rig.window().changeLanguage(*ui::LanguageByIniValue(c.language));
        QApplication::processEvents();
        const QStringList families = label->font().families();
        ASSERT_GE(families.size(), 2);
        EXPECT_EQ(families[0], "DejaVu Sans");  // Latin letters and digits
        EXPECT_EQ(families[1], c.cjkFace);
        const auto later = families.indexOf(c.notBefore);
        EXPECT_TRUE(later < 0 || later > 1);
        EXPECT_EQ(label->fontInfo().pixelSize(), 20);  // the sheet's size stays
    }
}

// 1366 × 768 at a scale of 1.5 is 910 × 512 device-independent pixels, less a panel.
TEST(WindowSize, EveryPageFitsASmallScreenAtScaleOneAndAHalf) {
    ProgramRig rig(AllDevices());
    ASSERT_TRUE(rig.waitForTab("kb_tab") && rig.waitForTab("ms_tab") && rig.waitForTab("mp_tab"));
    rig.settle();
    const QSize room(910, 480);
    for (const auto& page : app::kScreenshotPages) {
        if (page.opensWindow) continue;
        SCOPED_TRACE(page.name);
        app::ShowScreenshotPage(rig.window(), page, nullptr);
        Settle(rig.window());
        const QSize least = rig.window().minimumSize().expandedTo(rig.window().layout()->minimumSize());
        EXPECT_LE(least.width(), room.width());
        EXPECT_LE(least.height(), room.height());
    }
    rig.window().resize(room);
    Settle(rig.window());
    EXPECT_EQ(rig.window().size(), room);
}

// A page wider than the window's first size makes the user scroll sideways on every start.
// The macro editors are also looked at while an action of each kind is edited: their lists
// size themselves when first shown.
TEST(WindowSize, NoPageScrollsSidewaysAtTheFirstSize) {
    RigOptions o = AllDevices();
    o.beforeBuild = [](ProgramRig& r) {
        macros::MacroStore store(r.data, {});
        const std::vector<std::string> lines{"8,0,138,4,1,keyboard_key_A", "5,0,10,4,0,keyboard_key_A",
                                             "5,0,132,20,1,mouse_move_to_left_text", "10,0,129,1,1,mouse_key_left",
                                             "0,0,1,1,0,mouse_key_left"};
        for (auto set : {macros::MacroSet::Keyboard, macros::MacroSet::Mouse}) {
            ASSERT_TRUE(store.AddMacro(set).ok());
            ASSERT_TRUE(store.SaveMacro(set, "Macro_1", lines).ok());
        }
    };
    ProgramRig rig(std::move(o));
    ASSERT_TRUE(rig.waitForTab("kb_tab") && rig.waitForTab("ms_tab") && rig.waitForTab("mp_tab"));
    rig.settle();
    // The lists filled before the language was loaded speak it.
    for (const char* list : {"kb_macro_combo_keyselect", "ms_macro_combo_keyselect", "kb_macro_combo_mouselect"})
        EXPECT_FALSE(rig.control<QComboBox>(list)->itemText(0).contains(QLatin1String("_key_"))) << list;
    auto* scroll = rig.window().findChild<QScrollArea*>("pages_scroll");
    ASSERT_NE(scroll, nullptr);
    QStringList wide;
    auto look = [&](const QString& what) {
        Settle(rig.window());
        ASSERT_EQ(rig.window().size(), app::kFirstWindowSize);
        if (const int over = scroll->horizontalScrollBar()->maximum(); over > 0)
            wide << QStringLiteral("%1: %2 px too wide").arg(what).arg(over);
    };
    for (const auto& language : ui::kLanguages) {
        if (&language != &ui::kLanguages[0]) rig.window().changeLanguage(language);  // English at start
        for (const auto& page : app::kScreenshotPages) {
            if (page.opensWindow) continue;
            app::ShowScreenshotPage(rig.window(), page, nullptr);  // at the first size
            const QString what = QStringLiteral("%1 %2").arg(QLatin1String(language.code), QLatin1String(page.name));
            look(what);
            const QString prefix = QLatin1String(page.name).left(2);
            auto* actions = rig.window().findChild<QAbstractItemView*>(prefix + QStringLiteral("_Macro_list"));
            if (!QLatin1String(page.name).endsWith(QLatin1String("macros")) || !actions) continue;
            EXPECT_EQ(actions->model()->rowCount(), 5) << what.toStdString();
            for (int row : {0, 2, 3}) {  // a key, a pointer move, a mouse button
                const QModelIndex index = actions->model()->index(row, 0);
                actions->setCurrentIndex(index);
                Q_EMIT actions->clicked(index);
                look(what + QStringLiteral(" editing row %1").arg(row));
            }
        }
    }
    EXPECT_TRUE(wide.isEmpty()) << wide.join('\n').toStdString();
}

// An enlarged window gives the pages room; the panels of the lighting and performance pages
// stay as tall as their row's contents instead of stretching empty to the bottom.
TEST(WindowSize, PanelsHugTheirContentsInALargeWindow) {
    ProgramRig rig(AllDevices());
    ASSERT_TRUE(rig.waitForTab("kb_tab") && rig.waitForTab("ms_tab") && rig.waitForTab("mp_tab"));
    rig.settle();
    struct Case {
        const char* page;
        std::vector<const char*> panels;
    } const cases[] = {
        {"kb-lighting", {"keyboard_deng_effect", "keyboard_deng_colour"}},
        {"ms-lighting", {"mouse_deng_effect", "mouse_deng_colour"}},
        {"mp", {"mousepad_deng_effect", "mousepad_deng_colour"}},
        {"ms-performance", {"mouse_dpi_stages", "mouse_dpi_colour", "mouse_dpi_report", "mouse_dpi_pointer"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        app::ShowScreenshotPage(rig.window(), *app::FindScreenshotPage(c.page), nullptr);
        rig.window().resize(1280, 860);
        Settle(rig.window());
        for (const char* name : c.panels) {
            QWidget* panel = rig.window().findChild<QWidget*>(QLatin1String(name));
            ASSERT_NE(panel, nullptr) << name;
            if (!panel->isVisible()) continue;
            // The tallest contents among the panels side by side with it.
            int row = 0;
            const auto hugs = [&] {
                row = panel->sizeHint().height();
                for (QWidget* other : panel->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                    if (other->isVisible() && other->y() == panel->y()) row = std::max(row, other->sizeHint().height());
                return panel->height() <= row + 8;
            };
            // A slow run (sanitizers, a loaded machine) may still have the page's relayout in
            // its queue: the layout gets a generous while to settle before it is judged.
            shelltest::WaitUntil([&] {
                Settle(rig.window());
                return hugs();
            }, 5000);
            EXPECT_TRUE(hugs()) << name << ": " << panel->height() << " px for " << row << " px of contents";
        }
    }
}

// Controls whose text is elided or scrolled on purpose (none yet).
const QStringList kMayOverflow{};

// The width a control needs for its text (0: nothing to check).
int NeededWidth(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->wordWrap() || label->text().isEmpty() || label->textFormat() == Qt::RichText) return 0;
        int text = 0;
        for (const QString& line : label->text().split('\n'))
            text = std::max(text, label->fontMetrics().horizontalAdvance(line));
        return text + label->contentsMargins().left() + label->contentsMargins().right() + 2 * label->margin() +
               std::max(0, label->indent());
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        // The shown item against the combo's text field.
        if (combo->isEditable() || combo->currentText().isEmpty()) return 0;
        QStyleOptionComboBox option;
        option.initFrom(combo);
        const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
        return combo->width() - field.width() + combo->fontMetrics().horizontalAdvance(combo->currentText());
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        if (button->text().isEmpty()) return 0;
        // The text and icon against the button's contents rectangle (inside the sheet's
        // padding and border, beside a check box's indicator): a size hint would be clamped
        // by the sheet's max-width and hide the overflow.
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        option.icon = button->icon();
        option.iconSize = button->iconSize();
        const auto element = qobject_cast<QCheckBox*>(button)      ? QStyle::SE_CheckBoxContents
                             : qobject_cast<QRadioButton*>(button) ? QStyle::SE_RadioButtonContents
                                                                   : QStyle::SE_PushButtonContents;
        const QRect contents = button->style()->subElementRect(element, &option, button);
        int text = button->fontMetrics().horizontalAdvance(button->text().remove('&'));
        if (!button->icon().isNull()) text += button->iconSize().width() + 4;
        return button->width() - contents.width() + text;
    }
    return 0;
}

TEST(TextFits, NoTextOfAnyPageIsWiderThanItsControlInAnyLanguage) {
    ProgramRig rig(AllDevices());
    ASSERT_TRUE(rig.waitForTab("kb_tab") && rig.waitForTab("ms_tab") && rig.waitForTab("mp_tab"));
    rig.settle();
    rig.window().resize(app::MainWindow::kSize);
    QStringList overflows;
    int checked = 0;
    for (const auto& language : ui::kLanguages) {
        rig.window().changeLanguage(language);
        for (const auto& page : app::kScreenshotPages) {
            if (page.opensWindow) continue;
            app::ShowScreenshotPage(rig.window(), page, nullptr);
            Settle(rig.window());
            for (QWidget* w : rig.window().findChildren<QWidget*>()) {
                if (!w->isVisible() || kMayOverflow.contains(w->objectName())) continue;
                const int needed = NeededWidth(w);
                if (needed > 0) ++checked;
                if (needed > w->width() + 1)
                    overflows << QStringLiteral("%1 %2 %3: \"%4\" needs %5 px, has %6")
                                     .arg(QLatin1String(language.code), QLatin1String(page.name), w->objectName(),
                                          w->property(qobject_cast<QComboBox*>(w) ? "currentText" : "text").toString())
                                     .arg(needed)
                                     .arg(w->width());
            }
        }
    }
    overflows.removeDuplicates();
    EXPECT_GT(checked, 200);  // the pages' texts were there to check
    EXPECT_TRUE(overflows.isEmpty()) << overflows.join('\n').toStdString();
}

}  // namespace

namespace {

TEST(FileDialog, QtsOwnDialogIsReadableUnderTheSkin) {
    ProgramRig rig(AllDevices());
    // The dialog the profile import and export open where the desktop has none of its own.
    QFileDialog dialog(&rig.window());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.show();
    QApplication::processEvents();
    const QImage shot = dialog.grab().toImage();
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
        auto* label = dialog.findChild<QLabel*>(QLatin1String(name));
        ASSERT_NE(label, nullptr) << name;
        const QColor text = label->palette().color(label->foregroundRole());
        const QColor behind = shot.pixelColor(label->mapTo(&dialog, QPoint(1, 1)));
        const double la = luminance(text), lb = luminance(behind);
        EXPECT_GE((std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05), 4.5)
            << name << ": " << text.name().toStdString() << " on " << behind.name().toStdString();
    }
}

TEST(ProfileTools, ManageOpensUnderTheHeaderAndCoversNothingOfThePage) {
    RigOptions o;
    o.models = {DeviceModel::Mouse, DeviceModel::Mousepad};
    ProgramRig rig(o);
    ASSERT_TRUE(rig.waitForTab("ms_tab") && rig.waitForTab("mp_tab"));
    rig.settle();
    struct Case {
        const char* page;
        const char* button;
        const char* row;
        const char* header;
        const char* below;  // a control of the page under the header (on-board slots, the picture)
    } const cases[] = {
        {"ms-lighting", "ms_profile_fun_spread_btn", "ms_profile_fun_spead_tab", "ms_page_header", "ms_tab_switch"},
        {"mp", "mp_profile_fun_spread_btn", "mp_profile_fun_spead_tab", "mp_page_header", "mp_lighting_picture"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        ASSERT_TRUE(app::ShowScreenshotPage(rig.window(), *app::FindScreenshotPage(c.page), nullptr));
        Settle(rig.window());
        QWidget* below = rig.control(c.below);
        ASSERT_NE(below, nullptr);
        const QPoint before = below->mapTo(&rig.window(), QPoint());
        auto* manage = rig.control<QAbstractButton>(c.button);
        ASSERT_NE(manage, nullptr);
        manage->click();
        Settle(rig.window());
        QWidget* row = rig.control(c.row);
        QWidget* header = rig.control(c.header);
        ASSERT_TRUE(row->isVisible());
        const QRect rowOnWindow(row->mapTo(&rig.window(), QPoint()), row->size());
        const QRect headerOnWindow(header->mapTo(&rig.window(), QPoint()), header->size());
        EXPECT_GE(rowOnWindow.top(), headerOnWindow.bottom());  // it opens under the header
        EXPECT_GE(row->height(), row->minimumSizeHint().height());
        // The page makes room for it: nothing under the header is covered.
        const QPoint moved = below->mapTo(&rig.window(), QPoint());
        EXPECT_GT(moved.y(), rowOnWindow.bottom());
        // Sideways only a centred control moves, by half the scroll bar the taller page may get.
        EXPECT_NEAR(moved.x(), before.x(), 8);
        manage->click();
        Settle(rig.window());
        EXPECT_FALSE(row->isVisible());
    }
}

}  // namespace

namespace {

TEST(PointerNote, ThePageSaysWhenTheDesktopCannotApplyThePointerSettings) {
    RigOptions o;
    o.models = {DeviceModel::Mouse};
    ProgramRig rig(o);  // the rig's desktop backend is the fallback, which applies nothing
    ASSERT_TRUE(rig.waitForTab("ms_tab"));
    rig.settle();
    ASSERT_TRUE(app::ShowScreenshotPage(rig.window(), *app::FindScreenshotPage("ms-performance"), nullptr));
    Settle(rig.window());
    QWidget* note = rig.control("ms_pointer_not_applied");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isVisible());
}

}  // namespace
