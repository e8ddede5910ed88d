// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pages of the page table that build their own controller (PageRow::make): each is
// built, its binding table bound under the row's name, and shown anew when its device
// connects or its model changed. A page like that needs nothing but its row.

#include <memory>
#include <span>
#include <vector>

#include "app/feature.h"
#include "ui/pages/page.h"
#include "ui/pages/page_table.h"

namespace orvane::app {

class PagesFeature final : public Feature {
public:
    explicit PagesFeature(std::span<const ui::pages::PageRow> rows = ui::pages::kPages) : rows_(rows) {}
    void install(FeatureContext& context) override;
    /// The page built from that row, or null.
    ui::pages::Page* page(const char* name) const;

private:
    struct Built {
        const ui::pages::PageRow* row;
        std::unique_ptr<ui::pages::Page> page;
    };
    std::span<const ui::pages::PageRow> rows_;
    std::vector<Built> pages_;
};

}  // namespace orvane::app
