// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/page_bindings.h"

#include "ui/pages/page_controls.h"

namespace orvane::ui::pages {

PageBindings& PageBindings::on(const char* name, uint16_t events, Handler handler) {
    return on(QLatin1String(name), events, std::move(handler));
}

PageBindings& PageBindings::on(const QString& name, uint16_t events, Handler handler) {
    bindings_.push_back({{name, events, false, 0}, std::move(handler), {}});
    return *this;
}

PageBindings& PageBindings::onFamily(const char* prefix, int familySize, uint16_t events, FamilyHandler handler) {
    bindings_.push_back({{QLatin1String(prefix), events, true, familySize}, {}, std::move(handler)});
    return *this;
}

PageBindings& PageBindings::include(const PageBindings& part) {
    parts_.push_back(&part);
    return *this;
}

bool PageBindings::dispatch(const Notification& n) const {
    const uint16_t bit = event::BitOf(n.type);
    if (!bit) return false;
    for (const auto& b : bindings_) {
        if (!(b.entry.events & bit)) continue;
        if (!b.entry.family) {
            if (n.sender.compare(b.entry.name, Qt::CaseInsensitive) != 0) continue;
            b.handler(n);
            return true;
        }
        if (const auto index = FamilyIndex(n.sender, b.entry.name.toLatin1().constData())) {
            b.familyHandler(n, *index);
            return true;
        }
    }
    for (const PageBindings* part : parts_)
        if (part->dispatch(n)) return true;
    return false;
}

std::vector<PageBindings::Entry> PageBindings::entries() const {
    std::vector<Entry> out;
    for (const auto& b : bindings_) out.push_back(b.entry);
    for (const PageBindings* part : parts_)
        for (auto& e : part->entries()) out.push_back(std::move(e));
    return out;
}

}  // namespace orvane::ui::pages
