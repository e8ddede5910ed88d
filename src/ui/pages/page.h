// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Page: what a page controller built from its row of the page table (`PageRow::make`) offers
// the program — its binding table, bound under the row's name, and refresh(), called when
// its device connects or its model changed. Such a page needs no feature of its own: the
// pages feature (app/features/pages_feature.*) builds, binds and refreshes it.

#include <QString>

#include <functional>
#include <memory>

#include "runtime/runtime.h"
#include "ui/dialogs.h"
#include "ui/pages/page_bindings.h"
#include "ui/pages/page_controls.h"

namespace orvane::ui::pages {

/// What a page is built with.
struct PageContext {
    ControlLookup lookup;
    runtime::Runtime& runtime;
    Dialogs* dialogs = nullptr;
    QWidget* owner = nullptr;  ///< the window its messages belong to
    /// Text of a language id.
    std::function<QString(const QString& id)> translate;
};

class Page {
public:
    virtual ~Page() = default;
    virtual const PageBindings& bindings() const = 0;
    /// The device connected or its model changed: show it anew.
    virtual void refresh() {}
};

/// A row's `make` for a page class constructed from a PageContext.
template <class P>
std::unique_ptr<Page> MakePage(const PageContext& context) {
    return std::make_unique<P>(context);
}

}  // namespace orvane::ui::pages
