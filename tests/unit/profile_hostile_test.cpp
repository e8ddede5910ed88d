// SPDX-License-Identifier: GPL-3.0-or-later
// The profile store against what a hostile user, a crash or a second program leaves in the
// data folder: damaged, foreign and non-file indexes, names repeated by hand, a first run
// over files already there, writes that fail, a folder another program holds, a list
// another program changed, short profile files and export targets that are not files.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "platform/folder_lock.h"
#include "platform/ini_file.h"
#include "profiles/profile_names.h"
#include "unit/profile_fixture.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using device::DeviceKind;
using profiles::ListId;
using profiles::ReadResult;
using Names = std::vector<std::string>;

constexpr ListId kKbLightingList = ListId::KeyboardLighting;
constexpr ListId kKbKeysList = ListId::KeyboardKeys;

void PutFile(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::set<std::string> AsSet(const Names& names) { return {names.begin(), names.end()}; }

struct HostileRig : testing::ProfileRig {
    profiles::ProfileOperations ops{store, {}};
    fs::path index = data / "kb" / "kbProfile.ini";

    /// An earlier run's folder: "New Profile 1" in both lists, "Other" beside it in the
    /// lighting folder, each lighting file marked so that an overwrite shows.
    HostileRig() {
        initAll();
        plant(kKbLightingList, "New Profile 1", Pattern(kKbLightingList, 11));
        plant(kKbLightingList, "Other", Pattern(kKbLightingList, 22));
    }
    std::string kbFile(const std::string& name) const { return bytesOf(file(kKbLightingList, name)); }
    /// A second store on the same folder: another process as far as the files go.
    profiles::ProfileStore other() { return profiles::ProfileStore(data, {testing::ShippedDefaults()}, {&keyboard, &mouse, &pad}); }
};

TEST(DamagedIndex, IsRebuiltFromWhatCanBeReadAndTheFilesThereNeverTakenForAFirstRun) {
    const std::string valid =
        "[PROFILEDENGCOUNT]\ncount=1\n[PROFILEDENGNAME]\n0=New Profile 1\n[PROFILEDENGSELECT]\nselect=0\n"
        "[PROFILECOUNT]\ncount=1\n[PROFILENAME]\n0=New Profile 1\n[PROFILESELECT]\nselect=0\n";
    std::string utf16 = "\xFF\xFE";
    for (char c : valid) utf16 += std::string{c, '\0'};
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string s = valid;
        return s.replace(s.find(from), from.size(), to);
    };
    struct Case {
        const char* what;
        std::string index;
        bool keysRebuilt;  // the key list was damaged too
    } const cases[] = {
        {"count=x", replaced("count=1", "count=x"), false},
        {"count=-3", replaced("count=1", "count=-3"), false},
        {"count past the names", replaced("count=1", "count=4"), false},
        {"a stray byte in a header", replaced("[PROFILEDENGCOUNT]", "[PROFILE\x01" "DENGCOUNT]"), false},
        {"empty", "", true},
        {"garbage", std::string("\x93\x11\xfe\x00zz\x7f[\x01=", 11) + std::string(300, '\xA7'), true},
        {"UTF-16", utf16, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HostileRig rig;
        const std::string np1 = rig.kbFile("New Profile 1"), other = rig.kbFile("Other");
        PutFile(rig.index, c.index);
        const auto r = rig.store.initProfileLists(DeviceKind::Keyboard);
        EXPECT_EQ(r.message, profiles::kIndexRebuiltMessage);
        ASSERT_FALSE(r.notes.empty());
        EXPECT_NE(r.notes.back().find("kbProfile.ini.damaged"), std::string::npos) << r.notes.back();
        // Every file kept, every one listed, the damaged index kept byte for byte.
        EXPECT_EQ(rig.kbFile("New Profile 1"), np1);
        EXPECT_EQ(rig.kbFile("Other"), other);
        EXPECT_EQ(AsSet(rig.store.list(kKbLightingList).names), (std::set<std::string>{"New Profile 1", "Other"}));
        EXPECT_EQ(rig.store.list(kKbKeysList).names, Names{"New Profile 1"});
        EXPECT_EQ(rig.bytesOf(rig.index.string() + ".damaged"), c.index);
        // The rebuilt index is whole: said once, the next start reads it as it is.
        EXPECT_EQ(AsSet(rig.indexNames(kKbLightingList)), AsSet(rig.store.list(kKbLightingList).names));
        const auto again = rig.store.initProfileLists(DeviceKind::Keyboard);
        EXPECT_TRUE(again.message.empty()) << again.message;
        EXPECT_FALSE(fs::exists(rig.index.string() + ".damaged-2"));
        if (!c.keysRebuilt) {  // the list that was fine is byte for byte as it was
            const auto after = platform::ReadWholeFile(rig.index).value_or("");
            EXPECT_NE(after.find("[PROFILECOUNT]\ncount=1\n[PROFILENAME]\n0=New Profile 1\n"), std::string::npos) << after;
        }
    }
}

// An index of both lists with a link in each, as a run leaves it, and the profile files.
struct FullIndexRig : HostileRig {
    const std::string text =
        "[PROFILEDENGCOUNT]\ncount=2\n[PROFILEDENGNAME]\n0=New Profile 1\n1=Other\n[PROFILELIKEDENGEXE]\n0=0\n1=1\n"
        "[DENGPROCESS]\n1=/opt/light\n[PROFILEDENGSELECT]\nselect=1\n"
        "[PROFILECOUNT]\ncount=3\n[PROFILENAME]\n0=New Profile 1\n1=Keys A\n2=Keys B\n[PROFILELIKEEXE]\n0=0\n1=0\n2=1\n"
        "[PROCESS]\n2=/opt/game\n[PROFILESELECT]\nselect=2\n";
    FullIndexRig() {
        plant(kKbKeysList, "Keys A", Pattern(kKbKeysList, 33));
        plant(kKbKeysList, "Keys B", Pattern(kKbKeysList, 44));
    }
    /// Every linked entry of the list, by name: name -> path.
    std::map<std::string, std::string> links(ListId id) const {
        std::map<std::string, std::string> out;
        const auto list = store.list(id);
        for (int i = 0; i < list.count(); ++i)
            if (const auto link = store.link(id, i); link.linked()) out[list.names[size_t(i)]] = link.process;
        return out;
    }
    void clearCopies() {
        for (const auto& e : fs::directory_iterator(data / "kb"))
            if (e.path().filename().string().starts_with("kbProfile.ini.")) fs::remove(e.path());
    }
};

// An index cut at any byte (a copy, a full disk, an editor stopped): every profile whose
// file is there is listed, a link is kept when its lines are whole and never points at a
// cut path, and the rebuilt index reads whole at the next start.
TEST(CutIndex, EveryCutListsEveryProfileAndKeepsTheLinksItCanRead) {
    FullIndexRig rig;
    const auto& text = rig.text;
    const size_t lightLinkEnd = text.find("1=/opt/light\n") + 13, keyLinkEnd = text.find("2=/opt/game\n") + 12;
    for (size_t cut = 0; cut <= text.size(); ++cut) {
        SCOPED_TRACE("cut at " + std::to_string(cut) + ": ..." + text.substr(cut > 20 ? cut - 20 : 0, std::min<size_t>(cut, 20)));
        rig.clearCopies();
        PutFile(rig.index, text.substr(0, cut));
        rig.store.initProfileLists(DeviceKind::Keyboard);
        EXPECT_EQ(AsSet(rig.store.list(kKbLightingList).names), (std::set<std::string>{"New Profile 1", "Other"}));
        EXPECT_EQ(AsSet(rig.store.list(kKbKeysList).names), (std::set<std::string>{"New Profile 1", "Keys A", "Keys B"}));
        // A link is the whole path or names no file at all (a flag whose path line is gone).
        struct {
            ListId id;
            const char *name, *path;
            size_t end;
        } const linked[] = {{kKbLightingList, "Other", "/opt/light", lightLinkEnd}, {kKbKeysList, "Keys B", "/opt/game", keyLinkEnd}};
        for (const auto& l : linked) {
            const auto links = rig.links(l.id);
            for (const auto& [name, path] : links)
                EXPECT_TRUE(name == l.name && (path == l.path || !path.starts_with('/'))) << name << " -> " << path;
            if (cut >= l.end) EXPECT_EQ(links, (std::map<std::string, std::string>{{l.name, l.path}}));
        }
        const auto again = rig.store.initProfileLists(DeviceKind::Keyboard);
        EXPECT_TRUE(again.message.empty()) << again.message;
        EXPECT_EQ(rig.store.list(kKbKeysList).count(), 3);
    }
}

// A start killed at any moment of a rebuild leaves the old index or the whole new one: the
// next start lists every profile (the rebuild is one atomic replace).
TEST(CutIndex, AStartKilledDuringTheRebuildLosesNoEntry) {
    FullIndexRig rig;
    const std::string cut = rig.text.substr(0, rig.text.find("1=Keys A") + 4);  // the key list cut in its names
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        rig.clearCopies();
        PutFile(rig.index, cut);
        const pid_t child = ::fork();
        if (child == 0) {
            rig.store.initProfileLists(DeviceKind::Keyboard);
            ::_exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 3000)(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        rig.store.initProfileLists(DeviceKind::Keyboard);
        EXPECT_EQ(AsSet(rig.store.list(kKbLightingList).names), (std::set<std::string>{"New Profile 1", "Other"}));
        EXPECT_EQ(AsSet(rig.store.list(kKbKeysList).names), (std::set<std::string>{"New Profile 1", "Keys A", "Keys B"}));
        EXPECT_EQ(rig.links(kKbLightingList), (std::map<std::string, std::string>{{"Other", "/opt/light"}}));
    }
}

TEST(DamagedIndex, ATooLargeIndexIsSalvagedFromItsReadablePart) {
    HostileRig rig;
    std::string big = "[PROFILEDENGCOUNT]\ncount=1000\n[PROFILEDENGNAME]\n";
    for (int i = 0; i < 1000; ++i) big += std::to_string(i) + "=P" + std::to_string(i) + "\n";
    big += "[PADDING]\n" + std::string(platform::kMaxSettingsFileBytes, 'x') + "\n";
    PutFile(rig.index, big);
    const auto r = rig.store.initProfileLists(DeviceKind::Keyboard);
    EXPECT_EQ(r.message, profiles::kIndexRebuiltMessage);
    const auto names = rig.store.list(kKbLightingList).names;
    ASSERT_EQ(names.size(), 1000u);  // P0-P999; the files beyond the cap of 1000 entries wait
    EXPECT_EQ(names.front(), "P0");
    EXPECT_LT(fs::file_size(rig.index), 100'000u);
    EXPECT_EQ(fs::file_size(rig.index.string() + ".damaged"), big.size());
}

TEST(IndexThatIsNotAFile, ListsComeFromTheFilesAndNothingIsWrittenOverIt) {
    for (const char* kind : {"folder", "fifo", "device"}) {
        SCOPED_TRACE(kind);
        HostileRig rig;
        fs::remove(rig.index);
        if (kind == std::string("folder")) fs::create_directory(rig.index);
        if (kind == std::string("fifo")) {
            ASSERT_EQ(::mkfifo(rig.index.c_str(), 0600), 0);
        }
        if (kind == std::string("device")) fs::create_symlink("/dev/zero", rig.index);
        const auto r = rig.store.initProfileLists(DeviceKind::Keyboard);  // returns: no hang, no exhaustion
        EXPECT_EQ(r.message, profiles::kIndexUnusableMessage);
        EXPECT_EQ(rig.store.list(kKbLightingList).names, (Names{"New Profile 1", "Other"}));
        const auto added = rig.ops.addProfile(kKbLightingList);
        EXPECT_TRUE(added.writeFailed);
        EXPECT_FALSE(fs::exists(rig.file(kKbLightingList, "New Profile 2")));  // no file without an entry
        const auto selected = rig.ops.selectProfile(kKbLightingList, 1);
        EXPECT_TRUE(selected.writeFailed);          // the selection cannot be recorded ...
        EXPECT_EQ(selected.loaded, ReadResult::Read);  // ... but the profile is used
        EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(rig.index)));
    }
}

