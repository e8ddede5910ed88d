// SPDX-License-Identifier: GPL-3.0-or-later
// The macro store: made-up names, the index naming only macros whose files exist, renames
// and deletes, unsafe names refused before anything is written, an interrupted write,
// damaged files, and two threads adding at once.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <thread>

#include "macros/macro_messages.h"
#include "platform/ini_index.h"
#include "support/file_size_limit.h"
#include "unit/macro_fixture.h"

namespace orvane::macros {
namespace {

namespace fs = std::filesystem;
using testing::MacroRig;

constexpr MacroSet kSets[] = {MacroSet::Keyboard, MacroSet::Mouse};

/// Every name of the index has its file.
void ExpectIndexNamesOnlyExistingFiles(const MacroRig& rig, MacroSet set) {
    for (const auto& name : rig.store.ListMacros(set)) EXPECT_TRUE(fs::exists(rig.macroFile(set, name))) << name;
}

TEST(MacroStore, FilesLiveInTheDeviceFolders) {
    MacroRig rig;
    EXPECT_EQ(rig.store.indexPath(MacroSet::Keyboard), rig.data / "kb" / "kbMacro.ini");
    EXPECT_EQ(rig.store.indexPath(MacroSet::Mouse), rig.data / "ms" / "msMacro.ini");
    EXPECT_TRUE(rig.store.ListMacros(MacroSet::Keyboard).empty());  // no index: no macros
    EXPECT_TRUE(rig.store.LoadMacro(MacroSet::Keyboard, "Macro_1").empty());
}

TEST(MacroStore, NewNamesSkipTakenNamesAndStrayFiles) {
    struct Case {
        std::vector<std::string> names;
        std::vector<std::string> strayFiles;
        const char* expected;
    } const cases[] = {
        {{}, {}, "Macro_1"},
        {{"Macro_1", "Macro_3"}, {}, "Macro_4"},  // n = 3 first, taken
        {{"macro_2"}, {}, "Macro_3"},             // case does not matter
        {{"Macro_1"}, {"Macro_2.mac"}, "Macro_3"},  // a file nobody names is not taken over
        {{"a", "b"}, {}, "Macro_3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        MacroRig rig;
        rig.plant(MacroSet::Keyboard, c.names, std::vector<int>(c.names.size(), 2));
        for (const auto& f : c.strayFiles) macros::WriteActionFile(rig.folder(MacroSet::Keyboard) / f, MacroRig::Lines(5));
        const auto stray = c.strayFiles.empty() ? "" : rig.bytesOf(rig.folder(MacroSet::Keyboard) / c.strayFiles[0]);

        const StoreResult r = rig.store.AddMacro(MacroSet::Keyboard);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r.name, c.expected);
        EXPECT_EQ(r.index, int(c.names.size()));
        auto expected = c.names;
        expected.push_back(c.expected);
        EXPECT_EQ(rig.store.ListMacros(MacroSet::Keyboard), expected);
        // The new macro has a file from the start, with no actions.
        EXPECT_TRUE(rig.store.LoadMacro(MacroSet::Keyboard, c.expected).empty());
        ExpectIndexNamesOnlyExistingFiles(rig, MacroSet::Keyboard);
        if (!c.strayFiles.empty()) {
            EXPECT_EQ(rig.bytesOf(rig.folder(MacroSet::Keyboard) / c.strayFiles[0]), stray);
        }
    }
}

TEST(MacroStore, TheFiftyFirstMacroIsRefused) {
    MacroRig rig;
    for (int i = 0; i < kMaxMacros; ++i) ASSERT_TRUE(rig.store.AddMacro(MacroSet::Mouse).ok());
    const auto before = rig.files(MacroSet::Mouse);
    const auto index = rig.bytesOf(rig.store.indexPath(MacroSet::Mouse));
    const StoreResult r = rig.store.AddMacro(MacroSet::Mouse);
    EXPECT_EQ(r.status, StoreStatus::Full);
    EXPECT_EQ(r.message, kTooManyMacrosMessage);
    EXPECT_EQ(rig.files(MacroSet::Mouse), before);
    EXPECT_EQ(rig.bytesOf(rig.store.indexPath(MacroSet::Mouse)), index);
}

TEST(MacroStore, SavesAndLoadsTheLinesOfANamedMacro) {
    MacroRig rig;
    rig.plant(MacroSet::Keyboard, {"Copy", "Paste"}, {1, 1});
    const auto lines = MacroRig::Lines(7, 40);
    ASSERT_TRUE(rig.store.SaveMacro(MacroSet::Keyboard, "PASTE", lines).ok());  // the index's spelling is used
    EXPECT_EQ(rig.store.LoadMacro(MacroSet::Keyboard, "Paste"), lines);
    EXPECT_EQ(rig.store.LoadMacro(MacroSet::Keyboard, "Copy"), MacroRig::Lines(1));
    EXPECT_EQ(rig.files(MacroSet::Keyboard), (std::set<std::string>{"Copy.mac", "Paste.mac", "kbMacro.ini"}));

    const StoreResult unknown = rig.store.SaveMacro(MacroSet::Keyboard, "Cut", lines);
    EXPECT_EQ(unknown.status, StoreStatus::NoSuchMacro);
    EXPECT_FALSE(fs::exists(rig.macroFile(MacroSet::Keyboard, "Cut")));
}

TEST(MacroStore, RenameMovesTheEditedLinesToTheNewName) {
    MacroRig rig;
    rig.plant(MacroSet::Mouse, {"One", "Two"}, {3, 4});
    const auto edited = MacroRig::Lines(5, 90);
    ASSERT_TRUE(rig.store.RenameMacro(MacroSet::Mouse, 1, "Second", edited).ok());
    EXPECT_EQ(rig.store.ListMacros(MacroSet::Mouse), (std::vector<std::string>{"One", "Second"}));
    EXPECT_EQ(rig.store.LoadMacro(MacroSet::Mouse, "Second"), edited);
    EXPECT_FALSE(fs::exists(rig.macroFile(MacroSet::Mouse, "Two")));

    // Only the case changes: the same macro, its file under the new spelling.
    ASSERT_TRUE(rig.store.RenameMacro(MacroSet::Mouse, 0, "ONE", MacroRig::Lines(2)).ok());
    EXPECT_EQ(rig.store.ListMacros(MacroSet::Mouse)[0], "ONE");
    EXPECT_EQ(rig.store.LoadMacro(MacroSet::Mouse, "ONE"), MacroRig::Lines(2));
    ExpectIndexNamesOnlyExistingFiles(rig, MacroSet::Mouse);
}

TEST(MacroStore, RenameRefusalsChangeNothing) {
    MacroRig rig;
    rig.plant(MacroSet::Keyboard, {"One", "Two"}, {3, 4});
    macros::WriteActionFile(rig.macroFile(MacroSet::Keyboard, "Stray"), MacroRig::Lines(9));
    const auto files = rig.files(MacroSet::Keyboard);
    const auto index = rig.bytesOf(rig.store.indexPath(MacroSet::Keyboard));
    const auto two = rig.bytesOf(rig.macroFile(MacroSet::Keyboard, "Two"));
    struct Case {
        int position;
        std::string name;
        StoreStatus status;
        std::string_view message;
    } const cases[] = {
        {1, "one", StoreStatus::DuplicateName, kDuplicateMacroNameMessage},     // another macro's, case aside
        {1, "Stray", StoreStatus::DuplicateName, kDuplicateMacroNameMessage},   // its file is in the folder
        {1, "../Two", StoreStatus::InvalidName, kInvalidMacroNameMessage},
        {1, "a/b", StoreStatus::InvalidName, kInvalidMacroNameMessage},
        {1, "a\\b", StoreStatus::InvalidName, kInvalidMacroNameMessage},
        {1, "..", StoreStatus::InvalidName, kInvalidMacroNameMessage},
        {1, ".", StoreStatus::InvalidName, kInvalidMacroNameMessage},
        {1, "tab\there", StoreStatus::InvalidName, kInvalidMacroNameMessage},
        {1, "line\nbreak", StoreStatus::InvalidName, kInvalidMacroNameMessage},
        {1, "del\x7f", StoreStatus::InvalidName, kInvalidMacroNameMessage},
        {1, std::string(252, 'x'), StoreStatus::InvalidName, kInvalidMacroNameMessage},  // + ".mac": 256 bytes
        {1, " padded", StoreStatus::InvalidName, kInvalidMacroNameMessage},
        {1, "", StoreStatus::InvalidName, kInvalidMacroNameMessage},
        {2, "Three", StoreStatus::NoSuchMacro, kMacroWriteFailedMessage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const StoreResult r = rig.store.RenameMacro(MacroSet::Keyboard, c.position, c.name, MacroRig::Lines(1));
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.message, c.message);
        EXPECT_EQ(rig.files(MacroSet::Keyboard), files);
        EXPECT_EQ(rig.bytesOf(rig.store.indexPath(MacroSet::Keyboard)), index);
        EXPECT_EQ(rig.bytesOf(rig.macroFile(MacroSet::Keyboard, "Two")), two);
    }
    EXPECT_FALSE(fs::exists(rig.data / "kb" / ".." / "Two.mac"));
    EXPECT_TRUE(rig.store.RenameMacro(MacroSet::Keyboard, 1, std::string(251, 'x'), MacroRig::Lines(1)).ok());
}

TEST(MacroStore, DeleteRewritesTheIndexAndKeepsTheMouseCursorSections) {
    for (MacroSet set : kSets) {
        SCOPED_TRACE(SetTag(set));
        MacroRig rig;
        rig.plant(set, {"A", "B", "C"}, {1, 2, 3});
        if (set == MacroSet::Mouse) {
            platform::IniFile index(rig.store.indexPath(set));
            index.writeInt("CURSORCOUNT", "count", 4);
            for (int k = 0; k < 4; ++k) index.writeString("CURSORNAME", std::to_string(k), "name_" + std::to_string(k + 1));
        }
        ASSERT_TRUE(rig.store.DeleteMacro(set, 1).ok());
        EXPECT_EQ(rig.store.ListMacros(set), (std::vector<std::string>{"A", "C"}));
        EXPECT_FALSE(fs::exists(rig.macroFile(set, "B")));
        EXPECT_EQ(rig.store.LoadMacro(set, "C"), MacroRig::Lines(3));
        const std::string expected =
            set == MacroSet::Mouse
                ? "[MACROCOUNT]\ncount=2\n[CURSORCOUNT]\ncount=4\n[CURSORNAME]\n0=name_1\n1=name_2\n2=name_3\n3=name_4\n"
                  "[MACRONAME]\n0=A\n1=C\n"
                : "[MACROCOUNT]\ncount=2\n[MACRONAME]\n0=A\n1=C\n";
        EXPECT_EQ(rig.bytesOf(rig.store.indexPath(set)), expected);
        EXPECT_EQ(rig.store.DeleteMacro(set, 2).status, StoreStatus::NoSuchMacro);
    }
}

TEST(MacroStore, DeleteOfAnIndexWithoutCursorSectionsAddsNone) {
    // A mouse whose cursor sequences were never set up still gets them set up later.
    MacroRig rig;
    rig.plant(MacroSet::Mouse, {"A", "B"}, {1, 1});
    ASSERT_TRUE(rig.store.DeleteMacro(MacroSet::Mouse, 0).ok());
    EXPECT_FALSE(platform::IniIndex::Load(rig.store.indexPath(MacroSet::Mouse)).hasSection("CURSORCOUNT"));
}

TEST(MacroStore, HandEditedIndexNamesAreNotFollowedOutOfTheFolder) {
    MacroRig rig;
    const fs::path outside = rig.data / "kb.mac";
    macros::WriteActionFile(outside, MacroRig::Lines(4));
    const auto before = rig.bytesOf(outside);
    rig.plant(MacroSet::Keyboard, {"../kb", "ok"});
    macros::WriteActionFile(rig.macroFile(MacroSet::Keyboard, "ok"), MacroRig::Lines(2));
    EXPECT_TRUE(rig.store.LoadMacro(MacroSet::Keyboard, "../kb").empty());
    EXPECT_EQ(rig.store.SaveMacro(MacroSet::Keyboard, "../kb", MacroRig::Lines(1)).status, StoreStatus::InvalidName);
    ASSERT_TRUE(rig.store.DeleteMacro(MacroSet::Keyboard, 0).ok());
    EXPECT_EQ(rig.bytesOf(outside), before);
    EXPECT_EQ(rig.store.ListMacros(MacroSet::Keyboard), std::vector<std::string>{"ok"});
}

TEST(MacroStore, DamagedCountsAreBoundedAndReported) {
    MacroRig rig;
    const auto file = rig.macroFile(MacroSet::Keyboard, "Big");
    platform::WriteFileAtomically(file, "[MACROACTIONCOUNT]\ncount=99999999\n[MACROACTION]\n0=1,0,10,4,0,keyboard_key_A\n");
    const ActionFile big = ReadActionFile(file);
    EXPECT_EQ(big.declaredCount, 99999999);
    EXPECT_FALSE(big.countFits());
    EXPECT_EQ(big.lines.size(), size_t(kMaxFileActions));
    EXPECT_EQ(big.lines[0], "1,0,10,4,0,keyboard_key_A");
    EXPECT_EQ(big.lines[1], "0");  // missing lines read "0"

    platform::WriteFileAtomically(file, "[MACROACTIONCOUNT]\ncount=-3\n");
    EXPECT_TRUE(ReadActionFile(file).lines.empty());
    EXPECT_FALSE(ReadActionFile(file).countFits());

    platform::IniFile(rig.store.indexPath(MacroSet::Keyboard)).writeString("MACROCOUNT", "count", "-7");
    EXPECT_TRUE(rig.store.ListMacros(MacroSet::Keyboard).empty());
    EXPECT_FALSE(rig.store.readIndex(MacroSet::Keyboard).countFits());
}

TEST(MacroStore, AWriteFailingHalfWayLeavesTheOldFile) {
    MacroRig rig;
    rig.plant(MacroSet::Keyboard, {"Long"}, {20});
    const auto file = rig.macroFile(MacroSet::Keyboard, "Long");
    const auto before = rig.bytesOf(file);
    {
        testing::FileSizeLimit limit(200);  // the new file of 400 lines stops part-way
        const StoreResult r = rig.store.SaveMacro(MacroSet::Keyboard, "Long", MacroRig::Lines(400));
        EXPECT_EQ(r.status, StoreStatus::WriteFailed);
        EXPECT_EQ(r.message, kMacroWriteFailedMessage);
        EXPECT_EQ(rig.store.RenameMacro(MacroSet::Keyboard, 0, "Longer", MacroRig::Lines(400)).status,
                  StoreStatus::WriteFailed);
    }
    EXPECT_EQ(rig.bytesOf(file), before);
    EXPECT_EQ(rig.store.ListMacros(MacroSet::Keyboard), std::vector<std::string>{"Long"});
    EXPECT_EQ(rig.files(MacroSet::Keyboard), (std::set<std::string>{"Long.mac", "kbMacro.ini"}));  // no temporaries
}

TEST(MacroStore, AddsFromTwoThreadsGiveUniqueNamesAndOneCount) {
    MacroRig rig;
    const auto adder = [&] {
        for (int i = 0; i < 20; ++i) EXPECT_TRUE(rig.store.AddMacro(MacroSet::Keyboard).ok());
    };
    std::thread a(adder), b(adder);
    a.join();
    b.join();
    auto names = rig.store.ListMacros(MacroSet::Keyboard);
    ASSERT_EQ(names.size(), 40u);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::unique(names.begin(), names.end()), names.end());
    ExpectIndexNamesOnlyExistingFiles(rig, MacroSet::Keyboard);
}

}  // namespace
}  // namespace orvane::macros
