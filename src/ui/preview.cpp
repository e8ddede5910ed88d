// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/preview.h"

#include <algorithm>

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPointer>
#include <QThread>

namespace orvane::ui {

namespace {
const char kOverlayName[] = "qt_preview_overlay";
}

// A child covering its control; transparent to the mouse so that the control underneath
// keeps its clicks and hover.
PreviewOverlay::PreviewOverlay(QWidget* control) : QWidget(control) {
    setObjectName(QLatin1String(kOverlayName));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(control->rect());
    control->installEventFilter(this);
    show();
}

void PreviewOverlay::set(uint32_t gbr, uint8_t alpha) {
    const uint32_t packed = (uint32_t(alpha) << 24) | (gbr & 0xFFFFFF);
    if (packed_.exchange(packed) == packed) return;
    if (QThread::currentThread() == thread()) {
        update();
        return;
    }
    if (!updatePending_.exchange(true)) {
        QPointer<PreviewOverlay> self(this);
        QMetaObject::invokeMethod(this, [self] {
            if (!self) return;
            self->updatePending_ = false;
            self->update();
        }, Qt::QueuedConnection);
    }
}

QColor PreviewOverlay::color() const {
    const uint32_t p = packed_.load();
    return QColor(int(p & 0xFF), int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p >> 24));
}

void PreviewOverlay::paintEvent(QPaintEvent*) {
    const QColor c = color();
    if (c.alpha() == 0) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(c);
    painter.drawRoundedRect(QRectF(rect()), 2.5, 2.5);
    // A mostly opaque colour hides the picture's legend: the key's legend is drawn again on
    // it, dark on a light colour and light on a dark one.
    const QString legend = parentWidget()->property("legend").toString();
    if (legend.isEmpty() || c.alpha() < 128) return;
    const double alpha = c.alphaF();
    const double shown = alpha * (0.2126 * c.redF() + 0.7152 * c.greenF() + 0.0722 * c.blueF()) + (1 - alpha) * 0.09;
    painter.setPen(shown > 0.5 ? QColor(0x15, 0x17, 0x1b) : QColor(0xe6, 0xea, 0xef));
    QFont font = painter.font();
    // Sized for a 22-pixel key; a picture drawn larger or smaller scales its legends too.
    const int size = legend.size() <= 2 ? 11 : legend.size() <= 3 ? 10 : legend.size() <= 4 ? 9 : 8;
    int pixels = std::max(6, size * height() / 22);
    font.setPixelSize(pixels);
    if (legend.size() > 3) font.setStretch(QFont::SemiCondensed);
    // Within the key with a pixel to spare on each side, however long the legend.
    while (pixels > 5 && QFontMetrics(font).horizontalAdvance(legend) > width() - 2) font.setPixelSize(--pixels);
    painter.setFont(font);
    painter.drawText(rect(), Qt::AlignCenter, legend);
}

bool PreviewOverlay::eventFilter(QObject* watched, QEvent* e) {
    if (watched == parent() && e->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return false;
}

PreviewOverlay* Preview::of(const QWidget* control) {
    return control ? control->findChild<PreviewOverlay*>(QLatin1String(kOverlayName), Qt::FindDirectChildrenOnly)
                   : nullptr;
}

PreviewOverlay* Preview::enable(QWidget* control) {
    if (!control) return nullptr;
    if (auto* existing = of(control)) return existing;
    return new PreviewOverlay(control);
}

}  // namespace orvane::ui