TEST(FirstRun, NeverOverwritesAProfileFileAlreadyThere) {
    testing::ProfileRig rig;
    rig.plant(kKbLightingList, "New Profile 1", testing::ProfileRig::Pattern(kKbLightingList, 5));
    const std::string mine = rig.bytesOf(rig.file(kKbLightingList, "New Profile 1"));
    ASSERT_TRUE(rig.store.initProfileLists(DeviceKind::Keyboard).message.empty());
    EXPECT_EQ(rig.bytesOf(rig.file(kKbLightingList, "New Profile 1")), mine);
    EXPECT_EQ(rig.store.list(kKbLightingList).names, Names{"New Profile 2"});
    EXPECT_EQ(rig.bytesOf(rig.file(kKbLightingList, "New Profile 2")),
              rig.bytesOf(testing::ShippedDefaults() / "kbdengdefault.led"));

    // A first run stopped between its file and its index left exactly the default: taken over.
    testing::ProfileRig stopped;
    fs::create_directories(stopped.data / "kb");
    fs::copy_file(testing::ShippedDefaults() / "kbdengdefault.led", stopped.file(kKbLightingList, "New Profile 1"));
    ASSERT_TRUE(stopped.store.initProfileLists(DeviceKind::Keyboard).message.empty());
    EXPECT_EQ(stopped.store.list(kKbLightingList).names, Names{"New Profile 1"});
    EXPECT_FALSE(fs::exists(stopped.file(kKbLightingList, "New Profile 2")));
}

