// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/presence_feature.h"

#include "app/main_window.h"
#include "runtime/ui_dispatcher.h"
#include "device/log.h"
#include "keyboard/keyboard_records.h"
#include "ui/log.h"

namespace orvane::app {

using device::DeviceKind;
using runtime::RuntimeFlags;

namespace {

// Per kind: its worker slot and exit text, the flags it keeps for the rest of the program,
// whether its arrival brings the window up (a mousepad alone does not: its page is made
// ready and the tray icon shows the window), what its arrival and leave log, and the page
// the window turns to when it goes: the first device's when that one is connected, else the
// second's, else the window is hidden.
struct KindRow {
    DeviceKind kind;
    runtime::WorkerSlot slot;
    const char* workerName;
    const char* exitText;
    void (*noteFlags)(runtime::Runtime& rt, bool present);
    bool bringsWindowUp;
    const char* arrivalLog;                        ///< nullptr: none
    const char* (*leaveLog)(runtime::Runtime& rt);  ///< nullptr: none
    DeviceKind first;
    DeviceKind second;
};

void KeyboardFlags(runtime::Runtime& rt, bool present) {
    rt.flags.keyboardKind = !present                          ? RuntimeFlags::NoKeyboard
                            : rt.keyboard.row().singleColour() ? RuntimeFlags::SingleColourKeyboard
                                                               : RuntimeFlags::RgbKeyboard;
}
void MouseFlags(runtime::Runtime& rt, bool present) { rt.flags.mousePresent = present; }
void NoFlags(runtime::Runtime&, bool) {}
const char* KeyboardLeaveLog(runtime::Runtime& rt) {
    return rt.keyboard.row().singleColour() ? "单色键盘不见了" : "RGB键盘不见了";
}

constexpr std::array<KindRow, 3> kKinds{{
    {DeviceKind::Keyboard, runtime::WorkerSlot::KeyboardPresence, "keyboard presence", "键盘设备侦测线程设定退出",
     KeyboardFlags, true, "di", KeyboardLeaveLog, DeviceKind::Mouse, DeviceKind::Mousepad},
    {DeviceKind::Mouse, runtime::WorkerSlot::MousePresence, "mouse presence", "鼠标设备侦测线程设定退出", MouseFlags,
     true, nullptr, nullptr, DeviceKind::Keyboard, DeviceKind::Mousepad},
    {DeviceKind::Mousepad, runtime::WorkerSlot::MousepadPresence, "mousepad presence", "鼠标垫设备侦测线程设定退出",
     NoFlags, false, nullptr, nullptr, DeviceKind::Keyboard, DeviceKind::Mouse},
}};

const KindRow& RowOf(DeviceKind kind) { return kKinds[runtime::IndexOf(kind)]; }

// The relayout after a connect.
constexpr std::chrono::milliseconds kRelayoutAfterConnect{100};

std::vector<uint16_t> ProductsOf(DeviceKind kind) {
    std::vector<uint16_t> products;
    for (const auto& m : device::kModels)
        if (m.kind == kind) products.push_back(m.productId);
    return products;
}

}  // namespace

// The window's side of one kind. Its device work runs on the monitor's thread with the
// connection locked; each window step is carried to the window's thread, the monitor
// waiting for it (and withdrawing when it is stopped).
class PresenceFeature::Client final : public device::PresenceClient {
public:
    Client(FeatureContext& context, DeviceKind kind) : rt_(context.runtime), window_(context.window), kind_(kind) {}

    void connectDeviceWork(const hid::InterfaceInfo& attributes) override { report_ = rt_.arrive(kind_, attributes); }

    void connectUi(std::stop_token stop) override {
        sameModeShown_.reset();
        const KindRow& row = RowOf(kind_);
        if (report_.tooManyKeys) {
            // Posted: the monitor does not wait for the user to close the box.
            MainWindow* window = &window_;
            rt_.dispatcher()->post([window] {
                window->showMessage(QString::fromUtf8(keyboard::kTooManyKeysMessage.data(),
                                                      qsizetype(keyboard::kTooManyKeysMessage.size())),
                                    true);
            });
        }
        onUi(stop, [this, &row] {
            row.noteFlags(rt_, true);
            rt_.events.deviceConnected.emit(kind_);
            window_.showDevice(kind_, true);
            window_.selectDevice(kind_);
            window_.scheduleRelayout(kRelayoutAfterConnect);
            if (row.bringsWindowUp) window_.showForDevice();
        });
        if (row.arrivalLog) device::Log(row.arrivalLog);
    }

    void presentUi(std::stop_token stop) override {
        const KindRow& row = RowOf(kind_);
        const bool show = rt_.connected(row.first) || rt_.connected(row.second);
        if (sameModeShown_ == show) return;  // probes come every 100 ms: touch the UI on a change only
        if (onUi(stop, [this, show] { window_.showSameMode(kind_, show); })) sameModeShown_ = show;
    }

    void absentUi(std::stop_token stop, bool notAccessible) override {
        if (notAccessibleShown_ == notAccessible) return;  // scans come every second: on a change only
        if (onUi(stop, [this, notAccessible] { window_.setDeviceNotAccessible(kind_, notAccessible); }))
            notAccessibleShown_ = notAccessible;
    }

    void disconnectUi(std::stop_token stop) override {
        sameModeShown_.reset();
        const KindRow& row = RowOf(kind_);
        if (row.leaveLog) device::Log(row.leaveLog(rt_));
        onUi(stop, [this, &row] {
            row.noteFlags(rt_, false);
            window_.showDevice(kind_, false);
            rt_.events.deviceGone.emit(kind_);
            chooseAnotherPage();
        });
    }

private:
    bool onUi(std::stop_token stop, std::function<void()> fn) {
        return rt_.dispatcher()->send(std::move(fn), stop);
    }

    // Another device's page, or the window hidden when none is left.
    void chooseAnotherPage() {
        const KindRow& row = RowOf(kind_);
        if (rt_.connected(row.first)) window_.selectDevice(row.first);
        else if (rt_.connected(row.second)) window_.selectDevice(row.second);
        else window_.showNoDevicePage();
    }

    runtime::Runtime& rt_;
    MainWindow& window_;
    DeviceKind kind_;
    runtime::ArrivalReport report_;       // monitor thread only
    std::optional<bool> sameModeShown_;  // monitor thread only
    bool notAccessibleShown_ = false;     // monitor thread only
};

PresenceFeature::PresenceFeature() = default;
PresenceFeature::~PresenceFeature() = default;

void PresenceFeature::install(FeatureContext& context) {
    for (const KindRow& row : kKinds) {
        auto& m = monitors_[runtime::IndexOf(row.kind)];
        m.client = std::make_unique<Client>(context, row.kind);
        m.monitor = std::make_unique<device::PresenceMonitor>(context.runtime.connection(row.kind), ProductsOf(row.kind),
                                                               *m.client, row.exitText);
        plug(context, row.slot, {row.workerName, [monitor = m.monitor.get()](std::stop_token stop) { monitor->run(stop); }, {}});
    }
}

bool PresenceFeature::settled() const {
    for (const auto& m : monitors_)
        if (!m.monitor || m.monitor->passes() == 0) return false;
    return true;
}

}  // namespace orvane::app
