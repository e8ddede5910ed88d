// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Router: hands a notification to the page whose bound binding table names its sender (an
// exact name, or a family member within the family's size) for its event. The bound tables
// are the only registry of control names. Event types are compared exactly, control names
// without regard to case. Every notification is logged (event type, sender name) on
// orvane.notify; one that no bound table takes is dropped (logged at debug level too).
//
// One control, one event, one page: a table that names a control for an event an already
// bound table names as well is refused at bind time — not bound at all, logged as a warning
// and listed in refusals() (the program's tests require none). A binding ends with the
// Subscription it returns, so no handler outlives its page.

#include <QString>

#include <vector>

#include "runtime/events.h"
#include "ui/notification.h"
#include "ui/pages/page_bindings.h"

namespace orvane::app {

class Router {
public:
    /// Binds a page's table while the subscription lives; `page` names it in logs and tests.
    /// An empty subscription when the table was refused (see refusals()).
    [[nodiscard]] runtime::Subscription bind(const QString& page, const ui::pages::PageBindings& bindings);
    /// The page whose table takes this notification, or an empty string.
    QString pageFor(const ui::Notification& n) const;
    /// Logs the notification and calls the handler of the table that takes it. true when one did.
    bool dispatch(const ui::Notification& n) const;

    struct Refusal {
        QString page;       ///< the table that was not bound
        QString boundPage;  ///< the table already bound that names the same control
        QString control;
    };
    const std::vector<Refusal>& refusals() const { return refusals_; }

private:
    struct Bound {
        QString page;
        const ui::pages::PageBindings* bindings;
    };
    // The bound tables, listed by emitting a query each bound table answers; a table leaves
    // the list when its subscription ends.
    std::vector<Bound> bound() const;

    runtime::Event<std::vector<Bound>*> list_;
    std::vector<Refusal> refusals_;
};

}  // namespace orvane::app
