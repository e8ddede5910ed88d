// SPDX-License-Identifier: GPL-3.0-or-later
// Macro and cursor images against the emulated keyboard and mice: what reaches the
// device's memory, the capacity check before anything is sent, a refusal and an unplug in
// the middle of an image, and the cursor image read at connect, whole or corrupt.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <functional>

#include "device/protocol/commands.h"
#include "integration/readback_rig.h"
#include "keyboard/keyboard_records.h"
#include "macros/action_tables.h"
#include "macros/cursor_store.h"
#include "macros/macro_messages.h"
#include "macros/macro_transfer.h"
#include "unit/macro_fixture.h"

namespace orvane::macros {
namespace {

using device::DeviceModel;
using sim::Fault;
using sim::FaultKind;
using testing::MacroRig;
using testing::ReadBackRig;
using Outcome = UploadResult::Outcome;

/// The capacity the host works with: byte 6 of the device's information record x 128.
size_t CapacityOf(ReadBackRig& rig) {
    protocol::DeviceInfoBytes info{};
    EXPECT_EQ(protocol::ReadDeviceInfo(rig.connection, info), protocol::kOk);
    keyboard::KeyboardInfo record;
    record.bytes = info;
    rig.restartCount();
    return record.macroCapacity();
}

std::vector<uint8_t> Memory(ReadBackRig& rig, bool cursor, size_t n) {
    std::vector<uint8_t> out;
    rig.firmware([&](sim::DeviceFirmware& fw) {
        const auto m = cursor ? fw.cursorMemory() : fw.macroImage();
        out.assign(m.begin(), m.begin() + std::ptrdiff_t(std::min(n, m.size())));
    });
    return out;
}

/// A fault on the write of command `command` at `offset`, for every attempt.
Fault AtChunk(uint8_t command, uint16_t offset, FaultKind kind) {
    Fault f;
    f.kind = kind;
    f.times = -1;
    f.when = [=](uint64_t, const protocol::Report& r) {
        return r[protocol::off::command] == command && protocol::ReadLe16(r, protocol::off::offset) == offset;
    };
    return f;
}

TEST(MacroUpload, ImagesThatFitGoOutWholeInOneBracket) {
    for (MacroSet set : {MacroSet::Keyboard, MacroSet::Mouse}) {
        SCOPED_TRACE(SetTag(set));
        ReadBackRig rig(set == MacroSet::Keyboard ? DeviceModel::RgbKeyboard : DeviceModel::Mouse);
        MacroRig files;
        files.plant(set, {"Copy", "Empty", "Long"}, {3, 0, 100});
        const size_t capacity = CapacityOf(rig);
        const UploadResult r = UploadMacros(rig.connection, files.store, set, capacity);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r.outcome, Outcome::Sent);
        EXPECT_EQ(r.imageSize, 16u + 18u + 4u * 103u);

        const auto collected = CollectMacroImage(files.store, set);
        const auto expected = *BuildImage(collected.entries);
        EXPECT_EQ(Memory(rig, false, expected.size()), expected);
        // Begin, the image in 56-byte chunks, end.
        std::vector<uint8_t> commands{protocol::kBeginTransfer};
        commands.insert(commands.end(), (expected.size() + 55) / 56, protocol::kWriteMacroBlob);
        commands.push_back(protocol::kEndTransfer);
        EXPECT_EQ(rig.commands(), commands);
        EXPECT_EQ(ParseImage(expected)->at(2)[99], (DeviceAction{100, 0, 0x0A, 0x04}));
    }
}

TEST(MacroUpload, TheCapacityDecidesBeforeAnythingIsSent) {
    struct Case {
        int actions;
        Outcome outcome;
        int excess;
    } const cases[] = {{26, Outcome::Sent, 0}, {27, Outcome::TooLarge, 1}, {28, Outcome::TooLarge, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.actions);
        ReadBackRig rig(DeviceModel::RgbKeyboard);
        rig.firmware([](sim::DeviceFirmware& fw) { fw.setInfoByte(6, 1); });  // 128 bytes
        MacroRig files;
        files.plant(MacroSet::Keyboard, {"M"}, {c.actions});
        const size_t capacity = CapacityOf(rig);
        ASSERT_EQ(capacity, 128u);
        const UploadResult r = UploadMacros(rig.connection, files.store, MacroSet::Keyboard, capacity);
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.excess, c.excess);
        EXPECT_EQ(r.imageSize, 22u + 4u * size_t(c.actions));
        if (c.outcome == Outcome::TooLarge) {
            EXPECT_EQ(r.message, kImageTooLargeMessage);
            EXPECT_TRUE(rig.requests.empty());
        } else {
            EXPECT_EQ(rig.requests.size(), 5u);  // begin, 3 chunks of 126 bytes, end
        }
    }
}

