// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lighting previews: a preview control shows one colour at an opacity 0-255 over the
// device picture. Colours come as the lighting code packs them: (G << 16) | (B << 8) | R.
// enable() runs once on the UI thread and returns the control's PreviewOverlay; animation
// threads keep that pointer and call set() on it, which is thread-safe: the repaint is
// coalesced and runs on the UI thread. Workers stop before the window (and the overlays)
// is destroyed.

#include <QColor>
#include <QWidget>

#include <atomic>
#include <cstdint>

namespace orvane::ui {

class PreviewOverlay : public QWidget {
public:
    explicit PreviewOverlay(QWidget* control);

    /// Colour packed (G << 16) | (B << 8) | R, opacity 0 (invisible) to 255 (opaque).
    void set(uint32_t gbr, uint8_t alpha);
    QColor color() const;

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    std::atomic<uint32_t> packed_{0};  // alpha << 24 | gbr
    std::atomic<bool> updatePending_{false};
};

namespace Preview {
/// Prepares a control for previews (opacity 0) and returns its overlay; null for null.
PreviewOverlay* enable(QWidget* control);
/// The overlay of an enabled control, or null.
PreviewOverlay* of(const QWidget* control);
constexpr uint32_t PackGbr(uint8_t r, uint8_t g, uint8_t b) {
    return (uint32_t(g) << 16) | (uint32_t(b) << 8) | r;
}
}  // namespace Preview

}  // namespace orvane::ui
