#pragma once
// The mouse page's sub-pages: an option of "ms_tab_switch" shows its page and sets the
// profile controls of the page header for that page (lighting profiles, key profiles, or
// none while the macro editor shows).

#include <QString>

#include "ui/pages/page_controls.h"

namespace orvane::ui::pages {

class MouseSubPages {
public:
    explicit MouseSubPages(ControlLookup lookup) : controls_(std::move(lookup)) {}

    /// Shows the page of that option; false when the name is not one of the options.
    bool select(const QString& option);
    static bool isOption(const QString& name);

private:
    void showProfileControls(int set);
    void enableProfileControls(bool enabled);

    PageControls controls_;
};

}  // namespace orvane::ui::pages
