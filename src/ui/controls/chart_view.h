// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ChartView: a pie or histogram of named values. Skin attributes (dynamic properties of
// the placeholder): "view" ("pie" or "histpgram"), "shadowimage", "shadowimageheight",
// "pillarimage", "pillarimagewidth", "showhtml", "showtext", "font". With no data items
// only the histogram's shadow band is drawn: across the width, ending 25 px above the
// bottom (at the bottom when texts are off).

#include <QImage>
#include <QString>
#include <QWidget>

#include <utility>
#include <vector>

namespace orvane::ui {

class ChartView : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Pie = 0, Histogram = 1 };

    explicit ChartView(QWidget* parent = nullptr);

    /// One skin attribute; unknown names and values leave the view as it is. Image paths
    /// are taken relative to imageFolder.
    void setSkinAttribute(const QString& name, const QString& value);
    void setImageFolder(const QString& folder) { imageFolder_ = folder; }

    Kind kind() const { return kind_; }
    QString shadowImage() const { return shadowImage_; }
    int shadowImageHeight() const { return shadowImageHeight_; }
    bool showText() const { return showText_; }
    /// The band the shadow image occupies, empty when there is none.
    QRect shadowBand() const;

    std::vector<std::pair<QString, double>> items;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    Kind kind_ = Kind::Pie;
    QString imageFolder_;
    QString shadowImage_;
    int shadowImageHeight_ = 0;
    QString pillarImage_;
    int pillarImageWidth_ = 0;
    bool showHtml_ = false;
    bool showText_ = true;
    int font_ = -1;
};

}  // namespace orvane::ui
