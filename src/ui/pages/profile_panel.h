// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ProfilePanel: the controls of one profile list on its device page, wired to the profile
// operations. One class serves all five lists; the control names come from the list's
// control word "P_K" ("kb_deng", "ms_key", ...):
//   P_K_profile_combo        the list ("itemselect" selects)
//   P_K_profile_name_edit    the selected name; the new name for a rename
//   P_pro_K_<op>_btn         add, sub (delete), copy, import, export, reset, edit
//   P_K_profile_edit         the edit area the edit button shows and hides
//   P_K_profile_edit_save_btn  rename
//   P_K_profile_link_check / _link_edit / _link_name_hor  the selected profile's link
// Every change the panel makes to its controls is silent, so only the user's own choices
// start operations.

#include <QString>

#include <functional>

#include "profiles/profile_operations.h"
#include "runtime/runtime.h"
#include "ui/dialogs.h"
#include "ui/notification.h"
#include "ui/notify_bridge.h"
#include "ui/pages/page_bindings.h"
#include "ui/pages/page_controls.h"

namespace orvane::ui::pages {

/// Shown when a profile file could not be written (nothing was changed).
inline constexpr char kWriteFailedMessage[] = "message_text_21";

/// The names of one list's controls.
struct ProfilePanelNames {
    QString combo, nameEdit, editArea, renameButton;
    QString add, remove, copy, import, exportButton, reset, edit;
    QString linkCheck, linkEdit, linkArea;
    QString functionTab;  ///< the key lists' function panel ("kb_tab_function"), else empty

    static ProfilePanelNames Of(profiles::ListId id);
};

/// What the panels need from the window and the runtime.
struct ProfilePanelEnv {
    ControlLookup lookup;
    Dialogs* dialogs = nullptr;  ///< messages, the delete confirmation, file choices
    QWidget* owner = nullptr;    ///< the dialogs' owner
    /// The operations run as jobs of the list's device (they may send what they load);
    /// a loaded profile is announced with profileLoaded and modelChanged.
    runtime::Runtime* runtime = nullptr;
    /// The text of a text id in the window's language; none: names are shown as stored.
    std::function<QString(const QString& id)> translate;
};

class ProfilePanel {
public:
    ProfilePanel(profiles::ListId id, const ProfilePanelEnv& env);

    profiles::ListId id() const { return id_; }
    const ProfilePanelNames& names() const { return names_; }

    const PageBindings& bindings() const { return bindings_; }
    /// The entries and the selection as the store holds them.
    void fill();
    /// Shows what an operation did: entries, selection, name, link, page, message.
    void show(const profiles::ProfileResult& r);
    /// Selects entry n as the list would (loaded and sent), and shows it.
    void select(int n);

private:
    /// Runs a profile operation as a job of the list's device and shows its result.
    void run(const char* name, std::function<profiles::ProfileResult(profiles::ProfileOperations&)> operation);
    void remove();
    void importFile();
    void exportFile();
    void showLink(const profiles::LinkDisplay& link);
    void message(std::string_view id);
    /// The entry's text for a stored name.
    QString shownName(const std::string& name) const;

    profiles::ListId id_;
    const ProfilePanelEnv& env_;
    PageControls controls_;
    ProfilePanelNames names_;
    PageBindings bindings_;
};

}  // namespace orvane::ui::pages
