// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse drawing of the button page on an emulated mouse: a zone over each button inside
// the drawing, no two overlapping and none under a callout; a zone selects its button like
// its callout does and both show which button the editor holds; a callout shows the
// button's function at once after an assignment, a slot switch and a key-profile load; the
// page fits the window's first width with every editor panel in every language.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>

#include "app/screenshot_pages.h"
#include "functions/function_lists.h"
#include "mouse/button_editor.h"
#include "program_rig.h"
#include "ui/language.h"

using namespace orvane;
using device::DeviceModel;
using functions::FunctionCode;

namespace {

constexpr int kButtons = int(mouse::kButtonCount);

class DrawingRig : public programtest::ProgramRig {
public:
    DrawingRig() : ProgramRig(Options()) {
        EXPECT_TRUE(waitForTab("ms_tab"));
        settle();
        control<QAbstractButton>("ms_key_Op_tab")->click();
    }
    static programtest::RigOptions Options() {
        programtest::RigOptions o;
        o.models = {DeviceModel::Mouse};
        o.features = std::vector<std::string_view>{"presence", "profiles", "mouse page", "key capture", "key pages"};
        return o;
    }

    QString translated(const char* id) { return window().language().text(QLatin1String(id)); }
    QPushButton* zone(int i) { return control<QPushButton>(QStringLiteral("ms_key_%1_0").arg(i)); }
    QPushButton* callout(int i) { return control<QPushButton>(QStringLiteral("ms_key_%1").arg(i)); }
    /// The buttons marked as the one being edited, on the drawing and on the callouts.
    std::pair<std::vector<int>, std::vector<int>> marked() {
        std::pair<std::vector<int>, std::vector<int>> m;
        for (int i = 0; i < kButtons; ++i) {
            if (zone(i)->property("selected").toBool()) m.first.push_back(i);
            if (callout(i)->property("selected").toBool()) m.second.push_back(i);
        }
        return m;
    }
    void setSlotCode(size_t slot, size_t button, FunctionCode code) {
        runtime().mouse.update([&](auto& d) {
            auto& page = d.block.pages[slot];
            page.bytes[3 * button] = code.type;
            page.bytes[3 * button + 1] = code.b1;
            page.bytes[3 * button + 2] = code.b2;
        });
    }
};

TEST(MouseDrawing, EachZoneLiesInsideTheDrawingAndNoneOverlaps) {
    DrawingRig rig;
    QWidget* drawing = rig.control("ms_key_picture");
    ASSERT_NE(drawing, nullptr);
    for (int i = 0; i < kButtons; ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(rig.zone(i), nullptr);
        ASSERT_NE(rig.callout(i), nullptr);
        EXPECT_EQ(rig.zone(i)->parentWidget(), drawing);
        const QRect zone = rig.zone(i)->geometry();
        EXPECT_FALSE(zone.isEmpty());
        EXPECT_TRUE(drawing->rect().contains(zone)) << zone.x() << "," << zone.y();
        // The callout beside the drawing, clear of every zone.
        const QRect callout(rig.callout(i)->mapTo(drawing, QPoint(0, 0)), rig.callout(i)->size());
        EXPECT_TRUE(drawing->rect().contains(callout));
        for (int j = 0; j < kButtons; ++j) {
            EXPECT_FALSE(rig.zone(j)->geometry().intersects(callout)) << "zone " << j;
            if (j != i) EXPECT_FALSE(rig.zone(j)->geometry().intersects(zone)) << "zone " << j;
        }
    }
}

TEST(MouseDrawing, ZonesAndCalloutsSelectTheButtonAndMarkIt) {
    DrawingRig rig;
    using Marks = std::pair<std::vector<int>, std::vector<int>>;
    EXPECT_EQ(rig.marked(), Marks());
    rig.zone(3)->click();
    EXPECT_TRUE(rig.shown("ms_tab_function"));
    EXPECT_EQ(rig.marked(), Marks({3}, {3}));
    rig.callout(5)->click();
    EXPECT_EQ(rig.marked(), Marks({5}, {5}));
    // The guarded last left click: the editor closes and nothing stays marked.
    rig.zone(0)->click();
    EXPECT_FALSE(rig.shown("ms_tab_function"));
    EXPECT_EQ(rig.marked(), Marks());

    // Leaving the page and coming back: the editor is closed and nothing stays marked.
    rig.zone(3)->click();
    ASSERT_EQ(rig.marked(), Marks({3}, {3}));
    rig.control<QAbstractButton>("ms_deng_Op_tab")->setChecked(true);
    rig.control<QAbstractButton>("ms_key_Op_tab")->setChecked(true);
    EXPECT_FALSE(rig.shown("ms_tab_function"));
    EXPECT_EQ(rig.marked(), Marks());

    // Over a zone or a callout, both show the pressed look.
    for (QWidget* target : {static_cast<QWidget*>(rig.zone(4)), static_cast<QWidget*>(rig.callout(4))}) {
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(target, &enter);
        EXPECT_TRUE(rig.zone(4)->property("down").toBool());
        EXPECT_TRUE(rig.callout(4)->property("down").toBool());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(target, &leave);
        EXPECT_FALSE(rig.zone(4)->property("down").toBool());
        EXPECT_FALSE(rig.callout(4)->property("down").toBool());
    }
}

TEST(MouseDrawing, CalloutsFollowAssignmentsSlotSwitchesAndProfileLoads) {
    DrawingRig rig;
    const QString back = rig.translated("mouse_key_back");
    const QString dpiUp = rig.translated("mouse_key_DPI_add");
    ASSERT_EQ(rig.callout(3)->text(), rig.translated("mouse_key_forward"));

    // An assignment through the editor: the callout and its tooltip at once.
    rig.zone(3)->click();
    rig.control<QComboBox>("ms_key_fct_combo")->setCurrentIndex(1);  // a mouse button
    rig.control<QComboBox>("ms_key_fct_combo_11")->setCurrentIndex(4);
    EXPECT_EQ(rig.callout(3)->text(), back);
    EXPECT_EQ(rig.callout(3)->toolTip(), back);
    EXPECT_EQ(rig.marked().second, std::vector<int>{3});

    // Another slot shows its own page; the editor closes and nothing stays marked.
    const size_t slot = rig.runtime().mouse.read([](const auto& d) { return mouse::ActiveKeyPage(d); });
    const size_t other = slot == 2 ? 3 : 2;
    rig.setSlotCode(other, 3, {0x13, 0x01, 0});
    rig.control<QAbstractButton>(QStringLiteral("ms_profile_%1").arg(other))->click();
    rig.settle();
    ASSERT_EQ(rig.runtime().mouse.read([](const auto& d) { return mouse::ActiveKeyPage(d); }), other);
    EXPECT_EQ(rig.callout(3)->text(), dpiUp);
    EXPECT_FALSE(rig.shown("ms_tab_function"));
    EXPECT_TRUE(rig.marked().second.empty());
    // And back: the first slot's assignment again.
    rig.control<QAbstractButton>(QStringLiteral("ms_profile_%1").arg(slot))->click();
    rig.settle();
    EXPECT_EQ(rig.callout(3)->text(), back);

    // A key profile loaded into the page: its functions show.
    rig.setSlotCode(slot, 3, {0x10, 0x04, 0});  // middle click
    rig.runtime().events.profileLoaded.emit(profiles::ListId::MouseKeys, profiles::ProfileResult{});
    EXPECT_EQ(rig.callout(3)->text(), rig.translated("mouse_key_middle"));
}

// The drawing and its callouts beside the editor: no panel of the editor may make the page
// scroll sideways at the first window size.
TEST(MouseDrawing, ThePageFitsTheFirstWidthWithEveryEditorPanelInEveryLanguage) {
    DrawingRig rig;
    const app::ScreenshotPage* page = app::FindScreenshotPage(QStringLiteral("ms-buttons"));
    ASSERT_NE(page, nullptr);
    auto* scroll = rig.window().findChild<QScrollArea*>("pages_scroll");
    ASSERT_NE(scroll, nullptr);
    auto* categories = rig.control<QComboBox>("ms_key_fct_combo");
    QStringList wide;
    for (const auto& language : ui::kLanguages) {
        rig.window().changeLanguage(language);
        ASSERT_TRUE(app::ShowScreenshotPage(rig.window(), *page, nullptr));
        rig.zone(2)->click();
        ASSERT_TRUE(rig.shown("ms_tab_function"));
        for (int item = 0; item < categories->count(); ++item) {
            categories->setCurrentIndex(item);
            if (item == 9) rig.control<QComboBox>("ms_key_fct_combo_24")->setCurrentIndex(4);  // with the count
            for (int i = 0; i < 3; ++i) {
                rig.window().layout()->activate();
                QApplication::processEvents();
            }
            ASSERT_EQ(rig.window().size(), app::kFirstWindowSize);
            if (const int over = scroll->horizontalScrollBar()->maximum(); over > 0)
                wide << QStringLiteral("%1 item %2: %3 px").arg(QLatin1String(language.code)).arg(item).arg(over);
        }
    }
    EXPECT_TRUE(wide.isEmpty()) << wide.join('\n').toStdString();
}

// Every function name a callout can show (the lists' names and every keyboard key) fits its
// text room in every language; the longest are the browser keys and the cursor sequences.
TEST(MouseDrawing, EveryFunctionNameFitsItsCalloutInEveryLanguage) {
    DrawingRig rig;
    std::vector<std::string_view> names;
    const functions::List lists[] = {functions::MouseButtonList, functions::DpiActionList, functions::MediaList,
                                     functions::SystemList,      functions::SwingList.horizontal,
                                     functions::SwingList.vertical, functions::KeyboardKeyList};
    for (functions::List list : lists)
        for (const auto& entry : list) names.push_back(entry.name);
    names.push_back(functions::kFireKeyName);
    for (auto name : functions::kCursorSequenceNames) names.push_back(name);

    QStringList tooWide;
    for (const auto& language : ui::kLanguages) {
        rig.window().changeLanguage(language);
        QApplication::processEvents();
        for (int i = 0; i < kButtons; ++i) {
            QPushButton* callout = rig.callout(i);
            QStyleOptionButton option;
            option.initFrom(callout);
            const int room = callout->style()->subElementRect(QStyle::SE_PushButtonContents, &option, callout).width();
            for (auto name : names) {
                const QString text = rig.translated(std::string(name).c_str());
                if (const int needed = callout->fontMetrics().horizontalAdvance(text); needed > room)
                    tooWide << QStringLiteral("%1 button %2: \"%3\" needs %4 px, has %5")
                                   .arg(QLatin1String(language.code)).arg(i).arg(text).arg(needed).arg(room);
            }
        }
    }
    tooWide.removeDuplicates();
    EXPECT_TRUE(tooWide.isEmpty()) << tooWide.join('\n').toStdString();
}

}  // namespace

