#include "app/presence_wiring.h"

#include <QAbstractButton>
#include <QTimer>

#include "app/main_window.h"
#include "app/presence_ui.h"
#include "device/log.h"
#include "ui/pages/device_models.h"
#include "ui/log.h"

namespace orvane::app {

using device::DeviceKind;

struct DeviceWiring::Monitor {
    Monitor(protocol::DeviceConnection& c, DeviceKind kind, std::unique_ptr<device::PresenceClient> cl, const char* exit)
        : connection(c), client(std::move(cl)), monitor(c, ProductsOf(kind), *client, exit), exitText(exit) {}

    static std::vector<uint16_t> ProductsOf(DeviceKind kind) {
        std::vector<uint16_t> products;
        for (const auto& m : device::kModels)
            if (m.kind == kind) products.push_back(m.productId);
        return products;
    }

    // The monitor loop, counting passes so that a start-up screenshot knows when the
    // devices present at start are in.
    void run(std::stop_token stop) {
        while (!stop.stop_requested()) {
            const bool wasConnected = connection.connected;
            if (!monitor.pass(stop)) break;
            if (connection.connected != wasConnected && presenceChanged && *presenceChanged) (*presenceChanged)();
            ++passes;
            const auto period = connection.connected ? device::PresenceMonitor::kProbePeriod
                                                     : device::PresenceMonitor::kScanPeriod;
            if (!WaitFor(stop, period)) break;
        }
        device::Log(exitText);
    }

