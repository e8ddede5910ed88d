// SPDX-License-Identifier: GPL-3.0-or-later
// The window's own frame and what follows its size: which edge a point resizes, the
// maximise button that becomes the restore button, the device picture and the device tabs
// of a maximised window, the profile box's caption, and the ≡ menu's languages. (Real
// pointer input on a real window manager: tests/x11/window_drag_x11_test.cpp.)
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>

#include "app/scaled_picture.h"
#include "app/screenshot_pages.h"
#include "app/window_frame.h"
#include "app/wrapping_panels.h"
#include "lighting/lighting_edits.h"
#include "program_rig.h"

using namespace orvane;
using device::DeviceModel;
using programtest::ProgramRig;
using programtest::RigOptions;

namespace {

TEST(WindowFrame, EdgesAndCornersOfAWindow) {
    const QSize size(800, 600);
    struct Case {
        QPoint at;
        Qt::Edges edges;
        Qt::CursorShape shape;
    } const cases[] = {
        {{400, 300}, {}, Qt::ArrowCursor},
        {{0, 300}, Qt::LeftEdge, Qt::SizeHorCursor},
        {{799, 300}, Qt::RightEdge, Qt::SizeHorCursor},
        {{400, 0}, Qt::TopEdge, Qt::SizeVerCursor},
        {{400, 599}, Qt::BottomEdge, Qt::SizeVerCursor},
        {{0, 0}, Qt::TopEdge | Qt::LeftEdge, Qt::SizeFDiagCursor},
        {{799, 599}, Qt::BottomEdge | Qt::RightEdge, Qt::SizeFDiagCursor},
        {{799, 0}, Qt::TopEdge | Qt::RightEdge, Qt::SizeBDiagCursor},
        {{0, 599}, Qt::BottomEdge | Qt::LeftEdge, Qt::SizeBDiagCursor},
        // Near a corner along an edge: that corner's other edge too.
        {{2, 12}, Qt::TopEdge | Qt::LeftEdge, Qt::SizeFDiagCursor},
        {{790, 597}, Qt::BottomEdge | Qt::RightEdge, Qt::SizeFDiagCursor},
        // Just inside the edge width: the inside.
        {{app::WindowFrame::kEdgeWidth, 300}, {}, Qt::ArrowCursor},
        {{400, 600 - 1 - app::WindowFrame::kEdgeWidth}, {}, Qt::ArrowCursor},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.at.x() << "," << c.at.y());
        EXPECT_EQ(app::WindowFrame::EdgesAt(c.at, size), c.edges);
        EXPECT_EQ(app::WindowFrame::CursorFor(c.edges), c.shape);
    }
}

TEST(ScaledPicture, GrowsWithTheRoomUpToItsLimitsInTenths) {
    const QSize design(680, 216);
    EXPECT_DOUBLE_EQ(app::ScaledPicture::ScaleFor(design, {680, 540}), 1.0);
    EXPECT_DOUBLE_EQ(app::ScaledPicture::ScaleFor(design, {1132, 1040}), 1.6);  // maximised on 1920 × 1080
    EXPECT_DOUBLE_EQ(app::ScaledPicture::ScaleFor(design, {1132, 600}), 1.1);   // the height decides
    EXPECT_DOUBLE_EQ(app::ScaledPicture::ScaleFor(design, {300, 300}), app::ScaledPicture::kSmallest);
    EXPECT_DOUBLE_EQ(app::ScaledPicture::ScaleFor(design, {8000, 8000}), app::ScaledPicture::kLargest);
    // A picture beside its panels takes part of the width; one with texts on it never shrinks.
    const app::PictureFit beside{.widthShare = 0.5, .heightShare = 0.5, .smallest = 1.0};
    EXPECT_DOUBLE_EQ(app::ScaledPicture::ScaleFor({400, 300}, {1132, 1040}, beside), 1.4);  // the width decides
    EXPECT_DOUBLE_EQ(app::ScaledPicture::ScaleFor({400, 300}, {2000, 840}, beside), 1.4);   // the height decides
    EXPECT_DOUBLE_EQ(app::ScaledPicture::ScaleFor({400, 300}, {600, 400}, beside), 1.0);
}

TEST(WrappingPanels, PanelsGoOnTheNextLineWhenTheRoomIsFull) {
    struct Case {
        std::vector<int> widths;
        int room;
        std::vector<int> lines;
    } const cases[] = {
        {{200, 300, 200}, 800, {0, 0, 0}},
        {{200, 300, 200}, 700, {0, 0, 1}},
        {{200, 300, 200}, 400, {0, 1, 2}},
        {{900, 100}, 500, {0, 1}},       // wider than the room: a line of its own
        {{200, 0, 300}, 520, {0, 0, 0}},  // a hidden panel takes no room
    };
    for (const Case& c : cases) EXPECT_EQ(app::WrappingPanels::LinesFor(c.widths, c.room, 10), c.lines);
}

RigOptions KeyboardAndMouse(std::optional<int> language = std::nullopt) {
    RigOptions o;
    o.models = {DeviceModel::RgbKeyboard, DeviceModel::Mouse};
    o.language = language;
    return o;
}

