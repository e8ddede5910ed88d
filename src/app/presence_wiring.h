#pragma once
// DeviceWiring: the devices' side of the window. It holds the keyboard, mouse and mousepad
// models, the run-time flags and the seams of the presence actions, runs the three presence
// monitors in their worker slots, and connects the mouse and mousepad pages to the router,
// the 1-second flush and the re-read requests. Create it after the window and install() it
// before the window's initialise(); it stops the window's workers before it goes.

#include <array>
#include <atomic>
#include <memory>

#include "app/presence_clients.h"
#include "app/presence_links.h"
#include "platform/pointer_settings.h"
#include "ui/pages/mouse_dpi_page.h"
#include "ui/pages/mouse_slots.h"
#include "ui/pages/mouse_subpages.h"
#include "ui/pages/pad_page.h"

namespace orvane::app {

class MainWindow;

class DeviceWiring {
public:
    /// pointerBackend: where the desktop pointer speed and wheel lines go; null: the
    /// running desktop's.
    explicit DeviceWiring(MainWindow& window, std::unique_ptr<platform::PointerBackend> pointerBackend = nullptr);
    ~DeviceWiring();
    DeviceWiring(const DeviceWiring&) = delete;
    DeviceWiring& operator=(const DeviceWiring&) = delete;

    /// Plugs the monitors into the worker slots and the pages into the router and the
    /// window's hooks. Links must be filled in before.
    void install();

    /// Every monitor has finished its first pass: the devices present at start are
    /// connected and their pages filled.
    bool settled() const;
    /// Brings up the mouse page's performance section (when the mouse is there).
    void showMousePerformance();

    void refreshMousePage() { mouseSlots.refresh(); }
    void refreshPadPage() { padPage.refresh(); }

    keyboard::KeyboardModel keyboard;
    mouse::MouseModel mouse;
    mousepad::PadModel pad;
    RuntimeFlags flags;
    PresenceLinks links;
    /// On a monitor's thread after its device came or went (the lighting workers look
    /// again). Set before the workers start.
    std::function<void()> presenceChanged;
    platform::PointerSettings pointer;

    ui::pages::MouseDpiPage dpiPage;
    ui::pages::MouseSlotsPage mouseSlots;
    ui::pages::MouseSubPages mouseSubPages;
    ui::pages::PadPage padPage;

private:
    struct Monitor;
    void installPages();
    void installMonitors();
    void onSubPageOption(const ui::Notification& n);
    void showMousePageAfterConnect();

    MainWindow& window_;
    PresenceContext context_;
    std::array<std::unique_ptr<Monitor>, 3> monitors_;
};

}  // namespace orvane::app
