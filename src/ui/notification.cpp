// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/notification.h"

#include <array>
#include <utility>

namespace orvane::ui::event {

uint16_t BitOf(const QString& type) {
    static const std::array<std::pair<const QString*, uint16_t>, 11> kBits{{
        {&Click, kClick}, {&SelectChanged, kSelectChanged}, {&ItemSelect, kItemSelect},
        {&ItemClick, kItemClick}, {&ValueChanged, kValueChanged},
        {&MoveValueChanged, kMoveValueChanged}, {&TextChanged, kTextChanged},
        {&ColorChanged, kColorChanged}, {&MouseEnter, kMouseEnter}, {&MouseLeave, kMouseLeave},
        {&EditDone, kEditDone},
    }};
    for (const auto& [name, bit] : kBits)
        if (type == *name) return bit;  // exact, case-sensitive
    return 0;
}

}  // namespace orvane::ui::event
