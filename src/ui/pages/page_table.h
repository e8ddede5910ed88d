// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's pages, one row each. From a row derive: the name `orvane --screenshot
// --page NAME` knows it by (and --list-pages prints, in this order), the sub-page option that
// brings it up on its device's page, the profile set the page header shows for it, and the
// layout file the skin loader places into its placeholder, and — for a page whose controller
// implements ui::pages::Page — the controller itself, built and bound by the pages feature.
// A page added later is one row here.

#include <memory>
#include <optional>

#include "device/models.h"

namespace orvane::ui::pages {

class Page;          // ui/pages/page.h
struct PageContext;  // ui/pages/page.h
using MakePageFn = std::unique_ptr<Page> (*)(const PageContext&);

/// The profile set a sub-page shows in its page header.
enum class HeaderSet { Lighting, Keys, Disabled, Unchanged };

struct PageRow {
    const char* name;                          ///< the page's name on the command line
    std::optional<device::DeviceKind> device;  ///< the device whose tab shows the page
    const char* option;                        ///< its sub-page option, the title button of a window, or null
    const char* placeholder;                   ///< where its layout goes in the window's layout, or null
    const char* layout;                        ///< the layout's resource id (res.xml, else "<base>.ui")
    HeaderSet header = HeaderSet::Unchanged;
    bool opensWindow = false;                  ///< option is a title button that opens a window
    /// Builds the page's controller (MakePage<P>); null for the pages a feature of their own builds.
    MakePageFn make = nullptr;
};

inline constexpr PageRow kPages[] = {
    {"kb-lighting", device::DeviceKind::Keyboard, "kb_deng_Op_tab", "kb_Deng_UI", "keyboard_deng.xml", HeaderSet::Lighting},
    {"kb-keys", device::DeviceKind::Keyboard, "kb_key_Op_tab", "kb_Key_UI", "keyboard_key.xml", HeaderSet::Keys},
    {"kb-macros", device::DeviceKind::Keyboard, "kb_macro_Op_tab", "kb_Macro_UI", "keyboard_macro.xml", HeaderSet::Disabled},
    {"ms-performance", device::DeviceKind::Mouse, "ms_rich_Op_tab", "MS_DPI_UI", "Mouse_DPI.xml", HeaderSet::Lighting},
    {"ms-lighting", device::DeviceKind::Mouse, "ms_deng_Op_tab", "MS_Deng_UI", "Mouse_deng.xml", HeaderSet::Lighting},
    {"ms-buttons", device::DeviceKind::Mouse, "ms_key_Op_tab", "MS_Key_UI", "Mouse_key.xml", HeaderSet::Keys},
    {"ms-macros", device::DeviceKind::Mouse, "ms_macro_Op_tab", "MS_Macro_UI", "Mouse_macro.xml", HeaderSet::Disabled},
    {"ms-cursor", device::DeviceKind::Mouse, "ms_cursor_Op_tab", "MS_CURSOR_UI", "Mouse_cursor.xml", HeaderSet::Unchanged},
    {"mp", device::DeviceKind::Mousepad, nullptr, "MP_deng_UI", "MousePad_deng.xml"},
    {"settings", std::nullopt, "setbtn", nullptr, nullptr, HeaderSet::Unchanged, true},
};

/// A sub-page: a page with an option on its device's page.
constexpr bool IsSubPage(const PageRow& row) { return row.device && row.option && !row.opensWindow; }

}  // namespace orvane::ui::pages
