// orvanectl profiles / profile: the stored profile lists, selecting a profile as the program
// does (loaded and sent to the device), and export and import for scripted backups.
// The data folder is $ORVANE_DATA_DIR or "--data-dir DIR", else the user's "KX" folder.

#include <charconv>
#include <ostream>

#include "device/protocol/commands.h"
#include "keyboard/keyboard_device.h"
#include "mouse/mouse_device.h"
#include "mousepad/pad_device.h"
#include "profiles/profile_names.h"
#include "profiles/profile_operations.h"
#include "tools/cli.h"
#include "tools/profile_args.h"

namespace orvane::cli {

namespace {

using profiles::ListId;
using profiles::ProfileStore;

std::optional<int> ParseIndex(const std::string& text) {
    int n = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), n);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size() || n < 0) return std::nullopt;
    return n;
}

int RunProfiles(Context& ctx, const std::vector<std::string>& args) {
    const auto parsed = SplitDataDir(args);
    if (!parsed.ok || parsed.rest.size() != 1) return kExitUsage;
    const auto kind = ParseKind(parsed.rest[0]);
    if (!kind) return kExitUsage;
    Models models;
    ProfileStore store(parsed.dataFolder, profiles::DefaultProfileFolders(), models.all());
    if (!InitLists(ctx, store, *kind)) return kExitFailure;
    for (const ListId id : profiles::ListsOf(*kind)) {
        const auto list = store.list(id);
        const int selected = store.recordedSelection(id);
        ctx.out << ListName(profiles::ListSpecOf(id)) << ": count " << list.count() << ", selected " << selected << '\n';
        for (int i = 0; i < list.count(); ++i)
            ctx.out << (i == selected ? "* " : "  ") << i << '\t' << list.names[size_t(i)] << '\n';
    }
    return kExitOk;
}

/// "kb|ms|mp key|led N" → the list and the position, checked against the stored list.
struct Target {
    const profiles::ListSpec* listSpec = nullptr;
    int position = 0;
};

std::optional<Target> ParseTarget(Context& ctx, ProfileStore& store, const std::vector<std::string>& args,
                                  int* rc) {
    *rc = kExitUsage;
    const auto kind = ParseKind(args[0]);
    const auto position = ParseIndex(args[2]);
    if (!kind || (args[1] != "key" && args[1] != "led") || !position) return std::nullopt;
    const auto* listSpec = profiles::FindList(*kind, args[1] == "led");
    if (!listSpec) {
        *rc = ctx.fail(args[0] + " has no key profiles");
        return std::nullopt;
    }
    if (!InitLists(ctx, store, *kind)) {
        *rc = kExitFailure;
        return std::nullopt;
    }
    const int count = store.list(listSpec->id).count();
    if (*position >= count) {
        *rc = ctx.fail(ListName(*listSpec) + ": no profile " + args[2] + " (the list holds " + std::to_string(count) + ")");
        return std::nullopt;
    }
    return Target{listSpec, *position};
}

/// What the program sends after a selection: key banks went out with the selection; the
/// mouse and pad lighting go with the next flush of their dirty state.
std::string SendAfterSelect(protocol::DeviceConnection& c, Models& models, const profiles::ProfileResult& r,
                            ListId id) {
    std::optional<int32_t> sent = r.bankWrite;
    if (id == ListId::MouseLighting) sent = mouse::FlushMouseState(c, models.mouse);
    if (id == ListId::PadLighting) sent = mousepad::FlushPadState(c, models.pad);
    if (!sent) return "kept by the program (lighting is rendered by the program)";
    if (*sent != protocol::kOk) return std::string("failed: ") + protocol::ResultText(*sent);
    return id == ListId::KeyboardKeys || id == ListId::MouseKeys ? "key bank 0 sent" : "lighting state sent";
}