TEST(DuplicateNames, TheLaterEntrySharesTheFileReadOnly) {
    HostileRig rig;
    PutFile(rig.index,
        "[PROFILEDENGCOUNT]\ncount=3\n[PROFILEDENGNAME]\n0=Other\n1=New Profile 1\n2=other\n"
        "[PROFILECOUNT]\ncount=1\n[PROFILENAME]\n0=New Profile 1\n");
    ASSERT_TRUE(rig.store.initProfileLists(DeviceKind::Keyboard).message.empty());
    const auto list = rig.store.list(kKbLightingList);
    EXPECT_FALSE(list.readOnly(0));
    EXPECT_EQ(list.earlierWithName(2), 0);
    const std::string shared = rig.kbFile("Other");

    EXPECT_EQ(rig.ops.selectProfile(kKbLightingList, 2).loaded, ReadResult::Read);  // it loads the shared file
    const fs::path source = rig.data / "import.led";
    ASSERT_TRUE(profiles::WriteProfileFile(source, DeviceKind::Keyboard, testing::ProfileRig::Pattern(kKbLightingList, 99)));
    for (const auto& r : {rig.ops.importProfile(kKbLightingList, source), rig.ops.renameProfile(kKbLightingList, "Fresh"),
                          rig.ops.resetProfile(kKbLightingList)}) {
        EXPECT_EQ(r.message, profiles::kReadOnlyDuplicateMessage);
        EXPECT_NE(r.detail.find("read-only"), std::string::npos);
    }
    EXPECT_FALSE(rig.store.saveSelected(kKbLightingList));
    EXPECT_EQ(rig.kbFile("Other"), shared);

    // Deleting the repeat removes the entry, not the file the first one uses.
    const auto deleted = rig.ops.deleteProfile(kKbLightingList, [](std::string_view) { return true; });
    EXPECT_TRUE(deleted.message.empty());
    EXPECT_EQ(rig.store.list(kKbLightingList).names, (Names{"Other", "New Profile 1"}));
    EXPECT_EQ(rig.kbFile("Other"), shared);
}

