// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mouse's on-board slots ("ms_profile_0" ... "ms_profile_4") and its restore-defaults
// button ("ms_one_profile_default"). A slot switch runs as a mouse job; when the mouse has
// switched, the function panel closes and the mouse's pages are shown anew (modelChanged).

#include "runtime/runtime.h"
#include "ui/notification.h"
#include "ui/pages/mouse_dpi_page.h"
#include "ui/pages/page_bindings.h"
#include "ui/pages/page_controls.h"

namespace orvane::ui::pages {

inline constexpr char kMouseSlotFamily[] = "ms_profile_";

class MouseSlotsPage {
public:
    MouseSlotsPage(ControlLookup lookup, runtime::Runtime& runtime, MouseDpiPage& dpi);
    MouseSlotsPage(const MouseSlotsPage&) = delete;
    MouseSlotsPage& operator=(const MouseSlotsPage&) = delete;

    const PageBindings& bindings() const { return bindings_; }
    /// Marks the active slot's button.
    void refresh();

private:
    void selectSlot(int slot);
    void restoreDefaults();

    PageControls controls_;
    runtime::Runtime& runtime_;
    MouseDpiPage& dpi_;
    PageBindings bindings_;
};

}  // namespace orvane::ui::pages
