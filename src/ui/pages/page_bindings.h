// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// PageBindings: a page controller's controls, declared once as (control name, events,
// handler). The table is how notifications reach the page's handlers, what the router is
// told the page owns, and what the skin test checks against the skin (every bound name must
// exist there). A family binding takes every control named prefix + a decimal index.

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

#include "ui/notification.h"

namespace orvane::ui::pages {

class PageBindings {
public:
    using Handler = std::function<void(const Notification&)>;
    using FamilyHandler = std::function<void(const Notification&, int index)>;

    struct Entry {
        QString name;     ///< the control's name, or a family's prefix
        uint16_t events;  ///< event::Bit values the handler takes
        bool family;
        int familySize;   ///< members the skin must have (0-n-1); 0 for a single control
    };

    /// `events` is a set of event::Bit values.
    PageBindings& on(const char* name, uint16_t events, Handler handler);
    PageBindings& on(const QString& name, uint16_t events, Handler handler);
    /// prefix + n for n = 0 .. familySize-1 (the members the skin is checked for; any
    /// index is dispatched).
    PageBindings& onFamily(const char* prefix, int familySize, uint16_t events, FamilyHandler handler);
    /// A part of the page with a table of its own (a colour picker, say).
    PageBindings& include(const PageBindings& part);

    /// Calls the handler bound to the sender for this event type; false when none is.
    bool dispatch(const Notification& n) const;
    /// Every binding, parts included.
    std::vector<Entry> entries() const;

private:
    struct Binding {
        Entry entry;
        Handler handler;
        FamilyHandler familyHandler;
    };
    std::vector<Binding> bindings_;
    std::vector<const PageBindings*> parts_;
};

}  // namespace orvane::ui::pages
