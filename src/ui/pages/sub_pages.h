// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sub-pages of a device page ("kb_tab_switch", "ms_tab_switch"): an option shows its page
// and sets the profile controls of the page header for it (lighting profiles, key profiles,
// or disabled while the macro editor shows). One routine for every device over the rows of
// the page table (ui/pages/page_table.h); a row's page is the one of the switch that holds
// its placeholder.

#include <QString>

#include "ui/pages/page_controls.h"
#include "ui/pages/page_table.h"

namespace orvane::ui::pages {

class SubPages {
public:
    SubPages(ControlLookup lookup, device::DeviceKind device);

    /// Shows the page of that option and its header; the page's row, or null when the name
    /// is none of this device's options.
    const PageRow* select(const QString& option);
    /// The sub-page row of that option (any device), or null.
    static const PageRow* Find(const QString& option);

private:
    QString name(const char* suffix) const;
    void showHeader(HeaderSet set);

    PageControls controls_;
    device::DeviceKind device_;
    QString prefix_;  ///< "kb", "ms", "mp"
};

}  // namespace orvane::ui::pages
