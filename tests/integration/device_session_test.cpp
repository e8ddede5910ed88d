// SPDX-License-Identifier: GPL-3.0-or-later
// The device sessions on emulated devices: what an edit does follows the device's rules, a
// profile save waits for the data folder on the device's job thread and never on the
// caller's, and a macro delete renumbers the keys and saves the key profile on that thread.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "functions/function_code.h"
#include "integration/runtime_rig.h"
#include "platform/folder_lock.h"

namespace orvane {
namespace {

using runtime::Edit;

bool WaitIdle(runtime::Runtime& rt) {
    for (int i = 0; i < 2000; ++i) {
        bool idle = true;
        for (DeviceKind k : runtime::kDeviceKinds) idle = idle && rt.jobs(k).idle();
        if (idle) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

// Makes a change the profile file shows and hands it to the session with `what`.
void EditBrightness(runtime::Runtime& rt, DeviceKind kind, const Edit& what, uint8_t value) {
    switch (kind) {
    case DeviceKind::Keyboard:
        rt.keyboardSession().edit(what, [&](keyboard::KeyboardData& d) {
            d.lighting.set(keyboard::LightingRecord::off::brightness, value);
        });
        break;
    case DeviceKind::Mouse:
        rt.mouseSession().edit(what, [&](mouse::MouseData& d) { d.state.set(mouse::MouseState::off::brightness, value); });
        break;
    case DeviceKind::Mousepad:
        rt.padSession().edit(what, [&](mousepad::PadData& d) { d.state.set(mousepad::PadState::off::brightness, value); });
        break;
    }
}

TEST(DeviceSessions, TheDevicesRulesDecideWhatAnEditDoes) {
    struct Case {
        DeviceKind kind;
        Edit what;
        bool marksRecord;     // sent at the next flush
        bool endsOwnSync;     // this device leaves the synchronised effect
        bool endsOthersSync;  // so do the others
    };
    const Case cases[] = {
        {DeviceKind::Keyboard, runtime::kLightingEdit, false, true, false},
        {DeviceKind::Keyboard, runtime::kModeEdit, false, true, true},
        {DeviceKind::Mouse, runtime::kLightingEdit, false, true, false},  // the mouse's lighting is streamed
        {DeviceKind::Mouse, runtime::kModeEdit, true, true, true},        // its record holds the mode
        {DeviceKind::Mouse, runtime::kRecordEdit, true, false, false},    // DPI, report rate ...
        {DeviceKind::Mouse, runtime::kProfileOnlyEdit, false, false, false},
        {DeviceKind::Mousepad, runtime::kLightingEdit, true, true, false},  // the pad keeps all of it there
        {DeviceKind::Mousepad, runtime::kModeEdit, true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(device::KindTag(c.kind)) + " lighting " + std::to_string(c.what.lighting) + " mode " +
                     std::to_string(c.what.mode) + " record " + std::to_string(c.what.record));
        RuntimeRig rig({});
        auto& rt = *rig.rt;
        rt.lighting.startSynchronised();
        const auto list = profiles::FindList(c.kind, true)->id;
        const auto file = *rt.store.profilePath(list, "New Profile 1");
        const std::string before = FileBytes(file);
        std::vector<DeviceKind> edited;
        auto sub = rt.events.settingsEdited.subscribe([&](const DeviceKind& k) { edited.push_back(k); });

        EditBrightness(rt, c.kind, c.what, 0x21);
        ASSERT_TRUE(WaitIdle(rt));

        EXPECT_EQ(rt.session(c.kind).flushDue(), c.marksRecord);
        EXPECT_EQ(!rt.connection(c.kind).syncLighting, c.endsOwnSync);
        for (DeviceKind other : runtime::kDeviceKinds)
            if (other != c.kind) EXPECT_EQ(!rt.connection(other).syncLighting, c.endsOthersSync);
        EXPECT_EQ(edited, std::vector<DeviceKind>{c.kind});
        EXPECT_NE(FileBytes(file), before) << "the selected lighting profile keeps the edit";
    }
}

TEST(DeviceSessions, AProfileSaveWaitsForTheDataFolderOnTheJobThreadNotTheCallers) {
    RuntimeRig rig({});
    auto& rt = *rig.rt;
    std::vector<std::string> messages;
    auto sub = rt.events.message.subscribe([&](const std::string& m) { messages.push_back(m); });
    const auto file = *rt.store.profilePath(ListId::PadLighting, "New Profile 1");
    const std::string before = FileBytes(file);

    // Another holder of the folder (as another program would be) for the time of the edits.
    platform::FolderLock other(rt.store.dataFolder());
    ASSERT_EQ(other.acquire(), platform::FolderLock::State::Held);
    for (uint8_t v = 1; v <= 20; ++v) EditBrightness(rt, DeviceKind::Mousepad, runtime::kLightingEdit, v);
    // The edits returned without waiting for the folder: nothing is written yet, and no save
    // failed for want of it.
    EXPECT_EQ(FileBytes(file), before);
    EXPECT_TRUE(messages.empty());
    other.release();

    ASSERT_TRUE(WaitIdle(rt));
    EXPECT_TRUE(messages.empty());
    // The last edit is the one kept.
    rt.store.loadProfile(ListId::PadLighting, 0);
    EXPECT_EQ(rt.pad.state().brightness(), 20);
    EXPECT_NE(FileBytes(file), before);
}

TEST(DeviceSessions, AMacroDeleteRenumbersTheKeysAndSavesTheKeyProfile) {
    RuntimeRig rig({DeviceModel::RgbKeyboard});
    auto& rt = *rig.rt;
    ASSERT_EQ(rig.arrive(DeviceKind::Keyboard).readBack, protocol::kOk);
    auto& session = rt.keyboardSession();
    std::atomic<int> changes = 0;
    auto sub = rt.events.macrosChanged.subscribe([&](const DeviceKind&) { ++changes; });
    for (int i = 0; i < 2; ++i) session.addMacro({});
    ASSERT_TRUE(WaitIdle(rt));
    ASSERT_EQ(rt.macroStore.ListMacros(macros::MacroSet::Keyboard).size(), 2u);
    // Key 5 of the active bank runs the second macro.
    rt.keyboard.update([](keyboard::KeyboardData& d) { d.banks[d.activeBank()].setCode(5, {functions::code_type::kMacro, 1, 0}); });
    EXPECT_TRUE(session.macroInUse(1));
    const auto file = *rt.store.profilePath(ListId::KeyboardKeys, "New Profile 1");
    const std::string before = FileBytes(file);

    macros::StoreResult result;
    result.status = macros::StoreStatus::WriteFailed;
    session.deleteMacro(0, [&](runtime::JobStatus status, const macros::StoreResult& r) {
        EXPECT_EQ(status, runtime::JobStatus::Done);
        result = r;
    });
    ASSERT_TRUE(WaitIdle(rt));
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(rt.macroStore.ListMacros(macros::MacroSet::Keyboard).size(), 1u);
    const auto code = rt.keyboard.read([](const keyboard::KeyboardData& d) { return d.banks[d.activeBank()].code(5); });
    EXPECT_EQ(code.b1, 0) << "the key follows its macro to index 0";
    EXPECT_NE(FileBytes(file), before) << "the key profile keeps the renumbered key";
}

}  // namespace
}  // namespace orvane
