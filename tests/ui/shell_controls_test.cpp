// SPDX-License-Identifier: GPL-3.0-or-later
// Skin loading, the program's own controls and the lighting previews.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFile>
#include <QImage>
#include <QStackedWidget>
#include <QXmlStreamReader>

#include <thread>

#include "shell_test_support.h"
#include "ui/control_index.h"
#include "ui/controls/chart_view.h"
#include "ui/controls/circle_progress.h"
#include "ui/controls/wnd_host.h"
#include "ui/language.h"
#include "ui/preview.h"
#include "ui/skin_loader.h"

using namespace orvane;

namespace {

TEST(CircleProgress, Sweep) {
    struct Case {
        int value, minimum, maximum, degrees;
    };
    const Case cases[] = {
        {25, 0, 100, 90},  {0, 0, 100, 0},    {100, 0, 100, 360}, {1, 0, 3, 120},
        {2, 0, 7, 102},    // 102.86 truncated
        {25, 20, 120, 90}, // the minimum is not subtracted from the value
        {50, 10, 10, 0},   // empty range
        {150, 0, 100, 360}, {-5, 0, 100, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.value << " of " << c.minimum << ".." << c.maximum);
        EXPECT_EQ(ui::CircleProgress::SweepDegrees(c.value, c.minimum, c.maximum), c.degrees);
    }
}

TEST(CircleProgress, RingFillsClockwiseFromTheBottom) {
    ui::CircleProgress ring;
    ring.resize(100, 100);
    ring.setBkColor(Qt::black);
    ring.setForeColor(Qt::red);
    auto at = [&](int x, int y) { return ring.grab().toImage().pixelColor(x, y); };
    // Points in the 10 px ring: 7:30 (first quarter after six o'clock, clockwise) and 4:30.
    const QPoint sevenThirty(18, 82), fourThirty(82, 82), centre(50, 50);
    ring.setValue(0);
    EXPECT_EQ(at(sevenThirty.x(), sevenThirty.y()), QColor(Qt::black));
    EXPECT_EQ(at(centre.x(), centre.y()), QColor(Qt::white));
    ring.setValue(25);
    EXPECT_EQ(at(sevenThirty.x(), sevenThirty.y()), QColor(Qt::red));
    EXPECT_EQ(at(fourThirty.x(), fourThirty.y()), QColor(Qt::black));
    EXPECT_EQ(at(centre.x(), centre.y()), QColor(Qt::white));
    ring.setValue(100);
    EXPECT_EQ(at(fourThirty.x(), fourThirty.y()), QColor(Qt::red));
}

TEST(ChartView, HistogramShadowBand) {
    ui::ChartView chart;
    chart.resize(200, 100);
    chart.setSkinAttribute("shadowimage", "shadow.png");
    chart.setSkinAttribute("shadowimageheight", "12");
    EXPECT_TRUE(chart.shadowBand().isEmpty());  // a pie has no band
    chart.setSkinAttribute("view", "histpgram");
    EXPECT_EQ(chart.shadowBand(), QRect(0, 100 - 25 - 12, 200, 12));
    chart.setSkinAttribute("showtext", "false");
    EXPECT_EQ(chart.shadowBand(), QRect(0, 100 - 12, 200, 12));
    chart.setSkinAttribute("view", "bars");  // unknown: unchanged
    EXPECT_EQ(chart.kind(), ui::ChartView::Kind::Histogram);
    chart.grab();  // the image does not exist in this folder: forgotten, not fatal
    EXPECT_TRUE(chart.shadowImage().isEmpty());
}

TEST(WndHost, HostedWindowFollowsTheHost) {
    QWidget top;
    top.resize(300, 200);
    auto* host = new ui::WndHost(&top);
    host->setGeometry(20, 30, 100, 50);
    auto* hosted = new QWidget(&top);
    host->attach(hosted);
    top.show();
    EXPECT_EQ(hosted->geometry(), QRect(20, 30, 100, 50));
    host->setGeometry(40, 10, 60, 60);
    EXPECT_EQ(hosted->geometry(), QRect(40, 10, 60, 60));
    host->hide();
    EXPECT_FALSE(hosted->isVisible());
    ui::WndHost empty(&top);  // nothing hosted: a plain widget
    empty.resize(10, 10);
}

TEST(SkinLoader, SubLayoutsCustomControlsAndMissingNames) {
    const ui::SkinLoader skin(shelltest::FixtureSkin());
    QWidget window;
    ASSERT_EQ(skin.load("XML_MAIN", &window), &window);
    ui::ControlIndex controls;
    controls.add(&window);
    // The placeholder "ms_key_ui" (listed as "MS_Key_UI") holds the sub-layout.
    QWidget* button = controls.find("ms_KEY_2");
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(controls.find("MS_KEY_UI")->isAncestorOf(button));
    auto* ring = controls.find<ui::CircleProgress>("main_ring");
    ASSERT_NE(ring, nullptr);
    EXPECT_EQ(ring->minimumSize(), QSize(60, 60));
    auto* chart = controls.find<ui::ChartView>("chart");
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->kind(), ui::ChartView::Kind::Histogram);
    EXPECT_EQ(chart->shadowImageHeight(), 12);
    EXPECT_EQ(controls.find("no_such_control"), nullptr);
    EXPECT_EQ(controls.find<QStackedWidget>("closebtn"), nullptr);  // wrong kind: null too
}

