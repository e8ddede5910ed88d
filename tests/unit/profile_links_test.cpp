// SPDX-License-Identifier: GPL-3.0-or-later
// Profile links without an X server: which paths are stored and how they compare, the
// index entries the operations write, the watcher's choice when the list changed under it,
// and where settings go while a linked profile is shown.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "profiles/app_watchers.h"
#include "profiles/profile_links.h"
#include "unit/profile_fixture.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using profiles::LinkSource;
using profiles::ListId;

TEST(ProfileLinkPaths, CompareExactlyAfterResolvingLinks) {
    testing::ProfileRig rig;
    const fs::path bin = rig.data / "bin";
    fs::create_directories(bin);
    // Two programs whose names differ only in case, and a link to one of them.
    ASSERT_TRUE(platform::WriteFileAtomically(bin / "gameterm", "#!/bin/sh\n"));
    ASSERT_TRUE(platform::WriteFileAtomically(bin / "GameTerm", "#!/bin/sh\n"));
    fs::create_symlink(bin / "gameterm", bin / "run-game");
    const std::string lower = (bin / "gameterm").string(), upper = (bin / "GameTerm").string();
    struct Case {
        std::string a, b;
        bool same;
    } const cases[] = {
        {lower, lower, true},
        {lower, upper, false},                                    // two files on Linux
        {"/opt/Game/Game.bin", "/opt/game/GAME.BIN", false},      // neither there: the texts decide
        {"/opt/Spiele/Über.bin", "/opt/spiele/über.BIN", false},
        {"/opt/game/game", "/opt/game/game2", false},             // whole paths, not prefixes
        {"/opt/game/game", "opt/game/game", false},
        {(bin / "run-game").string(), lower, true},               // a link leads to the same file
        {(bin / "run-game").string(), upper, false},
        {(bin / "." / "gameterm").string(), lower, true},         // another form of the same file
        {"/opt/\xff\xfe", "/opt/\xfe\xff", false},
        {"/opt/\xffX", "/opt/\xffx", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a + " vs " + c.b);
        EXPECT_EQ(profiles::SameApplication(c.a, c.b), c.same);
        EXPECT_EQ(profiles::SameApplication(c.b, c.a), c.same);
    }
    EXPECT_EQ(profiles::ApplicationDisplayName("/usr/games/Some Game/run.x86_64"), "run.x86_64");
    EXPECT_EQ(profiles::ApplicationDisplayName("plain"), "plain");
}

TEST(ProfileLinkPaths, OnlyAbsolutePathsAreStoredWithLinksResolved) {
    testing::ProfileRig rig;
    const fs::path real = rig.data / "bin" / "game.real";
    fs::create_directories(real.parent_path());
    ASSERT_TRUE(platform::WriteFileAtomically(real, "#!/bin/sh\n"));
    fs::create_symlink(real, rig.data / "bin" / "game");
    EXPECT_EQ(profiles::ApplicationPathToStore((rig.data / "bin" / "game").string()), fs::canonical(real).string());
    EXPECT_EQ(profiles::ApplicationPathToStore("/no/such/dir/../game"), "/no/such/game");  // kept, made plain
    EXPECT_EQ(profiles::ApplicationPathToStore("game"), std::nullopt);
    EXPECT_EQ(profiles::ApplicationPathToStore("bin/game"), std::nullopt);
    EXPECT_EQ(profiles::ApplicationPathToStore(""), std::nullopt);
    EXPECT_EQ(profiles::ApplicationPathToStore("/opt/a\nb"), std::nullopt);
}

struct LinkRig : testing::ProfileRig {
    profiles::ProfileOperations ops{store, {}};
    LinkRig() {
        initAll();
        ops.addProfile(ListId::KeyboardLighting);
        ops.selectProfile(ListId::KeyboardLighting, 0);
    }
    std::string indexText() const {
        return platform::ReadWholeFile(store.indexPath(ListId::KeyboardLighting)).value_or("");
    }
    profiles::LinkResult link(int position, std::optional<std::string> path, LinkSource source) {
        return profiles::LinkProfile(store, ListId::KeyboardLighting, position, path, source);
    }
};

