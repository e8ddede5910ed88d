// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl keys / assign: what every key or button does, and giving one a new function the
// way the key pages do: the editor stores the code, the apply writes the bank or page, and
// the selected key profile is saved when the device took it.

#include <ostream>

#include "device/hex.h"
#include "device/protocol/commands.h"
#include "functions/function_lists.h"
#include "keyboard/key_editor.h"
#include "keyboard/keyboard_apply.h"
#include "keyboard/keyboard_device.h"
#include "mouse/button_apply.h"
#include "mouse/button_editor.h"
#include "mouse/mouse_device.h"
#include "profiles/profile_store.h"
#include "tools/cli.h"
#include "tools/english_texts.h"
#include "tools/function_args.h"
#include "tools/profile_args.h"
#include "tools/tool_runtime.h"

namespace orvane::cli {

namespace {

/// The models a key command reads back into and edits: the tool's own, or the runtime's.
struct KeyModels {
    keyboard::KeyboardModel& keyboard;
    mouse::MouseModel& mouse;
};

using device::DeviceKind;
using functions::FunctionCode;

std::optional<DeviceKind> KeyDevice(std::string_view text) {
    const auto kind = ParseKind(text);
    if (kind == DeviceKind::Keyboard || kind == DeviceKind::Mouse) return kind;
    return std::nullopt;
}

std::string HexOf(FunctionCode code) {
    const uint8_t bytes[] = {code.type, code.b1, code.b2};
    return device::ToHex(bytes);
}

/// The English name of a code; codes the lists do not name are described.
std::string NameOf(FunctionCode code, const EnglishTexts& english) {
    using namespace functions::code_type;
    if (const auto name = functions::FunctionLabel(code, {}))
        return functions::ShownName(*name, [&](std::string_view id) { return english.text(id); });
    if (code.type == kMacro) return "macro " + std::to_string(code.b1) + ", mode " + std::to_string(code.b2);
    if (code.type == kMacroRepeat) return "macro " + std::to_string(code.b1) + ", repeated " + std::to_string(code.b2);
    if (code.type == kKeyboardKey || code.type == 0) {
        // Modifiers held with a key: "Left Ctrl+A".
        std::string text;
        for (size_t bit = 0; bit < 8; ++bit)
            if (code.b1 & (1u << bit)) text += english.text(functions::KeyboardKeyList[bit].name) + "+";
        const auto key = functions::KeyboardKeyByCode(0, code.b2);
        if (code.b2 == 0 && !text.empty()) text.pop_back();
        else text += key ? english.text(functions::KeyboardKeyList[*key].name) : "usage " + std::to_string(code.b2);
        return text;
    }
    return "-";
}

std::string RowOf(size_t position, size_t key, FunctionCode code, const EnglishTexts& english) {
    return std::to_string(position) + '\t' + std::to_string(key) + '\t' + HexOf(code) + '\t' + NameOf(code, english);
}

/// The device read back as at connect, its model set; "" on success, else what failed.
std::string ReadBack(protocol::DeviceConnection& c, DeviceKind kind, device::DeviceModel model, KeyModels models) {
    if (kind == DeviceKind::Keyboard) {
        models.keyboard.model = model;
        const auto r = keyboard::ReadBackKeyboard(c, models.keyboard);
        if (r.tooManyKeys) return "kb: the keyboard reports more keys than 170; its tables cannot be read";
        return r.ok() ? "" : std::string("kb: read-back failed: ") + protocol::ResultText(r.result);
    }
    models.mouse.model = model;
    const int32_t r = mouse::ReadBackMouse(c, models.mouse);
    return r == protocol::kOk ? "" : std::string("ms: read-back failed: ") + protocol::ResultText(r);
}

int RunKeys(Context& ctx, const std::vector<std::string>& args) {
    std::optional<DeviceKind> kind;
    int page = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--page") {
            const auto n = i + 1 < args.size() ? ParseNumber(args[i + 1], protocol::kBankCount - 1) : std::nullopt;
            if (!n) return ctx.badArgument("keys: --page takes a page 0-4");
            page = *n;
            ++i;
        } else if (!kind && KeyDevice(args[i])) {
            kind = KeyDevice(args[i]);
        } else {
            return ctx.badArgument("keys: DEVICE is kb or ms, followed by an optional --page 0-4");
        }
    }
    if (!kind) return ctx.badArgument("keys: DEVICE is kb or ms");
    device::DeviceModel model{};
    auto c = ctx.connect(*kind, &model);
    if (!c) return kExitFailure;
    Models models;
    if (const auto failed = ReadBack(*c, *kind, model, {models.keyboard, models.mouse}); !failed.empty())
        return ctx.fail(failed);
    const EnglishTexts english;

