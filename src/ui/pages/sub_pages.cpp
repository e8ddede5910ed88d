// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/sub_pages.h"

#include <QStackedWidget>

namespace orvane::ui::pages {

namespace {
// The header's profile controls, after the device's prefix.
constexpr const char* kHeaderControls[] = {"_profile_select_tab", "_profile_fun_spead_tab", "_deng_profile_edit",
                                           "_key_profile_edit", "_profile_fun_spread_btn"};
}  // namespace

const SubPageOption* SubPages::Find(const SubPageTable& table, const QString& name) {
    for (const auto& option : table.options)
        if (NameIs(name, option.option)) return &option;
    return nullptr;
}

QString SubPages::name(const char* suffix) const { return QLatin1String(table_.device) + QLatin1String(suffix); }

bool SubPages::select(const QString& option) {
    const SubPageOption* sub = Find(table_, option);
    if (!sub) return false;
    if (auto* pages = controls_.find<QStackedWidget>(QLatin1String(table_.stack))) pages->setCurrentIndex(sub->page);
    showHeader(sub->header);
    return true;
}

void SubPages::showHeader(HeaderSet set) {
    if (set == HeaderSet::Unchanged) return;
    const bool enabled = set != HeaderSet::Disabled;
    for (const char* control : kHeaderControls) controls_.setEnabled(name(control), enabled);
    if (!enabled) return;
    const int item = set == HeaderSet::Keys ? 1 : 0;
    for (const char* stack : {"_profile_select_tab", "_profile_fun_spead_tab"})
        if (auto* w = controls_.find<QStackedWidget>(name(stack))) w->setCurrentIndex(item);
    controls_.setVisible(name("_profile_select_tab"), true);
    controls_.setVisible(name("_profile_fun_spead_tab"), false);
    controls_.setVisible(name("_deng_profile_edit"), item == 0);
    controls_.setVisible(name("_key_profile_edit"), item == 1);
    controls_.setVisible(name("_profile_fun_spread_btn"), true);
}

}  // namespace orvane::ui::pages
