// SPDX-License-Identifier: GPL-3.0-or-later
// The mousepad page on an emulated mousepad: the controls each lighting mode uses, edits
// reaching the pad's settings memory with the flush (one report for a burst), the colour
// edits' clamp, the slot list and restore-defaults.
#include <gtest/gtest.h>

#include <QAbstractSlider>
#include <QComboBox>
#include <QLineEdit>

#include "device_pages_rig.h"

using namespace orvane;
using pagestest::DeviceRig;
using device::DeviceModel;

namespace {

constexpr size_t kPadSlotStride = 64;
// Byte offsets of a mousepad slot record.
constexpr size_t kMode = 1, kBrightness = 2, kSpeed = 3, kDirection = 4, kSevenColour = 5, kColour = 6;

struct PadRig : DeviceRig {
    PadRig() : DeviceRig({DeviceModel::Mousepad}) {
        EXPECT_TRUE(waitForTab("mp_tab"));
        flush();
    }
    void flush() { ProgramRig::flush(); }
    std::vector<uint8_t> activeRecord() {
        const auto memory = settings(DeviceModel::Mousepad);
        const size_t slot = memory[0] < 5 ? memory[0] : 0;
        return {memory.begin() + long(slot * kPadSlotStride), memory.begin() + long(slot * kPadSlotStride + 56)};
    }
    void type(const char* edit, const QString& text) {
        auto* e = control<QLineEdit>(edit);
        e->setText(text);
        Q_EMIT e->textEdited(text);
    }
    bool enabled(const char* name) { return control(name)->isEnabled(); }
    void selectMode(int mode) { control<QComboBox>("mp_deng_combo_modeSelect")->setCurrentIndex(mode); }
};

TEST(PadPage, EachModeEnablesTheControlsItUses) {
    PadRig rig;
    struct Case {
        int mode;
        bool direction, colour, seven, speed, same;
    };
    // Mode 9 leaves the speed as the mode before set it: checked after mode 3 (off) below.
    const Case cases[] = {
        {0, true, true, true, true, true},    {1, false, false, false, true, true},
        {2, false, true, true, true, true},   {3, false, true, false, false, true},
        {4, true, true, true, true, false},   {5, true, true, true, true, false},
        {6, false, false, false, true, false}, {7, false, true, true, true, false},
        {8, false, true, true, false, false}, {9, false, true, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        rig.selectMode(c.mode);
        EXPECT_EQ(rig.enabled("mp_deng_fx_layout"), c.direction);
        EXPECT_EQ(rig.enabled("mp_deng_color_layout"), c.colour);
        EXPECT_EQ(rig.enabled("mp_deng_7colorselect_layout"), c.seven);
        EXPECT_EQ(rig.enabled("mp_deng_speed_layout"), c.speed);
        EXPECT_EQ(rig.enabled("mp_deng_same_mode"), c.same);
        EXPECT_EQ(rig.devices->pad.state().lightingMode(), c.mode);
    }
    rig.selectMode(0);
    rig.selectMode(9);
    EXPECT_TRUE(rig.enabled("mp_deng_speed_layout"));  // kept from mode 0
}

TEST(PadPage, EditsReachThePadWithTheFlush) {
    PadRig rig;
    rig.selectMode(4);  // a mode with a direction
    rig.control<QAbstractSlider>("mp_deng_light_slider")->setValue(1);
    rig.control<QAbstractSlider>("mp_deng_speed_slider")->setValue(0);  // slowest
    rig.control<QAbstractButton>("mp_Deng_FXR_check")->click();
    rig.control<QAbstractButton>("mp_Deng_FXL_check")->click();
    EXPECT_TRUE(rig.checked("mp_Deng_FXL_check"));
    EXPECT_FALSE(rig.checked("mp_Deng_FXR_check"));
    rig.control<QAbstractButton>("mp_Deng_color_btn_16")->click();  // 0xFF48B1FA
    rig.flush();
    auto record = rig.activeRecord();
    EXPECT_EQ(record[kMode], 4);
    EXPECT_EQ(record[kBrightness], 1);
    EXPECT_EQ(record[kSpeed], 14);
    EXPECT_EQ(record[kDirection], 1);
    EXPECT_EQ(record[kSevenColour], 0);
    EXPECT_EQ((std::array<uint8_t, 3>{record[kColour], record[kColour + 1], record[kColour + 2]}),
              (std::array<uint8_t, 3>{0x48, 0xB1, 0xFA}));

    rig.control<QAbstractSlider>("mp_deng_speed_slider")->setValue(14);  // fastest
    rig.control<QAbstractButton>("mp_Deng_7color_check")->setChecked(true);
    rig.flush();
    record = rig.activeRecord();
    EXPECT_EQ(record[kSpeed], 0);
    EXPECT_EQ(record[kSevenColour], 1);
}

TEST(PadPage, ColourEditsClampAt255AndEndTheColourCycle) {
    PadRig rig;
    rig.control<QAbstractButton>("mp_Deng_7color_check")->setChecked(true);
    rig.type("mp_Deng_edit_G", "300");
    EXPECT_EQ(rig.control<QLineEdit>("mp_Deng_edit_G")->text(), "255");
    EXPECT_FALSE(rig.checked("mp_Deng_7color_check"));
    rig.type("mp_Deng_edit_R", "12");
    rig.flush();
    const auto record = rig.activeRecord();
    EXPECT_EQ(record[kColour], 12);
    EXPECT_EQ(record[kColour + 1], 255);
    EXPECT_EQ(record[kSevenColour], 0);
}

TEST(PadPage, TenSliderMovesMakeOneReport) {
    PadRig rig;
    auto& pad = rig.device(DeviceModel::Mousepad);
    pad.resetCounters();
    for (int i = 0; i < 10; ++i) rig.control<QAbstractSlider>("mp_deng_speed_slider")->setValue(i % 2 ? 3 : 9);
    rig.flush();
    EXPECT_EQ(pad.requestCount(), 1u);
    EXPECT_EQ(rig.activeRecord()[kSpeed], 14 - 3);
}

TEST(PadPage, SlotListSwitchesThePadsActiveSlot) {
    PadRig rig;
    uint8_t slot2Mode = 0;
    rig.firmware(DeviceModel::Mousepad, [&](sim::DeviceFirmware& fw) { slot2Mode = fw.slotRecord(2)[kMode]; });
    rig.control<QComboBox>("mp_deng_combo_profile")->setCurrentIndex(2);
    rig.settle();  // the switch runs as a pad job
    EXPECT_EQ(rig.activeSlot(DeviceModel::Mousepad), 2);
    EXPECT_EQ(rig.control<QComboBox>("mp_deng_combo_modeSelect")->currentIndex(), slot2Mode);

    auto& pad = rig.device(DeviceModel::Mousepad);
    pad.resetCounters();
    rig.control<QComboBox>("mp_deng_combo_profile")->setCurrentIndex(-1);  // no selection: nothing sent
    rig.settle();
    EXPECT_EQ(pad.requestCount(), 0u);
}

TEST(PadPage, RestoreDefaultsReadsThePadBackASecondLater) {
    PadRig rig;
    rig.control<QComboBox>("mp_deng_combo_modeSelect")->setCurrentIndex(6);
    rig.flush();
    rig.control<QAbstractButton>("mp_one_profile_default")->click();
    rig.settle();
    uint64_t resets = 0;
    rig.firmware(DeviceModel::Mousepad, [&](sim::DeviceFirmware& fw) { resets = fw.factoryResetCount(); });
    EXPECT_EQ(resets, 1u);
    EXPECT_EQ(rig.devices->pad.state().lightingMode(), 6);  // not yet read back
    EXPECT_TRUE(shelltest::WaitUntil([&] { return rig.devices->pad.state().lightingMode() != 6; }, 5000));
    rig.settle();  // the page shows it when the read-back job has reported
    EXPECT_EQ(rig.control<QComboBox>("mp_deng_combo_modeSelect")->currentIndex(), rig.devices->pad.state().lightingMode());
}

}  // namespace
