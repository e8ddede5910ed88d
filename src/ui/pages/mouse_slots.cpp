#include "ui/pages/mouse_slots.h"

#include <QStyle>

#include "ui/pages/device_models.h"

namespace orvane::ui::pages {

namespace {
void Call(const std::function<void()>& part) {
    if (part) part();
}
}  // namespace

MouseSlotsPage::MouseSlotsPage(ControlLookup lookup, protocol::DeviceConnection& mouse, mouse::MouseModel& model,
                               platform::PointerSettings& pointer, MouseDpiPage& dpi)
    : controls_(std::move(lookup)), mouse_(mouse), model_(model), pointer_(pointer), dpi_(dpi) {}

bool MouseSlotsPage::handle(const Notification& n) {
    if (n.type != event::Click) return false;
    if (const auto slot = FamilyIndex(n.sender, kMouseSlotFamily)) {
        selectSlot(*slot);
        return true;
    }
    if (NameIs(n.sender, "ms_one_profile_default")) {
        restoreDefaults();
        return true;
    }
    return false;
}

void MouseSlotsPage::selectSlot(int slot) {
    const auto result = mouse::SelectMouseSlot(mouse_, model_, unsigned(slot));
    if (result.outcome != mouse::SlotSwitch::Switched) return;
    controls_.setVisible(QStringLiteral("ms_tab_function"), false);
    refresh();
}

void MouseSlotsPage::restoreDefaults() {
    // The mouse announces its restored settings itself; the page is read back then.
    dpi_.showPointerDefaults();
    mouse::ResetMouseDefaults(mouse_, pointer_);
}

void MouseSlotsPage::showActiveSlot(unsigned slot) {
    for (unsigned s = 0; s < mouse::kSlotCount; ++s) {
        QWidget* button = controls_.find(QLatin1String(kMouseSlotFamily) + QString::number(s));
        if (!button) continue;
        button->setProperty("current", s == slot);
        button->style()->unpolish(button);
        button->style()->polish(button);
    }
}

void MouseSlotsPage::refresh() {
    Call(parts.lightingMode);
    dpi_.showReportRate();
    Call(parts.lightingSliders);
    dpi_.showStages();
    Call(parts.lightingColour);
    Call(parts.lightingChecks);
    dpi_.showDpiColour();
    Call(parts.buttonLabels);
    showActiveSlot(model_.state().activeSlot());
}

}  // namespace orvane::ui::pages