    protocol::DeviceConnection& connection;
    std::unique_ptr<device::PresenceClient> client;
    device::PresenceMonitor monitor;
    const char* exitText;
    const std::function<void()>* presenceChanged = nullptr;
    std::atomic<int> passes{0};
};

namespace {

ui::pages::ControlLookup LookupIn(MainWindow& window) {
    return [&window](const QString& name) { return window.control(name); };
}

std::unique_ptr<platform::PointerBackend> DesktopPointer(std::unique_ptr<platform::PointerBackend> given) {
    if (given) return given;
    return platform::MakeDesktopPointerBackend([](std::string_view line) {
        qCDebug(lcShell).noquote() << QString::fromUtf8(line.data(), qsizetype(line.size()));
    });
}

}  // namespace

DeviceWiring::DeviceWiring(MainWindow& window, std::unique_ptr<platform::PointerBackend> pointerBackend)
    : pointer(DesktopPointer(std::move(pointerBackend))),
      dpiPage(LookupIn(window), mouse, links.mouseProfiles, pointer),
      mouseSlots(LookupIn(window), window.mouse(), mouse, pointer, dpiPage),
      mouseSubPages(LookupIn(window)),
      padPage(LookupIn(window), window.mousepad(), pad, links.padProfiles),
      window_(window),
      context_{window, keyboard, mouse, pad, flags, links, [this] { showMousePageAfterConnect(); }, [this] { refreshPadPage(); }} {}

DeviceWiring::~DeviceWiring() {
    // The monitors and the hooks use this object: stop them before it goes.
    window_.workers().stopAll();
    for (auto owner : {Owner::MouseDpi, Owner::MouseSlots, Owner::MouseSubPages, Owner::MousepadLighting})
        window_.router().setHandler(owner, {});
    ShellHooks& hooks = window_.hooks();
    hooks.flushMouse = hooks.flushPad = hooks.readBackMouse = hooks.reloadMouseSlotZero = hooks.readBackPad = nullptr;
}

void DeviceWiring::install() {
    installPages();
    installMonitors();
}

void DeviceWiring::installMonitors() {
    struct Kind {
        WorkerSlot slot;
        DeviceKind kind;
        protocol::DeviceConnection& connection;
        std::unique_ptr<device::PresenceClient> client;
        const char* name;
        const char* exitText;
    };
    std::array<Kind, 3> kinds{{
        {WorkerSlot::KeyboardPresence, DeviceKind::Keyboard, window_.keyboard(),
         std::make_unique<KeyboardPresence>(context_), "keyboard presence", "键盘设备侦测线程设定退出"},
        {WorkerSlot::MousePresence, DeviceKind::Mouse, window_.mouse(), std::make_unique<MousePresence>(context_),
         "mouse presence", "鼠标设备侦测线程设定退出"},
        {WorkerSlot::MousepadPresence, DeviceKind::Mousepad, window_.mousepad(),
         std::make_unique<PadPresence>(context_), "mousepad presence", "鼠标垫设备侦测线程设定退出"},
    }};
    for (size_t i = 0; i < kinds.size(); ++i) {
        auto& k = kinds[i];
        monitors_[i] = std::make_unique<Monitor>(k.connection, k.kind, std::move(k.client), k.exitText);
        monitors_[i]->presenceChanged = &presenceChanged;
        window_.workers().plug(k.slot, {k.name, [m = monitors_[i].get()](std::stop_token stop) { m->run(stop); }, {}});
    }
}

void DeviceWiring::installPages() {
    Router& router = window_.router();
    router.setHandler(Owner::MouseDpi, [this](const ui::Notification& n, const Route&) { dpiPage.handle(n); });
    router.setHandler(Owner::MouseSlots, [this](const ui::Notification& n, const Route&) { mouseSlots.handle(n); });
    router.setHandler(Owner::MousepadLighting, [this](const ui::Notification& n, const Route&) { padPage.handle(n); });
    router.setHandler(Owner::MouseSubPages, [this](const ui::Notification& n, const Route&) { onSubPageOption(n); });
    // The macro option belongs to the macro editor, which switches the page when it is
    // built; until then the switch happens here.
    if (!router.hasHandler(Owner::Macros))
        router.setHandler(Owner::Macros, [this](const ui::Notification& n, const Route&) {
            if (n.type == ui::event::SelectChanged && ui::pages::MouseSubPages::isOption(n.sender)) onSubPageOption(n);
        });

    padPage.links.endSynchronisedLighting = [this] {
        for (auto* c : {&window_.keyboard(), &window_.mouse(), &window_.mousepad()}) c->syncLighting = false;
    };
    padPage.links.readBackLater = [this] {
        QTimer::singleShot(mousepad::kPadReadBackDelay, &window_, [this] { window_.onPadReadBackRequest(); });
    };

    ShellHooks& hooks = window_.hooks();
    hooks.pageInit.push_back([this] {
        dpiPage.prepare();
        padPage.prepare();
    });
    hooks.flushMouse = [this] { mouse::FlushMouseState(window_.mouse(), mouse); };
    hooks.flushPad = [this] { mousepad::FlushPadState(window_.mousepad(), pad); };
    hooks.readBackMouse = [this] {
        mouse::ReadBackMouse(window_.mouse(), mouse, links.mouseProfiles);
        refreshMousePage();
    };
    hooks.reloadMouseSlotZero = [this] {
        mouse::ReloadMouseSlotZero(window_.mouse(), mouse, links.mouseProfiles);
        refreshMousePage();
    };
    hooks.readBackPad = [this] {
        mousepad::ReadBackPad(window_.mousepad(), pad, links.padProfiles);
        refreshPadPage();
    };
}

void DeviceWiring::onSubPageOption(const ui::Notification& n) {
    auto* option = qobject_cast<QAbstractButton*>(n.control.data());
    if (n.type != ui::event::SelectChanged || (option && !option->isChecked())) return;
    // The common step first: an editor with unsaved macro edits keeps its page.
    if (window_.finishSelectionChange(n.sender)) mouseSubPages.select(n.sender);
}

void DeviceWiring::showMousePageAfterConnect() {
    refreshMousePage();
    // Without a profile store no profile selection shows the pointer values: the connect
    // took them from the mouse (shown only; the desktop keeps its own until they change).
    if (!links.loadMouseLightingProfile) {
        const auto data = mouse.snapshot();
        dpiPage.showPointerSettings(data.pointerSpeed, data.wheelLines);
    }
}

bool DeviceWiring::settled() const {
    for (const auto& m : monitors_)
        if (!m || m->passes == 0) return false;
    return true;
}

void DeviceWiring::showMousePerformance() {
    if (!window_.mouse().connected) return;
    presence::SelectTab(window_, "ms_tab");
    const QString performance = QStringLiteral("ms_rich_Op_tab");
    auto* option = window_.control<QAbstractButton>(performance);
    if (option && !option->isChecked()) option->setChecked(true);  // notifies; the routing switches
    else mouseSubPages.select(performance);
}

}  // namespace orvane::app
