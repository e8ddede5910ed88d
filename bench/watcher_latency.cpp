// SPDX-License-Identifier: GPL-3.0-or-later
// orvane_watcher_latency: how long from a window manager naming another active window to the
// profile watcher handing the linked profile over, on a private Xvfb. Two windows of two
// copies of a small X client are each linked to a profile of the mouse key list; each sample
// sets the root's _NET_ACTIVE_WINDOW to the other window (as a window manager does, after a
// random pause of 0-2 s so that the two-second periodic look is met at any phase) and waits
// for the watcher's choice. All five watchers run, as in the program. Then the watchers' CPU time
// over an idle period is measured.
//   orvane_watcher_latency [SAMPLES] [--poll]   (default 40; --poll: the two-second
//                                                periodic look only, without change events)
#include <sys/resource.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/foreground_app.h"
#include "profiles/app_watchers.h"
#include "support/x_session.h"

using namespace orvane;
using Clock = std::chrono::steady_clock;

namespace {

double CpuMs() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

/// Sets _NET_ACTIVE_WINDOW and returns once the server made the change.
struct WindowManager {
    xcb_connection_t* c;
    xcb_window_t root = 0;
    xcb_atom_t active = 0;
    explicit WindowManager(const std::string& display) : c(xcb_connect(display.c_str(), nullptr)) {
        root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        const char name[] = "_NET_ACTIVE_WINDOW";
        auto* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
        active = reply ? reply->atom : 0;
        std::free(reply);
    }
    ~WindowManager() { xcb_disconnect(c); }
    void activate(uint32_t window) {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, root, active, XCB_ATOM_WINDOW, 32, 1, &window);
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    }
};

}  // namespace

int main(int argc, char** argv) {
    int samples = 40;
    bool poll = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--poll") == 0) poll = true;
        else samples = std::max(1, std::atoi(argv[i]));
    }
    std::string why;
    auto x = testing::XSession::Start(&why);
    if (!x) {
        std::fprintf(stderr, "orvane_watcher_latency: needs Xvfb: %s\n", why.c_str());
        return 1;
    }
    const std::filesystem::path helper = ORVANE_X_WINDOW;
    const auto appA = x->copyAs(helper, "game-a"), appB = x->copyAs(helper, "game-b");
    const auto windowA = x->open(appA), windowB = x->open(appB);
    if (!windowA || !windowB) return 1;

    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-latency-XXXXXX").string();
    const std::filesystem::path folder = ::mkdtemp(pattern.data());
    keyboard::KeyboardModel keyboard;
    mouse::MouseModel mouse;
    mousepad::PadModel pad;
    profiles::ProfileStore store(folder, {}, profiles::DeviceModels{&keyboard, &mouse, &pad});
    const auto a = std::filesystem::canonical(appA).string(), b = std::filesystem::canonical(appB).string();
    platform::WriteFileAtomically(store.indexPath(profiles::ListId::MouseKeys),
                                  "[PROFILECOUNT]\ncount=2\n[PROFILENAME]\n0=A\n1=B\n[PROFILELIKEEXE]\n0=1\n1=1\n"
                                  "[PROCESS]\n0=" + a + "\n1=" + b + "\n[PROFILESELECT]\nselect=0\n");
    store.setList(profiles::ListId::MouseKeys, {{"A", "B"}, 0});

    std::mutex mutex;
    std::condition_variable handed;
    std::optional<Clock::time_point> handedAt;
    platform::ForegroundApp foreground(x->display());
    std::vector<std::unique_ptr<profiles::ProfileWatcher>> watchers;
    for (const auto& list : profiles::kLists) {
        profiles::ForegroundWait wait;
        if (!poll)
            wait = [&foreground, seen = uint64_t{0}](std::stop_token stop, std::chrono::milliseconds period) mutable {
                return foreground.waitForChange(stop, period, seen);
            };
        watchers.push_back(std::make_unique<profiles::ProfileWatcher>(
            list.id, store, [&foreground] { return foreground.query(); },
            [&](const profiles::WatcherChoice& choice, std::stop_token) {
                auto shown = store.list(choice.list);
                shown.selection = choice.application.executable == b ? 1 : 0;
                store.setList(choice.list, shown);
                std::lock_guard lock(mutex);
                handedAt = Clock::now();
                handed.notify_all();
            },
            std::move(wait)));
    }
    std::vector<std::jthread> threads;
    for (auto& w : watchers) threads.emplace_back([&w](std::stop_token stop) { w->run(stop); });

    WindowManager wm(x->display());
    wm.activate(windowA->id);
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));  // settles on profile A
    std::mt19937 random(7);
    std::vector<double> ms;
    for (int i = 0; i < samples; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % 2000));
        std::unique_lock lock(mutex);
        handedAt.reset();
        lock.unlock();
        const auto start = Clock::now();
        wm.activate(i % 2 ? windowA->id : windowB->id);
        lock.lock();
        if (!handed.wait_for(lock, std::chrono::seconds(10), [&] { return handedAt.has_value(); })) {
            std::fprintf(stderr, "sample %d: no switch within 10 s\n", i);
            continue;
        }
        ms.push_back(std::chrono::duration<double, std::milli>(*handedAt - start).count());
    }
    // Idle: nothing changes for ten seconds; the watchers' CPU time is all this process spends.
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
    std::printf("watcher switch latency (%s, %zu samples): median %.1f ms, p90 %.1f ms, max %.1f ms\n",
                poll ? "periodic look only" : "change events", ms.size(), at(0.5), at(0.9), ms.back());
    std::printf("idle CPU of five watchers over 10 s: %.1f ms\n", idleCpu);
    return 0;
}
