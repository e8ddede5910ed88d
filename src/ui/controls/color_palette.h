// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ColorPalette: the colour field of the lighting and DPI-colour sections. Hue runs left to
// right; from the top the colours go from white through the full hue to black at the bottom.
// A click or drag picks a colour; colorChanged() is emitted when the button is released, so
// a drag across the field is one change. setSelectColor() moves the marker without a signal.

#include <QColor>
#include <QWidget>

namespace orvane::ui {

class ColorPalette : public QWidget {
    Q_OBJECT
public:
    explicit ColorPalette(QWidget* parent = nullptr);

    /// 0xAARRGGBB of the selected colour (alpha always 0xFF).
    uint32_t selectColor() const { return selected_; }
    void setSelectColor(uint32_t argb);

    /// The colour at a point of the field (clamped into it).
    QColor colorAt(QPointF point) const;
    QSize sizeHint() const override { return {220, 96}; }
    QSize minimumSizeHint() const override { return {120, 60}; }

Q_SIGNALS:
    void colorChanged();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent*) override;

private:
    void pick(QPointF point);
    QPointF positionOf(uint32_t argb) const;
    void renderField();

    uint32_t selected_ = 0xFF0199CB;
    QPointF marker_;
    QImage field_;
};

}  // namespace orvane::ui
