// SPDX-License-Identifier: GPL-3.0-or-later
// Typed events: handlers in subscription order, a subscription that ends its handler, a
// handler that removes itself while it runs, and emits racing unsubscribes on other threads.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "runtime/events.h"

using orvane::runtime::Event;
using orvane::runtime::Subscription;
using orvane::runtime::Subscriptions;

namespace {

TEST(Events, HandlersRunInOrderUntilTheirSubscriptionEnds) {
    Event<int> e;
    std::vector<int> seen;
    auto first = e.subscribe([&](const int& v) { seen.push_back(v); });
    {
        Subscriptions owner;
        owner += e.subscribe([&](const int& v) { seen.push_back(v * 10); });
        e.emit(1);
    }  // the owner is gone, and its handler with it
    e.emit(2);
    first.reset();
    e.emit(3);
    EXPECT_EQ(seen, (std::vector<int>{1, 10, 2}));
    EXPECT_EQ(e.handlerCount(), 0u);
}

TEST(Events, AHandlerMayEndItsOwnSubscriptionAndASubscriptionMayOutliveItsEvent) {
    auto e = std::make_unique<Event<>>();
    int calls = 0;
    Subscription self;
    self = e->subscribe([&] {
        ++calls;
        self.reset();
    });
    e->emit();
    e->emit();
    EXPECT_EQ(calls, 1);
    auto late = e->subscribe([] {});
    e.reset();      // the event goes first
    late.reset();   // and the subscription ends without it
    SUCCEED();
}

TEST(Events, EmitsOnSeveralThreadsWhileHandlersComeAndGo) {
    Event<int> e;
    std::atomic<int> total{0};
    std::atomic<bool> stop{false};
    std::vector<std::jthread> emitters;
    for (int t = 0; t < 3; ++t)
        emitters.emplace_back([&] {
            while (!stop) e.emit(1);
        });
    for (int round = 0; round < 200; ++round) {
        // A handler's data lives exactly as long as its subscription.
        auto counter = std::make_unique<int>(0);
        auto s = e.subscribe([&total, c = counter.get()](const int& v) {
            *c += v;  // unsynchronised on purpose: calls of one handler never overlap its removal
            total += v;
        });
        std::this_thread::yield();
        s.reset();  // waits for a call in progress; none comes after
        counter.reset();
    }
    stop = true;
    emitters.clear();
    EXPECT_EQ(e.handlerCount(), 0u);
}

}  // namespace
