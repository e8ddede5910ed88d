// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/custom_controls.h"

#include <QVariant>

#include <array>
#include <functional>

#include "ui/controls/chart_view.h"
#include "ui/controls/circle_progress.h"
#include "ui/controls/color_palette.h"
#include "ui/controls/wnd_host.h"

namespace orvane::ui {

namespace {

QWidget* MakeCircle(const QWidget&, const QString&) { return new CircleProgress; }

QWidget* MakeChart(const QWidget& placeholder, const QString& skinFolder) {
    auto* chart = new ChartView;
    chart->setImageFolder(skinFolder);
    for (const auto& name : placeholder.dynamicPropertyNames())
        chart->setSkinAttribute(QString::fromLatin1(name), placeholder.property(name).toString());
    return chart;
}

QWidget* MakeWndHost(const QWidget&, const QString&) { return new WndHost; }

QWidget* MakePalette(const QWidget&, const QString&) { return new ColorPalette; }

struct CustomClass {
    const char* name;
    QWidget* (*make)(const QWidget&, const QString&);
};

// "CircleProgress" is the class name the ring reports and also a layout tag for it.
constexpr std::array<CustomClass, 5> kCustomClasses{{
    {"CCircleProgressUI", MakeCircle},
    {"CircleProgress", MakeCircle},
    {"CChartViewUI", MakeChart},
    {"CWndUI", MakeWndHost},
    {"CColorPaletteUI", MakePalette},
}};

}  // namespace

QWidget* CreateCustomControl(const QString& className, const QWidget& placeholder,
                             const QString& skinFolder) {
    for (const auto& c : kCustomClasses)
        if (className.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
            return c.make(placeholder, skinFolder);
    return nullptr;
}

}  // namespace orvane::ui