TEST(MacroUpload, NoMacrosIsSuccessWithNothingSent) {
    ReadBackRig rig(DeviceModel::Mouse);
    MacroRig files;
    const UploadResult none = UploadMacros(rig.connection, files.store, MacroSet::Mouse, 2048);
    EXPECT_EQ(none.outcome, Outcome::NothingToSend);
    EXPECT_TRUE(none.ok());
    files.plant(MacroSet::Mouse, {});  // an index with count 0
    EXPECT_EQ(UploadMacros(rig.connection, files.store, MacroSet::Mouse, 2048).outcome, Outcome::NothingToSend);
    EXPECT_TRUE(rig.requests.empty());
}

// Files that are not ours or break a limit refuse the whole upload before a report goes
// out, and the refusal names the file and the reason; a macro without a file packs empty.
TEST(MacroUpload, DamagedFilesOrBrokenLimitsRefuseTheUploadNamingFileAndReason) {
    using Files = MacroRig;
    const auto put = [](const std::filesystem::path& p, const std::string& bytes) {
        ASSERT_TRUE(platform::WriteFileAtomically(p, bytes));
    };
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("[MACROACTIONCOUNT]\r\ncount=1\r\n[MACROACTION]\r\n0=1,0,138,4,1,keyboard_key_A\r\n"))
        utf16 += std::string{c, '\0'};
    struct Case {
        const char* what;
        std::function<void(Files&)> setUp;
        std::string problem;  // what the refusal says, after "kb/"
    } const cases[] = {
        {"UTF-16 macro file", [&](Files& f) { put(f.macroFile(MacroSet::Keyboard, "Macro_1"), utf16); },
         "Macro_1.mac: it holds no [MACROACTIONCOUNT]"},
        {"garbage macro file",
         [&](Files& f) { put(f.macroFile(MacroSet::Keyboard, "Macro_1"), std::string("\x93\x11\xfe\x00zz\x7f[\x01=", 11)); },
         "Macro_1.mac: it holds no [MACROACTIONCOUNT]"},
        {"FIFO for a macro file",
         [](Files& f) {
             std::filesystem::remove(f.macroFile(MacroSet::Keyboard, "Macro_1"));
             ASSERT_EQ(::mkfifo(f.macroFile(MacroSet::Keyboard, "Macro_1").c_str(), 0600), 0);
         },
         "Macro_1.mac: is not a regular file"},
        {"negative count", [&](Files& f) { put(f.macroFile(MacroSet::Keyboard, "Macro_1"), "[MACROACTIONCOUNT]\ncount=-5\n"); },
         "Macro_1.mac: its action count -5 is negative"},
        {"count not a number", [&](Files& f) { put(f.macroFile(MacroSet::Keyboard, "Macro_1"), "[MACROACTIONCOUNT]\ncount=x\n"); },
         "Macro_1.mac: its action count \"x\" is not a number"},
        {"count above a record", [&](Files& f) { put(f.macroFile(MacroSet::Keyboard, "Macro_1"), "[MACROACTIONCOUNT]\ncount=70000\n"); },
         "Macro_1.mac: it counts 70000 actions; at most 65535 can be sent"},
        {"an action missing",
         [&](Files& f) { put(f.macroFile(MacroSet::Keyboard, "Macro_1"), "[MACROACTIONCOUNT]\ncount=2\n[MACROACTION]\n0=1,0,138,4,1,k\n"); },
         "Macro_1.mac: its count is 2 but action 1 is missing"},
        {"a delay above a byte",
         [](Files& f) { WriteActionFile(f.macroFile(MacroSet::Keyboard, "Macro_1"), std::vector<std::string>{"300,0,138,4,1,k"}); },
         "Macro_1.mac: action 0: its delay byte 300 is outside 0-255"},
        {"a line that is no action",
         [](Files& f) { WriteActionFile(f.macroFile(MacroSet::Keyboard, "Macro_1"), std::vector<std::string>{"bad line"}); },
         "Macro_1.mac: action 0: \"bad line\" has 0 of its 5 numbers"},
        {"index cut in its names",
         [&](Files& f) { put(f.store.indexPath(MacroSet::Keyboard), "[MACROCOUNT]\ncount=3\n[MACRONAME]\n0=Macro_1\n"); },
         "kbMacro.ini: its count is 3 but macro 1 has no name (the file is cut or damaged)"},
        {"51 macros",
         [&](Files& f) {
             std::string index = "[MACROCOUNT]\ncount=51\n[MACRONAME]\n";
             for (int i = 0; i < 51; ++i) index += std::to_string(i) + "=M" + std::to_string(i) + "\n";
             put(f.store.indexPath(MacroSet::Keyboard), index);
         },
         "kbMacro.ini: it counts 51 macros; at most 50 can be sent"},
        {"garbage index", [&](Files& f) { put(f.store.indexPath(MacroSet::Keyboard), std::string(200, '\xA7')); },
         "kbMacro.ini: it holds no macro list"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ReadBackRig rig(DeviceModel::RgbKeyboard);
        MacroRig files;
        files.plant(MacroSet::Keyboard, {"Macro_1", "Ok"}, {2, 3});
        c.setUp(files);
        const UploadResult r = UploadMacros(rig.connection, files.store, MacroSet::Keyboard, 4096);
        EXPECT_EQ(r.outcome, Outcome::Refused);
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.message, kMacroFilesDamagedMessage);
        EXPECT_TRUE(r.detail.starts_with("kb/" + c.problem)) << r.detail;
        EXPECT_TRUE(rig.requests.empty());
    }
    // A macro whose file is simply not there packs as 0 actions, as it always has.
    MacroRig files;
    files.plant(MacroSet::Keyboard, {"Gone", "Ok"}, {});
    WriteActionFile(files.macroFile(MacroSet::Keyboard, "Ok"), std::vector<std::string>{"12,1,138,4,1,keyboard_key_A"});
    const auto packed = CollectMacroImage(files.store, MacroSet::Keyboard);
    ASSERT_EQ(packed.status, CollectedImage::Status::Ready);
    ASSERT_EQ(packed.entries.size(), 2u);
    EXPECT_TRUE(packed.entries[0].empty());
    EXPECT_EQ(packed.entries[1], (ImageEntry{{12, 1, 0x8A, 0x04}}));
}