    if (*kind == DeviceKind::Mouse) {
        const auto d = models.mouse.snapshot();
        for (size_t b = 0; b < mouse::kButtonCount; ++b)
            ctx.out << RowOf(b, b, mouse::ButtonCode(d.block.pages[size_t(page)], b), english) << '\n';
        return kExitOk;
    }
    const auto d = models.keyboard.snapshot();
    keyboard::KeyTable bank = d.banks[0];
    if (page != 0) {
        // The read-back takes bank 0 only; another bank is read on its own.
        int32_t r = protocol::BeginTransfer(*c);
        if (r == protocol::kOk) r = protocol::ReadBank(*c, static_cast<unsigned>(page), bank.bytes);
        protocol::EndTransfer(*c);
        if (r != protocol::kOk) return ctx.fail(std::string("kb: reading bank ") + std::to_string(page) + " failed: " + protocol::ResultText(r));
    }
    for (size_t p = 0; p < keyboard::kKeyPositionCount; ++p) {
        const int32_t key = d.positionMap[p];
        if (key < 0 || static_cast<size_t>(key) >= d.info.keyCount()) continue;
        ctx.out << RowOf(p, size_t(key), bank.code(size_t(key)), english) << '\n';
    }
    return kExitOk;
}

/// Runs the page's editor on the read-back data: the key or button is selected, the
/// category and its controls set, and the code stored. "" on success, else the refusal.
std::string StoreFunction(KeyModels models, DeviceKind kind, size_t key, const FunctionArgument& arg,
                          FunctionCode& stored, size_t& deviceKey) {
    functions::EditorState state;
    auto take = [&](functions::EditorResult shown) {
        if (!shown.message.empty() || !shown.showPanel) return false;
        state.category = arg.category;
        state.controls = arg.controls;
        if (arg.category == functions::Category::KeyboardKey) state.code = arg.keyCode;
        return true;
    };
    std::string refused;
    if (kind == DeviceKind::Keyboard) {
        models.keyboard.update([&](keyboard::KeyboardData& d) {
            if (!take(keyboard::ShowKey(d, state, key, kMacroLimit)))
                refused = "kb: position " + std::to_string(key) + " has no key on this keyboard (see orvanectl keys kb)";
            else if (!keyboard::StoreKey(d, state, kMacroLimit).stored)
                refused = "kb: nothing to store";
            deviceKey = state.key;
        });
    } else {
        models.mouse.update([&](mouse::MouseData& d) {
            if (!take(mouse::SelectButtonForEdit(d, state, key, kMacroLimit)))
                refused = "ms: button " + std::to_string(key) +
                          " is the only left-click button; give another button left click first";
            else if (!mouse::ApplyButtonFunction(d, state, kMacroLimit).stored)
                refused = "ms: nothing to store";
            deviceKey = key;
        });
    }
    stored = state.code;
    return refused;
}

