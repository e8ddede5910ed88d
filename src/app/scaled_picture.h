// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A device picture that follows the window's size: the frame (drawn at its size from the
// skin's SVG) and the key and zone controls placed on it are scaled together from the size
// the skin lays them out for, so that a maximised window shows a larger picture and a narrow
// one a smaller picture rather than a scroll bar.

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <vector>

namespace orvane::app {

/// How much of the room a picture may take, and its smallest and largest scale.
struct PictureFit {
    /// The share of its page's width (a picture beside panels takes less than one above them).
    double widthShare = 1.0;
    /// The share of the window's height.
    double heightShare = 0.4;
    double smallest = 0.8;
    double largest = 1.8;
};

class ScaledPicture : public QObject {
public:
    static constexpr double kSmallest = PictureFit{}.smallest;
    static constexpr double kLargest = PictureFit{}.largest;
    static constexpr double kHeightShare = PictureFit{}.heightShare;

    /// Scales `picture` (a frame of fixed size) with its window: the width the window gives
    /// its pages (at most `pagesWidth`, less `margins`) and the window's height, as `fit`
    /// allows. Does nothing for a missing picture.
    static void Attach(QWidget* picture, int pagesWidth, int margins, PictureFit fit = {});

    /// The scale for a picture of `design` size in `room` (width of its page, height of
    /// its window).
    static double ScaleFor(QSize design, QSize room, PictureFit fit = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ScaledPicture(QWidget* picture, int pagesWidth, int margins, PictureFit fit);
    void place();

    QPointer<QWidget> picture_;
    QSize design_;
    int pagesWidth_;
    int margins_;
    PictureFit fit_;
    std::vector<std::pair<QPointer<QWidget>, QRect>> children_;
    double scale_ = 1.0;
};

}  // namespace orvane::app
