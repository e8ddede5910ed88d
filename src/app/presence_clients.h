#pragma once
// One PresenceClient per device kind: the connect and disconnect actions of the keyboard,
// mouse and mousepad monitors. Device work (read-backs) runs on the monitor's thread with
// the device locked; the page and window steps are then carried to the UI thread in the
// order of the action tables, with the monitor waiting for them.

#include <functional>
#include <optional>
#include <stop_token>

#include "app/presence_links.h"
#include "device/identity.h"
#include "device/presence.h"
#include "ui/pages/device_models.h"

namespace orvane::app {

class MainWindow;

/// What every client reaches.
struct PresenceContext {
    MainWindow& window;
    keyboard::KeyboardModel& keyboard;
    mouse::MouseModel& mouse;
    mousepad::PadModel& pad;
    RuntimeFlags& flags;
    const PresenceLinks& links;
    /// The mouse and mousepad pages after a connect.
    std::function<void()> showMousePage;
    std::function<void()> showPadPage;
};

/// The steps all three kinds share: the same-mode option while present, the choice of
/// another page when the device goes, the UI hop.
class PresenceClientBase : public device::PresenceClient {
public:
    PresenceClientBase(PresenceContext& context, device::DeviceKind kind);
    void presentUi(std::stop_token stop) override;

protected:
    /// Runs fn on the UI thread and waits; false when withdrawn by a stop.
    bool onUi(std::stop_token stop, std::function<void()> fn);
    /// Disconnect steps 4-6: another device's page, or the window hidden when none is left.
    void chooseAnotherPage();
    void forgetSameMode() { sameModeShown_.reset(); }

    PresenceContext& ctx_;
    device::DeviceKind kind_;

private:
    std::optional<bool> sameModeShown_;  // monitor thread only
};

class KeyboardPresence final : public PresenceClientBase {
public:
    explicit KeyboardPresence(PresenceContext& context) : PresenceClientBase(context, device::DeviceKind::Keyboard) {}
    void connectDeviceWork(const hid::InterfaceInfo& attributes) override;
    void connectUi(std::stop_token stop) override;
    void disconnectUi(std::stop_token stop) override;

private:
    bool tooManyKeys_ = false;  // from the last read-back
};

class MousePresence final : public PresenceClientBase {
public:
    explicit MousePresence(PresenceContext& context) : PresenceClientBase(context, device::DeviceKind::Mouse) {}
    void connectDeviceWork(const hid::InterfaceInfo& attributes) override;
    void connectUi(std::stop_token stop) override;
    void disconnectUi(std::stop_token stop) override;
};

class PadPresence final : public PresenceClientBase {
public:
    explicit PadPresence(PresenceContext& context) : PresenceClientBase(context, device::DeviceKind::Mousepad) {}
    void connectDeviceWork(const hid::InterfaceInfo& attributes) override;
    void connectUi(std::stop_token stop) override;
    void disconnectUi(std::stop_token stop) override;
};

/// The tab of the keyboard variant last found: "kb_tab" or "kb_onecolor_tab".
const char* KeyboardTab(const keyboard::KeyboardModel& keyboard);

}  // namespace orvane::app