// The number a refusal shows is the true excess: the fewest actions whose removal makes the
// image fit, whatever the number of macros (the image grows by 6 bytes per macro).
TEST(MacroUpload, TheExcessIsTheFewestActionsToRemove) {
    struct Case {
        std::vector<int> actions;
        size_t capacity;
        int excess;  // 0: fits
    } const cases[] = {
        {{1017, 1017}, 8164, 0},  // 28 + 8136 = 8164: exactly full
        {{1018, 1018}, 8168, 1},  // 8172 bytes: 4 over, one action of 4 bytes
        {{1018, 1018}, 8164, 2},  // 8 over
        {{1018, 1018}, 8160, 3},  // 12 over
        {{1018, 1019}, 8160, 4},  // 8176 bytes: 16 over
        {{26}, 128, 0},
        {{27}, 128, 1},  // 130 bytes: 2 over
        {{28}, 128, 2},  // 134 bytes: 6 over
        {{10, 10, 10, 10}, 128, 18},  // 200 bytes: 72 over
        {{10, 10, 11}, 128, 8},       // 158 bytes: 30 over
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.actions) + " in " + std::to_string(c.capacity));
        ReadBackRig rig(DeviceModel::RgbKeyboard);
        MacroRig files;
        std::vector<std::string> names;
        for (size_t i = 0; i < c.actions.size(); ++i) names.push_back("M" + std::to_string(i));
        files.plant(MacroSet::Keyboard, names, c.actions);
        const UploadResult r = UploadMacros(rig.connection, files.store, MacroSet::Keyboard, c.capacity);
        // A fitting image goes to the device (whose own memory may still refuse the largest).
        EXPECT_EQ(r.outcome == Outcome::TooLarge, c.excess != 0);
        EXPECT_EQ(r.excess, c.excess);
        if (c.excess) {
            EXPECT_LE(r.imageSize - 4 * uint64_t(c.excess), c.capacity);      // removing that many fits
            EXPECT_GT(r.imageSize - 4 * uint64_t(c.excess - 1), c.capacity);  // one fewer does not
            EXPECT_TRUE(rig.requests.empty());
        }
    }
}

