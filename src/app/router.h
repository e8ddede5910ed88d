// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Router: hands a notification to the owner of its sender (see ownership.h), where the page
// controllers bound under that owner find the handler in their binding tables. Event types
// are compared exactly, control names without regard to case. Every notification is logged
// (event type, sender name) on orvane.notify. A binding ends with the Subscription it
// returns, so no handler outlives its page.

#include <array>
#include <functional>
#include <optional>

#include "app/ownership.h"
#include "app/split_name.h"
#include "runtime/events.h"
#include "ui/notification.h"
#include "ui/pages/page_bindings.h"

namespace orvane::app {

struct Route {
    Owner owner;
    NameParts name;  ///< SplitName of the sender; for a family, index is the element
};

/// The event bit of an event type, or 0 for a type no owner takes.
uint16_t EventBit(const QString& type);
/// Who owns this control for this event, or nullopt.
std::optional<Route> FindRoute(const QString& type, const QString& sender);

class Router {
public:
    using Handler = std::function<void(const ui::Notification&, const Route&)>;

    /// Every notification routed to `owner` reaches handler while the subscription lives.
    [[nodiscard]] runtime::Subscription subscribe(Owner owner, Handler handler);
    /// A page controller's binding table, under the owner that its controls route to.
    [[nodiscard]] runtime::Subscription bind(Owner owner, const ui::pages::PageBindings& bindings);
    bool hasHandler(Owner owner) const;
    /// Logs the notification and hands it to the owner's handlers. true when it has any.
    bool dispatch(const ui::Notification& n) const;

private:
    std::array<runtime::Event<ui::Notification, Route>, size_t(Owner::Count)> owners_;
};

}  // namespace orvane::app
