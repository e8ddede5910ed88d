// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/scaled_picture.h"

#include <QEvent>

#include <algorithm>
#include <cmath>

namespace orvane::app {

void ScaledPicture::Attach(QWidget* picture, int pagesWidth, int margins, PictureFit fit) {
    if (picture) new ScaledPicture(picture, pagesWidth, margins, fit);  // owned by the picture
}

double ScaledPicture::ScaleFor(QSize design, QSize room, PictureFit fit) {
    if (design.isEmpty()) return 1.0;
    const double byWidth = room.width() * fit.widthShare / design.width();
    const double byHeight = room.height() * fit.heightShare / design.height();
    // Tenths, so that the keys land on whole pixels the same way at every size between.
    const double scale = std::floor(std::min(byWidth, byHeight) * 10.0 + 1e-9) / 10.0;
    return std::clamp(scale, fit.smallest, fit.largest);
}

ScaledPicture::ScaledPicture(QWidget* picture, int pagesWidth, int margins, PictureFit fit)
    : QObject(picture),
      picture_(picture),
      design_(picture->minimumSize()),
      pagesWidth_(pagesWidth),
      margins_(margins),
      fit_(fit) {
    for (QWidget* child : picture->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        children_.emplace_back(child, child->geometry());
    // The window's size, not the page's: the page grows with the picture it holds.
    picture->window()->installEventFilter(this);
    place();
}

bool ScaledPicture::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show) place();
    return false;
}

void ScaledPicture::place() {
    if (!picture_) return;
    const QWidget* window = picture_->window();
    const int width = std::min(window->width(), pagesWidth_) - margins_;
    const double scale = ScaleFor(design_, {width, window->height()}, fit_);
    if (scale == scale_ && picture_->size() == design_ * scale) return;
    scale_ = scale;
    const auto scaled = [scale](int v) { return int(std::lround(v * scale)); };
    picture_->setFixedSize(scaled(design_.width()), scaled(design_.height()));
    // Fixed sizes, as a control of the picture may have been given its design size as its
    // limits (a geometry outside them would be cut back to them).
    for (auto& [child, rect] : children_) {
        if (!child) continue;
        child->setFixedSize(scaled(rect.width()), scaled(rect.height()));
        child->move(scaled(rect.x()), scaled(rect.y()));
    }
}

}  // namespace orvane::app
