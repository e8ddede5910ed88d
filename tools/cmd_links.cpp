// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl link / links / foreground: application links of the profiles, as the link check
// box makes them, and the application the profile watchers would see in front now.
// The data folder is $ORVANE_DATA_DIR or "--data-dir DIR", else the user's "KX" folder.

#include <ostream>

#include "profiles/profile_links.h"
#include "tools/cli.h"
#include "tools/profile_args.h"
#include "tools/tool_runtime.h"

namespace orvane::cli {

namespace {

using profiles::ProfileStore;

int RunLink(Context& ctx, const std::vector<std::string>& args) {
    const auto parsed = SplitDataDir(args);
    const auto& a = parsed.rest;
    if (!parsed.ok()) return ctx.badArgument(parsed.error);
    if (a.size() != 4) return kExitUsage;
    // As the link check box does: through the device's session, which writes the index.
    ToolRuntime rt(ctx, parsed.dataFolder);
    ProfileStore& store = rt->store;
    int rc = kExitUsage;
    const auto target = ParseTarget(ctx, store, a, &rc);
    if (!target) return rc;
    const auto id = target->listSpec->id;
    auto& session = rt->session(target->listSpec->kind);
    const std::string tag = ListName(*target->listSpec) + ": profile " + std::to_string(target->position);

    profiles::LinkResult r;
    auto keep = [&r](runtime::JobStatus, const profiles::LinkResult& done) { r = done; };
    if (a[3] == "--remove") {
        session.unlinkProfile(id, target->position, keep);
        if (r.writeFailed) return ctx.fail(tag + ": cannot write " + store.indexPath(id).string());
        ctx.out << tag << " unlinked\n";
        return kExitOk;
    }
    // A relative path names a file of the current folder, as shells mean it.
    std::error_code ec;
    const auto path = std::filesystem::absolute(ctx.fileArgument(a[3]), ec);
    if (ec) return kExitUsage;
    session.linkProfile(id, target->position, path.string(), profiles::LinkSource::CheckBox, keep);
    if (r.message == profiles::kAlreadyLinkedMessage) {
        const auto links = profiles::ReadLinks(store, id, store.list(id).count());
        const auto other = profiles::FirstLinkedPosition(links, *profiles::ApplicationPathToStore(path.string()));
        return ctx.fail(tag + ": " + path.string() + " is already linked to profile " +
                        (other ? std::to_string(*other) : std::string("?")));
    }
    if (r.writeFailed) return ctx.fail(tag + ": cannot write " + store.indexPath(id).string());
    if (!r.display.linked) return ctx.fail(tag + ": " + path.string() + " cannot be linked");
    ctx.out << tag << " linked to " << store.link(id, target->position).process << '\n';
    return kExitOk;
}

int RunLinks(Context& ctx, const std::vector<std::string>& args) {
    const auto parsed = SplitDataDir(args);
    if (!parsed.ok()) return ctx.badArgument(parsed.error);
    if (parsed.rest.size() > 1) return kExitUsage;
    std::vector<device::DeviceKind> kinds{device::DeviceKind::Keyboard, device::DeviceKind::Mouse,
                                          device::DeviceKind::Mousepad};
    if (parsed.rest.size() == 1) {
        const auto kind = ParseKind(parsed.rest[0]);
        if (!kind) return kExitUsage;
        kinds = {*kind};
    }
    Models models;
    ProfileStore store(parsed.dataFolder, profiles::DefaultProfileFolders(), models.all());
    for (const auto kind : kinds) {
        if (!InitLists(ctx, store, kind)) return kExitFailure;
        for (const auto id : profiles::ListsOf(kind)) {
            const auto list = store.list(id);
            const auto links = profiles::ReadLinks(store, id, list.count());
            for (int i = 0; i < list.count(); ++i) {
                if (!links[size_t(i)].linked()) continue;
                ctx.out << ListName(profiles::ListSpecOf(id)) << ' ' << i << '\t' << list.names[size_t(i)] << '\t'
                        << links[size_t(i)].process << '\n';
            }
        }
    }
    return kExitOk;
}

}  // namespace

int RunForeground(Context& ctx, const std::vector<std::string>& args);  // cmd_foreground.cpp

std::vector<Subcommand> LinkSubcommands() {
    return {
        {"link", "kb|ms|mp key|led N PATH|--remove [--data-dir DIR]",
         "links profile N to the application PATH (refused when another profile of the list has it), or removes "
         "its link",
         RunLink},
        {"links", "[kb|ms|mp] [--data-dir DIR]",
         "lists the linked profiles: list, position, name and application, one per line", RunLinks},
        {"foreground", "[--watch]",
         "prints where the profile watchers see the application in front (wlroots, x11 or none) and what they see "
         "there: its executable, its app_id, or \"unknown\"; --watch prints again at each change until interrupted",
         RunForeground},
    };
}

}  // namespace orvane::cli
