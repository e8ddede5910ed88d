// SPDX-License-Identifier: GPL-3.0-or-later
// The profile store: the file format and its reader, name checks and made-up names, first
// run on an empty data folder, start-up fill from an index, load and save through the
// models, an interrupted write, and saves from two threads at once.

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "platform/ini_file.h"
#include "profiles/profile_names.h"
#include "support/file_size_limit.h"
#include "unit/profile_fixture.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using profiles::ListId;
using profiles::ReadResult;
using testing::FileSizeLimit;
using testing::ProfileRig;

void WriteRaw(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(ProfileFile, HeaderThenBodyAndTheReaderTrustsOnlyTheMagic) {
    ProfileRig rig;
    const fs::path path = rig.data / "x.led";
    const std::vector<uint8_t> body = ProfileRig::Pattern(ListId::PadLighting, 9);
    ASSERT_TRUE(profiles::WriteProfileFile(path, device::DeviceKind::Mousepad, body));
    const std::string bytes = rig.bytesOf(path);
    ASSERT_EQ(bytes.size(), 16u + 64u);
    EXPECT_EQ(bytes.substr(0, 16), std::string("\xAA\x55\0\0\x03\0\0\0\0\0\0\0\0\0\0\0", 16));
    EXPECT_EQ(bytes.substr(16), std::string(body.begin(), body.end()));

    // Another device's kind with the right magic reads as well (the kind is not compared).
    const auto asMouse = profiles::ReadProfileFile(path, 64);
    EXPECT_EQ(asMouse.result, ReadResult::Read);
    EXPECT_EQ(asMouse.bytes, body);
    // A longer file gives exactly the size asked for.
    EXPECT_EQ(profiles::ReadProfileFile(path, 10).bytes, std::vector<uint8_t>(body.begin(), body.begin() + 10));
}

TEST(ProfileFile, ShortMissingAndForeignFiles) {
    ProfileRig rig;
    struct Case {
        const char* what;
        std::string bytes;
        ReadResult result;
        size_t bodyBytesKept;
    };
    const std::string header("\xAA\x55\0\0\x02\0\0\0\0\0\0\0\0\0\0\0", 16);
    const Case cases[] = {
        {"shorter than its body", header + "\x01\x02\x03", ReadResult::Read, 3},
        {"header only", header, ReadResult::Read, 0},
        {"cut inside the header", std::string("\xAA\x55\0", 3), ReadResult::Read, 0},
        {"no magic", std::string(80, '\x11'), ReadResult::BadMagic, 0},
        {"magic reversed", std::string("\x55\xAA", 2) + std::string(78, '\0'), ReadResult::BadMagic, 0},
        {"one byte", "\xAA", ReadResult::BadMagic, 0},
        {"empty", "", ReadResult::BadMagic, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path path = rig.data / "f.led";
        WriteRaw(path, c.bytes);
        const auto read = profiles::ReadProfileFile(path, 64);
        EXPECT_EQ(read.result, c.result);
        ASSERT_EQ(read.bytes.size(), 64u);  // always the size asked for, zero-filled
        for (size_t i = 0; i < 64; ++i)
            EXPECT_EQ(read.bytes[i], i < c.bodyBytesKept ? uint8_t(c.bytes[16 + i]) : 0) << "byte " << i;
    }
    EXPECT_EQ(profiles::ReadProfileFile(rig.data / "none.led", 64).result, ReadResult::Missing);
    EXPECT_EQ(profiles::ReadProfileFile(rig.data, 64).result, ReadResult::Missing);  // a folder
}

TEST(ProfileNames, WhatCanNameAProfileFile) {
    // + ".led" = 255 bytes, the file system's limit for a name (a longer one could never be
    // saved; the atomic write's temporary has a short name of its own).
    const std::string longest(251, 'a');
    struct Case {
        std::string name;
        bool valid;
    } const cases[] = {
        {"New Profile 1", true}, {"FPS – Präzision", true}, {"a.b", true}, {"...", true}, {longest, true},
        {"", false}, {".", false}, {"..", false}, {"a/b", false}, {"../x", false}, {"a\\b", false},
        {"tab\there", false}, {"line\nbreak", false}, {std::string("nul\0x", 5), false}, {"del\x7f", false},
        {" leading", false}, {"trailing ", false}, {"\"quoted\"", false}, {longest + "a", false},
        {std::string(260, 'x'), false},
    };
    for (const auto& c : cases) EXPECT_EQ(profiles::IsValidProfileName(c.name), c.valid) << '"' << c.name << '"';
}

TEST(ProfileNames, NewAndCopyNamesSkipTakenNamesWhateverTheirCase) {
    std::vector<std::string> names{"New Profile 1", "new profile 3"};
    EXPECT_EQ(profiles::NextNewProfileName(names), "New Profile 2");
    names.push_back("New Profile 2");
    EXPECT_EQ(profiles::NextNewProfileName(names), "New Profile 4");
    EXPECT_EQ(profiles::NextNewProfileName({}), "New Profile 1");

    const std::vector<std::string> copies{"A", "a COPY"};
    EXPECT_EQ(profiles::CopyName(copies, "A"), "A copy copy");
    EXPECT_EQ(profiles::CopyName(copies, "B"), "B copy");
}

TEST(ProfileStore, FirstRunCreatesNewProfileOneOfEveryListFromTheDefaults) {
    ProfileRig rig;
    rig.initAll();
    struct Expect {
        ListId id;
        const char* index;
        size_t fileSize;
        const char* defaultFile;
    } const expects[] = {
        {ListId::KeyboardLighting, "kb/kbProfile.ini", 16 + 1958, "kbdengdefault.led"},
        {ListId::KeyboardKeys, "kb/kbProfile.ini", 16 + 512, "kbkeydefault.pro"},
        {ListId::MouseLighting, "ms/msProfile.ini", 16 + 64, "msdengdefault.led"},
        {ListId::MouseKeys, "ms/msProfile.ini", 16 + 512, "mskeydefault.pro"},
        {ListId::PadLighting, "mp/mpProfile.ini", 16 + 64, "mpdengdefault.led"},
    };
    for (const auto& e : expects) {
        SCOPED_TRACE(e.defaultFile);
        const auto& s = *profiles::ListSpecOf(e.id).sections;
        const platform::IniFile ini(rig.data / e.index);
        EXPECT_EQ(ini.find(s.count, "count"), "1");
        EXPECT_EQ(ini.find(s.names, "0"), "New Profile 1");
        EXPECT_EQ(ini.find(s.linked, "0"), "0");
        EXPECT_EQ(ini.find(s.select, "select"), "0");
        const fs::path file = rig.file(e.id, "New Profile 1");
        EXPECT_EQ(fs::file_size(file), e.fileSize);
        EXPECT_EQ(rig.bytesOf(file), rig.bytesOf(testing::ShippedDefaults() / e.defaultFile));
        const auto list = rig.store.list(e.id);
        EXPECT_EQ(list.names, std::vector<std::string>{"New Profile 1"});
        EXPECT_EQ(list.selection, -1);  // selected when the device connects
    }
    // The mousepad's index holds the lighting set only.
    EXPECT_FALSE(platform::IniFile(rig.data / "mp/mpProfile.ini").find("PROFILECOUNT", "count"));
}

TEST(ProfileStore, FirstRunWithoutUsableDefaultsStopsTheDeviceAndWritesNothing) {
    ProfileRig rig;
    const fs::path defaults = rig.data / "defaults";
    fs::create_directories(defaults);
    profiles::ProfileStore missing(rig.data / "a", {defaults}, {&rig.keyboard, &rig.mouse, &rig.pad});
    const auto r = missing.initProfileLists(device::DeviceKind::Keyboard);
    EXPECT_EQ(r.message, "message_text_8");
    EXPECT_EQ(r.failed, ListId::KeyboardLighting);
    EXPECT_TRUE(missing.list(ListId::KeyboardKeys).names.empty());  // the key list is not filled
    EXPECT_FALSE(fs::exists(rig.data / "a" / "kb"));

    WriteRaw(defaults / "msdengdefault.led", std::string(80, '\0'));
    profiles::ProfileStore bad(rig.data / "b", {defaults}, {&rig.keyboard, &rig.mouse, &rig.pad});
    EXPECT_EQ(bad.initProfileLists(device::DeviceKind::Mouse).message, "message_text_9");
    EXPECT_FALSE(fs::exists(rig.data / "b" / "ms"));
}

TEST(ProfileStore, StartUpFillsTheListsFromTheIndexIgnoringEntriesAboveCount) {
    ProfileRig rig;
    platform::IniFile ini(rig.data / "ms/msProfile.ini");
    ini.writeInt("PROFILEDENGCOUNT", "count", 2);
    ini.writeString("PROFILEDENGNAME", "0", "Alpha");
    ini.writeString("PROFILEDENGNAME", "1", "Beta");
    ini.writeString("PROFILEDENGNAME", "2", "Left over");
    ini.writeString("PROFILECOUNT", "count", "99999999999");  // damaged: never trusted
    const auto r = rig.store.initProfileLists(device::DeviceKind::Mouse);
    EXPECT_EQ(r.message, profiles::kIndexRebuiltMessage);
    EXPECT_EQ(rig.store.list(ListId::MouseLighting).names, (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_FALSE(fs::exists(rig.file(ListId::MouseLighting, "New Profile 1")));  // not a first run
    // The key list had nothing readable and no files: it starts afresh, the rest stays.
    EXPECT_EQ(rig.store.list(ListId::MouseKeys).names, (std::vector<std::string>{"New Profile 1"}));
    EXPECT_EQ(ini.find("PROFILEDENGNAME", "2"), "Left over");
    EXPECT_TRUE(fs::exists(rig.data / "ms/msProfile.ini.damaged"));
}

TEST(ProfileStore, MouseLightingLoadsZeroPointerBytesAsOneAndSavesThroughSlotZero) {
    ProfileRig rig;
    rig.initAll();
    auto body = ProfileRig::Pattern(ListId::MouseLighting, 1);
    body[23] = 0;
    body[24] = 0;
    rig.plant(ListId::MouseLighting, "New Profile 1", body);
    ASSERT_EQ(rig.store.loadProfile(ListId::MouseLighting, 0), ReadResult::Read);
    const auto d = rig.mouse.snapshot();
    EXPECT_EQ(d.pointerSpeed, 1);
    EXPECT_EQ(d.wheelLines, 1);
    EXPECT_EQ(std::vector<uint8_t>(d.state.bytes.begin(), d.state.bytes.end()),
              std::vector<uint8_t>(body.begin(), body.begin() + 23));

    // Active slot 3 and new values: the profile is still staged in slot record 0.
    rig.mouse.update([](mouse::MouseData& m) {
        m.state.setActiveSlot(3);
        m.state.setLiftOff(2);
        m.pointerSpeed = 14;
        m.wheelLines = 6;
    });
    ASSERT_TRUE(rig.store.saveSelected(ListId::MouseLighting));
    const std::string saved = rig.bytesOf(rig.file(ListId::MouseLighting, "New Profile 1"));
    ASSERT_EQ(saved.size(), 80u);
    EXPECT_EQ(uint8_t(saved[16 + 0]), 3);
    EXPECT_EQ(uint8_t(saved[16 + 22]), 2);
    EXPECT_EQ(uint8_t(saved[16 + 23]), 14);
    EXPECT_EQ(uint8_t(saved[16 + 24]), 6);
    EXPECT_EQ(saved.substr(16 + 25), std::string(body.begin() + 25, body.end()));  // carried
}

TEST(ProfileStore, KeyboardLightingBodyIsSlotPaintAndColourLayers) {
    ProfileRig rig;
    rig.initAll();
    const auto body = ProfileRig::Pattern(ListId::KeyboardLighting, 5);
    rig.plant(ListId::KeyboardLighting, "New Profile 1", body);
    ASSERT_EQ(rig.store.loadProfile(ListId::KeyboardLighting, 0), ReadResult::Read);
    const auto d = rig.keyboard.snapshot();
    EXPECT_TRUE(std::equal(d.lightingSlots[0].bytes.begin(), d.lightingSlots[0].bytes.end(), body.begin()));
    EXPECT_TRUE(std::equal(d.lighting.bytes.begin(), d.lighting.bytes.end(), body.begin()));
    EXPECT_TRUE(std::equal(d.paint.bytes.begin(), d.paint.bytes.end(), body.begin() + 64));
    EXPECT_TRUE(std::equal(d.colours.bytes.begin(), d.colours.bytes.end(), body.begin() + 68));

    rig.keyboard.update([](keyboard::KeyboardData& k) {
        k.lighting.setSlot(2);
        k.lighting.set(keyboard::LightingRecord::off::mode, 15);
    });
    ASSERT_TRUE(rig.store.saveSelected(ListId::KeyboardLighting));
    const std::string saved = rig.bytesOf(rig.file(ListId::KeyboardLighting, "New Profile 1"));
    ASSERT_EQ(saved.size(), 16u + 1958u);
    EXPECT_EQ(uint8_t(saved[16]), 2);
    EXPECT_EQ(uint8_t(saved[17]), 15);
    EXPECT_EQ(saved.substr(16 + 21), std::string(body.begin() + 21, body.end()));
}

TEST(ProfileStore, SavesAndLoadsNeverLeaveTheFolderOrMakeUpAProfile) {
    ProfileRig rig;
    rig.initAll();
    platform::IniFile ini(rig.store.indexPath(ListId::KeyboardKeys));
    // A hand-edited index naming a path outside the folder.
    ini.writeString("PROFILENAME", "0", "../../escaped");
    EXPECT_FALSE(rig.store.saveSelected(ListId::KeyboardKeys));
    EXPECT_EQ(rig.store.loadProfile(ListId::KeyboardKeys, 0), ReadResult::Missing);
    EXPECT_FALSE(fs::exists(rig.data / ".." / "escaped.pro"));
    // A "select" beyond the list names no profile: nothing is written.
    ini.writeString("PROFILENAME", "0", "New Profile 1");
    ini.writeInt("PROFILESELECT", "select", 5);
    EXPECT_FALSE(rig.store.saveSelected(ListId::KeyboardKeys));
    EXPECT_FALSE(fs::exists(rig.file(ListId::KeyboardKeys, "0")));
}

TEST(ProfileStore, AWriteFailingHalfWayLeavesTheOldFileWhole) {
    ProfileRig rig;
    rig.initAll();
    const auto body = ProfileRig::Pattern(ListId::KeyboardLighting, 7);
    rig.plant(ListId::KeyboardLighting, "New Profile 1", body);
    const fs::path file = rig.file(ListId::KeyboardLighting, "New Profile 1");
    const std::string before = rig.bytesOf(file);
    rig.keyboard.update([](keyboard::KeyboardData& k) { k.colours.bytes.fill(0x42); });
    {
        testing::FileSizeLimit limit(1000);  // the 1974-byte file stops after 1000 bytes
        EXPECT_FALSE(rig.store.saveSelected(ListId::KeyboardLighting));
    }
    EXPECT_EQ(rig.bytesOf(file), before);
    for (const auto& entry : fs::directory_iterator(file.parent_path()))  // no temporary left
        EXPECT_TRUE(entry.path().extension() == ".led" || entry.path().extension() == ".pro" ||
                    entry.path().extension() == ".ini")
            << entry.path();
    EXPECT_TRUE(rig.store.saveSelected(ListId::KeyboardLighting));
    EXPECT_EQ(uint8_t(rig.bytesOf(file)[16 + 68]), 0x42);
}

TEST(ProfileStore, SavesFromTwoThreadsLeaveOneWholeProfile) {
    ProfileRig rig;
    rig.initAll();
    const auto writer = [&](uint8_t mark) {
        for (int i = 0; i < 100; ++i) {
            rig.mouse.update([&](mouse::MouseData& m) { m.state.set(mouse::MouseState::off::colour, mark); });
            rig.store.saveSelectedLighting(device::DeviceKind::Mouse);
            rig.store.saveSelectedKeys(device::DeviceKind::Mouse);
        }
    };
    std::thread a(writer, 0x11), b(writer, 0x22);
    a.join();
    b.join();
    const std::string saved = rig.bytesOf(rig.file(ListId::MouseLighting, "New Profile 1"));
    ASSERT_EQ(saved.size(), 80u);
    EXPECT_EQ(saved.substr(0, 2), "\xAA\x55");
    EXPECT_TRUE(uint8_t(saved[16 + 6]) == 0x11 || uint8_t(saved[16 + 6]) == 0x22);
    EXPECT_EQ(fs::file_size(rig.file(ListId::MouseKeys, "New Profile 1")), 16u + 512u);
}

TEST(ProfileStore, AChangeAnotherProgramMadeIsNotOverwrittenWithTheOlderState) {
    // The window's store and a second store on the same folder, as orvanectl has it.
    ProfileRig window;
    window.initAll();
    keyboard::KeyboardModel keyboard;
    mouse::MouseModel mouse;
    mousepad::PadModel pad;
    profiles::ProfileStore tool{window.data, {testing::ShippedDefaults()}, {&keyboard, &mouse, &pad}};
    ASSERT_TRUE(tool.initProfileLists(device::DeviceKind::Keyboard).message.empty());
    const auto id = ListId::KeyboardLighting;
    const auto file = window.file(id, "New Profile 1");
    const auto setMode = [](keyboard::KeyboardModel& model, uint8_t mode) {
        model.update([mode](keyboard::KeyboardData& k) { k.lighting.set(keyboard::LightingRecord::off::mode, mode); });
    };
    ASSERT_EQ(window.store.loadProfile(id, 0), ReadResult::Read);
    setMode(window.keyboard, 3);
    ASSERT_TRUE(window.store.saveSelectedLighting(device::DeviceKind::Keyboard));  // its own earlier save is no change by another

    // The tool changes the mode on disk; the window's next edit must not write its state back.
    ASSERT_EQ(tool.loadProfile(id, 0), ReadResult::Read);
    setMode(keyboard, 9);
    ASSERT_TRUE(tool.saveSelected(id));
    const std::string toolsFile = window.bytesOf(file);
    setMode(window.keyboard, 5);
    EXPECT_FALSE(window.store.saveSelectedLighting(device::DeviceKind::Keyboard));
    EXPECT_EQ(window.store.lastWriteMessage(), "message_profile_changed_elsewhere");
    EXPECT_NE(window.store.lastWriteProblem().find("changed by another program"), std::string::npos);
    EXPECT_EQ(window.bytesOf(file), toolsFile);
    EXPECT_EQ(uint8_t(toolsFile[17]), 9);

    // A save of another kind (a device's read-back, a user's operation) writes as asked.
    EXPECT_TRUE(window.store.saveSelected(id));

    // Loaded again, the window holds the tool's state and saves its next change.
    ASSERT_EQ(window.store.loadProfile(id, 0), ReadResult::Read);
    setMode(window.keyboard, 5);
    EXPECT_TRUE(window.store.saveSelectedLighting(device::DeviceKind::Keyboard));
    EXPECT_EQ(uint8_t(window.bytesOf(file)[17]), 5);
    // A file removed meanwhile is written anew.
    std::filesystem::remove(file);
    EXPECT_TRUE(window.store.saveSelectedLighting(device::DeviceKind::Keyboard));
}

}  // namespace
}  // namespace orvane
