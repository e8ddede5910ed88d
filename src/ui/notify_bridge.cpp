// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/notify_bridge.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>

#include "ui/controls/color_palette.h"

namespace orvane::ui {

namespace {
const char kAttached[] = "_orvane_notify_attached";
}

NotifyBridge::NotifyBridge(Sink sink, QObject* parent) : QObject(parent), sink_(std::move(sink)) {}

void NotifyBridge::notify(const QString& type, QWidget* control) {
    if (sink_) sink_(Notification{type, control ? control->objectName() : QString(), control});
}

void NotifyBridge::attach(QWidget* root) {
    if (!root) return;
    attachOne(root);
    for (QWidget* w : root->findChildren<QWidget*>()) attachOne(w);
}

void NotifyBridge::attachOne(QWidget* w) {
    if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")) ||
        w->property(kAttached).toBool())
        return;
    w->setProperty(kAttached, true);

    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        connect(button, &QAbstractButton::clicked, this, [this, button] { notify(event::Click, button); });
        connect(button, &QAbstractButton::toggled, this, [this, button] { notify(event::SelectChanged, button); });
        button->installEventFilter(this);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        connect(combo, &QComboBox::currentIndexChanged, this, [this, combo] { notify(event::ItemSelect, combo); });
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        connect(list, &QListWidget::currentRowChanged, this, [this, list] { notify(event::ItemSelect, list); });
        connect(list, &QListWidget::itemClicked, this, [this, list] { notify(event::ItemClick, list); });
    } else if (auto* view = qobject_cast<QAbstractItemView*>(w)) {
        // A list over a model of the page's own (the macro editor's actions).
        connect(view, &QAbstractItemView::clicked, this, [this, view] { notify(event::ItemClick, view); });
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(w)) {
        connect(slider, &QAbstractSlider::valueChanged, this, [this, slider] {
            notify(slider->isSliderDown() ? event::MoveValueChanged : event::ValueChanged, slider);
        });
        // The drag ends: the value it left is the committed one.
        connect(slider, &QAbstractSlider::sliderReleased, this, [this, slider] { notify(event::ValueChanged, slider); });
    } else if (auto* spin = qobject_cast<QSpinBox*>(w)) {
        connect(spin, &QSpinBox::valueChanged, this, [this, spin] { notify(event::ValueChanged, spin); });
    } else if (auto* palette = qobject_cast<ColorPalette*>(w)) {
        connect(palette, &ColorPalette::colorChanged, this, [this, palette] { notify(event::ColorChanged, palette); });
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        connect(edit, &QLineEdit::textEdited, this, [this, edit] { notify(event::TextChanged, edit); });
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] { notify(event::EditDone, edit); });
    }
}

bool NotifyBridge::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::Enter || e->type() == QEvent::Leave) {
        auto* w = static_cast<QWidget*>(watched);
        if (!w->signalsBlocked())
            notify(e->type() == QEvent::Enter ? event::MouseEnter : event::MouseLeave, w);
    }
    return QObject::eventFilter(watched, e);
}

}  // namespace orvane::ui
