// SPDX-License-Identifier: GPL-3.0-or-later
// The macro store between processes: several processes (the window and orvanectl, or two
// windows) adding, renaming, saving and deleting on one data folder lose no macro and leave
// no index entry without its file and no file without its entry; and within a process the
// macro store and the profile store share the data folder's lock.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <fstream>
#include <map>
#include <set>

#include "profiles/profile_store.h"
#include "unit/macro_fixture.h"

namespace orvane::macros {
namespace {

namespace fs = std::filesystem;
using testing::MacroRig;

constexpr int kRounds = 100;
constexpr int kKeepEvery = 10;  // each process keeps the macro of every tenth round

std::string OwnName(int process, int round) { return "p" + std::to_string(process) + "_" + std::to_string(round); }

/// The position of `name` in the index, looked up and used under one hold of the lock (the
/// window does the same with the list it shows).
template <typename Change>
bool AtPositionOf(MacroStore& store, const std::string& name, Change change) {
    auto hold = store.lock();
    const auto names = store.ListMacros(MacroSet::Keyboard);
    const auto it = std::find(names.begin(), names.end(), name);
    return it != names.end() && change(int(it - names.begin())).ok();
}

/// Where process `process` writes what it was told was done, beside the data folder.
fs::path OutcomeFile(const fs::path& data, int process) {
    return data.string() + ".outcome" + std::to_string(process);
}

/// One process's rounds with a store of its own (its own lock file descriptor). It writes
/// "keep NAME" for each macro of a round whose every operation was reported done, and
/// "gone NAME" for each one whose delete was reported done. An operation may be refused
/// (the folder kept by the others past the wait on a loaded machine): a refusal is no loss,
/// only a reported success that did not stick is.
int RunRounds(const fs::path& data, int process) {
    MacroStore store(data, {});
    std::ofstream outcome(OutcomeFile(data, process));
    for (int round = 0; round < kRounds; ++round) {
        const auto added = store.AddMacro(MacroSet::Keyboard);
        if (!added.ok()) continue;
        const std::string name = OwnName(process, round);
        const auto first = MacroRig::Lines(1 + round % 3);
        bool done =
                AtPositionOf(store, added.name, [&](int i) { return store.RenameMacro(MacroSet::Keyboard, i, name, first); });
        done = done && store.SaveMacro(MacroSet::Keyboard, name, MacroRig::Lines(1 + process, round + 1)).ok();
        if (round % kKeepEvery == 0) {
            if (done) outcome << "keep " << name << '\n';
        } else if (AtPositionOf(store, name, [&](int i) { return store.DeleteMacro(MacroSet::Keyboard, i); })) {
            outcome << "gone " << name << '\n';
        }
    }
    outcome.flush();
    return outcome ? 0 : 1;
}

TEST(MacroStoreProcesses, ConcurrentRoundsLoseNothingAndLeaveNoStrays) {
    for (int processes : {2, 4}) {
        SCOPED_TRACE(std::to_string(processes) + " processes");
        MacroRig rig;
        std::vector<pid_t> children;
        for (int p = 0; p < processes; ++p) {
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) ::_exit(RunRounds(rig.data, p));
            children.push_back(child);
        }
        for (pid_t child : children) {
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFEXITED(status));
            EXPECT_EQ(WEXITSTATUS(status), 0) << "process " << child << " could not write its outcome";
        }

        std::map<std::string, std::vector<std::string>> kept;
        std::set<std::string> gone;
        for (int p = 0; p < processes; ++p) {
            std::ifstream outcome(OutcomeFile(rig.data, p));
            std::string word, name;
            while (outcome >> word >> name) {
                const int round = std::stoi(name.substr(name.find('_') + 1));
                if (word == "keep") kept[name] = MacroRig::Lines(1 + p, round + 1);
                else gone.insert(name);
            }
            fs::remove(OutcomeFile(rig.data, p));
        }
        const auto names = rig.store.ListMacros(MacroSet::Keyboard);
        EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size()) << "a name twice";
        std::set<std::string> files{"kbMacro.ini"};
        for (const auto& name : names) files.insert(name + ".mac");
        EXPECT_EQ(rig.files(MacroSet::Keyboard), files) << "an entry without its file or a file without its entry";
        // Nearly every round goes through; a loaded machine may refuse a few.
        EXPECT_GT(kept.size(), 0u);
        size_t lost = 0, back = 0;
        for (const auto& [name, lines] : kept)
            if (rig.store.LoadMacro(MacroSet::Keyboard, name) != lines) ++lost;
        for (const auto& name : names) back += gone.count(name);
        EXPECT_EQ(lost, 0u) << "of " << kept.size() << " macros reported stored";
        EXPECT_EQ(back, 0u) << "macros reported deleted are listed again";
    }
}

// The profile store holding the data folder (a key profile saved after a delete renumbered
// the keys) and a macro change inside it: one lock, so neither waits for the other.
TEST(MacroStoreProcesses, TheMacroStoreSharesTheProfileStoresLock) {
    testing::ProfileRig profiles;
    MacroStore store(profiles.data, {}, profiles.store.folderLock());
    // A second lock object on the folder would wait out the whole wait and refuse (busy).
    auto held = profiles.store.lock();
    EXPECT_TRUE(store.AddMacro(MacroSet::Keyboard).ok());
    EXPECT_TRUE(store.DeleteMacro(MacroSet::Keyboard, 0).ok());
}

// Another process keeps the folder while a thread of this one waits to change a macro: the
// waiting writer must not keep the threads' lock meanwhile, or the window (which reads the
// lists on its own thread) would freeze for the whole wait.
TEST(MacroStoreProcesses, AWriterWaitingForAnotherProcessHoldsUpNoReader) {
    MacroRig rig;
    ASSERT_TRUE(rig.store.AddMacro(MacroSet::Keyboard).ok());
    int ready[2], release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        platform::FolderLock other(rig.data);
        char c = other.acquire() == platform::FolderLock::State::Held ? 'y' : 'n';
        (void)!::write(ready[1], &c, 1);
        (void)!::read(release[0], &c, 1);  // until the parent has read
        ::_exit(0);
    }
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    ASSERT_EQ(held, 'y');

    std::atomic<bool> writerDone{false};
    std::thread writer([&] {
        rig.store.AddMacro(MacroSet::Keyboard);  // waits for the other process
        writerDone = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // let the writer start waiting
    const auto names = rig.store.ListMacros(MacroSet::Keyboard);
    const auto lines = rig.store.LoadMacro(MacroSet::Keyboard, "Macro_1");
    EXPECT_FALSE(writerDone) << "the reader waited for the writer";
    EXPECT_EQ(names, std::vector<std::string>{"Macro_1"});
    const char go = 'g';
    (void)!::write(release[1], &go, 1);
    writer.join();
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(rig.store.ListMacros(MacroSet::Keyboard).size(), 2u) << "the writer went on once the folder was free";
    for (int fd : {ready[0], ready[1], release[0], release[1]}) ::close(fd);
}

}  // namespace
}  // namespace orvane::macros
