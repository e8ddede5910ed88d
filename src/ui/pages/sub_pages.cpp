// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/sub_pages.h"

#include <QStackedWidget>

namespace orvane::ui::pages {

namespace {
// The header's profile controls, after the device's prefix.
constexpr const char* kHeaderControls[] = {"_profile_select_tab", "_profile_fun_spead_tab", "_deng_profile_edit",
                                           "_key_profile_edit", "_profile_fun_spread_btn"};
}  // namespace

SubPages::SubPages(ControlLookup lookup, device::DeviceKind device)
    : controls_(std::move(lookup)), device_(device), prefix_(QLatin1String(device::KindTag(device).data(), qsizetype(device::KindTag(device).size()))) {}

const PageRow* SubPages::Find(const QString& option) {
    for (const auto& row : kPages)
        if (IsSubPage(row) && NameIs(option, row.option)) return &row;
    return nullptr;
}

QString SubPages::name(const char* suffix) const { return prefix_ + QLatin1String(suffix); }

const PageRow* SubPages::select(const QString& option) {
    const PageRow* row = Find(option);
    if (!row || row->device != device_) return nullptr;
    auto* stack = controls_.find<QStackedWidget>(name("_tab_switch"));
    QWidget* page = row->placeholder ? controls_.find(QLatin1String(row->placeholder)) : nullptr;
    while (page && stack && page->parentWidget() != stack) page = page->parentWidget();
    if (stack && page && stack->indexOf(page) >= 0) stack->setCurrentWidget(page);
    showHeader(row->header);
    return row;
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
    // The caption names the list the box shows; the window applies its text.
    const char* caption = item == 0 ? "profile_caption_lighting_text"
                          : device_ == device::DeviceKind::Keyboard ? "profile_caption_keys_text"
                                                                    : "profile_caption_buttons_text";
    if (QWidget* label = controls_.find(name("_profile_caption"))) label->setProperty("textId", QLatin1String(caption));
}

}  // namespace orvane::ui::pages
