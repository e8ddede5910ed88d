// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/profile_panels.h"

#include <QTimer>

namespace orvane::ui::pages {

using profiles::ListId;

namespace {

// The button that shows and hides the profile tools of a page, and the tools.
struct Spread {
    const char* button;
    const char* tools;
};
constexpr std::array<Spread, 3> kSpreads{{
    {"kb_profile_fun_spread_btn", "kb_profile_fun_spead_tab"},
    {"ms_profile_fun_spread_btn", "ms_profile_fun_spead_tab"},
    {"mp_profile_fun_spread_btn", "mp_profile_fun_spead_tab"},
}};

}  // namespace

ProfilePanels::ProfilePanels(ProfilePanelEnv env) : env_(std::move(env)), controls_(env_.lookup) {
    for (const auto& spread : kSpreads)
        bindings_.on(spread.button, event::kClick, [this, tools = spread.tools](const Notification&) {
            if (QWidget* w = controls_.find(QLatin1String(tools))) w->setVisible(w->isHidden());
        });
    for (const auto& listSpec : profiles::kLists) {
        panels_[size_t(listSpec.id)] = std::make_unique<ProfilePanel>(listSpec.id, env_);
        bindings_.include(panels_[size_t(listSpec.id)]->bindings());
    }
}

std::optional<ListId> ProfilePanels::ListOfCombo(const QString& name) {
    for (const auto& listSpec : profiles::kLists)
        if (NameIs(name, (std::string(listSpec.controlWord) + "_profile_combo").c_str())) return listSpec.id;
    return std::nullopt;
}

void ProfilePanels::initLists() {
    for (const auto kind : {device::DeviceKind::Keyboard, device::DeviceKind::Mouse, device::DeviceKind::Mousepad}) {
        if (!env_.runtime) return;
        const auto result = env_.runtime->store.initProfileLists(kind);
        for (const ListId id : profiles::ListsOf(kind)) panel(id).fill();
        if (result.message.empty() || !env_.dialogs) continue;
        // Shown once the window is up with its language.
        const QString text = QString::fromLatin1(result.message.data(), qsizetype(result.message.size()));
        auto show = [this, text] { env_.dialogs->showMessage(env_.owner, text, true); };
        if (env_.owner) QTimer::singleShot(0, env_.owner, show);
        else show();
    }
}

void ProfilePanels::selectRecorded(ListId id) {
    if (!env_.runtime) return;
    const auto& store = env_.runtime->store;
    const int recorded = store.recordedSelection(id);
    const auto list = store.list(id);
    // A list reports a selection only when it changes.
    if (recorded < 0 || recorded >= list.count() || recorded == list.selection) return;
    panel(id).select(recorded);
}

}  // namespace orvane::ui::pages
