// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard's and the mouse's notification listeners. The mouse's notifications become
// device jobs (slot-0 reload, full read-back) whose results show on the mouse page, or the
// click trigger of the reactive lighting effects; the listener waits for each reaction to
// finish before it reads the next report.

#include <memory>

#include "app/feature.h"
#include "device/notification_listener.h"

namespace orvane::app {

class ListenerFeature final : public Feature {
public:
    void install(FeatureContext& context) override;
    device::NotificationListener* mouseListener() const { return mouse_.get(); }
    device::NotificationListener* keyboardListener() const { return keyboard_.get(); }

private:
    // Shared with the worker bodies: a thread left running past the stop bound keeps its own.
    std::shared_ptr<device::NotificationListener> mouse_, keyboard_;
};

/// What the mouse listener does with one usage; returns when it is done (or stop fired).
void ReactToMouseNotification(runtime::Runtime& rt, uint16_t usage, std::stop_token stop);

}  // namespace orvane::app
