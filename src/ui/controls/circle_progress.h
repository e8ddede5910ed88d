// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// CircleProgress: a ring that fills clockwise from the bottom. Painted as a full pie in the
// background colour, a pie in the fore colour starting straight down with a sweep of
// value / (maximum - minimum) * 360 whole degrees, and a white disc 10 px inside the
// control's rectangle that leaves a 10 px ring. The colours can come from the style sheet
// (qproperty-bkColor, qproperty-foreColor).

#include <QColor>
#include <QWidget>

namespace orvane::ui {

class CircleProgress : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int value READ value WRITE setValue)
    Q_PROPERTY(int minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(int maximum READ maximum WRITE setMaximum)
    Q_PROPERTY(QColor bkColor READ bkColor WRITE setBkColor)
    Q_PROPERTY(QColor foreColor READ foreColor WRITE setForeColor)
public:
    static constexpr int kRingWidth = 10;

    explicit CircleProgress(QWidget* parent = nullptr);

    /// The fore pie's sweep in whole degrees, clockwise. The minimum is not subtracted from
    /// the value (the ring shows value / range); an empty range gives 0 and the result is
    /// kept within 0-360.
    static int SweepDegrees(int value, int minimum, int maximum);

    int value() const { return value_; }
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    QColor bkColor() const { return bk_; }
    QColor foreColor() const { return fore_; }
    void setValue(int v);
    void setMinimum(int v);
    void setMaximum(int v);
    void setBkColor(const QColor& c);
    void setForeColor(const QColor& c);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int value_ = 0;
    int minimum_ = 0;
    int maximum_ = 100;
    QColor bk_{0x2a, 0x2e, 0x36};
    QColor fore_{0xe0, 0x32, 0x3c};
};

}  // namespace orvane::ui
