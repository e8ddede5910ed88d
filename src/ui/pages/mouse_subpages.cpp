#include "ui/pages/mouse_subpages.h"

#include <QStackedWidget>
#include <QTabWidget>

#include <array>

namespace orvane::ui::pages {

namespace {

enum class ProfileSet { Lighting, Keys, Disabled, Unchanged };

struct SubPage {
    const char* option;
    int page;
    ProfileSet profiles;
};
constexpr int kKeyPage = 2;
constexpr std::array<SubPage, 5> kSubPages{{
    {"ms_deng_Op_tab", 0, ProfileSet::Lighting},
    {"ms_macro_Op_tab", 1, ProfileSet::Disabled},
    {"ms_key_Op_tab", kKeyPage, ProfileSet::Keys},
    {"ms_rich_Op_tab", 3, ProfileSet::Lighting},
    {"ms_cursor_Op_tab", 4, ProfileSet::Unchanged},
}};

constexpr std::array<const char*, 5> kProfileControls{"ms_profile_select_tab", "ms_profile_fun_spead_tab",
                                                      "ms_deng_profile_edit", "ms_key_profile_edit",
                                                      "ms_profile_fun_spread_btn"};

const SubPage* Find(const QString& name) {
    for (const auto& p : kSubPages)
        if (NameIs(name, p.option)) return &p;
    return nullptr;
}

void ShowPage(QWidget* pages, int index) {
    if (auto* stack = qobject_cast<QStackedWidget*>(pages)) stack->setCurrentIndex(index);
    else if (auto* tabs = qobject_cast<QTabWidget*>(pages)) tabs->setCurrentIndex(index);
}

int CurrentPage(QWidget* pages) {
    if (auto* stack = qobject_cast<QStackedWidget*>(pages)) return stack->currentIndex();
    if (auto* tabs = qobject_cast<QTabWidget*>(pages)) return tabs->currentIndex();
    return -1;
}

}  // namespace

bool MouseSubPages::isOption(const QString& name) { return Find(name) != nullptr; }

bool MouseSubPages::select(const QString& option) {
    const SubPage* sub = Find(option);
    if (!sub) return false;
    QWidget* pages = controls_.find(QStringLiteral("ms_tab_switch"));
    if (sub->page == kKeyPage && CurrentPage(pages) != kKeyPage) {
        controls_.setVisible(QStringLiteral("ms_tab_function"), false);
        controls_.setEnabled(QStringLiteral("ms_tab_function"), false);
    }
    ShowPage(pages, sub->page);
    switch (sub->profiles) {
    case ProfileSet::Lighting: showProfileControls(0); break;
    case ProfileSet::Keys: showProfileControls(1); break;
    case ProfileSet::Disabled: enableProfileControls(false); break;
    case ProfileSet::Unchanged: break;
    }
    return true;
}

void MouseSubPages::showProfileControls(int set) {
    ShowPage(controls_.find(QStringLiteral("ms_profile_select_tab")), set);
    ShowPage(controls_.find(QStringLiteral("ms_profile_fun_spead_tab")), set);
    controls_.setVisible(QStringLiteral("ms_profile_select_tab"), true);
    controls_.setVisible(QStringLiteral("ms_profile_fun_spead_tab"), false);
    controls_.setVisible(QStringLiteral("ms_deng_profile_edit"), set == 0);
    controls_.setVisible(QStringLiteral("ms_key_profile_edit"), set == 1);
    controls_.setVisible(QStringLiteral("ms_profile_fun_spread_btn"), true);
    enableProfileControls(true);
}

void MouseSubPages::enableProfileControls(bool enabled) {
    for (const char* name : kProfileControls) controls_.setEnabled(QLatin1String(name), enabled);
}

}  // namespace orvane::ui::pages
