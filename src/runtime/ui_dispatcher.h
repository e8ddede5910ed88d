// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// UiDispatcher: how worker threads reach the window. post() runs a function on the UI
// thread later; send() runs it there and waits for it to finish. A send() whose stop token
// is triggered before the function started is withdrawn and returns false, so a worker
// that is being stopped never waits for a UI thread that is itself waiting for the workers.

#include <QObject>

#include <deque>
#include <functional>
#include <mutex>
#include <stop_token>

namespace orvane::runtime {

class UiDispatcher : public QObject {
    Q_OBJECT
public:
    /// Lives on the thread it is created on: the UI thread.
    explicit UiDispatcher(QObject* parent = nullptr);

    void post(std::function<void()> fn);
    /// true when fn ran. On the UI thread itself fn runs at once.
    bool send(std::function<void()> fn, std::stop_token stop = {});
    /// Whether the caller runs on the UI thread.
    bool onUiThread() const;

private:
    /// Runs the oldest posted function (one queued call per post).
    Q_INVOKABLE void runPosted();

    // The functions wait here, under a standard mutex, rather than inside Qt's queued call:
    // the hand-over between threads is then one ThreadSanitizer sees too.
    std::mutex mutex_;
    std::deque<std::function<void()>> posted_;
};

}  // namespace orvane::runtime