TEST(ProfileLinkOperations, WriteTheLightingSectionsAtThePosition) {
    LinkRig rig;
    const auto linked = rig.link(1, "/opt/game/Game", LinkSource::CheckBox);
    EXPECT_TRUE(linked.changed);
    EXPECT_TRUE(linked.message.empty());
    EXPECT_EQ(linked.display.application, "Game");
    const auto text = rig.indexText();
    EXPECT_NE(text.find("[PROFILELIKEDENGEXE]"), std::string::npos) << text;
    EXPECT_NE(text.find("[DENGPROCESS]\n1=/opt/game/Game"), std::string::npos) << text;
    // The key list of the same device keeps its own sections.
    EXPECT_FALSE(rig.store.link(ListId::KeyboardKeys, 1).linked());
    // The selected profile shows its link.
    EXPECT_EQ(rig.ops.selectProfile(ListId::KeyboardLighting, 1).link.application, "Game");
    EXPECT_EQ(profiles::LinkDisplayOf(rig.store, ListId::KeyboardLighting, 1).application, "Game");
}

TEST(ProfileLinkOperations, CheckBoxAndButtonDifferOnCancelledAndRelativeChoices) {
    struct Case {
        const char* what;
        LinkSource source;
        std::optional<std::string> chosen;
        const char* shown;  ///< the name field afterwards; " " when unlinked
    } const cases[] = {
        {"check box cancelled: unlinked", LinkSource::CheckBox, std::nullopt, " "},
        {"check box, relative path: unlinked", LinkSource::CheckBox, "game.exe", " "},
        {"button cancelled: unchanged", LinkSource::Button, std::nullopt, "old"},
        {"button, relative path: unchanged", LinkSource::Button, "game.exe", "old"},
        {"check box on the profile's own application: no clash", LinkSource::CheckBox, "/opt/old/OLD", "OLD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LinkRig rig;
        ASSERT_TRUE(rig.link(0, "/opt/old/old", LinkSource::Button).changed);
        const auto r = rig.link(0, c.chosen, c.source);
        const bool linked = std::string(c.shown) != " ";
        EXPECT_EQ(r.display.linked, linked);
        EXPECT_EQ(r.display.application, c.shown);
        EXPECT_EQ(rig.store.link(ListId::KeyboardLighting, 0).linked(), linked);
        EXPECT_TRUE(r.message.empty());
    }
}

TEST(ProfileLinkOperations, PositionsOutsideTheListChangeNothing) {
    LinkRig rig;
    const auto before = rig.indexText();
    EXPECT_FALSE(rig.link(2, "/opt/game", LinkSource::Button).changed);
    EXPECT_FALSE(rig.link(-1, "/opt/game", LinkSource::CheckBox).changed);
    EXPECT_FALSE(profiles::UnlinkProfile(rig.store, ListId::KeyboardLighting, 7).changed);
    EXPECT_EQ(rig.indexText(), before);
}

TEST(ProfileLinkOperations, AFailedWriteIsReported) {
    LinkRig rig;
    const auto index = rig.store.indexPath(ListId::KeyboardLighting);
    fs::remove(index);
    fs::create_directory(index);  // the index cannot be replaced now
    const auto r = rig.link(0, "/opt/game", LinkSource::CheckBox);
    EXPECT_TRUE(r.writeFailed);
    EXPECT_FALSE(r.display.linked);
}

// The window's thread decides again with the list as it is: a profile deleted after the
// pass read the links moves the linked one to a lower position.
TEST(ProfileWatcherChoice, FollowsTheListAsItIsWhenApplied) {
    LinkRig rig;
    rig.ops.addProfile(ListId::KeyboardLighting);  // three profiles, the third selected
    ASSERT_TRUE(rig.link(2, "/opt/game", LinkSource::CheckBox).changed);
    rig.ops.selectProfile(ListId::KeyboardLighting, 1);
    rig.ops.deleteProfile(ListId::KeyboardLighting, [](auto) { return true; });  // the linked one is now 1
    rig.ops.selectProfile(ListId::KeyboardLighting, 0);

    const auto r = profiles::ApplyWatcherChoice(rig.ops, {ListId::KeyboardLighting, "/opt/game"});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->selected, 1);
    EXPECT_EQ(rig.store.recordedSelection(ListId::KeyboardLighting), 0);
    EXPECT_FALSE(profiles::ApplyWatcherChoice(rig.ops, {ListId::KeyboardLighting, "/opt/game"}))
        << "already shown: nothing selected, nothing sent";
}

