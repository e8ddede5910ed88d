// SPDX-License-Identifier: GPL-3.0-or-later
// orvane_wayland_latency: how long from a wlroots compositor focusing another window to the
// profile watcher handing the linked profile over, on a private headless sway. Two foot
// windows with the app_ids game-a and game-b are each linked (by the executable's name) to a
// profile of the mouse key list; each sample focuses the other one with sway's own command
// (swaymsg, after a random pause of 0-2 s so the two-second periodic look is met at any
// phase) and waits for the watcher's choice. All five watchers run, as in the program. Then
// the watchers' CPU time (with the thread listening to the compositor) over an idle period.
//   orvane_wayland_latency [SAMPLES]   (default 30)
#include <sys/resource.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/foreground.h"
#include "profiles/app_watchers.h"
#include "support/sway_session.h"

using namespace orvane;
using Clock = std::chrono::steady_clock;

namespace {

double CpuMs() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

}  // namespace

int main(int argc, char** argv) {
    const int samples = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    std::string why;
    auto sway = testing::SwaySession::Start(&why);
    if (!sway) {
        std::fprintf(stderr, "orvane_wayland_latency: needs a headless sway: %s\n", why.c_str());
        return 1;
    }
    if (!sway->open("game-a") || !sway->open("game-b")) return 1;

    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-wl-latency-XXXXXX").string();
    const std::filesystem::path folder = ::mkdtemp(pattern.data());
    for (const char* name : {"game-a", "game-b"}) std::ofstream(folder / name) << "#!/bin/sh\n";
    keyboard::KeyboardModel keyboard;
    mouse::MouseModel mouse;
    mousepad::PadModel pad;
    profiles::ProfileStore store(folder, {}, profiles::DeviceModels{&keyboard, &mouse, &pad});
    const auto a = (folder / "game-a").string(), b = (folder / "game-b").string();
    platform::WriteFileAtomically(store.indexPath(profiles::ListId::MouseKeys),
                                  "[PROFILECOUNT]\ncount=2\n[PROFILENAME]\n0=A\n1=B\n[PROFILELIKEEXE]\n0=1\n1=1\n"
                                  "[PROCESS]\n0=" + a + "\n1=" + b + "\n[PROFILESELECT]\nselect=0\n");
    store.setList(profiles::ListId::MouseKeys, {{"A", "B"}, 0});

    std::mutex mutex;
    std::condition_variable handed;
    std::optional<Clock::time_point> handedAt;
    platform::Foreground foreground({":orvane-no-display", sway->display(), true});
    if (foreground.backend() != "wlroots") {
        std::fprintf(stderr, "orvane_wayland_latency: the compositor offers no foreign toplevel manager\n");
        return 1;
    }
    std::vector<std::unique_ptr<profiles::ProfileWatcher>> watchers;
    for (const auto& list : profiles::kLists) {
        watchers.push_back(std::make_unique<profiles::ProfileWatcher>(
            list.id, store, [&foreground] { return foreground.query(); },
            [&](const profiles::WatcherChoice& choice, std::stop_token) {
                auto shown = store.list(choice.list);
                shown.selection = choice.application.appId == "game-b" ? 1 : 0;
                store.setList(choice.list, shown);
                std::lock_guard lock(mutex);
                handedAt = Clock::now();
                handed.notify_all();
            },
            [&foreground, seen = uint64_t{0}](std::stop_token stop, std::chrono::milliseconds period) mutable {
                return foreground.waitForChange(stop, period, seen);
            }));
    }
    std::vector<std::jthread> threads;
    for (auto& w : watchers) threads.emplace_back([&w](std::stop_token stop) { w->run(stop); });

    sway->focus("game-a");
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));  // settles on profile A
    std::mt19937 random(7);
    std::vector<double> ms;
    for (int i = 0; i < samples; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % 2000));
        std::unique_lock lock(mutex);
        handedAt.reset();
        lock.unlock();
        const auto start = Clock::now();
        sway->focus(i % 2 ? "game-a" : "game-b");
        lock.lock();
        if (!handed.wait_for(lock, std::chrono::seconds(10), [&] { return handedAt.has_value(); })) {
            std::fprintf(stderr, "sample %d: no switch within 10 s\n", i);
            continue;
        }
        ms.push_back(std::chrono::duration<double, std::milli>(*handedAt - start).count());
    }
    const double cpuBefore = CpuMs();
    std::this_thread::sleep_for(std::chrono::seconds(10));
    const double idleCpu = CpuMs() - cpuBefore;
    for (auto& t : threads) t.request_stop();
    threads.clear();
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);

    if (ms.empty()) return 1;
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double q) { return ms[std::min(ms.size() - 1, size_t(q * double(ms.size())))]; };
    std::printf("wlroots watcher switch latency (swaymsg focus → choice, %zu samples): median %.1f ms, p90 %.1f ms, "
                "max %.1f ms\n",
                ms.size(), at(0.5), at(0.9), ms.back());
    std::printf("idle CPU of five watchers and the compositor listener over 10 s: %.1f ms (%.3f %% of a core)\n",
                idleCpu, idleCpu / 100.0);
    return 0;
}
