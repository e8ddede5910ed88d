// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/mouse_slots.h"

#include "ui/pages/device_models.h"

namespace orvane::ui::pages {

using device::DeviceKind;
using runtime::JobStatus;

MouseSlotsPage::MouseSlotsPage(ControlLookup lookup, runtime::Runtime& runtime, MouseDpiPage& dpi)
    : controls_(std::move(lookup)), runtime_(runtime), dpi_(dpi) {
    bindings_
        .onFamily(kMouseSlotFamily, int(mouse::kSlotCount), event::kClick,
                  [this](const Notification&, int slot) { selectSlot(slot); })
        .on("ms_one_profile_default", event::kClick, [this](const Notification&) { restoreDefaults(); });
}

void MouseSlotsPage::selectSlot(int slot) {
    runtime_.mouseSession().selectSlot(
        unsigned(slot), [this](JobStatus status, const device::SlotSwitchResult& r) {
            if (status == JobStatus::Done && r.outcome == device::SlotSwitch::Switched)
                controls_.setVisible(QStringLiteral("ms_tab_function"), false);
        });
}

void MouseSlotsPage::restoreDefaults() {
    // The mouse announces its restored settings itself; the page is read back then.
    dpi_.showPointerDefaults();
    runtime_.mouseSession().resetDefaults();
}

void MouseSlotsPage::refresh() {
    const unsigned slot = runtime_.mouse.state().activeSlot();
    for (unsigned s = 0; s < mouse::kSlotCount; ++s) {
        SetLook(controls_.find(QLatin1String(kMouseSlotFamily) + QString::number(s)), "current", s == slot);
    }
}

}  // namespace orvane::ui::pages
