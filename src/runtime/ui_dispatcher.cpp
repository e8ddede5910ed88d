// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/ui_dispatcher.h"

#include <QThread>

#include <condition_variable>
#include <memory>

namespace orvane::runtime {

namespace {

struct SendState {
    enum class Stage { Pending, Running, Done, Withdrawn };
    std::mutex mutex;
    std::condition_variable_any changed;
    Stage stage = Stage::Pending;
};
}  // namespace

UiDispatcher::UiDispatcher(QObject* parent) : QObject(parent) {}

void UiDispatcher::post(std::function<void()> fn) {
    {
        std::lock_guard guard(mutex_);
        posted_.push_back(std::move(fn));
    }
    QMetaObject::invokeMethod(this, "runPosted", Qt::QueuedConnection);
}

void UiDispatcher::runPosted() {
    std::function<void()> fn;
    {
        std::lock_guard guard(mutex_);
        if (posted_.empty()) return;
        fn = std::move(posted_.front());
        posted_.pop_front();
    }
    if (fn) fn();
}

bool UiDispatcher::onUiThread() const { return QThread::currentThread() == thread(); }

bool UiDispatcher::send(std::function<void()> fn, std::stop_token stop) {
    if (QThread::currentThread() == thread()) {
        fn();
        return true;
    }
    auto state = std::make_shared<SendState>();
    post([state, fn = std::move(fn)] {
        {
            std::lock_guard guard(state->mutex);
            if (state->stage == SendState::Stage::Withdrawn) return;
            state->stage = SendState::Stage::Running;
        }
        fn();
        {
            std::lock_guard guard(state->mutex);
            state->stage = SendState::Stage::Done;
        }
        state->changed.notify_all();
    });

    std::unique_lock lock(state->mutex);
    state->changed.wait(lock, stop, [&] { return state->stage == SendState::Stage::Done; });
    if (state->stage == SendState::Stage::Pending) {
        state->stage = SendState::Stage::Withdrawn;
        return false;
    }
    // Already running: it refers to the caller's data, so wait for it to finish.
    state->changed.wait(lock, [&] { return state->stage == SendState::Stage::Done; });
    return true;
}

}  // namespace orvane::runtime