TEST(MaximisedWindow, TheButtonRestoresAndSaysSoInEveryLanguage) {
    struct Case {
        int language;
        const char* maximise;
        const char* restore;
    } const cases[] = {{0, "Maximise", "Restore"}, {1, "最大化", "还原"}, {2, "最大化", "還原"}, {3, "最大化", "元のサイズに戻す"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        ProgramRig rig(KeyboardAndMouse(c.language));
        ASSERT_TRUE(rig.waitForTab("kb_tab"));
        QWidget& window = rig.window();
        window.show();
        auto* maximise = rig.control<QAbstractButton>("maxbtn");
        auto* restore = rig.control<QAbstractButton>("restorebtn");
        EXPECT_EQ(maximise->toolTip(), QString::fromUtf8(c.maximise));
        EXPECT_EQ(restore->toolTip(), QString::fromUtf8(c.restore));
        EXPECT_TRUE(maximise->isVisible());
        EXPECT_FALSE(restore->isVisible());

        maximise->click();
        EXPECT_TRUE(window.isMaximized());
        EXPECT_FALSE(maximise->isVisible());
        EXPECT_TRUE(restore->isVisible());
        restore->click();
        EXPECT_FALSE(window.isMaximized());
        EXPECT_TRUE(maximise->isVisible());
        EXPECT_FALSE(restore->isVisible());
        // The window manager's own maximise (a keyboard shortcut, its menu) shows the same.
        window.setWindowState(Qt::WindowMaximized);
        EXPECT_TRUE(restore->isVisible());
        window.setWindowState(Qt::WindowNoState);
        EXPECT_TRUE(maximise->isVisible());
    }
}

TEST(MaximisedWindow, ThePictureGrowsAndTheTabsStartWhereThePagesDo) {
    ProgramRig rig(KeyboardAndMouse());
    ASSERT_TRUE(rig.waitForTab("kb_tab"));
    QWidget& window = rig.window();
    window.show();
    auto* picture = rig.control<QWidget>("kb_lighting_picture");
    auto* esc = rig.control<QWidget>("kb_dkey_0");
    const QSize keyAtFirst = esc->size();
    const auto leftOf = [&](const char* name) { return rig.control<QWidget>(name)->mapTo(&window, QPoint()).x(); };

    window.resize(1920, 1040);
    rig.wait();
    EXPECT_GE(picture->width(), 680 * 3 / 2);
    EXPECT_GT(esc->width(), keyAtFirst.width());
    EXPECT_NEAR(double(esc->width()) / picture->width(), 22.0 / 680, 0.002) << "keys and picture scale together";
    // The first device tab lines up with the first sub-page option, not with the window's edge.
    EXPECT_EQ(leftOf("kb_tab"), leftOf("kb_deng_Op_tab"));
    EXPECT_GT(leftOf("kb_tab"), 200);

    window.resize(880, 620);
    rig.wait();
    EXPECT_EQ(leftOf("kb_tab"), leftOf("kb_deng_Op_tab"));
    auto* scroll = window.findChild<QScrollArea*>("pages_scroll");
    ASSERT_NE(scroll, nullptr);
    EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
}

// The mouse's and the mousepad's pictures are at their design size in the first window and
// grow with a maximised one, their cells and zones with them, without a sideways scroll.
TEST(MaximisedWindow, TheMouseAndMousepadPicturesGrowWithTheirCells) {
    RigOptions o;
    o.models = {DeviceModel::Mouse, DeviceModel::Mousepad};
    ProgramRig rig(o);
    ASSERT_TRUE(rig.waitForTab("ms_tab") && rig.waitForTab("mp_tab"));
    app::MainWindow& window = rig.window();
    auto* scroll = window.findChild<QScrollArea*>("pages_scroll");
    ASSERT_NE(scroll, nullptr);
    struct Case {
        const char* page;
        const char* picture;
        const char* cell;
        QSize design;
    } const cases[] = {
        {"ms-lighting", "ms_lighting_picture", "ms_dkey_0", {210, 400}},
        {"mp", "mp_lighting_picture", "mp_dkey_0", {600, 206}},
        {"ms-buttons", "ms_key_picture", "ms_key_0_0", {396, 300}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        ASSERT_TRUE(app::ShowScreenshotPage(window, *app::FindScreenshotPage(c.page), nullptr));
        auto* picture = rig.control<QWidget>(c.picture);
        auto* cell = rig.control<QWidget>(c.cell);
        ASSERT_TRUE(picture && cell);
        window.resize(app::kFirstWindowSize);
        rig.wait();
        EXPECT_EQ(picture->size(), c.design);
        const QSize cellAtFirst = cell->size();
        window.resize(1920, 1040);
        rig.wait();
        EXPECT_GE(picture->width(), c.design.width() * 7 / 5);
        EXPECT_NEAR(double(cell->width()) / picture->width(), double(cellAtFirst.width()) / c.design.width(), 0.01)
            << "cells and picture scale together";
        EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0);
        EXPECT_LE(picture->mapTo(scroll->viewport(), QPoint()).y() + picture->height(), scroll->viewport()->height())
            << "the picture leaves the window";
    }
}

TEST(NarrowWindow, CustomLightingStacksItsPanelsInsteadOfScrollingSideways) {
    ProgramRig rig(KeyboardAndMouse());
    ASSERT_TRUE(rig.waitForTab("kb_tab"));
    ASSERT_TRUE(rig.settle());  // the keyboard read back before the mode changes (a busy machine is slow)
    QWidget& window = rig.window();
    window.show();
    ASSERT_TRUE(app::ShowScreenshotPage(rig.window(), *app::FindScreenshotPage("kb-lighting"), nullptr));
    rig.control<QComboBox>("kb_deng_combo_modeSelect")->setCurrentIndex(lighting::kRgbCustomMode);
    auto* scroll = window.findChild<QScrollArea*>("pages_scroll");
    ASSERT_NE(scroll, nullptr);
    auto* effect = rig.control<QWidget>("keyboard_deng_effect");
    auto* paint = rig.control<QWidget>("keyboard_deng_paint");
    const auto within = [&](QWidget* w) {
        const QRect on(w->mapTo(scroll->viewport(), QPoint()), w->size());
        return scroll->viewport()->rect().contains(on);
    };
    for (const QSize size : {app::kFirstWindowSize, QSize(720, 460)}) {
        SCOPED_TRACE(size.width());
        window.resize(size);
        rig.wait();
        ASSERT_TRUE(paint->isVisible());
        EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0) << "the page scrolls sideways";
        EXPECT_LE(paint->mapTo(scroll->viewport(), QPoint()).x() + paint->width(), scroll->viewport()->width());
        EXPECT_TRUE(within(rig.control<QWidget>("kb_profile_fun_spread_btn"))) << "Manage is off the page";
    }
    // With the room, the panels stand side by side again.
    window.resize(1920, 1040);
    rig.wait();
    EXPECT_EQ(paint->mapTo(&window, QPoint()).y(), effect->mapTo(&window, QPoint()).y());
    EXPECT_GT(paint->mapTo(&window, QPoint()).x(), effect->mapTo(&window, QPoint()).x());
}

