// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl readback / slot: the device models read back as JSON, and the on-board slot
// switch of the mouse and the mousepad.

#include <ostream>
#include <sstream>
#include <string>
#include <thread>

#include "device/info_fields.h"
#include "device/protocol/commands.h"
#include "keyboard/keyboard_device.h"
#include "mouse/dpi.h"
#include "mouse/mouse_device.h"
#include "mousepad/pad_device.h"
#include "device/hex.h"
#include "tools/cli.h"
#include "tools/tool_runtime.h"

namespace orvane::cli {

namespace {

std::string Hex(std::span<const uint8_t> bytes) { return device::ToHex(bytes); }

std::string Quoted(std::string_view text) {
    std::string s = "\"";
    for (char ch : text) {
        if (ch == '"' || ch == '\\') s += '\\';
        s += ch;
    }
    return s + '"';
}

template <class Record>
std::string HexOf(const Record& r) { return Quoted(Hex(r.bytes)); }

template <class List, class Fn>
std::string Array(const List& list, Fn&& item) {
    std::string s = "[";
    bool first = true;
    for (const auto& x : list) {
        s += first ? "" : ", ";
        s += item(x);
        first = false;
    }
    return s + "]";
}

/// "info": the record as hex and the fields this program reads from it.
std::string InfoObject(device::DeviceKind kind, const protocol::DeviceInfoBytes& info) {
    std::ostringstream o;
    o << "{\"record\": " << Quoted(Hex(info));
    for (const auto& field : device::InfoFieldsOf(kind)) o << ", " << Quoted(field.name) << ": " << device::ReadInfoField(info, field);
    o << '}';
    return o.str();
}

int RunKeyboard(Context& ctx, protocol::DeviceConnection& c, device::DeviceModel model) {
    keyboard::KeyboardModel kb;
    kb.model = model;
    const auto result = keyboard::ReadBackKeyboard(c, kb);
    if (result.tooManyKeys)
        return ctx.fail("kb: the keyboard reports more keys than 170; its tables cannot be read");
    if (!result.ok()) return ctx.fail(std::string("kb: read-back failed: ") + protocol::ResultText(result.result));
    const auto d = kb.snapshot();
    auto& o = ctx.out;
    o << "{\n  \"device\": " << Quoted(device::Identity(model).displayName) << ",\n";
    o << "  \"model\": " << Quoted(device::RowOf(model).shortName) << ",\n";
    o << "  \"info\": " << InfoObject(device::DeviceKind::Keyboard, d.info.bytes) << ",\n";
    o << "  \"blockLength\": " << c.blockLength << ",\n";
    o << "  \"nativeKeys\": " << HexOf(d.nativeKeys) << ",\n";
    o << "  \"banks\": [" << HexOf(d.banks[0]) << "],\n";
    o << "  \"positionMap\": " << Array(d.positionMap, [](int32_t v) { return std::to_string(v); }) << ",\n";
    o << "  \"lighting\": " << HexOf(d.lighting) << "\n}\n";
    return kExitOk;
}

int RunMouse(Context& ctx, protocol::DeviceConnection& c, device::DeviceModel model) {
    mouse::MouseModel ms;
    ms.model = model;
    int32_t r = mouse::ReadBackMouse(c, ms);
    if (r == protocol::kOk) r = mouse::ReadMouseSlotRecords(c, ms);
    if (r != protocol::kOk) return ctx.fail(std::string("ms: read-back failed: ") + protocol::ResultText(r));
    auto d = ms.snapshot();
    const auto* sensor = mouse::ApplySensorLimits(d.info);
    auto& o = ctx.out;
    o << "{\n  \"device\": " << Quoted(device::Identity(model).displayName) << ",\n";
    o << "  \"model\": " << Quoted(device::RowOf(model).shortName) << ",\n";
    o << "  \"info\": " << InfoObject(device::DeviceKind::Mouse, d.info.bytes) << ",\n";
    o << "  \"sensor\": ";
    if (sensor) o << "{\"minimumDpi\": " << sensor->minimumDpi << ", \"min\": " << Quoted(sensor->minLabel)
                  << ", \"max\": " << Quoted(sensor->maxLabel) << "},\n";
    else o << "null,\n";
    o << "  \"defaultKeys\": " << HexOf(d.defaultKeys) << ",\n";
    o << "  \"pages\": " << Array(d.block.pages, [](const auto& p) { return HexOf(p); }) << ",\n";
    o << "  \"slots\": " << Array(d.block.slots, [](const auto& s) { return HexOf(s); }) << ",\n";
    o << "  \"state\": " << HexOf(d.state) << ",\n";
    std::array<size_t, mouse::kDpiStageCount> stages{0, 1, 2, 3, 4, 5};
    o << "  \"dpiStages\": " << Array(stages, [&](size_t s) {
        return Quoted(mouse::DpiLabelText(d.info, d.state.dpiStage(s)));
    }) << ",\n";
    o << "  \"activeDpiStage\": " << int(d.state.activeDpiStage()) << "\n}\n";
    return kExitOk;
}

int RunPad(Context& ctx, protocol::DeviceConnection& c, device::DeviceModel model) {
    mousepad::PadModel mp;
    const int32_t r = mousepad::ReadBackPad(c, mp);
    if (r != protocol::kOk) return ctx.fail(std::string("mp: read-back failed: ") + protocol::ResultText(r));
    const auto d = mp.snapshot();
    auto& o = ctx.out;
    o << "{\n  \"device\": " << Quoted(device::Identity(model).displayName) << ",\n";
    o << "  \"info\": " << InfoObject(device::DeviceKind::Mousepad, d.info.bytes) << ",\n";
    o << "  \"slots\": " << Array(d.slots, [](const auto& s) { return HexOf(s); }) << ",\n";
    o << "  \"state\": " << HexOf(d.state) << "\n}\n";
    return kExitOk;
}

int RunReadBack(Context& ctx, const std::vector<std::string>& args) {
    NamedDevice named;
    if (const int rc = ConnectNamedDevice(ctx, args, named); rc != kExitOk) return rc;
    auto& connection = named.connection;
    const auto model = named.model;
    switch (named.kind) {
    case device::DeviceKind::Keyboard: return RunKeyboard(ctx, *connection, model);
    case device::DeviceKind::Mouse: return RunMouse(ctx, *connection, model);
    case device::DeviceKind::Mousepad: return RunPad(ctx, *connection, model);
    }
    return kExitUsage;
}

int RunSlot(Context& ctx, const std::vector<std::string>& args) {
    if (args.size() != 2) return kExitUsage;
    const auto kind = ParseKind(args[0]);
    if (!kind || *kind == device::DeviceKind::Keyboard) return kExitUsage;
    const auto number = ParseNumber(args[1], int(mouse::kOnboardSlotCount) - 1);
    if (!number) return kExitUsage;
    const auto slot = unsigned(*number);
    // As the slot buttons do: through the device's session (no profile is touched).
    ToolRuntime rt(ctx, profiles::ProfileDataFolder());
    if (!rt.connect(*kind)) return kExitFailure;
    const mouse::SlotSwitchResult result = rt->session(*kind).selectSlotNow(slot);
    switch (result.outcome) {
    case mouse::SlotSwitch::AlreadyActive:
        ctx.out << args[0] << ": slot " << slot << " was already active\n";
        return kExitOk;
    case mouse::SlotSwitch::Switched:
        ctx.announce([kind = *kind](runtime::AppEvents& events) { events.modelChanged.emit(kind); });
        ctx.out << args[0] << ": slot " << slot << " is now active\n";
        return kExitOk;
    case mouse::SlotSwitch::Ignored:
    case mouse::SlotSwitch::Failed:
        break;
    }
    return ctx.fail(args[0] + ": switching to slot " + std::to_string(slot) + " failed: " + protocol::ResultText(result.result));
}

// The device's factory settings, as the page's "restore defaults" button restores them.
int RunReset(Context& ctx, const std::vector<std::string>& args) {
    if (args.size() != 1) return kExitUsage;
    const auto kind = ParseKind(args[0]);
    if (!kind || *kind == device::DeviceKind::Keyboard) return kExitUsage;
    ToolRuntime rt(ctx, profiles::ProfileDataFolder());
    if (!rt.connect(*kind)) return kExitFailure;
    auto& session = rt->session(*kind);
    const int32_t result = session.resetDefaultsNow();
    if (result != protocol::kOk)
        return ctx.fail(args[0] + ": restoring the factory settings failed: " + protocol::ResultText(result));
    if (rt.hosted()) {
        // The program shows what the device holds now. The pad restores its slots a moment
        // after the reset and says nothing (the mouse tells its listener itself).
        if (*kind == device::DeviceKind::Mousepad) {
            std::this_thread::sleep_for(mousepad::kPadReadBackDelay);
            if (session.readBackNow() == protocol::kOk)
                ctx.announce([kind = *kind](runtime::AppEvents& events) { events.modelChanged.emit(kind); });
        }
    }
    ctx.out << args[0] << ": factory settings restored\n";
    return kExitOk;
}

}  // namespace

std::vector<Subcommand> ModelSubcommands() {
    return {
        {"readback", "kb|ms|mp", "reads the device back and prints its models as JSON", RunReadBack},
        {"slot", "ms|mp 0-4", "makes that on-board slot the active one", RunSlot},
        {"reset", "ms|mp", "restores the device's factory settings, as the page's restore button does", RunReset},
    };
}

}  // namespace orvane::cli