int RunAssign(Context& ctx, const std::vector<std::string>& args) {
    const auto parsed = SplitDataDir(args);
    const auto& a = parsed.rest;
    if (!parsed.ok()) return ctx.badArgument(parsed.error);
    if (a.size() != 3) return kExitUsage;
    const auto kind = KeyDevice(a[0]);
    if (!kind) return ctx.badArgument("assign: DEVICE is kb or ms");
    const bool isKeyboard = *kind == DeviceKind::Keyboard;
    const auto key = ParseNumber(a[1], isKeyboard ? int(keyboard::kKeyPositionCount) - 1 : int(mouse::kButtonCount) - 1);
    if (!key)
        return ctx.badArgument(isKeyboard ? "assign: KEY is a key position 0-125 (see orvanectl keys kb)"
                                          : "assign: KEY is a button 0-5 (see orvanectl keys ms)");
    std::string error;
    const auto function = ParseFunctionArgument(a[2], *kind, error);
    if (!function) return ctx.badArgument("assign: " + error);
    // A key names a macro by its place in the set: only a macro that exists can be played.
    if (function->category == functions::Category::Macro) {
        const macros::MacroStore macroStore(parsed.dataFolder, profiles::DefaultProfileFolders());
        const auto set = isKeyboard ? macros::MacroSet::Keyboard : macros::MacroSet::Mouse;
        const int count = int(macroStore.ListMacros(set).size());
        if (function->controls.macro >= count)
            return ctx.badArgument("assign: macro " + std::to_string(function->controls.macro) + " does not exist: " +
                                   std::string(device::KindTag(*kind)) + " has " + std::to_string(count) +
                                   " macro(s)" + (count ? " (0-" + std::to_string(count - 1) + ")" : ""));
    }

    ToolRuntime rt(ctx, parsed.dataFolder);
    auto& store = rt->store;
    if (!InitLists(ctx, store, *kind)) return kExitFailure;
    device::DeviceModel model{};
    if (!rt.connect(*kind, &model)) return kExitFailure;
    const KeyModels models{rt->keyboard, rt->mouse};
    if (const auto failed = ReadBack(rt->connection(*kind), *kind, model, models); !failed.empty())
        return ctx.fail(failed);

    FunctionCode stored;
    size_t deviceKey = 0;
    if (const auto refused = StoreFunction(models, *kind, size_t(*key), *function, stored, deviceKey); !refused.empty())
        return ctx.badArgument(refused);

    // The page's apply: the device's macros from the data folder first, then the keys; the key
    // profile is saved only when both went out.
    const auto outcome = rt->keySession(*kind).applyKeysNow();
    const auto& applied = outcome.applied;
    const std::string tag(device::KindTag(*kind));
    if (!applied.macros.ok())
        return ctx.fail(tag + ": the macros were not sent (" +
                        (applied.macros.message == "message_text_16"
                             ? std::to_string(applied.macros.messageNumber) + " actions too many for the device's memory"
                         : !applied.macros.detail.empty() ? applied.macros.detail
                                                          : protocol::ResultText(applied.macros.result)) +
                        "); nothing else was sent and the key profile was not saved");
    if (!applied.ok())
        return ctx.fail(tag + ": the device did not take the keys (" + protocol::ResultText(applied.keys) +
                        "); the key profile was not saved");
    if (!outcome.saved) return ctx.fail(tag + ": the keys were sent, but the key profile could not be saved");

    const auto listId = profiles::FindList(*kind, false)->id;
    const size_t written = isKeyboard ? models.keyboard.read([](const auto& d) { return d.activeBank(); })
                                      : models.mouse.read([](const auto& d) { return mouse::ActiveKeyPage(d); });
    // The device was read back and its keys changed: the program's pages show it anew.
    ctx.announce([kind = *kind](runtime::AppEvents& events) { events.modelChanged.emit(kind); });
    const EnglishTexts english;
    ctx.out << tag << ": " << (isKeyboard ? "position " : "button ") << *key;
    if (isKeyboard) ctx.out << " (key " << deviceKey << ')';
    ctx.out << " = " << HexOf(stored) << ' ' << NameOf(stored, english) << "; " << (isKeyboard ? "bank " : "page ")
            << written << " sent, key profile \"" << store.indexName(listId, store.recordedSelection(listId)) << "\" saved\n";
    return kExitOk;
}

}  // namespace

std::vector<Subcommand> KeySubcommands() {
    return {
        {"keys", "kb|ms [--page N]",
         "prints what every key (position, device key) or button does: code and English name", RunKeys},
        {"assign", "kb|ms KEY FUNCTION [--data-dir DIR]",
         "gives key position KEY (kb) or button KEY (ms) a function, writes it to the device and saves the "
         "selected key profile; FUNCTION: default, key:NAME or key:LCtrl+LShift+NAME, mouse:BUTTON, hscroll:left|right:AMOUNT[:P1:P2], "
         "vscroll:up|down:AMOUNT[:P1:P2], dpi:up|down|cycle, fire:A:B, media:NAME, system:power|sleep|wake, "
         "macro:INDEX:MODE, macro:INDEX:repeat:N, cursor:N (ms)",
         RunAssign},
    };
}

}  // namespace orvane::cli
