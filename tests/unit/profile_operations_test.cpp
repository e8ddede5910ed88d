// SPDX-License-Identifier: GPL-3.0-or-later
// The profile operations without a device: naming and selection of add, copy, rename and
// delete, links moving on delete, import and export, reset (the mouse lighting's order),
// and every refusal leaving the list, the index and the files as they were.

#include <gtest/gtest.h>

#include <mutex>

#include "platform/folder_lock.h"
#include "platform/ini_file.h"
#include "platform/pointer_settings.h"
#include "unit/profile_fixture.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using profiles::ListId;
using profiles::ProfileResult;
using profiles::ReadResult;
using Names = std::vector<std::string>;

class RecordingPointer final : public platform::PointerBackend {
public:
    std::mutex mutex;
    std::vector<int> speeds, lines;
    std::string name() const override { return "recording"; }
    bool applyPointerSpeed(int s) override {
        std::lock_guard lock(mutex);
        speeds.push_back(s);
        return true;
    }
    bool applyWheelLines(int l) override {
        std::lock_guard lock(mutex);
        lines.push_back(l);
        return true;
    }
};

struct OperationsRig : testing::ProfileRig {
    RecordingPointer* recorded = new RecordingPointer;
    platform::PointerSettings pointer{std::unique_ptr<platform::PointerBackend>(recorded)};
    profiles::ProfileOperations ops{store, {nullptr, nullptr, &pointer}};

    OperationsRig() {
        initAll();
        ops.selectProfile(ListId::KeyboardLighting, 0);
    }
    /// The list, the index and the files agree, and the selection is `selected`.
    void expectList(ListId id, const Names& names, int selected) {
        const auto list = store.list(id);
        EXPECT_EQ(list.names, names);
        EXPECT_EQ(list.selection, selected);
        EXPECT_EQ(indexNames(id), names);
        EXPECT_EQ(store.recordedSelection(id), selected);
        for (const auto& n : names) EXPECT_TRUE(fs::exists(file(id, n))) << n;
    }
    void rename(ListId id, const std::string& to) {
        ASSERT_TRUE(ops.renameProfile(id, to).message.empty()) << to;
    }
};

constexpr ListId kKbLed = ListId::KeyboardLighting;

TEST(ProfileOperations, AddTakesTheSmallestFreeNumberAndSelectsTheNewProfile) {
    OperationsRig rig;
    auto r = rig.ops.addProfile(kKbLed);  // New Profile 2
    EXPECT_TRUE(r.listChanged);
    EXPECT_EQ(r.selected, 1);
    rig.rename(kKbLed, "new profile 3");
    rig.ops.selectProfile(kKbLed, 0);
    r = rig.ops.addProfile(kKbLed);
    EXPECT_EQ(r.selectedName, "New Profile 2");
    r = rig.ops.addProfile(kKbLed);
    EXPECT_EQ(r.selectedName, "New Profile 4");
    EXPECT_EQ(r.page, profiles::PageAction::RefreshKeyboardLighting);
    EXPECT_EQ(r.loaded, ReadResult::Read);
    rig.expectList(kKbLed, {"New Profile 1", "new profile 3", "New Profile 2", "New Profile 4"}, 3);
    EXPECT_EQ(fs::file_size(rig.file(kKbLed, "New Profile 4")), 16u + 1958u);
    // Links of new profiles start unlinked.
    EXPECT_EQ(platform::IniFile(rig.store.indexPath(kKbLed)).find("PROFILELIKEDENGEXE", "3"), "0");
}

TEST(ProfileOperations, CopyAppendsCopyUntilTheNameIsFree) {
    OperationsRig rig;
    rig.rename(kKbLed, "A");
    rig.plant(kKbLed, "A", testing::ProfileRig::Pattern(kKbLed, 3));
    auto r = rig.ops.copyProfile(kKbLed);
    EXPECT_EQ(r.selectedName, "A copy");
    rig.ops.selectProfile(kKbLed, 0);
    r = rig.ops.copyProfile(kKbLed);
    EXPECT_EQ(r.selectedName, "A copy copy");
    rig.expectList(kKbLed, {"A", "A copy", "A copy copy"}, 2);
    EXPECT_EQ(rig.bytesOf(rig.file(kKbLed, "A copy copy")), rig.bytesOf(rig.file(kKbLed, "A")));
}

