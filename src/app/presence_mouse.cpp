// The mouse's connect and disconnect actions.
#include "app/presence_clients.h"
#include "app/presence_ui.h"
#include "ui/pages/device_models.h"

namespace orvane::app {

using namespace presence;

namespace {
// "slots" is a keyword macro of Qt; the records' member of that name is reached with the
// macro lifted.
#pragma push_macro("slots")
#undef slots
void TakePointerValuesOfSlotZero(mouse::MouseData& d) {
    d.pointerSpeed = uint8_t(mouse::StoredPointerSpeed(d.block.slots[0].pointerSpeed()));
    d.wheelLines = uint8_t(mouse::StoredWheelLines(d.block.slots[0].wheelLines()));
}
#pragma pop_macro("slots")
}  // namespace

void MousePresence::connectDeviceWork(const hid::InterfaceInfo& attributes) {
    // Set before anything else: the profile load picks the model's default lighting, and
    // the page refresh shows stage 6 by it.
    ctx_.mouse.alternativeModel = mouse::AlternativeModelAfterConnect(attributes.productId, ctx_.mouse.alternativeModel);
    protocol::DeviceConnection& connection = ctx_.window.mouse();
    if (ctx_.links.loadMouseLightingProfile) {
        ctx_.links.loadMouseLightingProfile();
    } else {
        // No profile store: the state shown is the one the mouse keeps in its slots, with
        // the pointer values its slot-0 record carries where a lighting profile keeps them.
        if (mouse::ReadMouseSlotRecords(connection, ctx_.mouse) == protocol::kOk)
            ctx_.mouse.update(TakePointerValuesOfSlotZero);
    }
    mouse::ReadBackMouse(connection, ctx_.mouse, ctx_.links.mouseProfiles);
}

void MousePresence::connectUi(std::stop_token stop) {
    forgetSameMode();
    onUi(stop, [this] {
        MainWindow& window = ctx_.window;
        SelectStored(ctx_.links, kMouseLightingList);
        SelectStored(ctx_.links, kMouseKeyList);
        if (ctx_.showMousePage) ctx_.showMousePage();
        SetShown(window, "ms_tab", true);
        SelectTab(window, "ms_tab");
        window.scheduleRelayout(kRelayoutAfterConnect);
        ShowPanel(window, "ms_tab_panel");
        window.show();
    });
    if (ctx_.links.readMouseCursorSequences && !stop.stop_requested()) ctx_.links.readMouseCursorSequences();
    onUi(stop, [this] {
        ctx_.flags.mousePresent = true;
        TellSettingsWindow(ctx_.links, kMouseConnected);
    });
}

void MousePresence::disconnectUi(std::stop_token stop) {
    forgetSameMode();
    onUi(stop, [this] {
        SetShown(ctx_.window, "ms_tab", false);
        ctx_.flags.mousePresent = false;
        TellSettingsWindow(ctx_.links, kMouseGone);
        chooseAnotherPage();
    });
}

}  // namespace orvane::app
