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

bool PageBindings::Entry::names(const QString& control) const {
    if (!family) return control.compare(name, Qt::CaseInsensitive) == 0;
    const auto index = FamilyIndex(control, name.toLatin1().constData());
    return index && *index < familySize;
}

QString PageBindings::Overlap(const Entry& a, const Entry& b) {
    if (!(a.events & b.events)) return {};
    if (!a.family) return b.names(a.name) ? a.name : QString();
    if (!b.family) return a.names(b.name) ? b.name : QString();
    // Two families share a member only where one prefix begins the other; every shared name
    // is then a member of the longer one.
    const Entry& longer = a.name.size() >= b.name.size() ? a : b;
    const Entry& shorter = &longer == &a ? b : a;
    if (!longer.name.startsWith(shorter.name, Qt::CaseInsensitive)) return {};
    for (int i = 0; i < longer.familySize; ++i)
        if (const QString member = longer.name + QString::number(i); shorter.names(member)) return member;
    return {};
}

const PageBindings::Binding* PageBindings::find(const Notification& n) const {
    const uint16_t bit = event::BitOf(n.type);
    if (!bit) return nullptr;
    for (const auto& b : bindings_)
        if ((b.entry.events & bit) && b.entry.names(n.sender)) return &b;
    for (const PageBindings* part : parts_)
        if (const Binding* b = part->find(n)) return b;
    return nullptr;
}

bool PageBindings::takes(const Notification& n) const { return find(n) != nullptr; }

bool PageBindings::dispatch(const Notification& n) const {
    const Binding* b = find(n);
    if (!b) return false;
    if (b->entry.family) b->familyHandler(n, *FamilyIndex(n.sender, b->entry.name.toLatin1().constData()));
    else b->handler(n);
    return true;
}

std::vector<PageBindings::Entry> PageBindings::entries() const {
    std::vector<Entry> out;
    for (const auto& b : bindings_) out.push_back(b.entry);
    for (const PageBindings* part : parts_)
        for (auto& e : part->entries()) out.push_back(std::move(e));
    return out;
}

}  // namespace orvane::ui::pages
