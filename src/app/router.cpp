// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/router.h"

#include "ui/log.h"

namespace orvane::app {

std::vector<Router::Bound> Router::bound() const {
    std::vector<Bound> out;
    list_.emit(&out);
    return out;
}

runtime::Subscription Router::bind(const QString& page, const ui::pages::PageBindings& bindings) {
    const auto entries = bindings.entries();
    for (const Bound& other : bound()) {
        const auto others = other.bindings->entries();
        for (const auto& mine : entries)
            for (const auto& theirs : others)
                if (const QString control = ui::pages::PageBindings::Overlap(mine, theirs); !control.isEmpty()) {
                    qCWarning(lcNotify).noquote() << "binding refused:" << page << "and" << other.page << "both take"
                                                  << control;
                    refusals_.push_back({page, other.page, control});
                    return {};
                }
    }
    return list_.subscribe([page, &bindings](std::vector<Bound>* const& out) { out->push_back({page, &bindings}); });
}

QString Router::pageFor(const ui::Notification& n) const {
    for (const Bound& b : bound())
        if (b.bindings->takes(n)) return b.page;
    return {};
}

bool Router::dispatch(const ui::Notification& n) const {
    qCDebug(lcNotify).noquote() << n.type << n.sender;
    for (const Bound& b : bound())
        if (b.bindings->dispatch(n)) return true;
    qCDebug(lcNotify).noquote() << "no page takes" << n.type << n.sender;
    return false;
}

}  // namespace orvane::app
