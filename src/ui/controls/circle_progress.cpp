// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/circle_progress.h"

#include <QPainter>

#include <algorithm>

namespace orvane::ui {

CircleProgress::CircleProgress(QWidget* parent) : QWidget(parent) {}

int CircleProgress::SweepDegrees(int value, int minimum, int maximum) {
    const double range = double(maximum) - double(minimum);
    if (range == 0) return 0;
    const double sweep = double(value) / range * 360.0;
    return std::clamp(static_cast<int>(sweep), 0, 360);  // truncated, as the ring is drawn
}

void CircleProgress::setValue(int v) { value_ = v; update(); }
void CircleProgress::setMinimum(int v) { minimum_ = v; update(); }
void CircleProgress::setMaximum(int v) { maximum_ = v; update(); }
void CircleProgress::setBkColor(const QColor& c) { bk_ = c; update(); }
void CircleProgress::setForeColor(const QColor& c) { fore_ = c; update(); }

void CircleProgress::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QRectF all(0, 0, width(), height());
    p.setBrush(bk_);
    p.drawEllipse(all);
    // Qt counts angles counter-clockwise in 1/16 degree with 0 at three o'clock: the start
    // straight down is -90 degrees and a clockwise sweep is negative.
    const int sweep = SweepDegrees(value_, minimum_, maximum_);
    if (sweep > 0) {
        p.setBrush(fore_);
        p.drawPie(all, -90 * 16, -sweep * 16);
    }
    p.setBrush(Qt::white);
    p.drawEllipse(all.adjusted(kRingWidth, kRingWidth, -kRingWidth, -kRingWidth));
}

}  // namespace orvane::ui