TEST(ProfileBox, ItsCaptionNamesTheListItShows) {
    ProgramRig rig(KeyboardAndMouse());
    ASSERT_TRUE(rig.waitForTab("kb_tab"));
    struct Case {
        const char* tab;
        const char* option;
        const char* caption;
        const char* text;
    } const cases[] = {
        {"kb_tab", "kb_key_Op_tab", "kb_profile_caption", "Key profile"},
        {"kb_tab", "kb_deng_Op_tab", "kb_profile_caption", "Lighting profile"},
        {"ms_tab", "ms_key_Op_tab", "ms_profile_caption", "Button profile"},
        {"ms_tab", "ms_deng_Op_tab", "ms_profile_caption", "Lighting profile"},
        {"ms_tab", "ms_rich_Op_tab", "ms_profile_caption", "Lighting profile"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        rig.control<QAbstractButton>(c.tab)->click();
        rig.control<QAbstractButton>(c.option)->click();
        EXPECT_EQ(rig.control<QLabel>(c.caption)->text(), c.text);
    }
    // A change of language keeps the list's name.
    rig.control<QAbstractButton>("kb_tab")->click();
    rig.control<QAbstractButton>("kb_key_Op_tab")->click();
    rig.window().changeLanguage(orvane::ui::kLanguages[3]);
    EXPECT_EQ(rig.control<QLabel>("kb_profile_caption")->text(), QString::fromUtf8("キープロファイル"));
}

TEST(WindowMenu, TicksTheLanguageInUseAndDrawsEachNameInItsOwnFaces) {
    ProgramRig rig(KeyboardAndMouse(3));
    ASSERT_TRUE(rig.waitForTab("kb_tab"));
    QMenu menu;
    rig.window().fillMenu(menu, false);
    QStringList checked;
    for (const auto& row : orvane::ui::kLanguages) {
        SCOPED_TRACE(row.code);
        auto* item = menu.findChild<QAction*>(QLatin1String(row.trayItem));
        ASSERT_NE(item, nullptr) << "every language is offered";
        EXPECT_TRUE(item->isCheckable());
        if (item->isChecked()) checked << item->objectName();
        EXPECT_EQ(item->font().families(), orvane::ui::FontFamiliesFor(QLatin1String(row.code)));
    }
    EXPECT_EQ(checked, QStringList{"lan_jp"});
    EXPECT_NE(menu.findChild<QAction*>("autostart"), nullptr) << "the window's menu has more than the languages";

    menu.findChild<QAction*>("lan_cn")->trigger();
    rig.window().fillMenu(menu, false);
    EXPECT_TRUE(menu.findChild<QAction*>("lan_cn")->isChecked());
    EXPECT_FALSE(menu.findChild<QAction*>("lan_jp")->isChecked());
}

}  // namespace
