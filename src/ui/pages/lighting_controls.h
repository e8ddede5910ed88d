// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a lighting mode does to one control group of a lighting page, as the mode tables
// write it: shown (enabled and visible), visible, off (disabled and hidden), hidden,
// enabled, disabled, the two mixed forms, or left as it was.

#include <cstdint>

#include "ui/pages/page_controls.h"

namespace orvane::ui::pages {

enum class Show : uint8_t {
    Keep,
    Shown,            ///< enabled and visible
    Visible,          ///< made visible; enabled state as it was
    Off,              ///< disabled and hidden
    Hidden,           ///< made invisible; enabled state as it was
    Enabled,          ///< enabled; visibility as it was
    Disabled,         ///< disabled; visibility as it was
    VisibleDisabled,  ///< visible but disabled
    EnabledHidden,    ///< enabled but hidden
};

inline void ApplyShow(const PageControls& controls, const QString& name, Show how) {
    switch (how) {
    case Show::Keep: break;
    case Show::Shown: controls.setEnabled(name, true); controls.setVisible(name, true); break;
    case Show::Visible: controls.setVisible(name, true); break;
    case Show::Off: controls.setEnabled(name, false); controls.setVisible(name, false); break;
    case Show::Hidden: controls.setVisible(name, false); break;
    case Show::Enabled: controls.setEnabled(name, true); break;
    case Show::Disabled: controls.setEnabled(name, false); break;
    case Show::VisibleDisabled: controls.setVisible(name, true); controls.setEnabled(name, false); break;
    case Show::EnabledHidden: controls.setEnabled(name, true); controls.setVisible(name, false); break;
    }
}

}  // namespace orvane::ui::pages
