// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/message_box.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "ui/language.h"
#include "ui/skin_loader.h"

namespace orvane::app {

MessageBox::MessageBox(QWidget* owner, const ui::SkinLoader& skin, const ui::Language& language)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), language_(language) {
    setObjectName(QStringLiteral("msgwnd"));
    // The title the desktop shows (task bar, window switcher) follows the language.
    setWindowTitle(QStringLiteral("Notice"));
    setProperty("textId", QStringLiteral("msg_title_text"));
    setModal(true);
    skin.load(QStringLiteral("XML_MSG"), this);
    language_.apply(this);
    controls_.add(this);
    for (auto* button : findChildren<QAbstractButton*>()) {
        connect(button, &QAbstractButton::clicked, this, [this, button] { onClick(button->objectName()); });
    }
    adjustSize();
}

void MessageBox::setMessage(const QString& text, bool textIsId) {
    if (text.isEmpty()) return;
    auto* label = controls_.find<QLabel>(QStringLiteral("MessageText"));
    if (!label) return;
    label->setProperty("textId", textIsId ? text : QString());
    label->setTextFormat(Qt::PlainText);
    label->setText(textIsId ? language_.text(text) : text);
}

void MessageBox::onClick(const QString& sender) {
    const QString name = sender.toLower();
    if (name == QLatin1String("confirm_btn")) done(1);
    else if (name == QLatin1String("closebtn") || name == QLatin1String("cancel_btn")) done(0);
}

int ShowMessage(QWidget* owner, const QString& text, bool textIsId, const ui::SkinLoader& skin,
                const ui::Language& language) {
    MessageBox box(owner, skin, language);
    box.setMessage(text, textIsId);
    box.adjustSize();
    // Centred on the owner, or on the screen while the owner is hidden in the tray.
    QRect frame = owner && owner->isVisible() ? owner->frameGeometry()
                  : QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                     : QRect();
    if (frame.isValid()) box.move(frame.center() - box.rect().center());
    return box.exec() == 1 ? 1 : 0;
}

}  // namespace orvane::app
