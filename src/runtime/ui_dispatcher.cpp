#include "runtime/ui_dispatcher.h"

#include <QThread>

#include <condition_variable>
#include <memory>
#include <mutex>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

namespace orvane::runtime {

namespace {

// Qt hands a queued call to the other thread under locks ThreadSanitizer cannot see (Qt is
// not built with it). Under ThreadSanitizer the hand-over is told explicitly: everything the
// poster did before posting happens before the call runs.
template <class Fn>
auto HandedOver(Fn fn) {
#if defined(__SANITIZE_THREAD__)
    auto token = std::make_shared<char>(0);
    __tsan_release(token.get());
    return [fn = std::move(fn), token]() {
        __tsan_acquire(token.get());
        fn();
    };
#else
    return fn;
#endif
}

struct SendState {
    enum class Stage { Pending, Running, Done, Withdrawn };
    std::mutex mutex;
    std::condition_variable_any changed;
    Stage stage = Stage::Pending;
};
}  // namespace

UiDispatcher::UiDispatcher(QObject* parent) : QObject(parent) {}

void UiDispatcher::post(std::function<void()> fn) {
    QMetaObject::invokeMethod(this, HandedOver(std::move(fn)), Qt::QueuedConnection);
}

bool UiDispatcher::send(std::function<void()> fn, std::stop_token stop) {
    if (QThread::currentThread() == thread()) {
        fn();
        return true;
    }
    auto state = std::make_shared<SendState>();
    QMetaObject::invokeMethod(this, HandedOver([state, fn = std::move(fn)] {
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
    }), Qt::QueuedConnection);

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