// A program whose name differs only in case is another program: its switch selects
// nothing, while the linked file itself (also reached through a link) does.
TEST(ProfileWatcherChoice, ALinkSwitchesForItsOwnFileOnly) {
    LinkRig rig;
    const fs::path bin = rig.data / "bin";
    fs::create_directories(bin);
    ASSERT_TRUE(platform::WriteFileAtomically(bin / "gameterm", "#!/bin/sh\n"));
    ASSERT_TRUE(platform::WriteFileAtomically(bin / "GameTerm", "#!/bin/sh\n"));
    fs::create_symlink(bin / "gameterm", bin / "launcher");
    ASSERT_TRUE(rig.link(1, (bin / "gameterm").string(), LinkSource::CheckBox).changed);
    rig.ops.selectProfile(ListId::KeyboardLighting, 0);
    EXPECT_FALSE(profiles::ApplyWatcherChoice(rig.ops, {ListId::KeyboardLighting, (bin / "GameTerm").string()}));
    EXPECT_EQ(rig.store.list(ListId::KeyboardLighting).selection, 0);
    // The first profile may link the upper-case program: no clash with the second one.
    EXPECT_TRUE(rig.link(0, (bin / "GameTerm").string(), LinkSource::CheckBox).message.empty());
    const auto r = profiles::ApplyWatcherChoice(rig.ops, {ListId::KeyboardLighting, (bin / "launcher").string()});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->selected, 1);
}

// A watcher's switch shows the linked profile and writes nothing: the index file is the
// very file it was (same inode, same bytes) after the switch and after the switch back.
TEST(ProfileWatcherChoice, ASwitchNeverWritesTheIndex) {
    LinkRig rig;
    ASSERT_TRUE(rig.link(1, "/opt/game", LinkSource::CheckBox).changed);
    rig.ops.selectProfile(ListId::KeyboardLighting, 0);  // the user's choice
    const fs::path index = rig.store.indexPath(ListId::KeyboardLighting);
    const std::string before = rig.indexText();
    struct stat was {};
    ASSERT_EQ(::stat(index.c_str(), &was), 0);
    auto unchanged = [&] {
        struct stat now {};
        ASSERT_EQ(::stat(index.c_str(), &now), 0);
        EXPECT_EQ(now.st_ino, was.st_ino) << "the index was replaced";
        EXPECT_EQ(rig.indexText(), before);
    };
    const auto shown = profiles::ApplyWatcherChoice(rig.ops, {ListId::KeyboardLighting, "/opt/game"});
    const auto back = profiles::ApplyWatcherChoice(rig.ops, {ListId::KeyboardLighting, "/usr/bin/editor"});
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->selected, 1);
    EXPECT_FALSE(shown->writeFailed);
    unchanged();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->selected, 0);
    EXPECT_FALSE(back->writeFailed);
    unchanged();
    EXPECT_EQ(rig.store.recordedSelection(ListId::KeyboardLighting), 0);
    // The user's own selection is still recorded.
    rig.ops.selectProfile(ListId::KeyboardLighting, 1);
    EXPECT_EQ(rig.store.recordedSelection(ListId::KeyboardLighting), 1);
}

TEST(ProfileWatcherChoice, AUserChoiceOutsideTheListSelectsNothing) {
    LinkRig rig;
    platform::IniFile(rig.store.indexPath(ListId::KeyboardLighting)).writeString("PROFILEDENGSELECT", "select", "9");
    int handed = 0;
    profiles::ProfileWatcher watcher(ListId::KeyboardLighting, rig.store, [] { return std::nullopt; },
                                     [&](const profiles::WatcherChoice&, std::stop_token) { ++handed; });
    EXPECT_FALSE(watcher.pass());
    EXPECT_EQ(handed, 0);
    EXPECT_FALSE(profiles::ApplyWatcherChoice(rig.ops, {ListId::KeyboardLighting, std::nullopt}));
}

// While a watcher shows a linked profile, a change is saved into that profile; the user's
// own profile, which "select" names, keeps its settings.
TEST(ProfileWatcherChoice, ChangesWhileALinkedProfileIsShownGoIntoIt) {
    LinkRig rig;
    ASSERT_TRUE(rig.link(1, "/opt/game", LinkSource::CheckBox).changed);
    const auto userFile = rig.file(ListId::KeyboardLighting, "New Profile 1");
    const auto userBefore = rig.bytesOf(userFile);
    ASSERT_TRUE(profiles::ApplyWatcherChoice(rig.ops, {ListId::KeyboardLighting, "/opt/game"}));
    rig.keyboard.update([](keyboard::KeyboardData& d) {
        using off = keyboard::LightingRecord::off;
        d.lighting.set(off::brightness, uint8_t(d.lighting.at(off::brightness) ^ 1));
    });
    ASSERT_TRUE(rig.store.saveSelectedLighting(device::DeviceKind::Keyboard));
    EXPECT_EQ(rig.bytesOf(userFile), userBefore);
    EXPECT_NE(rig.bytesOf(rig.file(ListId::KeyboardLighting, "New Profile 2")), userBefore);
}

}  // namespace
}  // namespace orvane