TEST(WriteFailures, AreReportedAndLeaveEverythingAsItWas) {
    HostileRig rig;
    rig.ops.selectProfile(kKbLightingList, 0);
    const std::string index = rig.bytesOf(rig.index);
    {
        testing::FileSizeLimit full(1);  // every write fails, as on a full disk
        const auto selected = rig.ops.selectProfile(kKbLightingList, 0);
        EXPECT_TRUE(selected.writeFailed);
        EXPECT_NE(selected.detail.find("too large"), std::string::npos) << selected.detail;
        EXPECT_TRUE(rig.ops.addProfile(kKbLightingList).writeFailed);
        EXPECT_TRUE(rig.ops.copyProfile(kKbLightingList).writeFailed);

        testing::ProfileRig fresh;  // first run that cannot write: said, nothing claimed
        const auto r = fresh.store.initProfileLists(DeviceKind::Mouse);
        EXPECT_EQ(r.message, profiles::kWriteFailedMessage);
        EXPECT_TRUE(fresh.store.list(ListId::MouseLighting).names.empty());
        EXPECT_FALSE(fs::exists(fresh.file(ListId::MouseLighting, "New Profile 1")));
    }
    EXPECT_EQ(rig.bytesOf(rig.index), index);
    EXPECT_EQ(rig.store.list(kKbLightingList).names, Names{"New Profile 1"});
}