TEST(MacroUpload, ARefusalOrAnUnplugMidImageFailsTheUploadAndSaysWhatTheDeviceHolds) {
    using Holds = UploadResult::DeviceHolds;
    struct Case {
        const char* what;
        FaultKind kind;
        bool cursor;
        uint16_t at;      // the chunk refused at every attempt
        int writes;       // chunks written in all
        bool endSent;     // a device that still answers gets its bracket closed
        Holds holds;
        std::string_view message;
    } const cases[] = {
        // Refused part-way: the whole image goes once more, and is refused at the same chunk.
        {"macros refused part-way", FaultKind::RefuseFE, false, 112, 6, true, Holds::PartOfNewImage,
         kUploadRefusedDamagedMessage},
        {"cursor refused part-way", FaultKind::RefuseFF, true, 112, 6, true, Holds::PartOfNewImage,
         kUploadRefusedDamagedMessage},
        // Refused at the first chunk: nothing was taken, nothing is sent again.
        {"macros refused at once", FaultKind::RefuseFE, false, 0, 1, true, Holds::PreviousImage, kUploadRefusedMessage},
        {"macros unplugged part-way", FaultKind::Unplug, false, 112, 3, false, Holds::PartOfNewImage,
         kUploadStoppedDamagedMessage},
        {"cursor unplugged part-way", FaultKind::Unplug, true, 112, 3, false, Holds::PartOfNewImage,
         kUploadStoppedDamagedMessage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ReadBackRig rig(DeviceModel::Mouse);
        MacroRig files;
        files.plant(MacroSet::Mouse, {"M"}, {60});  // 262 bytes: five chunks
        ASSERT_TRUE(InitCursorSequences(files.store).ok());
        const auto before = Memory(rig, c.cursor, 262);
        const uint8_t command = c.cursor ? protocol::kWriteCursorBlob : protocol::kWriteMacroBlob;
        rig.device->addFault(AtChunk(command, c.at, c.kind));
        const UploadResult r = c.cursor ? UploadCursorSequences(rig.connection, files.store)
                                        : UploadMacros(rig.connection, files.store, MacroSet::Mouse, 2048);
        EXPECT_EQ(r.outcome, Outcome::DeviceFailed);
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.message, c.message);
        EXPECT_EQ(r.holds, c.holds);
        EXPECT_NE(r.deviceResult, protocol::kOk);
        const auto commands = rig.commands();
        EXPECT_EQ(std::count(commands.begin(), commands.end(), command), c.writes);
        EXPECT_EQ(commands.back() == protocol::kEndTransfer, c.endSent);
        if (c.holds == Holds::PreviousImage) EXPECT_EQ(Memory(rig, c.cursor, 262), before);
        else EXPECT_NE(Memory(rig, c.cursor, 262), before);
    }
}

