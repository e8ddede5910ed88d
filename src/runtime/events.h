// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Typed application events. An Event<Args...> keeps a list of handlers; subscribe() returns
// a Subscription that removes its handler when it is destroyed, so a subscriber that keeps
// its subscriptions as members can never be called after it is gone.
//
// Thread safety: subscribe, emit and unsubscribe may run on any thread. A handler runs on the
// thread that emits; removing a handler waits for a call of it in progress on another
// thread to end (a handler may remove itself while it runs). In the program every event is
// emitted on the window's thread.

#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace orvane::runtime {

namespace detail {

struct HandlerSlot {
    std::recursive_mutex calling;  ///< held while the handler runs and while it is removed
    bool removed = false;
};

class EventCore {
public:
    virtual ~EventCore() = default;
    virtual void remove(const std::shared_ptr<HandlerSlot>& slot) = 0;
};

}  // namespace detail

/// Removes its handler when destroyed (or when reset). Movable, not copyable.
class Subscription {
public:
    Subscription() = default;
    Subscription(std::weak_ptr<detail::EventCore> event, std::shared_ptr<detail::HandlerSlot> slot)
        : event_(std::move(event)), slot_(std::move(slot)) {}
    Subscription(Subscription&& other) noexcept = default;
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            reset();
            event_ = std::move(other.event_);
            slot_ = std::move(other.slot_);
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { reset(); }

    void reset() {
        if (!slot_) return;
        {
            std::lock_guard guard(slot_->calling);  // waits for a call in progress
            slot_->removed = true;
        }
        if (auto event = event_.lock()) event->remove(slot_);
        slot_.reset();
        event_.reset();
    }
    bool active() const { return slot_ != nullptr; }

private:
    std::weak_ptr<detail::EventCore> event_;
    std::shared_ptr<detail::HandlerSlot> slot_;
};

/// The subscriptions of one owner; they all end with it.
class Subscriptions {
public:
    void add(Subscription s) { list_.push_back(std::move(s)); }
    Subscriptions& operator+=(Subscription s) {
        add(std::move(s));
        return *this;
    }
    void clear() { list_.clear(); }
    size_t size() const { return list_.size(); }

private:
    std::vector<Subscription> list_;
};

template <class... Args>
class Event {
public:
    using Handler = std::function<void(const Args&...)>;

    Event() : core_(std::make_shared<Core>()) {}
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    /// Handlers run in the order they subscribed.
    [[nodiscard]] Subscription subscribe(Handler handler) {
        auto slot = std::make_shared<Slot>();
        slot->handler = std::move(handler);
        {
            std::lock_guard guard(core_->mutex);
            core_->slots.push_back(slot);
        }
        return Subscription(core_, slot);
    }

    void emit(const Args&... args) const {
        std::vector<std::shared_ptr<Slot>> slots;
        {
            std::lock_guard guard(core_->mutex);
            slots = core_->slots;
        }
        for (const auto& slot : slots) {
            std::lock_guard guard(slot->calling);
            if (!slot->removed) slot->handler(args...);
        }
    }

    size_t handlerCount() const {
        std::lock_guard guard(core_->mutex);
        return core_->slots.size();
    }

private:
    struct Slot : detail::HandlerSlot {
        Handler handler;
    };
    struct Core : detail::EventCore {
        void remove(const std::shared_ptr<detail::HandlerSlot>& slot) override {
            std::lock_guard guard(mutex);
            std::erase_if(slots, [&](const std::shared_ptr<Slot>& s) { return s == slot; });
        }
        mutable std::mutex mutex;
        std::vector<std::shared_ptr<Slot>> slots;
    };
    std::shared_ptr<Core> core_;
};

}  // namespace orvane::runtime