TEST(TwoWriters, AFolderHeldElsewhereRefusesTheWriteAndAChangedListIsReloaded) {
    HostileRig rig;
    rig.ops.selectProfile(kKbLightingList, 0);
    {
        platform::FolderLock elsewhere(rig.data);
        ASSERT_EQ(elsewhere.acquire(), platform::FolderLock::State::Held);
        const auto r = rig.ops.addProfile(kKbLightingList);  // waits for the lock, then gives up
        EXPECT_EQ(r.message, profiles::kFolderBusyMessage);
        EXPECT_EQ(rig.store.list(kKbLightingList).names, Names{"New Profile 1"});
    }
    // Another program adds a profile: this one's next change sees it and loses nothing.
    auto other = rig.other();
    ASSERT_TRUE(other.initProfileLists(DeviceKind::Keyboard).message.empty());
    profiles::ProfileOperations otherOps(other, {});
    otherOps.selectProfile(kKbLightingList, 0);
    ASSERT_EQ(otherOps.addProfile(kKbLightingList).selectedName, "New Profile 2");
    const auto refused = rig.ops.addProfile(kKbLightingList);
    EXPECT_EQ(refused.message, profiles::kListChangedMessage);
    EXPECT_TRUE(refused.listChanged);
    EXPECT_EQ(rig.store.list(kKbLightingList).names, (Names{"New Profile 1", "New Profile 2"}));
    EXPECT_EQ(rig.ops.addProfile(kKbLightingList).selectedName, "New Profile 3");
    EXPECT_EQ(rig.indexNames(kKbLightingList), (Names{"New Profile 1", "New Profile 2", "New Profile 3"}));
}

TEST(ProfileMessages, NameTheRuleAShortFileAndALinkWithoutAFolder) {
    HostileRig rig;
    // A short file loads, zero-filled, and says so.
    PutFile(rig.file(kKbLightingList, "Other"), std::string("\xAA\x55\0\0\x01\0\0\0\0\0\0\0\0\0\0\0\x07\x08\x09", 19));
    const auto shortLoad = rig.ops.selectProfile(kKbLightingList, 0);
    EXPECT_EQ(shortLoad.loaded, ReadResult::Read);
    EXPECT_EQ(shortLoad.detail, "");  // New Profile 1 is whole
    rig.store.setList(kKbLightingList, {{"New Profile 1", "Other"}, 0});
    rig.store.writeEntry(kKbLightingList, 1, "Other", true);
    rig.store.writeCount(kKbLightingList, 2);
    const auto loaded = rig.ops.selectProfile(kKbLightingList, 1);
    EXPECT_EQ(loaded.loaded, ReadResult::Read);
    EXPECT_NE(loaded.detail.find("short: 3 of 1958 body bytes, the other 1955 filled with zeros"), std::string::npos)
        << loaded.detail;
    // A name the index holds but no file can have: the rule it breaks, not "missing".
    rig.store.writeEntry(kKbLightingList, 1, "a/b", false);
    rig.store.setList(kKbLightingList, {{"New Profile 1", "a/b"}, 0});
    const auto refused = rig.ops.selectProfile(kKbLightingList, 1);
    EXPECT_EQ(refused.message, profiles::kInvalidNameMessage);
    EXPECT_NE(refused.detail.find("contains a path separator"), std::string::npos) << refused.detail;
    // A link whose application path names no folder: selected, not loaded, and why.
    rig.store.writeLink(kKbLightingList, 0, {"1", "game.exe"});
    const auto linked = rig.ops.selectProfile(kKbLightingList, 0);
    EXPECT_EQ(linked.loaded, ReadResult::Missing);
    EXPECT_NE(linked.detail.find("names no folder"), std::string::npos) << linked.detail;
}

