// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// UpdateQueries: the update server's requests of a window, none of them on the window's
// thread. Each request runs on a thread of its own with a client of its own; its answer is
// handed to the window's thread. Going away (the window closes, the program ends) cancels
// every request in progress at once — no time-out is waited for — and then only waits for
// the threads to notice; an answer that arrives after that is dropped.

#include <QCoreApplication>

#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "runtime/ui_dispatcher.h"
#include "update/update_client.h"

namespace orvane::app {

class UpdateQueries {
public:
    using MakeClient = std::function<std::unique_ptr<update::UpdateClient>()>;

    /// dispatcher: how answers reach the window's thread (null: Qt's queued call).
    UpdateQueries(MakeClient makeClient, runtime::UiDispatcher* dispatcher)
        : makeClient_(std::move(makeClient)), dispatcher_(dispatcher) {}
    ~UpdateQueries() { cancelAll(); }
    UpdateQueries(const UpdateQueries&) = delete;
    UpdateQueries& operator=(const UpdateQueries&) = delete;

    /// work(client) on its own thread; done(result) later on the window's thread.
    template <class R>
    void run(std::function<R(update::UpdateClient&)> work, std::function<void(const R&)> done) {
        std::shared_ptr<update::UpdateClient> client =
            makeClient_ ? makeClient_() : std::make_unique<update::UpdateClient>(std::nullopt);
        std::weak_ptr<int> alive = alive_;
        auto deliver = [this, alive, done = std::move(done)](const R& result) {
            if (alive.expired()) return;  // on the window's thread, like the destructor
            done(result);
        };
        auto* dispatcher = dispatcher_;
        requests_.push_back({client, std::jthread([client, work = std::move(work), deliver, dispatcher] {
                                 auto result = std::make_shared<R>(work(*client));
                                 if (client->cancelled()) return;
                                 auto call = [deliver, result] { deliver(*result); };
                                 if (dispatcher) dispatcher->post(call);
                                 else QMetaObject::invokeMethod(QCoreApplication::instance(), call, Qt::QueuedConnection);
                             })});
    }

    /// Cancels every request in progress and waits for their threads to end.
    void cancelAll() {
        alive_.reset();
        for (auto& r : requests_) r.client->cancel();
        requests_.clear();  // joins: a cancelled request ends at once
        alive_ = std::make_shared<int>(0);
    }

private:
    struct Request {
        std::shared_ptr<update::UpdateClient> client;
        std::jthread thread;
    };
    MakeClient makeClient_;
    runtime::UiDispatcher* dispatcher_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    std::vector<Request> requests_;
};

}  // namespace orvane::app
