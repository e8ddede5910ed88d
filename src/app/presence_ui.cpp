#include "app/presence_ui.h"

#include "app/presence_clients.h"

#include <QAbstractButton>
#include <QStackedWidget>

namespace orvane::app {

namespace presence {

void SetShown(MainWindow& window, const char* name, bool shown) {
    if (QWidget* w = window.control(QLatin1String(name))) w->setVisible(shown);
}

void SelectTab(MainWindow& window, const char* tab) {
    auto* option = window.control<QAbstractButton>(QLatin1String(tab));
    if (!option) return;
    if (!option->isChecked()) option->setChecked(true);        // notifies; the routing switches
    else window.finishSelectionChange(QLatin1String(tab));  // already selected: bring its page up
}

void ShowPanel(MainWindow& window, const char* panel) {
    QWidget* w = window.control(QLatin1String(panel));
    // A page of a page switch is shown by the switch; showing it here would lay it over
    // the page in front.
    if (w && !qobject_cast<QStackedWidget*>(w->parentWidget())) w->show();
}

void SelectStored(const PresenceLinks& links, const StoredProfileList& list) {
    if (links.selectStoredProfile) links.selectStoredProfile(list);
}

void TellSettingsWindow(const PresenceLinks& links, SettingsMessage message) {
    if (links.settingsWindowMessage) links.settingsWindowMessage(message);
}

}  // namespace presence

using namespace presence;
using device::DeviceKind;

namespace {

// Per kind: its same-mode option, and what the disconnect chooses: the first device's page
// when that one is connected, else the second's, else the window is hidden (telling the
// settings window first where the table says so).
struct KindRow {
    DeviceKind kind;
    const char* sameModeOption;
    DeviceKind first;
    DeviceKind second;
    bool closeSettingsWhenLast;
};
constexpr std::array<KindRow, 3> kKinds{{
    {DeviceKind::Keyboard, "kb_deng_same_mode", DeviceKind::Mouse, DeviceKind::Mousepad, true},
    {DeviceKind::Mouse, "ms_deng_same_mode", DeviceKind::Keyboard, DeviceKind::Mousepad, true},
    {DeviceKind::Mousepad, "mp_deng_same_mode", DeviceKind::Keyboard, DeviceKind::Mouse, false},
}};

const KindRow& RowOf(DeviceKind kind) {
    for (const auto& row : kKinds)
        if (row.kind == kind) return row;
    return kKinds[0];
}

bool Connected(MainWindow& window, DeviceKind kind) {
    switch (kind) {
    case DeviceKind::Keyboard: return window.keyboard().connected;
    case DeviceKind::Mouse: return window.mouse().connected;
    case DeviceKind::Mousepad: return window.mousepad().connected;
    }
    return false;
}

const char* TabOf(const PresenceContext& ctx, DeviceKind kind) {
    switch (kind) {
    case DeviceKind::Keyboard: return KeyboardTab(ctx.keyboard);
    case DeviceKind::Mouse: return "ms_tab";
    case DeviceKind::Mousepad: return "mp_tab";
    }
    return "";
}

}  // namespace

const char* KeyboardTab(const keyboard::KeyboardModel& keyboard) {
    return keyboard::RowOf(keyboard.variant.load()).tab.data();
}

PresenceClientBase::PresenceClientBase(PresenceContext& context, DeviceKind kind) : ctx_(context), kind_(kind) {}

bool PresenceClientBase::onUi(std::stop_token stop, std::function<void()> fn) {
    return ctx_.window.dispatcher().send(std::move(fn), stop);
}

void PresenceClientBase::presentUi(std::stop_token stop) {
    const KindRow& row = RowOf(kind_);
    const bool show = Connected(ctx_.window, row.first) || Connected(ctx_.window, row.second);
    if (sameModeShown_ == show) return;  // probes come every 100 ms: touch the UI on a change only
    if (onUi(stop, [this, &row, show] { SetShown(ctx_.window, row.sameModeOption, show); })) sameModeShown_ = show;
}

void PresenceClientBase::chooseAnotherPage() {
    const KindRow& row = RowOf(kind_);
    MainWindow& window = ctx_.window;
    if (Connected(window, row.first)) {
        SelectTab(window, TabOf(ctx_, row.first));
    } else if (!Connected(window, row.second)) {
        if (row.closeSettingsWhenLast) window.onLastDeviceGone();
        window.hide();
    } else {
        SelectTab(window, TabOf(ctx_, row.second));
    }
}

}  // namespace orvane::app
