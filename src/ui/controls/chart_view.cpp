// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/chart_view.h"

#include <QDir>
#include <QPainter>

namespace orvane::ui {

namespace {
constexpr int kTextBand = 25;
}

ChartView::ChartView(QWidget* parent) : QWidget(parent) {}

void ChartView::setSkinAttribute(const QString& name, const QString& value) {
    if (name == QLatin1String("view")) {
        if (value == QLatin1String("pie")) kind_ = Kind::Pie;
        else if (value == QLatin1String("histpgram")) kind_ = Kind::Histogram;
    } else if (name == QLatin1String("shadowimage")) {
        shadowImage_ = value;
    } else if (name == QLatin1String("shadowimageheight")) {
        shadowImageHeight_ = value.toInt();
    } else if (name == QLatin1String("pillarimage")) {
        pillarImage_ = value;
    } else if (name == QLatin1String("pillarimagewidth")) {
        pillarImageWidth_ = value.toInt();
    } else if (name == QLatin1String("showhtml")) {
        showHtml_ = value == QLatin1String("true");
    } else if (name == QLatin1String("showtext")) {
        showText_ = value == QLatin1String("true");
    } else if (name == QLatin1String("font")) {
        font_ = value.toInt();
    }
    update();
}

QRect ChartView::shadowBand() const {
    if (kind_ != Kind::Histogram || shadowImage_.isEmpty()) return {};
    const int bottom = showText_ ? height() - kTextBand : height();
    return QRect(0, bottom - shadowImageHeight_, width(), shadowImageHeight_);
}

void ChartView::paintEvent(QPaintEvent*) {
    const QRect band = shadowBand();
    if (band.isEmpty()) return;
    const QImage image(QDir(imageFolder_).filePath(shadowImage_));
    if (image.isNull()) {
        shadowImage_.clear();  // an image that cannot be drawn is forgotten
        return;
    }
    QPainter(this).drawImage(band, image);
    // Data items are not drawn: the program never adds any.
}

}  // namespace orvane::ui
