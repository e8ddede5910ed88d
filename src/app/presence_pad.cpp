// The mousepad's connect and disconnect actions. A mousepad alone does not bring the window
// up: its page is made ready and the tray icon shows the window.
#include "app/presence_clients.h"
#include "app/presence_ui.h"
#include "ui/pages/device_models.h"

namespace orvane::app {

using namespace presence;

void PadPresence::connectDeviceWork(const hid::InterfaceInfo&) {
    mousepad::ReadBackPad(ctx_.window.mousepad(), ctx_.pad, ctx_.links.padProfiles);
}

void PadPresence::connectUi(std::stop_token stop) {
    forgetSameMode();
    onUi(stop, [this] {
        MainWindow& window = ctx_.window;
        SetShown(window, "mp_tab", true);
        SelectTab(window, "mp_tab");
        SelectStored(ctx_.links, kPadLightingList);
        if (ctx_.showPadPage) ctx_.showPadPage();
        if (QWidget* tab = window.control(QStringLiteral("mp_tab"))) tab->update();
        window.scheduleRelayout(kRelayoutAfterConnect);
    });
}

void PadPresence::disconnectUi(std::stop_token stop) {
    forgetSameMode();
    onUi(stop, [this] {
        SetShown(ctx_.window, "mp_tab", false);
        chooseAnotherPage();
    });
}

}  // namespace orvane::app