TEST(MacroUpload, ARefusalPartWayIsMendedBySendingTheWholeImageAgain) {
    for (const bool cursor : {false, true}) {
        SCOPED_TRACE(cursor ? "cursor" : "macros");
        ReadBackRig rig(DeviceModel::Mouse);
        MacroRig files;
        files.plant(MacroSet::Mouse, {"M"}, {60});
        ASSERT_TRUE(InitCursorSequences(files.store).ok());
        const uint8_t command = cursor ? protocol::kWriteCursorBlob : protocol::kWriteMacroBlob;
        Fault once = AtChunk(command, 168, FaultKind::RefuseFE);
        once.times = 1;
        rig.device->addFault(once);
        const UploadResult r = cursor ? UploadCursorSequences(rig.connection, files.store)
                                      : UploadMacros(rig.connection, files.store, MacroSet::Mouse, 2048);
        EXPECT_TRUE(r.ok());
        EXPECT_TRUE(r.sentAgain);
        EXPECT_EQ(r.holds, UploadResult::DeviceHolds::NewImage);
        const auto expected =
            *BuildImage((cursor ? CollectCursorImage(files.store) : CollectMacroImage(files.store, MacroSet::Mouse)).entries);
        EXPECT_EQ(Memory(rig, cursor, expected.size()), expected) << "the whole new image, not a mix";
    }
}

// ---- cursor sequences ----------------------------------------------------------------------

struct CursorRig {
    ReadBackRig device{DeviceModel::Mouse2};
    MacroRig files;
    CursorRig() { EXPECT_TRUE(InitCursorSequences(files.store).ok()); }
    std::filesystem::path sequence(int k) const { return *CursorSequencePath(files.store, k); }
};

TEST(CursorUpload, TheFixedLimitOf3072BytesAnd180ActionsASequence) {
    struct Case {
        std::array<int, 4> actions;
        Outcome outcome;
        size_t size;
    } const cases[] = {
        {{180, 180, 180, 180}, Outcome::Sent, 2920},
        {{200, 180, 180, 180}, Outcome::Refused, 0},  // edited outside the program: above 180 actions
        {{180, 180, 400, 180}, Outcome::Refused, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        CursorRig rig;
        for (int k = 0; k < 4; ++k) WriteActionFile(rig.sequence(k), MacroRig::Lines(c.actions[size_t(k)], uint8_t(k)));
        rig.device.restartCount();
        const UploadResult r = UploadCursorSequences(rig.device.connection, rig.files.store);
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.imageSize, c.size);
        EXPECT_EQ(r.capacity, 3072u);
        if (c.outcome == Outcome::Sent) {
            const auto expected = *BuildImage(CollectCursorImage(rig.files.store).entries);
            EXPECT_EQ(Memory(rig.device, true, expected.size()), expected);
            EXPECT_EQ(rig.device.commands().front(), protocol::kBeginTransfer);
            EXPECT_EQ(rig.device.commands()[1], protocol::kWriteCursorBlob);
        } else {
            EXPECT_NE(r.detail.find(": it counts " + std::to_string(std::ranges::max(c.actions)) +
                                    " actions; at most 180 can be sent"),
                      std::string::npos)
                << r.detail;
            EXPECT_EQ(r.message, kMacroFilesDamagedMessage);
            EXPECT_TRUE(rig.device.requests.empty());
        }
    }
}

// A FIFO where a sequence file should be, or an index naming a fifth sequence: refused,
// named, nothing sent (the FIFO is never opened for reading, so nothing hangs).
TEST(CursorUpload, AFileThatIsNotASequenceOrAFifthSequenceIsRefused) {
    {
        CursorRig rig;
        std::filesystem::remove(rig.sequence(1));
        ASSERT_EQ(::mkfifo(rig.sequence(1).c_str(), 0600), 0);
        rig.device.restartCount();
        const UploadResult r = UploadCursorSequences(rig.device.connection, rig.files.store);
        EXPECT_EQ(r.outcome, Outcome::Refused);
        EXPECT_EQ(r.detail, "ms/name_2.cur: is not a regular file (a folder, FIFO or device)");
        EXPECT_TRUE(rig.device.requests.empty());
    }
    {
        CursorRig rig;
        platform::IniFile index(rig.files.store.indexPath(MacroSet::Mouse));
        ASSERT_TRUE(index.writeString("CURSORCOUNT", "count", "5"));
        ASSERT_TRUE(index.writeString("CURSORNAME", "4", "name_1"));
        rig.device.restartCount();
        const UploadResult r = UploadCursorSequences(rig.device.connection, rig.files.store);
        EXPECT_EQ(r.outcome, Outcome::Refused);
        EXPECT_EQ(r.detail, "ms/msMacro.ini: it counts 5 cursor sequences; at most 4 can be sent");
        EXPECT_TRUE(rig.device.requests.empty());
    }
}

