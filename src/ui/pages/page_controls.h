// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// PageControls: what a page controller does to its controls, found by name at the time of
// use. Every setter is silent (the control raises no notification) and skips a control the
// skin lacks, so a page works with any skin that has a subset of its controls.

#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>

namespace orvane::ui::pages {

using ControlLookup = std::function<QWidget*(const QString& name)>;

/// Switches a look the style sheet matches on a dynamic property ([remapped="true"],
/// [selected="true"] ...) and has the style read again; nothing for a null control or no change.
void SetLook(QWidget* control, const char* property, bool on);

class PageControls {
public:
    explicit PageControls(ControlLookup lookup) : lookup_(std::move(lookup)) {}

    QWidget* find(const QString& name) const { return lookup_ ? lookup_(name) : nullptr; }
    template <class T>
    T* find(const QString& name) const { return qobject_cast<T*>(find(name)); }

    void setSlider(const QString& name, int value) const;
    void setSliderRange(const QString& name, int minimum, int maximum) const;
    int sliderValue(const QString& name, int otherwise = 0) const;
    /// Text of a label, edit or button.
    void setText(const QString& name, const QString& text) const;
    QString text(const QString& name) const;
    void setChecked(const QString& name, bool checked) const;
    bool checked(const QString& name) const;
    void setComboIndex(const QString& name, int index) const;
    /// -1 when the combo box has no selection or does not exist.
    int comboIndex(const QString& name) const;
    void setVisible(const QString& name, bool visible) const;
    void setEnabled(const QString& name, bool enabled) const;
    /// Text colour of a label, 0xAARRGGBB.
    void setTextColour(const QString& name, uint32_t argb) const;
    /// Background colour of a swatch, 0xAARRGGBB, without a background image.
    void setSwatch(const QString& name, uint32_t argb) const;
    /// Selected colour of a colour palette.
    void setPaletteColour(const QString& name, uint32_t argb) const;
    std::optional<uint32_t> paletteColour(const QString& name) const;

private:
    ControlLookup lookup_;
};

/// Case-insensitive comparison of a control name.
bool NameIs(const QString& name, const char* other);
/// The index of a control of a numbered family ("ms_DPI_color_btn_" + 7 → 7), or nullopt
/// when the name is not of that family.
std::optional<int> FamilyIndex(const QString& name, const char* prefix);
/// "#rrggbb" of 0xAARRGGBB.
QString HexColour(uint32_t argb);

}  // namespace orvane::ui::pages
