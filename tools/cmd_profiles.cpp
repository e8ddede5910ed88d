// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl profiles / profile: the stored profile lists, adding and selecting a profile as the
// program does (loaded and sent to the device), and export and import for scripted backups.
// The data folder is $ORVANE_DATA_DIR or "--data-dir DIR", else the user's "KX" folder.

#include <ostream>

#include "device/protocol/commands.h"
#include "keyboard/keyboard_device.h"
#include "mouse/mouse_device.h"
#include "mousepad/pad_device.h"
#include "profiles/profile_names.h"
#include "profiles/profile_store.h"
#include "profiles/profile_operations.h"
#include "tools/tool_runtime.h"
#include "tools/cli.h"
#include "tools/profile_args.h"
#include "tools/tool_line.h"

namespace orvane::cli {

namespace {

using profiles::ListId;
using profiles::ProfileStore;

int RunProfiles(Context& ctx, const std::vector<std::string>& args) {
    const auto parsed = SplitDataDir(args);
    if (!parsed.ok()) return ctx.badArgument(parsed.error);
    if (parsed.rest.size() != 1) return kExitUsage;
    const auto kind = ParseKind(parsed.rest[0]);
    if (!kind) return kExitUsage;
    Models models;
    ProfileStore store(parsed.dataFolder, profiles::DefaultProfileFolders(), models.all());
    const bool usable = InitLists(ctx, store, *kind);
    for (const ListId id : profiles::ListsOf(*kind)) {
        const auto list = store.list(id);
        if (!usable && list.names.empty()) continue;
        const int selected = store.recordedSelection(id);
        ctx.out << ListName(profiles::ListSpecOf(id)) << ": count " << list.count() << ", selected " << selected << '\n';
        for (int i = 0; i < list.count(); ++i) {
            ctx.out << (i == selected ? "* " : "  ") << i << '\t' << list.names[size_t(i)];
            if (list.readOnly(i)) ctx.out << "\t(read-only: the name of " << list.earlierWithName(i) << " again)";
            ctx.out << '\n';
        }
    }
    return usable ? kExitOk : kExitFailure;
}

/// What the program sends after a selection: key banks went out with the selection; the
/// mouse and pad lighting go with the next flush of their dirty state.
std::string SendAfterSelect(runtime::DeviceSession& session, const profiles::ProfileResult& r, ListId id) {
    std::optional<int32_t> sent = r.bankWrite;
    if (id == ListId::MouseLighting || id == ListId::PadLighting) sent = session.flushNow();
    if (!sent) return "kept by the program (lighting is rendered by the program)";
    if (*sent != protocol::kOk) return std::string("failed: ") + protocol::ResultText(*sent);
    return id == ListId::KeyboardKeys || id == ListId::MouseKeys ? "key bank 0 sent" : "lighting state sent";
}

/// The device connected into the tool's runtime, its model set as the program has it before
/// a profile is sent (the keyboard read back for the bank length it takes; nothing is saved
/// from that read-back); false after the failure line is printed.
bool ConnectForSending(Context& ctx, ToolRuntime& rt, device::DeviceKind kind, const std::string& tag) {
    device::DeviceModel model{};
    if (!rt.connect(kind, &model)) return false;
    if (rt.hosted()) return true;  // the program's models are set since the device arrived
    const uint16_t product = device::Identity(model).productId;
    if (kind == device::DeviceKind::Keyboard) {
        rt->keyboard.model = device::ModelAfterConnect(kind, product, rt->keyboard.model);
        if (!keyboard::ReadBackKeyboard(rt->connection(kind), rt->keyboard).ok()) {
            ctx.fail(tag + ": the keyboard could not be read back");
            return false;
        }
    }
    if (kind == device::DeviceKind::Mouse) rt->mouse.model = device::ModelAfterConnect(kind, product, rt->mouse.model);
    return true;
}

/// In the program: the list's panel shows the selection as if it had made it (and with it
/// the pages the loaded profile changed). What went wrong was told to orvanectl, not the window.
void ShowInProgram(Context& ctx, ListId id, profiles::ProfileResult r) {
    r.message = {};
    r.writeFailed = false;
    ctx.announce([id, r](runtime::AppEvents& events) { events.profileChosen.emit(id, r); });
}

/// A profile operation as the profile panel runs it: a job of the device's session (here
/// run at once).
profiles::ProfileResult RunOperation(ToolRuntime& rt, device::DeviceKind kind, const char* name,
                                     std::function<profiles::ProfileResult(profiles::ProfileOperations&)> operation) {
    profiles::ProfileResult r;
    rt->session(kind).runProfile(name, std::move(operation),
                                 [&r](runtime::JobStatus, const profiles::ProfileResult& result) { r = result; });
    return r;
}

int RunSelect(Context& ctx, ToolRuntime& rt, const Target& target, const std::string& tag) {
    const auto kind = target.listSpec->kind;
    if (!ConnectForSending(ctx, rt, kind, tag)) return kExitFailure;
    const auto r = RunOperation(rt, kind, "select profile", [&target](profiles::ProfileOperations& o) {
        return o.selectProfile(target.listSpec->id, target.position);
    });
    const std::string which = "profile " + std::to_string(target.position) +
                              (r.selectedName.empty() ? std::string() : " \"" + r.selectedName + "\"");
    if (r.message == profiles::kListChangedMessage) return ctx.fail(tag + ": " + r.detail + "; nothing selected");
    if (r.loaded != profiles::ReadResult::Read) {
        if (!r.detail.empty()) return ctx.fail(tag + ": " + which + " not loaded: " + r.detail);
        return ctx.fail(tag + ": " + which + " not loaded: its file " +
                        (r.loaded == profiles::ReadResult::BadMagic ? "is not a profile file" : "is missing"));
    }
    if (r.deviceRefused) return ctx.fail(tag + ": " + which + ": " + r.detail + "; select it again to retry");
    const std::string sent = SendAfterSelect(rt->session(kind), r, target.listSpec->id);
    if (sent.rfind("failed", 0) == 0) return ctx.fail(tag + ": " + which + " loaded, sending " + sent);
    // Loaded and sent, but "select" could not be recorded: the next start would not know.
    if (r.writeFailed || r.message == profiles::kFolderBusyMessage)
        return ctx.fail(tag + ": " + which + " loaded, but the selection could not be recorded: " +
                        rt->store.lastWriteProblem());
    ShowInProgram(ctx, target.listSpec->id, r);
    ctx.out << tag << ": selected " << target.position << " \"" << r.selectedName << "\"; " << sent;
    if (!r.detail.empty()) ctx.out << "; " << r.detail;
    ctx.out << '\n';
    return kExitOk;
}

// A new profile from the default file, named and selected as the page's add button does
// (selecting it sends it to the device).
int RunAdd(Context& ctx, const std::vector<std::string>& a, const std::filesystem::path& dataFolder) {
    const auto kind = ParseKind(a[1]);
    if (!kind || (a[2] != "key" && a[2] != "led")) return kExitUsage;
    const auto* listSpec = profiles::FindList(*kind, a[2] == "led");
    if (!listSpec) return ctx.fail(a[1] + " has no key profiles");
    ToolRuntime rt(ctx, dataFolder);
    ProfileStore& store = rt->store;
    if (!InitLists(ctx, store, *kind)) return kExitFailure;
    const std::string tag = ListName(*listSpec);
    if (!ConnectForSending(ctx, rt, *kind, tag)) return kExitFailure;
    const auto r = RunOperation(rt, *kind, "add profile",
                                [listSpec](profiles::ProfileOperations& o) { return o.addProfile(listSpec->id); });
    if (!r.selected) {
        const std::string why = r.detail.empty() ? store.lastWriteProblem() : r.detail;
        return ctx.fail(tag + ": no profile added" + (why.empty() ? std::string() : ": " + why));
    }
    ShowInProgram(ctx, listSpec->id, r);
    ctx.out << tag << ": added profile " << *r.selected << " \"" << r.selectedName << "\" and selected it";
    if (r.writeFailed) ctx.out << " (the selection could not be recorded: " << store.lastWriteProblem() << ")";
    ctx.out << '\n';
    return kExitOk;
}

int RunProfile(Context& ctx, const std::vector<std::string>& args) {
    const auto parsed = SplitDataDir(args);
    if (!parsed.ok()) return ctx.badArgument(parsed.error);
    const auto& a = parsed.rest;
    if (a.empty()) return kExitUsage;
    const std::string& action = a[0];
    if (action == "add") return a.size() == 3 ? RunAdd(ctx, a, parsed.dataFolder) : kExitUsage;
    const size_t wanted = action == "select" ? 4 : (action == "export" || action == "import") ? 5 : 0;
    if (wanted == 0 || a.size() != wanted) return kExitUsage;

    ToolRuntime rt(ctx, parsed.dataFolder);
    ProfileStore& store = rt->store;
    int rc = kExitUsage;
    const auto target = ParseTarget(ctx, store, {a.begin() + 1, a.begin() + 4}, &rc);
    if (!target) return rc;
    const std::string tag = ListName(*target->listSpec);
    if (action == "select") return RunSelect(ctx, rt, *target, tag);

    const bool exporting = action == "export";
    const std::filesystem::path file = ctx.fileArgument(a[4]);
    const auto copied = exporting ? profiles::ExportProfileFile(store, target->listSpec->id, target->position, file)
                                  : profiles::ImportIntoProfile(store, target->listSpec->id, target->position, file);
    const std::string what = exporting ? "the profile's file" : a[4];
    if (!copied.refused.empty()) {
        if (copied.refused == profiles::kExportTargetMessage)
            return ctx.fail(tag + ": cannot export to " + a[4] + ": " + copied.detail +
                            " (only a regular file, or a new one in an existing folder)");
        return ctx.fail(tag + ": " + copied.detail);
    }
    if (copied.read == profiles::ReadResult::Missing)
        return ctx.fail(tag + ": cannot read " + what + (copied.detail.empty() ? "" : ": " + copied.detail));
    if (copied.read == profiles::ReadResult::BadMagic)
        return ctx.fail(tag + ": " + what + " is not a profile file (no AA 55 at its start)");
    if (!copied.written)
        return ctx.fail(tag + ": cannot write " + (exporting ? a[4] : "the profile's file") + ": " +
                        copied.detail);
    ctx.out << tag << ": " << action << "ed profile " << target->position << (exporting ? " to " : " from ")
            << a[4];
    if (!copied.detail.empty()) ctx.out << "; " << copied.detail;
    ctx.out << '\n';
    return kExitOk;
}

}  // namespace

std::vector<Subcommand> ProfileSubcommands() {
    return {
        {"profiles", "kb|ms|mp [--data-dir DIR]", "lists the stored profiles of the device, * marking the selected one",
         RunProfiles},
        {"profile", "add kb|ms|mp key|led | select|export|import kb|ms|mp key|led N [FILE] [--data-dir DIR]",
         "add: a new profile from the default, selected and sent; select: loads profile N and sends it as the program "
         "does; export/import: copies profile N to or from FILE",
         RunProfile},
    };
}

}  // namespace orvane::cli
