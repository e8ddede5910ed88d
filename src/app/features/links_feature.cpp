// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/links_feature.h"

#include <QToolTip>

#include <condition_variable>
#include <mutex>

#include "app/main_window.h"
#include "ui/log.h"

namespace orvane::app {

namespace {

using profiles::ListId;

constexpr runtime::WorkerSlot WatcherSlotOf(ListId id) {
    switch (id) {
    case ListId::KeyboardLighting: return runtime::WorkerSlot::KeyboardWatcherA;
    case ListId::KeyboardKeys: return runtime::WorkerSlot::KeyboardWatcherB;
    case ListId::MouseLighting: return runtime::WorkerSlot::MouseWatcherA;
    case ListId::MouseKeys: return runtime::WorkerSlot::MouseWatcherB;
    case ListId::PadLighting: return runtime::WorkerSlot::MousepadWatcher;
    }
    return runtime::WorkerSlot::MousepadWatcher;
}

/// A job's end as a watcher waits for it: set on the window's thread, waited for on the
/// watcher's; a stop ends the wait at once (a job never delivered then is not waited for).
struct JobEnd {
    std::mutex mutex;
    std::condition_variable_any ended;
    bool done = false;

    void set() {
        {
            std::lock_guard lock(mutex);
            done = true;
        }
        ended.notify_all();
    }
    void wait(std::stop_token stop) {
        std::unique_lock lock(mutex);
        ended.wait(lock, stop, [this] { return done; });
    }
};

/// The watchers' hand-over: the selection runs as a job of the list's device, the panel
/// shows what it did, and the watcher waits for both.
profiles::PerformChoice SelectAsDeviceJob(runtime::Runtime& rt) {
    return [&rt](const profiles::WatcherChoice& choice, std::stop_token stop) {
        auto end = std::make_shared<JobEnd>();
        using Selection = std::optional<profiles::ProfileResult>;
        rt.session(profiles::ListSpecOf(choice.list).kind)
            .applyWatcherChoice(choice, [&rt, end, list = choice.list](runtime::JobStatus status, const Selection& r) {
                if (status == runtime::JobStatus::Done && r) rt.events.profileChosen.emit(list, *r);
                end->set();
            });
        end->wait(stop);
    };
}

}  // namespace

LinksFeature::LinksFeature() = default;
LinksFeature::~LinksFeature() = default;

void LinksFeature::install(FeatureContext& context) {
    runtime::Runtime& rt = context.runtime;
    MainWindow& window = context.window;
    query_ = [this] { return foreground_.query(); };
    for (const auto& list : profiles::kLists) {
        auto& controls = controls_[size_t(list.id)];
        controls = std::make_unique<ui::pages::ProfileLinkControls>(
            list.id, ui::pages::ProfileLinkEnv{window.lookup(), &window.dialogs(), &window, &rt,
                                               [this, &window](QWidget* near) { tellLimits(near, window.language()); }});
        bind(context, "profile links", controls->bindings());

        // Read at every pass, so a test may set the query after install.
        auto foreground = [this] { return query_ ? query_() : platform::ForegroundApplication{}; };
        auto& watcher = watchers_[size_t(list.id)];
        // Each watcher keeps its own place in the count of foreground changes.
        auto wait = [this, seen = uint64_t{0}](std::stop_token stop, std::chrono::milliseconds period) mutable {
            return foreground_.waitForChange(stop, period, seen);
        };
        watcher = std::make_unique<profiles::ProfileWatcher>(list.id, rt.store, foreground, SelectAsDeviceJob(rt),
                                                             std::move(wait));
        profiles::ProfileWatcher* w = watcher.get();
        plug(context, WatcherSlotOf(list.id),
             {std::string("profile watcher ") + std::string(list.controlWord), [w](std::stop_token stop) { w->run(stop); }, {}});
    }
}

void LinksFeature::tellLimits(QWidget* near, const ui::Language& language) {
    if (limitsTold_) return;
    const auto coverage = coverage_ ? *coverage_ : foreground_.coverage();
    if (coverage == platform::ForegroundApp::Coverage::AllWindows) return;
    limitsTold_ = true;  // said once a run: it does not change while the session lasts
    const QString text = language.text(QStringLiteral("profile_link_x11_tip"));
    qCDebug(lcShell).noquote() << text;
    if (near && near->isVisible()) QToolTip::showText(near->mapToGlobal(near->rect().bottomLeft()), text, near);
}

}  // namespace orvane::app
