// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// LeaveCheck: a page that may hold work the user has not kept. Before another page or device
// tab comes up the window asks the page that shows whether it may be left; a page that says
// no stays, and the window tells the user why.

namespace orvane::ui::pages {

class LeaveCheck {
public:
    virtual ~LeaveCheck() = default;
    virtual bool mayLeave() const = 0;
};

}  // namespace orvane::ui::pages
