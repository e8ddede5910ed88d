// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The profile watchers: one per profile list, each looking at the application in front
// whenever it may have changed (told by the compositor or the X server) and at
// least every two seconds, and selecting the profile linked to it (the lowest linked position
// wins), or the user's own profile ("select" of the index) when none is linked to it.
//
// A pass reads the foreground application and the link entries on the watcher's thread;
// only when the list's selection has to change does it hand a choice to the window's
// thread (PerformChoice), which runs ApplyWatcherChoice there and waits. That selection
// loads the profile and sends it like a user's selection but writes nothing to the index:
// "select" names the user's own profile at every moment (a crash while a linked profile is
// shown loses nothing), so a linked profile stays active only while its application is in
// front. Selecting the entry already selected sends nothing.

#include <chrono>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include "platform/foreground.h"
#include "profiles/profile_operations.h"
#include "profiles/profile_store.h"

namespace orvane::profiles {

/// What is known of the application in front: its executable's absolute path, or the
/// compositor's app_id, or nothing (platform::Foreground::query in the program).
using ForegroundQuery = std::function<platform::ForegroundApplication()>;

/// Waits until the application in front may have changed, or the period passed; false when
/// stop was requested (platform::Foreground::waitForChange in the program).
using ForegroundWait = std::function<bool(std::stop_token stop, std::chrono::milliseconds period)>;

/// What a pass asks of the window's thread.
struct WatcherChoice {
    ListId list{};
    /// The application the pass saw in front (unknown matches no link).
    platform::ForegroundApplication application;
};

/// Runs ApplyWatcherChoice (and shows its result) on the window's thread and returns when
/// that is done, or earlier when `stop` is requested.
using PerformChoice = std::function<void(const WatcherChoice&, std::stop_token stop)>;

/// The window's thread: selects the first profile linked to the choice's application, or
/// the one "select" records, unless the list already shows it; the index is not written.
/// The links are read again here, so a list changed since the pass is
/// handled as it is now. Returns the selection's result for the page, nullopt when nothing
/// was selected.
std::optional<ProfileResult> ApplyWatcherChoice(ProfileOperations& operations, const WatcherChoice& choice);

class ProfileWatcher {
public:
    static constexpr std::chrono::milliseconds kPeriod{2000};

    /// Without `wait` the watcher sleeps out each period.
    ProfileWatcher(ListId list, const ProfileStore& store, ForegroundQuery foreground, PerformChoice perform,
                   ForegroundWait wait = {});

    /// One pass; true when a choice was handed to the window's thread.
    bool pass(std::stop_token stop = {});
    /// The thread body: a pass, then a wait for a change of the foreground or two seconds,
    /// until stop is requested (noticed at once, also during the wait). Logs the list's exit text when it ends.
    void run(std::stop_token stop);

    ListId list() const { return list_; }

    /// The debug text a watcher logs when it ends.
    static std::string_view ExitText(ListId list);

private:
    ListId list_;
    const ProfileStore& store_;
    ForegroundQuery foreground_;
    PerformChoice perform_;
    ForegroundWait wait_;
};

}  // namespace orvane::profiles
