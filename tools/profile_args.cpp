// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/profile_args.h"

#include <limits>

#include "profiles/profile_names.h"
#include "runtime/runtime.h"

namespace orvane::cli {

std::string ListName(const profiles::ListSpec& listSpec) {
    return std::string(device::KindTag(listSpec.kind)) + (listSpec.lighting ? " led" : " key");
}

bool InitLists(Context& ctx, profiles::ProfileStore& store, device::DeviceKind kind) {
    // The program filled its lists at its start and keeps them since.
    if (ctx.host && &store == &ctx.host->runtime.store) return true;
    const auto init = store.initProfileLists(kind);
    if (init.message.empty() || init.message == profiles::kIndexRebuiltMessage) {
        for (const auto& note : init.notes) ctx.err << "orvanectl: " << device::KindTag(kind) << ": " << note << '\n';
        return true;
    }
    const std::string list = ListName(profiles::ListSpecOf(init.failed));
    if (init.message == profiles::kFileMissingMessage || init.message == profiles::kBadMagicMessage) {
        ctx.fail(list + ": the default profile file " + store.defaultPath(init.failed, true).string() +
                 (init.message == profiles::kBadMagicMessage ? " is not a profile file" : " is missing"));
    } else {
        ctx.fail(list + ": " + (init.notes.empty() ? store.lastWriteProblem() : init.notes.back()));
    }
    return false;
}

std::optional<Target> ParseTarget(Context& ctx, profiles::ProfileStore& store, const std::vector<std::string>& args,
                                  int* rc) {
    *rc = kExitUsage;
    const auto kind = ParseKind(args[0]);
    const auto position = ParseNumber(args[2], std::numeric_limits<int>::max());
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

}  // namespace orvane::cli
