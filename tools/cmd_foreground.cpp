// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl foreground [--watch]: the source the profile watchers read the application in
// front from (wlroots, x11 or none) and what it sees, one line "SOURCE<TAB>APPLICATION";
// with --watch, that line again at every change until SIGINT or SIGTERM.

#include <pthread.h>
#include <signal.h>

#include <ostream>
#include <thread>

#include "platform/foreground.h"
#include "tools/cli.h"

namespace orvane::cli {

namespace {

void PrintForeground(Context& ctx, platform::Foreground& foreground, const platform::ForegroundApplication& app) {
    ctx.out << foreground.backend() << '\t' << app.describe() << std::endl;  // flushed: a watcher reads it live
}

/// Runs until SIGINT or SIGTERM: both are blocked in every thread, and one thread takes
/// them with sigwait and stops the watch.
int Watch(Context& ctx) {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigset_t previous;
    pthread_sigmask(SIG_BLOCK, &signals, &previous);  // before any thread starts: they inherit it
    std::stop_source stop;
    {
        platform::Foreground foreground;
        std::jthread signalled([&stop, &signals](std::stop_token own) {
            int number = 0;
            // The process's own SIGTERM ends this wait when the watch ends for another reason.
            while (!own.stop_requested() && sigwait(&signals, &number) == 0 && !own.stop_requested()) {
                stop.request_stop();
                return;
            }
        });
        auto last = foreground.query();
        PrintForeground(ctx, foreground, last);
        uint64_t seen = 0;
        while (foreground.waitForChange(stop.get_token(), std::chrono::seconds(2), seen)) {
            const auto now = foreground.query();
            if (now == last) continue;
            last = now;
            PrintForeground(ctx, foreground, now);
        }
        if (!stop.stop_requested()) {
            signalled.request_stop();
            pthread_kill(signalled.native_handle(), SIGTERM);
        }
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return kExitOk;
}

}  // namespace

int RunForeground(Context& ctx, const std::vector<std::string>& args) {
    if (args.size() == 1 && args[0] == "--watch") return Watch(ctx);
    if (!args.empty()) return kExitUsage;
    platform::Foreground foreground;
    PrintForeground(ctx, foreground, foreground.query());
    return kExitOk;
}

}  // namespace orvane::cli
