// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/color_palette.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace orvane::ui {

namespace {
constexpr int kRadius = 4;  // rounded corners of the field
}

ColorPalette::ColorPalette(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::CrossCursor);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

QColor ColorPalette::colorAt(QPointF p) const {
    const double w = std::max(1, width() - 1), h = std::max(1, height() - 1);
    const double x = std::clamp(p.x(), 0.0, w) / w;
    const double y = std::clamp(p.y(), 0.0, h) / h;
    const double hue = std::min(x, 0.9999);
    // Upper half: white to the full hue; lower half: the full hue to black.
    if (y < 0.5) return QColor::fromHsvF(float(hue), float(y * 2.0), 1.0f);
    return QColor::fromHsvF(float(hue), 1.0f, float(1.0 - (y - 0.5) * 2.0));
}

QPointF ColorPalette::positionOf(uint32_t argb) const {
    const QColor c = QColor::fromRgb(argb);
    float hue = 0, saturation = 0, value = 0;
    c.getHsvF(&hue, &saturation, &value);
    if (hue < 0) hue = 0;  // grey: no hue
    const double w = std::max(1, width() - 1), h = std::max(1, height() - 1);
    // The nearer of the two halves: unsaturated colours on the upper, dark ones on the lower.
    const double y = value >= 0.999f ? saturation * 0.5 : 0.5 + (1.0 - value) * 0.5;
    return {hue * w, y * h};
}

void ColorPalette::setSelectColor(uint32_t argb) {
    selected_ = 0xFF000000u | argb;
    marker_ = positionOf(selected_);
    update();
}

void ColorPalette::renderField() {
    field_ = QImage(size(), QImage::Format_RGB32);
    for (int y = 0; y < field_.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(field_.scanLine(y));
        for (int x = 0; x < field_.width(); ++x) line[x] = colorAt(QPointF(x, y)).rgb();
    }
}

void ColorPalette::resizeEvent(QResizeEvent*) {
    renderField();
    marker_ = positionOf(selected_);
}

void ColorPalette::paintEvent(QPaintEvent*) {
    if (field_.size() != size()) renderField();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath clip;
    clip.addRoundedRect(QRectF(rect()), kRadius, kRadius);
    painter.setClipPath(clip);
    painter.drawImage(0, 0, field_);
    painter.setClipping(false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 0, 0, 160), 3));
    painter.drawEllipse(marker_, 5, 5);
    painter.setPen(QPen(Qt::white, 1.5));
    painter.drawEllipse(marker_, 5, 5);
}

void ColorPalette::pick(QPointF point) {
    const double w = std::max(1, width() - 1), h = std::max(1, height() - 1);
    marker_ = {std::clamp(point.x(), 0.0, w), std::clamp(point.y(), 0.0, h)};
    selected_ = 0xFF000000u | colorAt(marker_).rgb();
    update();
}

void ColorPalette::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) pick(e->position());
}

void ColorPalette::mouseMoveEvent(QMouseEvent* e) {
    if (e->buttons() & Qt::LeftButton) pick(e->position());
}

void ColorPalette::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    pick(e->position());
    if (!signalsBlocked()) Q_EMIT colorChanged();
}

}  // namespace orvane::ui
