// SPDX-License-Identifier: GPL-3.0-or-later
// Profile links without an X server: which paths are stored and how they compare, the
// index entries the operations write, the watcher's choice when the list changed under it,
// and where settings go while a linked profile is shown.

#include <gtest/gtest.h>

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

TEST(ProfileLinkPaths, CompareWholeIgnoringCase) {
    struct Case {
        const char* a;
        const char* b;
        bool same;
    } const cases[] = {
        {"/opt/Game/Game.bin", "/opt/game/GAME.BIN", true},
        {"/opt/Spiele/Über.bin", "/opt/spiele/über.BIN", true},    // beyond ASCII
        {"/opt/game/game", "/opt/game/game2", false},              // whole paths, not prefixes
        {"/opt/game/game", "opt/game/game", false},
        {"/opt/game/./game", "/opt/game/game", false},             // another form does not match
        {"/opt/\xff\xfe", "/opt/\xfe\xff", false},                 // not UTF-8: no replacement-character match
        {"/opt/\xffX", "/opt/\xffx", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
        EXPECT_EQ(profiles::SameApplication(c.a, c.b), c.same);
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

    const auto r = profiles::ApplyWatcherChoice(rig.ops, {ListId::KeyboardLighting, "/OPT/GAME"});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->selected, 1);
    EXPECT_EQ(rig.store.recordedSelection(ListId::KeyboardLighting), 0);
    EXPECT_FALSE(profiles::ApplyWatcherChoice(rig.ops, {ListId::KeyboardLighting, "/opt/game"}))
        << "already shown: nothing selected, nothing sent";
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
