// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/router.h"

#include "ui/log.h"

namespace orvane::app {

uint16_t EventBit(const QString& type) { return ui::event::BitOf(type); }

std::optional<Route> FindRoute(const QString& type, const QString& sender) {
    const uint16_t bit = EventBit(type);
    if (!bit || sender.isEmpty()) return std::nullopt;
    const NameParts parts = SplitName(sender);
    auto is = [](const QString& a, const char* b) {
        return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
    };
    // 1. indexed families, 2. exact names, 3. name patterns in table order.
    for (const auto& row : kOwnership)
        if (row.match == Match::Family && (row.events & bit) && parts.hasIndex && is(parts.prefix, row.pattern))
            return Route{row.owner, parts};
    for (const auto& row : kOwnership)
        if (row.match == Match::Exact && (row.events & bit) && is(sender, row.pattern))
            return Route{row.owner, parts};
    for (const auto& row : kOwnership) {
        if (!(row.events & bit)) continue;
        const QLatin1String pattern(row.pattern);
        if ((row.match == Match::BeginsWith && sender.startsWith(pattern, Qt::CaseInsensitive)) ||
            (row.match == Match::Contains && sender.contains(pattern, Qt::CaseInsensitive)))
            return Route{row.owner, parts};
    }
    return std::nullopt;
}

runtime::Subscription Router::subscribe(Owner owner, Handler handler) {
    return owners_[size_t(owner)].subscribe(std::move(handler));
}

runtime::Subscription Router::bind(Owner owner, const ui::pages::PageBindings& bindings) {
    return subscribe(owner, [&bindings](const ui::Notification& n, const Route&) { bindings.dispatch(n); });
}

bool Router::hasHandler(Owner owner) const { return owners_[size_t(owner)].handlerCount() > 0; }

bool Router::dispatch(const ui::Notification& n) const {
    qCDebug(lcNotify).noquote() << n.type << n.sender;
    const auto route = FindRoute(n.type, n.sender);
    if (!route || !hasHandler(route->owner)) return false;
    owners_[size_t(route->owner)].emit(n, *route);
    return true;
}

}  // namespace orvane::app
