// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/colour_picker.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "ui/pages/device_models.h"

namespace orvane::ui::pages {

namespace {

/// Bit position of the R, G and B components in 0xAARRGGBB.
constexpr int ShiftOf(size_t component) { return 16 - 8 * int(component); }

}  // namespace

ColourPicker::ColourPicker(ControlLookup lookup, ColourControlNames names, Chosen chosen)
    : controls_(std::move(lookup)), names_(names), chosen_(std::move(chosen)) {
    using namespace event;
    bindings_
        .on(names_.palette, kColorChanged,
            [this](const Notification&) {
                if (const auto colour = controls_.paletteColour(QLatin1String(names_.palette))) choose(*colour);
            })
        .onFamily(names_.presetFamily, int(mouse::kSwatchColours.size()), kClick, [this](const Notification&, int k) {
            if (size_t(k) < mouse::kSwatchColours.size()) choose(mouse::kSwatchColours[size_t(k)]);
        });
    for (size_t c = 0; c < names_.edits.size(); ++c)
        bindings_.on(names_.edits[c], kTextChanged, [this, c](const Notification&) { chooseComponent(c); });
}

void ColourPicker::prepare() const {
    for (size_t k = 0; k < mouse::kSwatchColours.size(); ++k)
        controls_.setSwatch(QLatin1String(names_.presetFamily) + QString::number(k), mouse::kSwatchColours[k]);
    // Digits only; a number above 255 is still typeable and is clamped when chosen.
    for (const char* edit : names_.edits)
        if (auto* e = controls_.find<QLineEdit>(QLatin1String(edit))) {
            e->setMaxLength(3);
            e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,3}")), e));
        }
    controls_.setSwatch(QLatin1String(names_.swatch), swatch_);
}

void ColourPicker::show(uint32_t argb) {
    controls_.setPaletteColour(QLatin1String(names_.palette), argb);
    showInSwatchAndEdits(argb);
}

void ColourPicker::showInSwatchAndEdits(uint32_t argb) {
    swatch_ = 0xFF000000u | argb;
    controls_.setSwatch(QLatin1String(names_.swatch), swatch_);
    for (size_t c = 0; c < names_.edits.size(); ++c)
        controls_.setText(QLatin1String(names_.edits[c]), QString::number((argb >> ShiftOf(c)) & 0xFF));
}

// A palette or preset choice leaves the palette's own selection as it is.
void ColourPicker::choose(uint32_t argb) {
    showInSwatchAndEdits(argb);
    report({swatch_, std::nullopt});
}

void ColourPicker::chooseComponent(size_t component) {
    const QString edit = QLatin1String(names_.edits[component]);
    const int typed = mouse::EditNumber(controls_.text(edit).toStdString());
    if (typed > 255) controls_.setText(edit, QStringLiteral("255"));
    const uint32_t value = mouse::ClampColourComponent(typed);
    const int shift = ShiftOf(component);
    swatch_ = 0xFF000000u | (swatch_ & ~(0xFFu << shift)) | (value << shift);
    controls_.setSwatch(QLatin1String(names_.swatch), swatch_);
    controls_.setPaletteColour(QLatin1String(names_.palette), swatch_);
    report({swatch_, component});
}

void ColourPicker::report(const ColourChoice& choice) const {
    if (names_.uncheckedOnChoice) controls_.setChecked(QLatin1String(names_.uncheckedOnChoice), false);
    if (chosen_) chosen_(choice);
}

}  // namespace orvane::ui::pages
