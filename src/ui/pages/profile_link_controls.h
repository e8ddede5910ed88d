// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ProfileLinkControls: the link controls of one profile list, wired to the profile links.
//   P_K_profile_link_check     ticked while the selected profile is linked; ticking it asks
//                              for the application (refusing one another profile of the list
//                              is linked to, "message_text_13"), unticking removes the link
//   P_K_profile_link_btn       asks for the application and links it (no refusal)
//   P_K_profile_link_edit      the application's file name
//   P_K_profile_link_name_hor  shown while the profile is linked
// The index writes run as jobs of the list's device (file work: they run while it is not
// connected too); what they did is shown when they are done. Every change the controls make
// to themselves is silent, so only the user's own clicks start link operations.

#include <QString>

#include <functional>

#include "profiles/profile_links.h"
#include "runtime/runtime.h"
#include "ui/dialogs.h"
#include "ui/pages/page_bindings.h"
#include "ui/pages/page_controls.h"

namespace orvane::ui::pages {

struct ProfileLinkEnv {
    ControlLookup lookup;
    Dialogs* dialogs = nullptr;
    QWidget* owner = nullptr;
    runtime::Runtime* runtime = nullptr;
    /// Called after a profile was linked, with the check box (a hint about what switching
    /// needs may be shown there).
    std::function<void(QWidget* near)> linked;
};

/// The file choice for an application: any executable file, no extension.
FileChoice ApplicationChoice();

class ProfileLinkControls {
public:
    ProfileLinkControls(profiles::ListId id, ProfileLinkEnv env);
    ProfileLinkControls(const ProfileLinkControls&) = delete;
    ProfileLinkControls& operator=(const ProfileLinkControls&) = delete;

    profiles::ListId id() const { return id_; }
    const PageBindings& bindings() const { return bindings_; }
    /// Shows a link state (check box, name field, name area) without raising events.
    void show(const profiles::LinkDisplay& link);

    QString checkName() const { return check_; }
    QString buttonName() const { return button_; }

private:
    void link(profiles::LinkSource source);
    void unlink();
    runtime::DeviceSession& session();
    /// Shows a link change's result when its job is done.
    runtime::Done<profiles::LinkResult> shown();
    void showResult(const profiles::LinkResult& r);

    profiles::ListId id_;
    ProfileLinkEnv env_;
    PageControls controls_;
    QString check_, button_, edit_, area_;
    PageBindings bindings_;
};

}  // namespace orvane::ui::pages