TEST(CursorRead, TheMouseImageRewritesTheSequenceFiles) {
    CursorRig rig;
    // The mouse holds its own image: sequence 0 has one key action, sequence 1 a button and
    // two moves; two entries only.
    const std::vector<ImageEntry> entries{{{3, 0, 0x8A, 0x04}}, {{0, 1, 0x81, 0x02}, {0, 0, 0x84, 7}, {0, 0, 0x05, 9}}};
    const auto image = *BuildImage(entries);
    ASSERT_EQ(protocol::WriteCursorBlob(rig.device.connection, image), protocol::kOk);
    const auto untouched = rig.files.bytesOf(rig.sequence(2));
    rig.device.restartCount();

    const CursorReadResult r = ReadCursorSequences(rig.device.connection, rig.files.store);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.stored.sequences, 2);
    EXPECT_EQ(LoadCursorSequence(rig.files.store, 0), std::vector<std::string>{"3,0,138,4,1,keyboard_key_A"});
    EXPECT_EQ(LoadCursorSequence(rig.files.store, 1),
              (std::vector<std::string>{"0,1,129,2,1,mouse_key_right", "0,0,132,7,1,mouse_move_to_left_text",
                                        "0,0,5,9,0,mouse_move_to_down_text"}));
    EXPECT_EQ(rig.files.bytesOf(rig.sequence(2)), untouched);
    // Begin, the header, the whole image from offset 0, end.
    EXPECT_EQ(rig.device.commands(), (std::vector<uint8_t>{protocol::kBeginTransfer, protocol::kReadCursorBlob,
                                                           protocol::kReadCursorBlob, protocol::kEndTransfer}));
    EXPECT_EQ(protocol::ReadLe16(rig.device.requests[2], protocol::off::offset), 0);
}

TEST(CursorRead, UploadThenReadBackKeepsEverySequence) {
    CursorRig rig;
    const auto before = CollectCursorImage(rig.files.store);
    ASSERT_EQ(UploadCursorSequences(rig.device.connection, rig.files.store).outcome, Outcome::Sent);
    for (int k = 0; k < 4; ++k) WriteActionFile(rig.sequence(k), std::vector<std::string>{});
    ASSERT_TRUE(ReadCursorSequences(rig.device.connection, rig.files.store).ok());
    EXPECT_EQ(CollectCursorImage(rig.files.store).entries, before.entries);
}

TEST(CursorRead, NothingUsableLeavesTheFilesAsTheyWere) {
    const auto corrupt = [] {
        auto image = *BuildImage(std::vector<ImageEntry>{ImageEntry(10), ImageEntry(10)});
        image[18] = 0xF0;  // the second offset points past the image
        image[19] = 0x0B;
        return image;
    }();
    auto wrongMagic = corrupt;
    wrongMagic[0] = 0;
    struct Case {
        const char* what;
        std::vector<uint8_t> image;
        std::optional<Fault> fault;
        bool recognised;
    } const cases[] = {
        {"an offset past the end", corrupt, std::nullopt, true},
        {"no image (wrong magic)", wrongMagic, std::nullopt, false},
        {"refused in the middle", {}, AtChunk(protocol::kReadCursorBlob, 56, FaultKind::RefuseFF), false},
        {"unplugged in the middle", {}, AtChunk(protocol::kReadCursorBlob, 112, FaultKind::Unplug), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CursorRig rig;
        if (!c.image.empty()) {
            ASSERT_EQ(protocol::WriteCursorBlob(rig.device.connection, c.image), protocol::kOk);
        }
        if (c.fault) rig.device.device->addFault(*c.fault);
        std::vector<std::string> before;
        for (int k = 0; k < 4; ++k) before.push_back(rig.files.bytesOf(rig.sequence(k)));

        const CursorReadResult r = ReadCursorSequences(rig.device.connection, rig.files.store);
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.read.recognised, c.recognised);
        EXPECT_FALSE(r.stored.accepted);
        for (int k = 0; k < 4; ++k) EXPECT_EQ(rig.files.bytesOf(rig.sequence(k)), before[size_t(k)]) << k;
    }
}

}  // namespace
}  // namespace orvane::macros
