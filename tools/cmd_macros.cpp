// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl macros / macro / cursor: the stored macro sets and cursor sequences, the image
// the files make, and the uploads and the cursor read-back as the program does them.
// The data folder is $ORVANE_DATA_DIR or "--data-dir DIR", else the user's "KX" folder.

#include <algorithm>
#include <ostream>

#include "device/discovery.h"
#include "device/hex.h"
#include "device/protocol/commands.h"
#include "keyboard/keyboard_records.h"
#include "macros/action_tables.h"
#include "macros/cursor_store.h"
#include "macros/macro_store.h"
#include "macros/macro_transfer.h"
#include "mouse/mouse_records.h"
#include "profiles/profile_store.h"
#include "tools/cli.h"
#include "tools/tool_runtime.h"

namespace orvane::cli {

namespace {

using macros::MacroSet;
using Outcome = macros::UploadResult::Outcome;

std::optional<MacroSet> ParseSet(const std::string& text) {
    if (text == "kb") return MacroSet::Keyboard;
    if (text == "ms") return MacroSet::Mouse;
    return std::nullopt;
}

std::string Tag(MacroSet set) { return std::string(macros::SetTag(set)); }

macros::MacroStore StoreAt(const std::filesystem::path& dataFolder) {
    return macros::MacroStore(dataFolder, profiles::DefaultProfileFolders());
}

/// The device's macro memory: information byte 6 x 128. nullopt when it cannot be read.
std::optional<size_t> ReadCapacity(protocol::DeviceConnection& c, MacroSet set) {
    protocol::DeviceInfoBytes info{};
    if (protocol::ReadDeviceInfo(c, info) != protocol::kOk) return std::nullopt;
    if (set == MacroSet::Keyboard) {
        keyboard::KeyboardInfo record;
        record.bytes = info;
        return record.macroCapacity();
    }
    mouse::MouseDeviceInfo record;
    record.bytes = info;
    return record.macroCapacity();
}

/// "image N of C bytes", with the capacity of a connected device (nothing printed when
/// there is none).
std::string ImageText(Context& ctx, MacroSet set, const macros::CollectedImage& image) {
    if (image.status == macros::CollectedImage::Status::Empty) return "no image (nothing is sent)";
    const auto connection = ctx.connect(macros::KindOf(set), nullptr, true);
    if (!connection) return "image " + std::to_string(image.size) + " bytes (capacity unknown: no device)";
    const auto capacity = ReadCapacity(*connection, set);
    if (!capacity) return "image " + std::to_string(image.size) + " bytes (capacity unknown: the device did not answer)";
    return "image " + std::to_string(image.size) + " of " + std::to_string(*capacity) + " bytes" +
           (image.size > *capacity ? " (does not fit)" : "");
}

int RunMacros(Context& ctx, const std::vector<std::string>& args) {
    const auto parsed = SplitDataDir(args);
    if (!parsed.ok()) return ctx.badArgument(parsed.error);
    if (parsed.rest.size() != 1) return kExitUsage;
    const auto set = ParseSet(parsed.rest[0]);
    if (!set) return kExitUsage;
    const auto store = StoreAt(parsed.dataFolder);
    const auto names = store.ListMacros(*set);
    const auto image = macros::CollectMacroImage(store, *set);
    if (image.status == macros::CollectedImage::Status::Refused) return ctx.fail(image.problem);
    if (image.status == macros::CollectedImage::Status::Unrepresentable)
        return ctx.fail(Tag(*set) + ": the macros make an image larger than 65535 bytes");
    ctx.out << Tag(*set) << " macros: " << names.size() << " of " << macros::kMaxMacros << ", "
            << ImageText(ctx, *set, image) << '\n';
    for (size_t i = 0; i < names.size(); ++i)
        ctx.out << "  " << i << '\t' << names[i] << '\t' << image.entries[i].size() << " actions\n";
    return kExitOk;
}

/// "A down", "left up", "move left 20", then the wait.
std::string Readable(const macros::ActionLine& a) {
    using namespace macros;
    const std::string state = a.directionSet() ? " down" : " up";
    std::string what;
    switch (a.action()) {
    case kind::kKey:
    case kind::kModifierKey: {
        const auto key = a.action() == kind::kKey ? KeyIndexByUsage(a.code) : KeyIndexByModifier(a.code);
        what = (key ? std::string(functions::KeyboardKeySuffix(*key)) : "key " + std::to_string(a.code)) + state;
        break;
    }
    case kind::kMouseButton: {
        const std::string label = LabelForDeviceAction(a.kind, a.code);
        what = (label.empty() ? "button " + std::to_string(a.code) : label.substr(label.rfind('_') + 1)) + state;
        break;
    }
    case kind::kHorizontalMove: what = std::string("move ") + (a.directionSet() ? "left " : "right ") + std::to_string(a.code); break;
    case kind::kVerticalMove: what = std::string("move ") + (a.directionSet() ? "up " : "down ") + std::to_string(a.code); break;
    default: what = "kind " + std::to_string(a.kind) + " code " + std::to_string(a.code); break;
    }
    return what + ", then " + std::to_string(a.delayUnits() * 10) + " ms";
}

int RunMacroShow(Context& ctx, MacroSet set, const macros::MacroStore& store, const std::string& name) {
    const auto names = store.ListMacros(set);
    const auto it = std::find_if(names.begin(), names.end(), [&](const std::string& n) { return n == name; });
    if (it == names.end()) return ctx.fail(Tag(set) + ": no macro named \"" + name + "\"");
    const auto lines = store.LoadMacro(set, name);
    ctx.out << Tag(set) << " macro " << (it - names.begin()) << " \"" << name << "\": " << lines.size() << " actions\n";
    for (size_t i = 0; i < lines.size(); ++i)
        ctx.out << "  " << i << '\t' << lines[i] << '\t' << Readable(macros::ParseActionLine(lines[i])) << '\n';
    return kExitOk;
}

int RunMacroImage(Context& ctx, MacroSet set, const macros::MacroStore& store) {
    const auto collected = macros::CollectMacroImage(store, set);
    const auto image = collected.status == macros::CollectedImage::Status::Ready ? macros::BuildImage(collected.entries)
                                                                                  : std::nullopt;
    if (collected.status == macros::CollectedImage::Status::Empty) {
        ctx.out << '\n';  // no macros: nothing is sent
        return kExitOk;
    }
    if (collected.status == macros::CollectedImage::Status::Refused) return ctx.fail(collected.problem);
    if (!image) return ctx.fail(Tag(set) + ": the macros make an image larger than 65535 bytes");
    ctx.out << device::ToHex(*image) << '\n';
    return kExitOk;
}

/// One line for an upload's outcome; the exit code. what: "macro" or "cursor sequence".
int Report(Context& ctx, const std::string& tag, const std::string& what, const macros::UploadResult& r) {
    const bool macro = what == "macro";
    switch (r.outcome) {
    case Outcome::Sent:
        ctx.out << tag << ": " << what << " image of " << r.imageSize << " bytes sent (capacity " << r.capacity << ")"
                << (r.sentAgain ? ", sent again whole after the device refused part of it" : "") << '\n';
        return kExitOk;
    case Outcome::NothingToSend: ctx.out << tag << ": no " << what << "s, nothing sent\n"; return kExitOk;
    case Outcome::TooLarge:
        return ctx.fail(tag + ": the " + what + "s do not fit: " + std::to_string(r.excess) +
                        (macro ? " actions" : " bytes") + " too many (image " + std::to_string(r.imageSize) +
                        " bytes, capacity " + std::to_string(r.capacity) + "); nothing sent");
    case Outcome::Unrepresentable:
        return ctx.fail(tag + ": the " + what + "s make an image larger than 65535 bytes; nothing sent");
    case Outcome::Refused: return ctx.fail(r.detail + "; nothing sent");
    case Outcome::DeviceFailed:
        return ctx.fail(tag + ": the upload failed: " + protocol::ResultText(r.deviceResult) + "; " +
                        macros::DeviceHoldsText(r, "the device", what + "s"));
    }
    return kExitFailure;
}

int RunMacroUpload(Context& ctx, MacroSet set, const macros::MacroStore& store) {
    auto connection = ctx.connect(macros::KindOf(set));
    if (!connection) return kExitFailure;
    const auto capacity = ReadCapacity(*connection, set);
    if (!capacity) return ctx.fail(Tag(set) + ": the device's information record could not be read");
    return Report(ctx, Tag(set), "macro", macros::UploadMacros(*connection, store, set, *capacity));
}

// A new empty macro, named as the macro page names it ("Macro_N"), through the device's
// session as the page adds it.
int RunMacroAdd(Context& ctx, MacroSet set, const std::filesystem::path& dataFolder) {
    ToolRuntime rt(ctx, dataFolder);
    macros::StoreResult r;
    r.status = macros::StoreStatus::WriteFailed;
    rt->keySession(macros::KindOf(set)).addMacro([&r](runtime::JobStatus, const macros::StoreResult& added) { r = added; });
    if (r.status == macros::StoreStatus::Full) return ctx.fail(Tag(set) + ": no macro added: 50 macros are stored");
    if (!r.ok()) return ctx.fail(Tag(set) + ": no macro added: its file or the index could not be written");
    ctx.out << Tag(set) << ": added macro " << r.index << " \"" << r.name << "\"\n";
    return kExitOk;
}

int RunMacro(Context& ctx, const std::vector<std::string>& args) {
    const auto parsed = SplitDataDir(args);
    const auto& a = parsed.rest;
    if (!parsed.ok()) return ctx.badArgument(parsed.error);
    if (a.size() < 2) return kExitUsage;
    const auto set = ParseSet(a[1]);
    if (!set) return kExitUsage;
    auto store = StoreAt(parsed.dataFolder);
    if (a[0] == "add" && a.size() == 2) return RunMacroAdd(ctx, *set, parsed.dataFolder);
    if (a[0] == "show" && a.size() == 3) return RunMacroShow(ctx, *set, store, a[2]);
    if (a[0] == "image" && a.size() == 2) return RunMacroImage(ctx, *set, store);
    if (a[0] == "upload" && a.size() == 2) return RunMacroUpload(ctx, *set, store);
    return kExitUsage;
}

int RunCursor(Context& ctx, const std::vector<std::string>& args) {
    const auto parsed = SplitDataDir(args);
    const auto& a = parsed.rest;
    if (!parsed.ok()) return ctx.badArgument(parsed.error);
    if (a.size() != 1 || (a[0] != "read" && a[0] != "upload")) return kExitUsage;
    ToolRuntime rt(ctx, parsed.dataFolder);
    // As at the program's start: the sequences are set up before anything else.
    if (const auto init = macros::InitCursorSequences(rt->macroStore); !init.ok())
        return ctx.fail("ms: the default cursor sequences name_1.cur ... name_4.cur were not found beside the program");
    if (!rt.connect(device::DeviceKind::Mouse)) return kExitFailure;
    // As the cursor page does: through the mouse's session.
    auto& session = rt->mouseSession();
    if (a[0] == "upload") {
        macros::UploadResult uploaded;
        session.uploadCursors([&](runtime::JobStatus, const macros::UploadResult& u) { uploaded = u; });
        return Report(ctx, "ms", "cursor sequence", uploaded);
    }
    macros::CursorReadResult r;
    session.readCursors([&](runtime::JobStatus, const macros::CursorReadResult& read) { r = read; });
    if (r.read.result != protocol::kOk)
        return ctx.fail(std::string("ms: the cursor image could not be read: ") + protocol::ResultText(r.read.result));
    if (!r.read.recognised) return ctx.fail("ms: the mouse holds no cursor image; the sequence files are unchanged");
    if (!r.stored.accepted)
        return ctx.fail("ms: the mouse's cursor image is damaged (its offsets or counts point past its end); the sequence "
                        "files are unchanged");
    if (r.stored.writeFailed) return ctx.fail("ms: a cursor sequence file could not be written");
    ctx.out << "ms: cursor image of " << r.read.image.size() << " bytes read, " << r.stored.sequences
            << " sequence files written\n";
    return kExitOk;
}

}  // namespace

std::vector<Subcommand> MacroSubcommands() {
    return {
        {"macros", "kb|ms [--data-dir DIR]",
         "lists the stored macros with their action counts, and the image size against the device's capacity",
         RunMacros},
        {"macro", "add kb|ms | show kb|ms NAME | image kb|ms | upload kb|ms [--data-dir DIR]",
         "add: a new empty macro (Macro_N); show: a macro's action lines, readable; image: the macro image in hex (no device); upload: sends the macros "
         "as an apply does",
         RunMacro},
        {"cursor", "read|upload [--data-dir DIR]",
         "read: the mouse's cursor image into the sequence files (as at connect); upload: the four sequences to the "
         "mouse",
         RunCursor},
    };
}

}  // namespace orvane::cli
