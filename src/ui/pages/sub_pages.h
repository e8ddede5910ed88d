// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sub-pages of a device page ("kb_tab_switch", "ms_tab_switch"): an option shows its page
// and sets the profile controls of the page header for it (lighting profiles, key profiles,
// or disabled while the macro editor shows). One routine for both devices, one table each.

#include <QString>

#include <span>

#include "ui/pages/page_controls.h"

namespace orvane::ui::pages {

/// The profile set a sub-page shows in its page header.
enum class HeaderSet { Lighting, Keys, Disabled, Unchanged };

struct SubPageOption {
    const char* option;
    int page;
    HeaderSet header;
};

struct SubPageTable {
    const char* device;  ///< the names' prefix: "kb" or "ms"
    const char* stack;   ///< the stacked widget of the sub-pages
    int keyPage;         ///< the key editor's page
    std::span<const SubPageOption> options;
};

inline constexpr SubPageOption kKeyboardSubPageOptions[] = {
    {"kb_deng_Op_tab", 0, HeaderSet::Lighting},
    {"kb_macro_Op_tab", 1, HeaderSet::Disabled},
    {"kb_key_Op_tab", 2, HeaderSet::Keys},
};
inline constexpr SubPageOption kMouseSubPageOptions[] = {
    {"ms_deng_Op_tab", 0, HeaderSet::Lighting},
    {"ms_macro_Op_tab", 1, HeaderSet::Disabled},
    {"ms_key_Op_tab", 2, HeaderSet::Keys},
    {"ms_rich_Op_tab", 3, HeaderSet::Lighting},
    {"ms_cursor_Op_tab", 4, HeaderSet::Unchanged},
};
inline constexpr SubPageTable kKeyboardSubPages{"kb", "kb_tab_switch", 2, kKeyboardSubPageOptions};
inline constexpr SubPageTable kMouseSubPages{"ms", "ms_tab_switch", 2, kMouseSubPageOptions};

class SubPages {
public:
    SubPages(ControlLookup lookup, const SubPageTable& table) : controls_(std::move(lookup)), table_(table) {}

    /// Shows the page of that option and its header; false when the name is none of them.
    bool select(const QString& option);
    /// The option of that name in a table, or null.
    static const SubPageOption* Find(const SubPageTable& table, const QString& name);

private:
    QString name(const char* suffix) const;
    void showHeader(HeaderSet set);

    PageControls controls_;
    const SubPageTable& table_;
};

}  // namespace orvane::ui::pages
