#pragma once
// Router: hands a notification to the owner of its sender (see ownership.h). Event types
// are compared exactly, control names without regard to case. Every notification is
// logged (event type, sender name) on orvane.notify.

#include <array>
#include <functional>
#include <optional>

#include "app/ownership.h"
#include "app/split_name.h"
#include "ui/notification.h"

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

    void setHandler(Owner owner, Handler handler);
    bool hasHandler(Owner owner) const;
    /// Logs the notification and calls the owner's handler. true when one handled it.
    bool dispatch(const ui::Notification& n) const;

private:
    std::array<Handler, size_t(Owner::Count)> handlers_;
};

}  // namespace orvane::app