TEST(ProfileOperations, RenameRefusalsChangeNothing) {
    OperationsRig rig;
    rig.ops.addProfile(kKbLed);  // New Profile 2, selected
    const std::string before = rig.bytesOf(rig.store.indexPath(kKbLed));
    struct Case {
        std::string name;
        std::string_view message;
    } const cases[] = {
        {"", "message_text_14"},
        {"New Profile 2", "message_text_15"},   // its own name
        {"NEW PROFILE 2", "message_text_15"},   // its own name in another case
        {"new profile 1", "message_text_15"},   // another entry's
        {"a/b", "message_text_20"},
        {"..", "message_text_20"},
        {"../New Profile 9", "message_text_20"},
        {"bell\a", "message_text_20"},
        {std::string(300, 'n'), "message_text_20"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(rig.ops.renameProfile(kKbLed, c.name).message, c.message);
    }
    EXPECT_EQ(rig.bytesOf(rig.store.indexPath(kKbLed)), before);
    rig.expectList(kKbLed, {"New Profile 1", "New Profile 2"}, 1);
    size_t files = 0;
    for (const auto& e : fs::recursive_directory_iterator(rig.data))
        files += e.is_regular_file() && e.path().filename() != platform::kFolderLockName;
    EXPECT_EQ(files, 5u + 1u + 3u);  // the five "New Profile 1", "New Profile 2", three indexes
    EXPECT_FALSE(fs::exists(rig.data / "New Profile 9.led"));
}

TEST(ProfileOperations, RenameMovesTheFileKeepsTheLinkAndDoesNotReload) {
    OperationsRig rig;
    const auto body = testing::ProfileRig::Pattern(kKbLed, 11);
    rig.plant(kKbLed, "New Profile 1", body);
    rig.store.writeLink(kKbLed, 0, {"1", "/usr/bin/game"});
    rig.keyboard.update([](keyboard::KeyboardData& k) { k.colours.bytes.fill(0x77); });
    const auto r = rig.ops.renameProfile(kKbLed, "Work");
    EXPECT_TRUE(r.message.empty());
    EXPECT_EQ(r.selectedName, "Work");
    EXPECT_FALSE(r.selected);
    rig.expectList(kKbLed, {"Work"}, 0);
    EXPECT_FALSE(fs::exists(rig.file(kKbLed, "New Profile 1")));
    EXPECT_EQ(rig.bytesOf(rig.file(kKbLed, "Work")).substr(16), std::string(body.begin(), body.end()));
    EXPECT_EQ(rig.store.link(kKbLed, 0).process, "/usr/bin/game");
    EXPECT_EQ(rig.keyboard.snapshot().colours.bytes[0], 0x77);  // not reloaded
}

TEST(ProfileOperations, AddAndRenameNeverNameAProfileWithoutAFile) {
    OperationsRig rig;
    // Rename: the old file is read first; when it is gone nothing changes.
    fs::remove(rig.file(kKbLed, "New Profile 1"));
    EXPECT_EQ(rig.ops.renameProfile(kKbLed, "Other").message, "message_text_8");
    EXPECT_EQ(rig.indexNames(kKbLed), Names{"New Profile 1"});
    EXPECT_FALSE(fs::exists(rig.file(kKbLed, "Other")));

    // Add: the default file is read first.
    testing::ProfileRig other;
    const fs::path empty = other.data / "no-defaults";
    fs::create_directories(empty);
    profiles::ProfileStore store(other.data / "kx", {testing::ShippedDefaults()}, {&other.keyboard, nullptr, nullptr});
    ASSERT_TRUE(store.initProfileLists(device::DeviceKind::Keyboard).message.empty());
    profiles::ProfileStore noDefaults(other.data / "kx", {empty}, {&other.keyboard, nullptr, nullptr});
    ASSERT_TRUE(noDefaults.initProfileLists(device::DeviceKind::Keyboard).message.empty());  // not a first run
    profiles::ProfileOperations ops(noDefaults, {});
    EXPECT_EQ(ops.addProfile(ListId::KeyboardKeys).message, "message_text_8");
    EXPECT_EQ(noDefaults.list(ListId::KeyboardKeys).names, Names{"New Profile 1"});
    EXPECT_EQ(noDefaults.indexCount(ListId::KeyboardKeys), 1);
    EXPECT_FALSE(fs::exists(other.data / "kx/kb/New Profile 2.pro"));
}

TEST(ProfileOperations, DeleteSelectsTheNeighbourAndMovesLinksWithTheirProfiles) {
    OperationsRig rig;
    rig.ops.addProfile(kKbLed);
    rig.ops.addProfile(kKbLed);  // New Profile 1..3, 3 selected
    for (int i = 0; i < 3; ++i)
        rig.store.writeLink(kKbLed, i, {std::to_string(i % 2), "/opt/app" + std::to_string(i)});
    rig.store.writeLink(kKbLed, 0, {"0", " "});

    // The only-profile and declined cases first.
    EXPECT_FALSE(rig.ops.deleteProfile(kKbLed, [](std::string_view) { return false; }).listChanged);
    rig.expectList(kKbLed, {"New Profile 1", "New Profile 2", "New Profile 3"}, 2);

    std::vector<std::string> asked;
    const auto yes = [&](std::string_view id) {
        asked.emplace_back(id);
        return true;
    };
    // The last of three: the new last entry is selected.
    auto r = rig.ops.deleteProfile(kKbLed, yes);
    EXPECT_EQ(asked, Names{"message_text_12"});
    EXPECT_EQ(r.selected, 1);
    rig.expectList(kKbLed, {"New Profile 1", "New Profile 2"}, 1);
    EXPECT_FALSE(fs::exists(rig.file(kKbLed, "New Profile 3")));
    // The old last position stays in the file, above "count".
    EXPECT_EQ(platform::IniFile(rig.store.indexPath(kKbLed)).find("PROFILEDENGNAME", "2"), "New Profile 3");

    // The first: the entry that took its place is selected and keeps its link.
    rig.ops.selectProfile(kKbLed, 0);
    r = rig.ops.deleteProfile(kKbLed, yes);
    EXPECT_EQ(r.selected, 0);
    EXPECT_EQ(r.selectedName, "New Profile 2");
    EXPECT_EQ(r.link.linked, true);
    EXPECT_EQ(r.link.application, "app1");
    rig.expectList(kKbLed, {"New Profile 2"}, 0);
    EXPECT_EQ(rig.store.link(kKbLed, 0).flag, "1");
    EXPECT_EQ(rig.store.link(kKbLed, 0).process, "/opt/app1");

    EXPECT_EQ(rig.ops.deleteProfile(kKbLed, yes).message, "message_text_11");
    EXPECT_EQ(asked.size(), 2u);
}

TEST(ProfileOperations, ALinkWithoutAFolderSelectsButDoesNotLoad) {
    OperationsRig rig;
    rig.ops.addProfile(kKbLed);
    rig.store.writeLink(kKbLed, 0, {"1", "game.exe"});
    rig.keyboard.update([](keyboard::KeyboardData& k) { k.paint.bytes.fill(0x5A); });
    const auto r = rig.ops.selectProfile(kKbLed, 0);
    EXPECT_EQ(r.selected, 0);
    EXPECT_EQ(rig.store.recordedSelection(kKbLed), 0);
    EXPECT_EQ(r.loaded, ReadResult::Missing);
    EXPECT_EQ(r.page, profiles::PageAction::None);
    EXPECT_EQ(rig.keyboard.snapshot().paint.bytes[0], 0x5A);
}

TEST(ProfileOperations, ImportRefusesAFileWithoutTheMagicAndTakesShortFilesZeroFilled) {
    OperationsRig rig;
    const ListId id = ListId::MouseLighting;
    rig.ops.selectProfile(id, 0);
    const fs::path target = rig.file(id, "New Profile 1");
    const std::string before = rig.bytesOf(target);
    const fs::path foreign = rig.data / "foreign.led";
    platform::WriteFileAtomically(foreign, std::string(80, '\x33'));
    EXPECT_EQ(rig.ops.importProfile(id, foreign).message, "message_text_9");
    EXPECT_EQ(rig.ops.importProfile(id, rig.data / "absent.led").message, "message_text_8");
    EXPECT_EQ(rig.bytesOf(target), before);

    // A pad lighting file with a 5-byte body: magic right, kind not compared, tail zero.
    const fs::path shortFile = rig.data / "short.led";
    platform::WriteFileAtomically(shortFile, std::string("\xAA\x55\0\0\x03\0\0\0\0\0\0\0\0\0\0\0\0\x07\x04\x02\0", 21));
    const auto r = rig.ops.importProfile(id, shortFile);
    EXPECT_TRUE(r.message.empty());
    EXPECT_EQ(r.loaded, ReadResult::Read);
    const std::string after = rig.bytesOf(target);
    ASSERT_EQ(after.size(), 80u);
    EXPECT_EQ(after[4], '\x02');  // written as the list's kind
    EXPECT_EQ(after.substr(16), std::string("\x00\x07\x04\x02", 4) + std::string(60, '\0'));
    EXPECT_EQ(rig.mouse.snapshot().state.lightingMode(), 7);
    EXPECT_TRUE(rig.mouse.stateDirty);
    EXPECT_EQ(rig.mouse.snapshot().wheelLines, 1);  // 0 in the file reads as 1
}

TEST(ProfileOperations, ExportWritesTheStoredFileWithTheListsKind) {
    OperationsRig rig;
    const ListId id = ListId::MouseLighting;
    rig.ops.selectProfile(id, 0);
    // The stored file carries the mousepad's kind.
    const auto body = testing::ProfileRig::Pattern(id, 21);
    ASSERT_TRUE(profiles::WriteProfileFile(rig.file(id, "New Profile 1"), device::DeviceKind::Mousepad, body));
    rig.mouse.update([](mouse::MouseData& m) { m.state.bytes.fill(0xEE); });  // not what is exported
    const fs::path out = rig.data / "backup.led";
    EXPECT_TRUE(rig.ops.exportProfile(id, out).message.empty());
    EXPECT_EQ(rig.bytesOf(out), profiles::ProfileFileBytes(device::DeviceKind::Mouse, body));

    fs::remove(rig.file(id, "New Profile 1"));
    EXPECT_EQ(rig.ops.exportProfile(id, rig.data / "other.led").message, "message_text_8");
    EXPECT_FALSE(fs::exists(rig.data / "other.led"));
}

TEST(ProfileOperations, MouseLightingResetSavesBeforeSettingSpeedTenAndLinesThree) {
    OperationsRig rig;
    const ListId id = ListId::MouseLighting;
    rig.ops.selectProfile(id, 0);
    rig.mouse.update([](mouse::MouseData& m) {
        m.pointerSpeed = 16;
        m.wheelLines = 7;
        m.block.slots[0].bytes.fill(0x99);
        m.state.bytes.fill(0x99);
    });
    rig.mouse.stateDirty = false;
    const auto r = rig.ops.resetProfile(id);
    EXPECT_TRUE(r.message.empty());
    EXPECT_EQ(r.page, profiles::PageAction::RefreshMousePage);

    const std::string saved = rig.bytesOf(rig.file(id, "New Profile 1"));
    const std::string def = rig.bytesOf(testing::ShippedDefaults() / "msdengdefault.led");
    EXPECT_EQ(saved.substr(16, 23), def.substr(16, 23));  // the default's state
    EXPECT_EQ(uint8_t(saved[16 + 23]), 16);               // saved with the old speed and lines
    EXPECT_EQ(uint8_t(saved[16 + 24]), 7);
    EXPECT_EQ(saved.substr(16 + 56), std::string(8, '\x99'));  // only 56 bytes taken over

    const auto d = rig.mouse.snapshot();
    EXPECT_EQ(d.pointerSpeed, 10);
    EXPECT_EQ(d.wheelLines, 3);
    EXPECT_TRUE(rig.mouse.stateDirty);
    rig.pointer.waitIdle();
    EXPECT_EQ(rig.recorded->speeds, std::vector<int>{10});
    EXPECT_EQ(rig.recorded->lines.back(), 3);
}

TEST(ProfileOperations, OtherResetsTakeTheDefaultIntoTheSelectedProfile) {
    OperationsRig rig;
    for (ListId id : {ListId::KeyboardKeys, ListId::MouseKeys, ListId::PadLighting}) {
        SCOPED_TRACE(int(id));
        rig.ops.addProfile(id);
        rig.plant(id, "New Profile 2", testing::ProfileRig::Pattern(id, 1));
        const auto r = rig.ops.resetProfile(id);
        EXPECT_TRUE(r.message.empty());
        const std::string def = rig.bytesOf(rig.store.defaultPath(id));
        const std::string saved = rig.bytesOf(rig.file(id, "New Profile 2"));
        const size_t taken = profiles::ListSpecOf(id).resetBytes;
        EXPECT_EQ(saved.substr(0, 16 + taken), def.substr(0, 16 + taken));
    }
    EXPECT_TRUE(rig.pad.stateDirty);
}

}  // namespace
}  // namespace orvane
