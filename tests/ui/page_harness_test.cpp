// SPDX-License-Identifier: GPL-3.0-or-later
// Page controllers alone on their layout files (no window, monitors, threads or devices):
// what a control does to the model, the events the page raises, the jobs it submits.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include <algorithm>

#include "page_harness.h"
#include "ui/pages/pad_page.h"

using namespace orvane;
using device::DeviceKind;

namespace {

TEST(PadPageAlone, ModeChoiceStoresTheModeEndsSynchronisedLightingAndAsksForASave) {
    pagetest::PageHarness h("MousePad_deng.ui");
    ASSERT_TRUE(h.loaded());
    ui::pages::PadPage page(h.lookup(), *h.runtime);
    page.prepare();
    h.bind(page.bindings());
    auto& rt = *h.runtime;
    std::vector<DeviceKind> saves;
    const auto counting = rt.events.settingsEdited.subscribe([&](const DeviceKind& k) { saves.push_back(k); });
    for (DeviceKind k : runtime::kDeviceKinds) rt.connection(k).syncLighting = true;

    h.control<QComboBox>("mp_deng_combo_modeSelect")->setCurrentIndex(4);  // sweep: direction, colour, speed
    EXPECT_EQ(rt.pad.state().lightingMode(), 4);
    EXPECT_TRUE(rt.pad.stateDirty);
    EXPECT_EQ(saves, std::vector<DeviceKind>{DeviceKind::Mousepad});
    // A mode choice ends synchronised lighting on every device.
    for (DeviceKind k : runtime::kDeviceKinds) EXPECT_FALSE(rt.connection(k).syncLighting) << int(k);
    EXPECT_TRUE(h.control<QWidget>("mp_deng_fx_layout")->isEnabled());
    EXPECT_FALSE(h.control<QWidget>("mp_deng_same_mode")->isEnabled());

    // A typed component above 255 is shown and stored as 255, and ends the colour cycle.
    h.control<QAbstractButton>("mp_Deng_7color_check")->setChecked(true);
    auto* g = h.control<QLineEdit>("mp_Deng_edit_G");
    g->setText(QStringLiteral("300"));
    Q_EMIT g->textEdited(QStringLiteral("300"));
    EXPECT_EQ(g->text(), "255");
    EXPECT_EQ(rt.pad.state().colour().g, 255);
    EXPECT_FALSE(h.control<QAbstractButton>("mp_Deng_7color_check")->isChecked());
}

TEST(PadPageAlone, DeviceWorkGoesThroughThePadsJobsAndNeedsThePad) {
    pagetest::PageHarness h("MousePad_deng.ui");
    ui::pages::PadPage page(h.lookup(), *h.runtime);
    h.bind(page.bindings());
    auto& rt = *h.runtime;
    int shownAnew = 0;
    const auto counting = rt.events.modelChanged.subscribe([&](const DeviceKind&) { ++shownAnew; });
    const auto before = rt.pad.snapshot().state;

    h.control<QComboBox>("mp_deng_combo_profile")->setCurrentIndex(2);
    h.control<QAbstractButton>("mp_one_profile_default")->click();
    auto& jobs = dynamic_cast<runtime::InlineJobs&>(rt.jobs(DeviceKind::Mousepad));
    EXPECT_EQ(jobs.submitted(), (std::vector<std::string>{"pad slot", "pad restore defaults"}));
    // The pad is not there: neither job ran, nothing changed, nothing is shown anew.
    EXPECT_EQ(rt.pad.snapshot().state, before);
    EXPECT_EQ(shownAnew, 0);
}

TEST(PadPageAlone, SameModeCopiesThePadsChoiceAndHandsAllThreeToTheSynchronisedEffect) {
    pagetest::PageHarness h("MousePad_deng.ui");
    ui::pages::PadPage page(h.lookup(), *h.runtime);
    h.bind(page.bindings());
    auto& rt = *h.runtime;
    std::vector<DeviceKind> shownAnew;
    const auto counting = rt.events.modelChanged.subscribe([&](const DeviceKind& k) { shownAnew.push_back(k); });
    rt.pad.update([](mousepad::PadData& d) { d.state.set(mousepad::PadState::off::lightingMode, 1); });

    h.control<QAbstractButton>("mp_deng_same_mode")->click();
    // The pad's spectrum (its mode 1) is the mouse's mode 3 and the keyboard's colour cycle.
    EXPECT_EQ(rt.mouse.state().lightingMode(), 3);
    EXPECT_EQ(rt.keyboard.read([](const keyboard::KeyboardData& d) { return d.lighting.mode(); }), 7);
    std::sort(shownAnew.begin(), shownAnew.end());
    EXPECT_EQ(shownAnew, (std::vector<DeviceKind>{DeviceKind::Keyboard, DeviceKind::Mouse}));  // the two others
    for (DeviceKind k : runtime::kDeviceKinds) EXPECT_TRUE(rt.connection(k).syncLighting) << int(k);
}

}  // namespace
