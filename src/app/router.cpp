#include "app/router.h"

#include "ui/log.h"

namespace orvane::app {

uint16_t EventBit(const QString& type) {
    using namespace ui::event;
    static const std::array<std::pair<const QString*, uint16_t>, 10> kBits{{
        {&Click, kClick}, {&SelectChanged, kSelectChanged}, {&ItemSelect, kItemSelect},
        {&ItemClick, kItemClick}, {&ValueChanged, kValueChanged},
        {&MoveValueChanged, kMoveValueChanged}, {&TextChanged, kTextChanged},
        {&ColorChanged, kColorChanged}, {&MouseEnter, kMouseEnter}, {&MouseLeave, kMouseLeave},
    }};
    for (const auto& [name, bit] : kBits)
        if (type == *name) return bit;  // exact, case-sensitive
    return 0;
}

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

void Router::setHandler(Owner owner, Handler handler) { handlers_[size_t(owner)] = std::move(handler); }

bool Router::hasHandler(Owner owner) const { return bool(handlers_[size_t(owner)]); }

bool Router::dispatch(const ui::Notification& n) const {
    qCDebug(lcNotify).noquote() << n.type << n.sender;
    const auto route = FindRoute(n.type, n.sender);
    if (!route) return false;
    const auto& handler = handlers_[size_t(route->owner)];
    if (!handler) return false;
    handler(n, *route);
    return true;
}

}  // namespace orvane::app
