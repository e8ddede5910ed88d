// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/page_controls.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>

#include "ui/controls/color_palette.h"
#include "ui/notify_bridge.h"

namespace orvane::ui::pages {

void SetLook(QWidget* control, const char* property, bool on) {
    if (!control || control->property(property).toBool() == on) return;
    control->setProperty(property, on);
    control->style()->unpolish(control);
    control->style()->polish(control);
}

void PageControls::setSlider(const QString& name, int value) const {
    Silently(find<QAbstractSlider>(name), [&](QAbstractSlider* s) { s->setValue(value); });
}

void PageControls::setSliderRange(const QString& name, int minimum, int maximum) const {
    Silently(find<QAbstractSlider>(name), [&](QAbstractSlider* s) { s->setRange(minimum, maximum); });
}

int PageControls::sliderValue(const QString& name, int otherwise) const {
    auto* s = find<QAbstractSlider>(name);
    return s ? s->value() : otherwise;
}

void PageControls::setText(const QString& name, const QString& text) const {
    QWidget* w = find(name);
    if (auto* label = qobject_cast<QLabel*>(w)) Silently(label, [&](QLabel* l) { l->setText(text); });
    else if (auto* edit = qobject_cast<QLineEdit*>(w)) Silently(edit, [&](QLineEdit* e) { e->setText(text); });
    else if (auto* button = qobject_cast<QAbstractButton*>(w)) Silently(button, [&](QAbstractButton* b) { b->setText(text); });
}

QString PageControls::text(const QString& name) const {
    QWidget* w = find(name);
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    return {};
}

void PageControls::setChecked(const QString& name, bool on) const {
    Silently(find<QAbstractButton>(name), [&](QAbstractButton* b) { b->setChecked(on); });
}

bool PageControls::checked(const QString& name) const {
    auto* b = find<QAbstractButton>(name);
    return b && b->isChecked();
}

void PageControls::setComboIndex(const QString& name, int index) const {
    Silently(find<QComboBox>(name), [&](QComboBox* c) {
        c->setCurrentIndex(index >= 0 && index < c->count() ? index : -1);
    });
}

int PageControls::comboIndex(const QString& name) const {
    auto* c = find<QComboBox>(name);
    return c ? c->currentIndex() : -1;
}

void PageControls::setVisible(const QString& name, bool visible) const {
    if (QWidget* w = find(name)) w->setVisible(visible);
}

void PageControls::setEnabled(const QString& name, bool enabled) const {
    if (QWidget* w = find(name)) w->setEnabled(enabled);
}

void PageControls::setTextColour(const QString& name, uint32_t argb) const {
    if (QWidget* w = find(name)) w->setStyleSheet(QStringLiteral("color: %1;").arg(HexColour(argb)));
}

void PageControls::setSwatch(const QString& name, uint32_t argb) const {
    if (QWidget* w = find(name))
        w->setStyleSheet(QStringLiteral("background-color: %1; background-image: none;").arg(HexColour(argb)));
}

void PageControls::setPaletteColour(const QString& name, uint32_t argb) const {
    Silently(find<ColorPalette>(name), [&](ColorPalette* p) { p->setSelectColor(argb); });
}

std::optional<uint32_t> PageControls::paletteColour(const QString& name) const {
    if (auto* p = find<ColorPalette>(name)) return p->selectColor();
    return std::nullopt;
}

bool NameIs(const QString& name, const char* other) {
    return name.compare(QLatin1String(other), Qt::CaseInsensitive) == 0;
}

std::optional<int> FamilyIndex(const QString& name, const char* prefix) {
    const QLatin1String p(prefix);
    if (!name.startsWith(p, Qt::CaseInsensitive) || name.size() == p.size()) return std::nullopt;
    bool ok = false;
    const int index = name.mid(p.size()).toInt(&ok, 10);
    return ok && index >= 0 ? std::optional<int>(index) : std::nullopt;
}

QString HexColour(uint32_t argb) {
    return QStringLiteral("#%1").arg(argb & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
}

}  // namespace orvane::ui::pages
