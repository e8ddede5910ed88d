#include "tools/profile_args.h"

#include "profiles/profile_names.h"

namespace orvane::cli {

ProfileArgs SplitDataDir(const std::vector<std::string>& args) {
    ProfileArgs out;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--data-dir") {
            out.rest.push_back(args[i]);
            continue;
        }
        if (i + 1 >= args.size()) out.ok = false;
        else out.dataFolder = args[++i];
    }
    if (out.dataFolder.empty()) out.dataFolder = profiles::ProfileDataFolder();
    return out;
}

std::string ListName(const profiles::ListSpec& listSpec) {
    return std::string(device::KindTag(listSpec.kind)) + (listSpec.lighting ? " led" : " key");
}

bool InitLists(Context& ctx, profiles::ProfileStore& store, device::DeviceKind kind) {
    const auto init = store.initProfileLists(kind);
    if (init.message.empty()) return true;
    ctx.fail(ListName(profiles::ListSpecOf(init.failed)) + ": the default profile file " +
             store.defaultPath(init.failed, true).string() +
             (init.message == profiles::kBadMagicMessage ? " is not a profile file" : " is missing"));
    return false;
}

}  // namespace orvane::cli
