// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ColourPicker: one colour edited through a colour palette, a swatch that shows it, three
// R/G/B edits and the 30 preset swatches. It keeps those controls in step (silently) and
// reports each choice of the user; what a choice means (which record bytes, which flags,
// which profile to save) stays with the page that owns the colour.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "ui/notification.h"
#include "ui/pages/page_bindings.h"
#include "ui/pages/page_controls.h"

namespace orvane::ui::pages {

/// The controls of one colour, by name.
struct ColourControlNames {
    const char* palette;               ///< colour palette ("colorchanged")
    const char* swatch;                ///< button whose background shows the colour
    const char* presetFamily;          ///< + k (0-29): the preset swatches ("click")
    std::array<const char*, 3> edits;  ///< R, G, B edits ("textchanged"), digits, 0-255
    /// A check that every choice unchecks (the seven-colour cycle gives way to the colour);
    /// null when the colour has none.
    const char* uncheckedOnChoice = nullptr;
};

/// One choice of the user: a whole colour (palette or preset) or one typed component.
struct ColourChoice {
    uint32_t argb = 0xFF000000;       ///< the colour the swatch now shows, 0xFFRRGGBB
    std::optional<size_t> component;  ///< 0 R, 1 G, 2 B: only this edit changed

    /// Stores the choice in the R, G, B bytes at `offset` of a byte record: all three, or
    /// only the typed component (the record's other two bytes stay as they are).
    template <class Record>
    void storeInto(Record& record, size_t offset) const {
        for (size_t c = 0; c < 3; ++c)
            if (!component || *component == c) record.set(offset + c, ComponentOf(argb, c));
    }
    static constexpr uint8_t ComponentOf(uint32_t argb, size_t c) { return uint8_t(argb >> (16 - 8 * c)); }
};

class ColourPicker {
public:
    using Chosen = std::function<void(const ColourChoice&)>;

    ColourPicker(ControlLookup lookup, ColourControlNames names, Chosen chosen);

    /// Once the skin is loaded: preset swatch colours, three-digit edits, the swatch.
    void prepare() const;
    /// The colour's controls; a choice is shown, then reported to the chosen callback.
    const PageBindings& bindings() const { return bindings_; }
    /// A notification of one of the colour's controls; false when it is not the picker's.
    bool handle(const Notification& n) const { return bindings_.dispatch(n); }
    /// Shows a stored colour in the palette, the swatch and the edits; nothing is chosen.
    void show(uint32_t argb);
    /// The colour the swatch shows.
    uint32_t colour() const { return swatch_; }

private:
    void choose(uint32_t argb);
    void chooseComponent(size_t component);
    void showInSwatchAndEdits(uint32_t argb);
    void report(const ColourChoice& choice) const;

    PageControls controls_;
    ColourControlNames names_;
    Chosen chosen_;
    uint32_t swatch_ = 0xFF000000;
    PageBindings bindings_;
};

}  // namespace orvane::ui::pages
