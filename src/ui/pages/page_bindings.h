// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// PageBindings: a page controller's controls, declared once as (control name, events,
// handler). The table is the program's one registry of control names: it is how
// notifications reach the page's handlers, what the router routes by, and what the skin test
// checks against the skin (every bound name must exist there). A family binding takes the
// controls named prefix + a decimal index below its size. Names are compared without regard
// to case.

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
        int familySize;   ///< members 0 .. n-1 (the skin must have them all); 0 for a single control

        /// Whether this binding names that control (not: for which event).
        bool names(const QString& control) const;
    };
    /// A control both bindings name for an event both take, or an empty string.
    static QString Overlap(const Entry& a, const Entry& b);

    /// `events` is a set of event::Bit values.
    PageBindings& on(const char* name, uint16_t events, Handler handler);
    PageBindings& on(const QString& name, uint16_t events, Handler handler);
    /// prefix + n for n = 0 .. familySize-1.
    PageBindings& onFamily(const char* prefix, int familySize, uint16_t events, FamilyHandler handler);
    /// A part of the page with a table of its own (a colour picker, say).
    PageBindings& include(const PageBindings& part);

    /// Calls the handler bound to the sender for this event type; false when none is.
    bool dispatch(const Notification& n) const;
    /// Whether a binding of this table (parts included) takes the notification.
    bool takes(const Notification& n) const;
    /// Every binding, parts included.
    std::vector<Entry> entries() const;

private:
    struct Binding;
    const Binding* find(const Notification& n) const;
    struct Binding {
        Entry entry;
        Handler handler;
        FamilyHandler familyHandler;
    };
    std::vector<Binding> bindings_;
    std::vector<const PageBindings*> parts_;
};

}  // namespace orvane::ui::pages
