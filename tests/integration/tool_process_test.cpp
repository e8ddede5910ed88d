// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl as separate processes on one data folder: two writers racing selections lose
// none, a read-only or full folder gives exit 1 and claims nothing, the command line refuses
// what it cannot use, and killing the tool at any moment of an import, a selection or a
// first run leaves every file old or new and nothing else once the next run has started.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <random>
#include <set>
#include <thread>

#include "platform/atomic_file.h"
#include "platform/folder_lock.h"
#include "platform/ini_file.h"
#include "profiles/profile_file.h"
#include "unit/profile_fixture.h"

extern char** environ;

namespace orvane {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

/// One orvanectl process with ORVANE_DATA_DIR set; its output is read through pipes (a
/// file size limit set for the child does not cut it).
class Tool {
public:
    Tool(const fs::path& data, const std::vector<std::string>& args, const std::vector<std::string>& wrapper = {}) {
        std::vector<std::string> all = wrapper;
        all.push_back(ORVANECTL);
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<std::string> env{"ORVANE_DATA_DIR=" + data.string()};
        for (char** e = environ; *e; ++e)
            if (std::string_view(*e).rfind("ORVANE_DATA_DIR=", 0) != 0) env.emplace_back(*e);
        std::vector<char*> envp;
        for (auto& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        int out[2], err[2];
        if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_adddup2(&files, out[1], 1);
        posix_spawn_file_actions_adddup2(&files, err[1], 2);
        if (posix_spawnp(&pid_, argv[0], &files, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&files);
        ::close(out[1]);
        ::close(err[1]);
        outFd_ = out[0];
        errFd_ = err[0];
        ::fcntl(outFd_, F_SETFL, O_NONBLOCK);
        ::fcntl(errFd_, F_SETFL, O_NONBLOCK);
        done_ = pid_ <= 0;
    }
    ~Tool() {
        if (!done_) kill();
        if (outFd_ >= 0) ::close(outFd_);
        if (errFd_ >= 0) ::close(errFd_);
    }
    /// The exit code; -1 when it did not end in time or was killed.
    int wait(std::chrono::seconds limit = std::chrono::seconds(120)) {
        const auto deadline = Clock::now() + limit;
        while (!done_ && Clock::now() < deadline) {
            drain();
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                done_ = true;
                code_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
        if (!done_) kill();
        drain();
        return code_;
    }
    void kill() {
        if (done_) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        done_ = true;
    }
    const std::string& out() const { return out_; }
    const std::string& err() const { return err_; }

private:
    void drain() {
        char buffer[4096];
        for (auto [fd, text] : {std::pair{outFd_, &out_}, std::pair{errFd_, &err_}}) {
            ssize_t n = 0;
            while (fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0) text->append(buffer, size_t(n));
        }
    }
    pid_t pid_ = -1;
    int outFd_ = -1, errFd_ = -1;
    bool done_ = false;
    int code_ = -1;
    std::string out_, err_;
};

struct Scratch {
    fs::path root = testing::FreshFolder();
    fs::path data = root / "KX";
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    int run(const std::vector<std::string>& args, std::string* err = nullptr) {
        Tool tool(data, args);
        const int code = tool.wait();
        if (err) *err = tool.err();
        return code;
    }
    std::string bytes(const std::string& relative) const {
        return platform::ReadWholeFile(data / relative).value_or("<missing>");
    }
    /// Three profiles in each keyboard list: the first run's, "B" and "C".
    void threeKeyboardProfiles() {
        ASSERT_EQ(run({"profiles", "kb"}), 0);
        for (const char* extension : {".led", ".pro"})
            for (const char* name : {"B", "C"})
                fs::copy_file(data / "kb" / (std::string("New Profile 1") + extension), data / "kb" / (name + std::string(extension)));
        std::ofstream(data / "kb" / "kbProfile.ini")
            << "[PROFILEDENGCOUNT]\ncount=3\n[PROFILEDENGNAME]\n0=New Profile 1\n1=B\n2=C\n[PROFILEDENGSELECT]\nselect=0\n"
               "[PROFILECOUNT]\ncount=3\n[PROFILENAME]\n0=New Profile 1\n1=B\n2=C\n[PROFILESELECT]\nselect=0\n";
    }
    int selected(const char* section) const {
        return platform::IniFile(data / "kb" / "kbProfile.ini").readInt(section, "select", -1);
    }
};

/// Files bigger than `bytes` cannot be written by processes started while it lives.
using ChildFileSizeLimit = testing::FileSizeLimit;

TEST(ToolLine, RefusesWhatItCannotUseWithExitTwo) {
    Scratch s;
    struct Case {
        std::vector<std::string> args;
        const char* says;
    } const cases[] = {
        {{"--trace"}, "--trace needs a file"},
        {{"--trace", "--simulate", "list"}, "--trace needs a file"},
        {{"--trace=", "list"}, "--trace= needs a file"},
        {{"--trace", "", "list"}, "--trace needs a file"},
        {{"--simulate=", "list"}, "--simulate= needs a device list"},
        {{"--bogus", "list"}, "unknown option --bogus"},
        {{"--simulate", "--simulate-shared", "list"}, "--simulate and --simulate-shared exclude each other"},
        {{"profiles", "kb", "--data-dir", ""}, "--data-dir needs a folder"},
        {{"profiles", "kb", "--data-dir"}, "--data-dir needs a folder"},
        {{"profiles", "kb", "--data-dir="}, "--data-dir needs a folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.front());
        std::string err;
        EXPECT_EQ(s.run(c.args, &err), 2);
        EXPECT_NE(err.find(c.says), std::string::npos) << err;
    }
    EXPECT_FALSE(fs::exists(s.data));  // none of them touched the data folder
}

TEST(TwoWriters, RacingSelectionsLoseNone) {
    Scratch s;
    s.threeKeyboardProfiles();
    int lost = 0;
    const int rounds = 40;
    for (int r = 0; r < rounds; ++r) {
        const int led = r % 3, key = (r + 1) % 3;
        Tool a(s.data, {"--simulate=kb", "profile", "select", "kb", "led", std::to_string(led)});
        Tool b(s.data, {"--simulate=kb", "profile", "select", "kb", "key", std::to_string(key)});
        EXPECT_EQ(a.wait(), 0) << a.err();
        EXPECT_EQ(b.wait(), 0) << b.err();
        lost += s.selected("PROFILEDENGSELECT") != led;
        lost += s.selected("PROFILESELECT") != key;
    }
    EXPECT_EQ(lost, 0) << "of " << 2 * rounds << " selections";
}

TEST(WriteFailures, AFullOrReadOnlyFolderGivesExitOneAndClaimsNothing) {
    Scratch s;
    s.threeKeyboardProfiles();
    const std::string index = s.bytes("kb/kbProfile.ini");
    {
        ChildFileSizeLimit full(1);  // every write of the tool fails, as on a full disk
        std::string err;
        EXPECT_EQ(s.run({"--simulate=kb", "profile", "select", "kb", "led", "2"}, &err), 1);
        EXPECT_NE(err.find("could not be recorded"), std::string::npos) << err;
        EXPECT_EQ(s.run({"profiles", "ms"}, &err), 1);  // first run
        EXPECT_NE(err.find("could not be made"), std::string::npos) << err;
        EXPECT_EQ(s.run({"profile", "import", "kb", "led", "1", (s.data / "kb/C.led").string()}, &err), 1);
        EXPECT_NE(err.find("cannot write"), std::string::npos) << err;
    }
    EXPECT_EQ(s.bytes("kb/kbProfile.ini"), index);
    EXPECT_FALSE(fs::exists(s.data / "ms" / "msProfile.ini"));
    EXPECT_FALSE(fs::exists(s.data / "ms" / "New Profile 1.led"));

    // Read-only: a read-only bind mount of the folder in a mount namespace of its own (root),
    // or the write bits taken away (anyone else).
    std::vector<std::string> wrapper;
    const std::string folder = s.data.string();
    if (::geteuid() == 0) {
        wrapper = {"unshare", "--mount", "sh", "-c",
                   "mount --bind \"$0\" \"$0\" && mount -o remount,bind,ro \"$0\" \"$0\" && exec \"$@\"", folder};
        Tool probe(s.data, {"--help"}, wrapper);
        if (probe.wait() != 0) GTEST_SKIP() << "no mount namespace here: " << probe.err();
    } else {
        for (const auto& e : fs::recursive_directory_iterator(s.data))
            if (e.is_directory()) fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::remove);
        fs::permissions(s.data, fs::perms::owner_write, fs::perm_options::remove);
    }
    Tool select(s.data, {"--simulate=kb", "profile", "select", "kb", "led", "2"}, wrapper);
    EXPECT_EQ(select.wait(), 1);
    EXPECT_NE(select.err().find("the folder is read-only"), std::string::npos) << select.err();
    EXPECT_EQ(select.out(), "");
    EXPECT_EQ(s.bytes("kb/kbProfile.ini"), index);
    if (::geteuid() != 0) fs::permissions(s.data, fs::perms::owner_all, fs::perm_options::add);
    if (::geteuid() != 0)
        for (const auto& e : fs::recursive_directory_iterator(s.data))
            if (e.is_directory()) fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add);
}

TEST(KilledTool, LeavesEveryFileOldOrNewAndNothingElse) {
    Scratch s;
    s.threeKeyboardProfiles();
    const std::string original = s.bytes("kb/B.led");
    // Two files to import in turn into profile 1 ("B").
    const fs::path sources[2] = {s.root / "one.led", s.root / "two.led"};
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(profiles::WriteProfileFile(sources[i], device::DeviceKind::Keyboard,
                                               testing::ProfileRig::Pattern(profiles::ListId::KeyboardLighting, uint8_t(0x10 * (i + 1)))));
    const std::set<std::string> allowedB = {original, *platform::ReadWholeFile(sources[0]),
                                            *platform::ReadWholeFile(sources[1])};
    const fs::path defaults = fs::path(ORVANECTL).parent_path();
    const std::string msLed = *platform::ReadWholeFile(defaults / "msdengdefault.led");
    const std::string msKey = *platform::ReadWholeFile(defaults / "mskeydefault.pro");
    const std::set<std::string> kbFiles = {"kbProfile.ini", "New Profile 1.led", "New Profile 1.pro", "B.led",
                                           "B.pro", "C.led", "C.pro"};
    auto names = [](const fs::path& folder) {
        std::set<std::string> out;
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
            out.insert(it->path().filename().string());
        return out;
    };
    auto checkKeyboard = [&] {
        for (const char* count : {"PROFILEDENGCOUNT", "PROFILECOUNT"})
            EXPECT_EQ(platform::IniFile(s.data / "kb/kbProfile.ini").readString(count, "count"), "3");
        EXPECT_TRUE(allowedB.count(s.bytes("kb/B.led"))) << "B.led is neither the old nor a new file";
        EXPECT_EQ(s.bytes("kb/C.led"), original);
        EXPECT_GE(s.selected("PROFILEDENGSELECT"), 0);
        EXPECT_LE(s.selected("PROFILEDENGSELECT"), 2);
    };

    struct Action {
        std::vector<std::string> args;
        bool firstRun;
    };
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> pick(0, 3);
    const auto start = Clock::now();
    int iterations = 0, killedMidway = 0;
    // At least 50 kills however slow the machine; up to 300 while a minute lasts.
    const int leastKills = 50;
    for (; iterations < 300 && (iterations < leastKills || Clock::now() - start < std::chrono::seconds(60)); ++iterations) {
        const int which = pick(random);
        Action action;
        if (which == 0) action = {{"profile", "import", "kb", "led", "1", sources[iterations % 2].string()}, false};
        if (which == 1) action = {{"--simulate=kb", "profile", "select", "kb", "led", std::to_string(iterations % 3)}, false};
        if (which == 2) action = {{"--simulate=kb", "profile", "select", "kb", "key", std::to_string(iterations % 3)}, false};
        if (which == 3) {
            fs::remove_all(s.data / "ms");
            action = {{"profiles", "ms"}, true};
        }
        {
            Tool tool(s.data, action.args);
            // Somewhere in its run: a run takes some tens of milliseconds.
            std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 60000)(random)));
            tool.kill();
        }
        // Right after the kill: each file there is old or new, whole (a temporary may be left).
        checkKeyboard();
        for (const auto& name : names(s.data / "ms")) {
            if (platform::IsTemporaryFileName(name) || name == "msProfile.ini") continue;
            EXPECT_TRUE(name == "New Profile 1.led" || name == "New Profile 1.pro") << name;
            EXPECT_EQ(s.bytes("ms/" + name), name.ends_with(".led") ? msLed : msKey) << name;
        }
        const auto left = names(s.data / "kb");
        killedMidway += std::any_of(left.begin(), left.end(),
                                    [&](const std::string& n) { return platform::IsTemporaryFileName(n); });
        // The next run clears what the killed one left and finds everything whole.
        std::string err;
        ASSERT_EQ(s.run({"profiles", "kb"}, &err), 0) << err;
        EXPECT_EQ(err.find("damaged"), std::string::npos) << err;
        ASSERT_EQ(s.run({"profiles", "ms"}, &err), 0) << err;
        EXPECT_EQ(names(s.data / "kb"), kbFiles);
        EXPECT_EQ(names(s.data / "ms"), (std::set<std::string>{"msProfile.ini", "New Profile 1.led", "New Profile 1.pro"}));
        EXPECT_EQ(names(s.data), (std::set<std::string>{"kb", "ms", platform::kFolderLockName}));
        checkKeyboard();
        if (::testing::Test::HasFailure()) break;
    }
    std::printf("[   KILLS  ] %d iterations in %.1f s; %d left a temporary file behind\n", iterations,
                std::chrono::duration<double>(Clock::now() - start).count(), killedMidway);
    EXPECT_GE(iterations, leastKills) << "a failure ended the kills early";
}

}  // namespace
}  // namespace orvane
