// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/app_watchers.h"

#include "device/log.h"
#include "platform/stop_wait.h"
#include "profiles/profile_links.h"

namespace orvane::profiles {

namespace {

/// The list's state as a pass sees it, and the entry it should show.
struct Plan {
    int saved = 0;                ///< "select": the user's own choice
    int selection = -1;           ///< what the list shows
    std::optional<int> target;    ///< the entry to show; nullopt when none is valid
    bool changes() const { return target && *target != selection; }
};

Plan MakePlan(const ProfileStore& store, ListId id, const platform::ForegroundApplication& application) {
    auto guard = store.lock();
    const ProfileList list = store.list(id);
    Plan plan;
    plan.saved = store.recordedSelection(id);
    plan.selection = list.selection;
    std::optional<int> linked;
    if (application.known()) linked = LinkedPositionFor(ReadLinks(store, id, list.count()), application);
    const int target = linked.value_or(plan.saved);
    if (target >= 0 && target < list.count()) plan.target = target;
    return plan;
}

}  // namespace

std::optional<ProfileResult> ApplyWatcherChoice(ProfileOperations& operations, const WatcherChoice& choice) {
    ProfileStore& store = operations.store();
    const Plan plan = MakePlan(store, choice.list, choice.application);
    if (!plan.changes()) return std::nullopt;
    // Shown, not recorded: "select" stays the user's own choice on disk at every moment.
    return operations.selectProfile(choice.list, *plan.target, SelectionRecord::Shown);
}

ProfileWatcher::ProfileWatcher(ListId list, const ProfileStore& store, ForegroundQuery foreground,
                               PerformChoice perform, ForegroundWait wait)
    : list_(list),
      store_(store),
      foreground_(std::move(foreground)),
      perform_(std::move(perform)),
      wait_(std::move(wait)) {}

bool ProfileWatcher::pass(std::stop_token stop) {
    WatcherChoice choice{list_, foreground_ ? foreground_() : platform::ForegroundApplication{}};
    if (!MakePlan(store_, list_, choice.application).changes()) return false;
    if (perform_) perform_(choice, stop);
    return true;
}

void ProfileWatcher::run(std::stop_token stop) {
    while (!stop.stop_requested()) {
        pass(stop);
        const bool go = wait_ ? wait_(stop, kPeriod) : platform::SleepUnlessStopped(stop, kPeriod);
        if (!go) break;
    }
    device::Log(ExitText(list_));
}

std::string_view ProfileWatcher::ExitText(ListId list) {
    switch (list) {
    case ListId::KeyboardLighting: return "键盘灯光进程侦测线程设定退出";
    case ListId::KeyboardKeys: return "键盘按键进程侦测线程设定退出";
    case ListId::MouseLighting: return "鼠标灯光进程侦测线程设定退出";
    case ListId::MouseKeys: return "鼠标按键进程线程设定退出";
    case ListId::PadLighting: return "鼠标垫灯光进程侦测线程设定退出";
    }
    return {};
}

}  // namespace orvane::profiles
