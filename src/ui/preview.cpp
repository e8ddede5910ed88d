#include "ui/preview.h"

#include <QEvent>
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
    if (c.alpha() != 0) QPainter(this).fillRect(rect(), c);
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
