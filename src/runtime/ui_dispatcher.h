#pragma once
// UiDispatcher: how worker threads reach the window. post() runs a function on the UI
// thread later; send() runs it there and waits for it to finish. A send() whose stop token
// is triggered before the function started is withdrawn and returns false, so a worker
// that is being stopped never waits for a UI thread that is itself waiting for the workers.

#include <QObject>

#include <functional>
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
};

}  // namespace orvane::runtime
