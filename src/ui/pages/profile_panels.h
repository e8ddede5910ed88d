// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ProfilePanels: the five profile panels of the device pages, the buttons that show and
// hide each page's profile tools, the first fill of the lists at start, and the selection of
// the recorded profiles when a device arrives.
//
// Page header controls per device P: "P_profile_select_tab" (item 0 the lighting list, item
// 1 the key list), "P_profile_fun_spead_tab" (the tools of that list, shown and hidden by
// "P_profile_fun_spread_btn"). The sub-page options of the keyboard and mouse pages set
// them (SubPages, ui/pages/sub_pages.h).

#include <array>
#include <memory>
#include <optional>

#include "ui/pages/profile_panel.h"

namespace orvane::ui::pages {

class ProfilePanels {
public:
    explicit ProfilePanels(ProfilePanelEnv env);
    ProfilePanels(const ProfilePanels&) = delete;
    ProfilePanels& operator=(const ProfilePanels&) = delete;

    /// Fills every list from its index; the first start creates "New Profile 1" per list. A
    /// missing or damaged default file is reported once the window is up.
    void initLists();
    /// The spread buttons and every panel's controls.
    const PageBindings& bindings() const { return bindings_; }
    /// Selects the entry the index records as "select" when it is not already selected
    /// (loaded and sent); a position outside the list selects nothing.
    void selectRecorded(profiles::ListId id);

    ProfilePanel& panel(profiles::ListId id) { return *panels_[size_t(id)]; }
    /// The list whose list control has this name.
    static std::optional<profiles::ListId> ListOfCombo(const QString& name);

private:
    ProfilePanelEnv env_;
    PageControls controls_;
    std::array<std::unique_ptr<ProfilePanel>, profiles::kLists.size()> panels_;
    PageBindings bindings_;
};

}  // namespace orvane::ui::pages
