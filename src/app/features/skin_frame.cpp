// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/skin_frame.h"

#include <QAbstractButton>
#include <QEvent>
#include <QIcon>
#include <QPixmap>
#include <QStackedWidget>

#include <array>

namespace orvane::app {

namespace {

QString ColourStyle(uint32_t argb) {
    return QStringLiteral("background-color: rgba(%1, %2, %3, %4);")
        .arg((argb >> 16) & 0xFF)
        .arg((argb >> 8) & 0xFF)
        .arg(argb & 0xFF)
        .arg(((argb >> 24) & 0xFF) / 255.0, 0, 'f', 3);
}

/// The image scaled to cover the whole button and cut to it: a wide background in a
/// thumbnail of another shape leaves no empty bars.
QPixmap FilledThumbnail(const QString& file, QSize size) {
    const QPixmap image(file);
    if (image.isNull() || size.isEmpty()) return image;
    const QPixmap scaled = image.scaled(size, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    return scaled.copy((scaled.width() - size.width()) / 2, (scaled.height() - size.height()) / 2, size.width(),
                       size.height());
}

}  // namespace

CSkinFrame::CSkinFrame(QWidget* mainWindow, const ui::SkinLoader& skin, const ui::Language& language,
                       OnChoice onChoice)
    : QWidget(mainWindow, Qt::Popup | Qt::FramelessWindowHint),
      bridge_([this](const ui::Notification& n) { bindings_.dispatch(n); }),
      onChoice_(std::move(onChoice)) {
    setObjectName(QStringLiteral("CSkinFrame"));
    setWindowTitle(mainWindow ? mainWindow->windowTitle() : QString());
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_StyledBackground);
    skin.load(QStringLiteral("skin.xml"), this);
    const QString qss = skin.styleSheet();
    if (!qss.isEmpty()) setStyleSheet(qss);
    language.apply(this);
    controls_.add(this);

    using namespace ui::event;
    const std::filesystem::path folder(skin.folder().toStdString());
    for (size_t i = 0; i < appearance::kPresetImages.size(); ++i) {
        const auto& preset = appearance::kPresetImages[i];
        if (auto* b = controls_.find<QAbstractButton>(QStringLiteral("skin_image_btn_%1").arg(i))) {
            const QString file = QString::fromStdString(appearance::ImageFile(folder, preset.image).string());
            b->ensurePolished();  // the skin's sheet gives the icon size
            b->setIcon(QIcon(FilledThumbnail(file, b->iconSize())));
            b->setProperty("image", QString::fromLatin1(preset.image.data(), qsizetype(preset.image.size())));
        }
    }
    for (size_t i = 0; i < appearance::kPresetColours.size(); ++i)
        if (QWidget* b = control(QStringLiteral("skin_color_btn_%1").arg(i)))
            b->setStyleSheet(ColourStyle(appearance::kPresetColours[i]));

    bindings_
        .onFamily("skin_image_btn_", int(appearance::kPresetImages.size()), kClick,
                  [this](const ui::Notification&, int i) {
                      if (i >= 0 && size_t(i) < appearance::kPresetImages.size())
                          choose({Action::Preset, appearance::ImageChoice(appearance::kPresetImages[size_t(i)].image)});
                  })
        .onFamily("skin_color_btn_", int(appearance::kPresetColours.size()), kClick,
                  [this](const ui::Notification&, int i) {
                      if (i >= 0 && size_t(i) < appearance::kPresetColours.size())
                          choose({Action::Colour, appearance::ColourChoice(appearance::kPresetColours[size_t(i)])});
                  })
        .on("skin_Custom", kClick, [this](const ui::Notification&) { choose({Action::Custom, {}}); })
        .on("skin_reset", kClick, [this](const ui::Notification&) { choose({Action::Reset, appearance::ResetChoice()}); })
        .on("skin_image", kClick, [this](const ui::Notification&) { showPage(0); })
        .on("skin_color", kClick, [this](const ui::Notification&) { showPage(1); });
    bridge_.attach(this);
    adjustSize();
}

void CSkinFrame::placeUnder(QWidget* anchor) {
    if (!anchor) return;
    const QPoint corner = anchor->mapToGlobal(QPoint(anchor->width(), anchor->height()));
    move(corner - QPoint(width(), 0));
}

bool CSkinFrame::event(QEvent* e) {
    // Losing the focus closes it, as a click elsewhere does.
    if (e->type() == QEvent::WindowDeactivate && isVisible()) close();
    return QWidget::event(e);
}

void CSkinFrame::showPage(int page) {
    if (auto* stack = controls_.find<QStackedWidget>(QStringLiteral("skin_tab"))) stack->setCurrentIndex(page);
    const std::array<const char*, 2> options{"skin_image", "skin_color"};
    for (int i = 0; i < int(options.size()); ++i)
        if (auto* b = controls_.find<QAbstractButton>(QLatin1String(options[size_t(i)])))
            ui::Silently(b, [&](QAbstractButton* x) { x->setChecked(i == page); });
}

void CSkinFrame::choose(const Choice& choice) {
    // Closed first: a file choice that follows is not a loss of focus to close it again.
    const OnChoice onChoice = onChoice_;
    close();
    if (onChoice) onChoice(choice);
}

}  // namespace orvane::app