TEST(ProfileMessages, AFolderOrFifoWhereAProfileFileShouldBeIsNamedAsSuch) {
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> make;
        const char* said;
    } const cases[] = {
        {"a folder", [](const fs::path& p) { fs::create_directory(p); }, "is a folder, not a profile file"},
        {"a FIFO", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, "is a FIFO (named pipe)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HostileRig rig;
        const auto path = rig.file(kKbLightingList, "Other");
        fs::remove(path);
        c.make(path);
        rig.store.setList(kKbLightingList, {{"New Profile 1", "Other"}, 0});
        rig.store.writeEntry(kKbLightingList, 1, "Other", true);
        rig.store.writeCount(kKbLightingList, 2);
        const auto r = rig.ops.selectProfile(kKbLightingList, 1);
        EXPECT_EQ(r.loaded, ReadResult::Missing);
        EXPECT_EQ(r.message, "message_profile_not_a_file");
        EXPECT_NE(r.detail.find(path.string() + " " + c.said), std::string::npos) << r.detail;
        // Renaming reads the file too: the same message, not "could not be found".
        EXPECT_EQ(rig.ops.renameProfile(kKbLightingList, "Renamed").message, "message_profile_not_a_file");
    }
}

TEST(Export, WritesOnlyRegularFilesAndMakesNoFolders) {
    HostileRig rig;
    rig.ops.selectProfile(kKbLightingList, 0);
    const fs::path out = rig.data / "out";
    fs::create_directory(out);
    ASSERT_EQ(::mkfifo((out / "fifo").c_str(), 0600), 0);
    fs::create_symlink("/dev/null", out / "null");
    for (const fs::path& target : {out / "fifo", out / "null", out / "no/such/x.led", fs::path(out)}) {
        SCOPED_TRACE(target);
        const auto r = rig.ops.exportProfile(kKbLightingList, target);
        EXPECT_EQ(r.message, profiles::kExportTargetMessage);
        EXPECT_FALSE(r.writeFailed);
    }
    EXPECT_TRUE(fs::is_fifo(out / "fifo"));
    EXPECT_TRUE(fs::is_symlink(out / "null"));
    EXPECT_FALSE(fs::exists(out / "no"));
    // Through a link to a file: the file is replaced, keeping its mode; the link stays.
    PutFile(out / "real.led", "old");
    ::chmod((out / "real.led").c_str(), 0600);
    fs::create_symlink(out / "real.led", out / "link.led");
    EXPECT_TRUE(rig.ops.exportProfile(kKbLightingList, out / "link.led").message.empty());
    EXPECT_TRUE(fs::is_symlink(out / "link.led"));
    EXPECT_EQ(rig.bytesOf(out / "real.led"), rig.kbFile("New Profile 1"));
    struct stat st {};
    ::stat((out / "real.led").c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
}

TEST(StartUp, RemovesTheTemporaryFilesOfAKilledWriteAndNoFileOfTheUser) {
    HostileRig rig;
    PutFile(rig.data / "kb" / ".Other.led.orvane-tmp-999999999-Ab3xQz", "half");
    // The user's own copies beside the profiles and the settings: never taken for temporaries.
    const Names users = {"Other.led.Xy7kQw", "New Profile 1.led.oldOne", "New Profile 1.pro.mar24b"};
    for (const auto& name : users) PutFile(rig.data / "kb" / name, "mine");
    if (!fs::exists(rig.data / "main.ini")) PutFile(rig.data / "main.ini", "[Main]\n");
    PutFile(rig.data / "main.ini.bak001", "mine");
    const auto r = rig.store.initProfileLists(DeviceKind::Keyboard);
    ASSERT_EQ(r.notes.size(), 1u);
    EXPECT_NE(r.notes[0].find("removed 1 temporary"), std::string::npos) << r.notes[0];
    Names left;
    for (const auto& e : fs::directory_iterator(rig.data / "kb")) left.push_back(e.path().filename().string());
    std::set<std::string> expected = {"kbProfile.ini", "New Profile 1.led", "New Profile 1.pro", "Other.led"};
    expected.insert(users.begin(), users.end());
    EXPECT_EQ(AsSet(left), expected);
    for (const auto& name : users) EXPECT_EQ(rig.bytesOf(rig.data / "kb" / name), "mine") << name;
    EXPECT_EQ(rig.bytesOf(rig.data / "main.ini.bak001"), "mine");
}

}  // namespace
}  // namespace orvane
