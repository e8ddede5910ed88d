// The keyboard's connect and disconnect actions.
#include <thread>

#include "app/presence_clients.h"
#include "app/presence_ui.h"
#include "device/log.h"
#include "keyboard/keyboard_records.h"
#include "ui/pages/device_models.h"

namespace orvane::app {

using namespace presence;
using keyboard::KeyboardVariant;

namespace {
// The keyboard needs a moment after it was opened before it answers.
constexpr std::chrono::milliseconds kSettleAfterOpen{100};
}  // namespace

void KeyboardPresence::connectDeviceWork(const hid::InterfaceInfo& attributes) {
    std::this_thread::sleep_for(kSettleAfterOpen);
    ctx_.flags.keyboardVersion = attributes.versionNumber;
    // The variant is known from the product id before anything is read, so the read-back,
    // the profile selection and the page all work with this keyboard's variant.
    ctx_.keyboard.variant = keyboard::VariantAfterConnect(attributes.productId, ctx_.keyboard.variant.load());
    const auto readBack = keyboard::ReadBackKeyboard(ctx_.window.keyboard(), ctx_.keyboard, ctx_.links.keyboardProfiles);
    tooManyKeys_ = readBack.tooManyKeys;
}

void KeyboardPresence::connectUi(std::stop_token stop) {
    forgetSameMode();
    if (tooManyKeys_) {
        // Posted: the monitor does not wait for the user to close the box.
        MainWindow* window = &ctx_.window;
        window->dispatcher().post([window] { window->showMessage(QString::fromUtf8(keyboard::kTooManyKeysMessage.data(), keyboard::kTooManyKeysMessage.size()), true); });
    }
    onUi(stop, [this] {
        MainWindow& window = ctx_.window;
        SelectStored(ctx_.links, kKeyboardLightingList);
        SelectStored(ctx_.links, kKeyboardKeyList);
        if (ctx_.links.refreshKeyboardLighting) ctx_.links.refreshKeyboardLighting();
        window.scheduleRelayout(kRelayoutAfterConnect);
        ShowPanel(window, "kb_tab_panel");
        window.show();
        const bool single = ctx_.keyboard.variant == KeyboardVariant::SingleColour;
        const char* tab = KeyboardTab(ctx_.keyboard);
        SetShown(window, tab, true);
        SelectTab(window, tab);
        ctx_.flags.keyboardKind = single ? RuntimeFlags::SingleColourKeyboard : RuntimeFlags::RgbKeyboard;
        TellSettingsWindow(ctx_.links, single ? kSingleColourKeyboardConnected : kRgbKeyboardConnected);
    });
    device::Log("di");
}

void KeyboardPresence::disconnectUi(std::stop_token stop) {
    forgetSameMode();
    const bool single = ctx_.keyboard.variant == KeyboardVariant::SingleColour;
    device::Log(single ? "单色键盘不见了" : "RGB键盘不见了");
    onUi(stop, [this, single] {
        TellSettingsWindow(ctx_.links, single ? kSingleColourKeyboardGone : kRgbKeyboardGone);
        ctx_.flags.keyboardKind = RuntimeFlags::NoKeyboard;
        SetShown(ctx_.window, "kb_tab", false);
        SetShown(ctx_.window, "kb_onecolor_tab", false);
        chooseAnotherPage();
    });
}

}  // namespace orvane::app