TEST(Preview, ShowsColourAtOpacityFromAnyThread) {
    QWidget control;
    control.resize(20, 20);
    EXPECT_EQ(ui::Preview::of(&control), nullptr);
    ui::PreviewOverlay* overlay = ui::Preview::enable(&control);
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(ui::Preview::enable(&control), overlay);
    EXPECT_EQ(overlay->color().alpha(), 0);
    overlay->set(ui::Preview::PackGbr(0x10, 0x20, 0x30), 128);
    EXPECT_EQ(overlay->color(), QColor(0x10, 0x20, 0x30, 128));
    // (G << 16) | (B << 8) | R
    std::thread([overlay] { overlay->set(0x00FF0000, 255); }).join();
    EXPECT_EQ(overlay->color(), QColor(0, 0xFF, 0, 255));
    control.show();
    QApplication::processEvents();
    EXPECT_EQ(control.grab().toImage().pixelColor(10, 10), QColor(0, 0xFF, 0));
    EXPECT_EQ(ui::Preview::enable(nullptr), nullptr);
}

// A lit key hides the picture's legend: the overlay draws it again, dark on a light colour
// and light on a dark one; a faint colour lets the picture's own legend show.
TEST(Preview, DrawsTheKeysLegendReadablyOnItsColour) {
    struct Case {
        QColor colour;
        int alpha;
        bool darkLegend, legendDrawn;
    } const cases[] = {
        {QColor(255, 255, 0), 255, true, true},
        {QColor(0, 0, 160), 255, false, true},
        {QColor(0, 0, 0), 255, false, true},
        {QColor(255, 255, 255), 60, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.colour.name().toStdString());
        QWidget control;
        control.setProperty("legend", QStringLiteral("W"));
        control.resize(24, 24);
        ui::PreviewOverlay* overlay = ui::Preview::enable(&control);
        overlay->set(ui::Preview::PackGbr(uint8_t(c.colour.red()), uint8_t(c.colour.green()), uint8_t(c.colour.blue())),
                     uint8_t(c.alpha));
        const QImage image = overlay->grab().toImage();
        const QColor fill = image.pixelColor(2, 12);
        int legendPixels = 0;
        for (int y = 4; y < 20; ++y)
            for (int x = 4; x < 20; ++x) {
                const QColor p = image.pixelColor(x, y);
                if (std::abs(p.lightness() - fill.lightness()) < 60) continue;
                ++legendPixels;
                EXPECT_EQ(p.lightness() < fill.lightness(), c.darkLegend) << x << "," << y;
            }
        EXPECT_EQ(legendPixels > 5, c.legendDrawn) << legendPixels;
    }
}

// The shipped skin keeps its side of the contract.
TEST(ShippedSkin, HasTheControlsAndTextsTheProgramUses) {
    const ui::SkinLoader skin(shelltest::SourceSkin());
    if (!skin.hasIndex()) GTEST_SKIP() << "no skin/res.xml yet";
    QWidget window;
    ASSERT_NE(skin.load("XML_MAIN", &window), nullptr);
    ui::ControlIndex controls;
    controls.add(&window);
    int previews = 0;
    for (auto [prefix, count] : {std::pair{"ms_dkey_", 20}, {"mp_dkey_", 15}, {"kb_dkey_", 126}})
        for (int i = 0; i < count; ++i) previews += controls.find(prefix + QString::number(i)) != nullptr;
    EXPECT_EQ(previews, 20 + 15 + 126);
    for (const char* name : {"closebtn", "minbtn", "maxbtn", "restorebtn", "skinbtn", "setbtn", "menubtn", "kb_tab",
                             "kb_onecolor_tab", "ms_tab", "mp_tab", "ani_tab", "split_tab", "kb_tab_switch",
                             "ms_tab_switch", "setting_progress", "str_test", "root"})
        EXPECT_NE(controls.find(name), nullptr) << name;
    auto* pages = controls.find<QStackedWidget>("tab_switch");
    ASSERT_NE(pages, nullptr);
    EXPECT_GE(pages->count(), 5);

    QWidget box;
    ASSERT_NE(skin.load("XML_MSG", &box), nullptr);
    ui::ControlIndex boxControls;
    boxControls.add(&box);
    for (const char* name : {"MessageText", "MessageTitle", "confirm_btn", "cancel_btn", "closebtn"})
        EXPECT_NE(boxControls.find(name), nullptr) << name;

    // Every text id used by the layouts and the message boxes is in all four languages.
    QStringList ids;
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18}) ids << QStringLiteral("message_text_%1").arg(n);
    for (QWidget* root : {&window, &box})
        for (QWidget* w : root->findChildren<QWidget*>())
            for (const char* property : {"textId", "tipId"})
                if (const auto id = w->property(property).toString(); !id.isEmpty()) ids << id;
    for (const auto& row : ui::kLanguages) {
        ui::Language language;
        ASSERT_TRUE(language.load(skin.folder() + "/" + row.file, row.code)) << row.file;
        for (const auto& id : ids) EXPECT_TRUE(language.has(id)) << row.file << " lacks " << id.toStdString();
    }
}

}  // namespace