int RunSelect(Context& ctx, ProfileStore& store, Models& models, const Target& target, const std::string& tag) {
    const auto kind = target.listSpec->kind;
    device::DeviceModel model{};
    auto connection = ctx.connect(kind, &model);
    if (!connection) return kExitFailure;
    const uint16_t product = device::Identity(model).productId;
    if (kind == device::DeviceKind::Keyboard) {
        models.keyboard.variant = keyboard::VariantAfterConnect(product, models.keyboard.variant);
        // The read-back sets the bank length the keyboard takes; nothing is saved from it here.
        const auto readBack = keyboard::ReadBackKeyboard(*connection, models.keyboard, {});
        if (!readBack.ok()) return ctx.fail(tag + ": the keyboard could not be read back");
    }
    if (kind == device::DeviceKind::Mouse)
        models.mouse.alternativeModel = mouse::AlternativeModelAfterConnect(product, models.mouse.alternativeModel);

    profiles::ProfileOperations operations(store, {connection.get(), connection.get(), nullptr});
    const auto r = operations.selectProfile(target.listSpec->id, target.position);
    if (r.loaded != profiles::ReadResult::Read) {
        if (r.link.linked || r.selectedName.empty())
            return ctx.fail(tag + ": profile " + std::to_string(target.position) + " selected but not loaded");
        return ctx.fail(tag + ": profile \"" + r.selectedName + "\" selected, its file " +
                        (r.loaded == profiles::ReadResult::BadMagic ? "is not a profile file" : "is missing"));
    }
    const std::string sent = SendAfterSelect(*connection, models, r, target.listSpec->id);
    if (sent.rfind("failed", 0) == 0) return ctx.fail(tag + ": profile \"" + r.selectedName + "\" loaded, sending " + sent);
    ctx.out << tag << ": selected " << target.position << " \"" << r.selectedName << "\"; " << sent << '\n';
    return kExitOk;
}

int RunProfile(Context& ctx, const std::vector<std::string>& args) {
    const auto parsed = SplitDataDir(args);
    const auto& a = parsed.rest;
    if (!parsed.ok || a.empty()) return kExitUsage;
    const std::string& action = a[0];
    const size_t wanted = action == "select" ? 4 : (action == "export" || action == "import") ? 5 : 0;
    if (wanted == 0 || a.size() != wanted) return kExitUsage;

    Models models;
    ProfileStore store(parsed.dataFolder, profiles::DefaultProfileFolders(), models.all());
    int rc = kExitUsage;
    const auto target = ParseTarget(ctx, store, {a.begin() + 1, a.begin() + 4}, &rc);
    if (!target) return rc;
    const std::string tag = ListName(*target->listSpec);
    if (action == "select") return RunSelect(ctx, store, models, *target, tag);

    const std::filesystem::path file = a[4];
    const auto copied = action == "export"
                            ? profiles::ExportProfileFile(store, target->listSpec->id, target->position, file)
                            : profiles::ImportIntoProfile(store, target->listSpec->id, target->position, file);
    const std::string what = action == "export" ? "the profile's file" : file.string();
    if (copied.read == profiles::ReadResult::Missing) return ctx.fail(tag + ": cannot read " + what);
    if (copied.read == profiles::ReadResult::BadMagic)
        return ctx.fail(tag + ": " + what + " is not a profile file (no AA 55 at its start)");
    if (!copied.written) return ctx.fail(tag + ": cannot write " + (action == "export" ? file.string() : "the profile's file"));
    ctx.out << tag << ": " << action << "ed profile " << target->position << (action == "export" ? " to " : " from ")
            << file.string() << '\n';
    return kExitOk;
}

}  // namespace

std::vector<Subcommand> ProfileSubcommands() {
    return {
        {"profiles", "kb|ms|mp [--data-dir DIR]", "lists the stored profiles of the device, * marking the selected one",
         RunProfiles},
        {"profile", "select|export|import kb|ms|mp key|led N [FILE] [--data-dir DIR]",
         "select: loads profile N and sends it as the program does; export/import: copies profile N to or from FILE",
         RunProfile},
    };
}

}  // namespace orvane::cli
