// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile files and atomic writes: only regular files are read (never a folder, FIFO or
// device, and never past the cap), replaced files keep their mode, new ones honour the
// umask, links are followed only to regular files, a killed writer's temporary files are
// cleared, and the folder lock keeps a second holder out.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "platform/atomic_file.h"
#include "platform/folder_lock.h"
#include "platform/ini_file.h"
#include "platform/regular_file.h"
#include "unit/profile_fixture.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using platform::FileStatus;

struct Folder {
    fs::path path = testing::FreshFolder();
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    fs::path operator/(const std::string& name) const { return path / name; }
};

void Put(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

mode_t ModeOf(const fs::path& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

/// Sets the umask for the test and puts the old one back.
struct Umask {
    mode_t old;
    explicit Umask(mode_t mask) : old(::umask(mask)) {}
    ~Umask() { ::umask(old); }
};

TEST(HostileFiles, OnlyRegularFilesAreReadAndNeverPastTheCap) {
    Folder dir;
    Put(dir / "plain", "[S]\nk=v\n");
    fs::create_directory(dir / "folder");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);  // nobody writes: opening it would block
    fs::create_symlink("/dev/zero", dir / "zero");         // endless: reading it would exhaust memory
    fs::create_symlink(dir / "plain", dir / "link");
    Put(dir / "big", std::string(1000, 'x'));
    struct Case {
        const char* name;
        FileStatus status;
        size_t bytes;
    } const cases[] = {
        {"plain", FileStatus::Read, 8},     {"link", FileStatus::Read, 8},
        {"folder", FileStatus::NotRegular, 0}, {"fifo", FileStatus::NotRegular, 0},
        {"zero", FileStatus::NotRegular, 0},   {"missing", FileStatus::Missing, 0},
        {"big", FileStatus::TooLarge, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto read = platform::ReadRegularFile(dir / c.name, 100);
        EXPECT_EQ(read.status, c.status);
        EXPECT_EQ(read.bytes.size(), c.bytes);
    }
    // A format that reads a fixed prefix takes the first bytes of a longer file.
    const auto prefix = platform::ReadRegularFile(dir / "big", 100, platform::Overflow::TakePrefix);
    EXPECT_EQ(prefix.status, FileStatus::Read);
    EXPECT_EQ(prefix.bytes, std::string(100, 'x'));
    EXPECT_NE(platform::FileProblemText(FileStatus::NotRegular).find("not a regular file"), std::string::npos);
}

TEST(HostileFiles, AnIniFileThatIsNotRegularReadsAsEmptyAndIsNeverWrittenOver) {
    Folder dir;
    fs::create_directory(dir / "folder.ini");
    ASSERT_EQ(::mkfifo((dir / "fifo.ini").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir / "zero.ini");
    Put(dir / "big.ini", "[S]\nk=v\n" + std::string(platform::kMaxSettingsFileBytes, ';'));
    for (const char* name : {"folder.ini", "fifo.ini", "zero.ini", "big.ini"}) {
        SCOPED_TRACE(name);
        platform::IniFile ini(dir / name);
        EXPECT_EQ(ini.readString("S", "k", "default"), "default");
        EXPECT_FALSE(ini.read().usable());
        EXPECT_FALSE(ini.problem().empty());
        EXPECT_FALSE(ini.writeString("S", "k", "new"));
    }
    EXPECT_TRUE(fs::is_directory(dir / "folder.ini"));
    EXPECT_TRUE(fs::is_fifo(dir / "fifo.ini"));
    EXPECT_TRUE(fs::is_symlink(dir / "zero.ini"));
    EXPECT_GT(fs::file_size(dir / "big.ini"), platform::kMaxSettingsFileBytes);
}

TEST(IniText, ByteOrderMarksAreKeptAndTheFileMeansWhatItMeant) {
    Folder dir;
    const std::string bom = "\xEF\xBB\xBF";
    for (const std::string& marks : {bom, bom + bom}) {
        SCOPED_TRACE(marks.size());
        const std::string before = marks + "[PROFILECOUNT]\r\ncount=2\r\n[PROFILENAME]\r\n0=A\r\n1=B\r\n";
        Put(dir / "i.ini", before);
        platform::IniFile ini(dir / "i.ini");
        EXPECT_EQ(ini.readString("PROFILECOUNT", "count"), "2");
        ASSERT_TRUE(ini.writeString("PROFILENAME", "1", "C"));
        std::string expected = before;
        expected.replace(expected.find("1=B"), 3, "1=C");
        EXPECT_EQ(platform::ReadWholeFile(dir / "i.ini"), expected);  // byte for byte but the key
        EXPECT_EQ(ini.readString("PROFILECOUNT", "count"), "2");
        EXPECT_EQ(ini.sections(), (std::vector<std::string>{"PROFILECOUNT", "PROFILENAME"}));
    }
}

TEST(AtomicWrite, ModesLinksAndTargetsThatAreNotFiles) {
    Folder dir;
    {
        Umask mask(077);
        ASSERT_TRUE(platform::WriteFile(dir / "new", "a").ok());
        EXPECT_EQ(ModeOf(dir / "new"), 0600u);
    }
    {
        Umask mask(022);
        ASSERT_TRUE(platform::WriteFile(dir / "new2", "a").ok());
        EXPECT_EQ(ModeOf(dir / "new2"), 0644u);
        ::chmod((dir / "new").c_str(), 0640);
        ASSERT_TRUE(platform::WriteFile(dir / "new", "b").ok());  // a replaced file keeps its mode
        EXPECT_EQ(ModeOf(dir / "new"), 0640u);
    }
    // A link is followed to its regular file, which is replaced; the link stays.
    fs::create_symlink(dir / "new", dir / "link");
    ASSERT_TRUE(platform::WriteFile(dir / "link", "via link").ok());
    EXPECT_TRUE(fs::is_symlink(dir / "link"));
    EXPECT_EQ(platform::ReadWholeFile(dir / "new"), "via link");
    EXPECT_EQ(ModeOf(dir / "new"), 0640u);

    fs::create_directory(dir / "folder");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    fs::create_symlink("/dev/null", dir / "devlink");
    fs::create_symlink(dir / "nowhere", dir / "dangling");
    for (const char* name : {"folder", "fifo", "devlink", "dangling"}) {
        SCOPED_TRACE(name);
        const auto outcome = platform::WriteFile(dir / name, "x", {.createFolders = false});
        EXPECT_EQ(outcome.problem, platform::WriteProblem::NotRegular);
        EXPECT_EQ(outcome.text(), "it is not a regular file");
    }
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
    EXPECT_FALSE(fs::exists(dir / "nowhere"));
    // No folders are made for a target outside the program's own data.
    EXPECT_EQ(platform::WriteFile(dir / "no/such/x", "x", {.createFolders = false}).problem,
              platform::WriteProblem::NoFolder);
    EXPECT_FALSE(fs::exists(dir / "no"));
    // A name of the longest length still gets a temporary file beside it.
    EXPECT_TRUE(platform::WriteFile(dir / std::string(255, 'n'), "x").ok());
}

TEST(AtomicWrite, StaleTemporaryFilesOfGoneWritersAreRemovedAndNothingElse) {
    Folder dir;
    // A writer that is gone: a child that exited.
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string goneId = std::to_string(child), liveId = std::to_string(::getpid());
    const std::string gone = ".B.led.orvane-tmp-" + goneId + "-Ab3xQz";
    const std::string live = ".C.led.orvane-tmp-" + liveId + "-Zz9yXw";
    // A live id whose file is old and unlocked: the id names another process now.
    const std::string reused = ".D.led.orvane-tmp-" + liveId + "-Qq1wEr";
    // A live id, old, but its writer still holds the lock: a long write in progress.
    const std::string slow = ".E.led.orvane-tmp-" + liveId + "-Tt5yUi";
    // The user's own files: names ending in a dot and six letters or digits, names close to
    // ours, our pattern with a part missing or changed.
    const std::vector<std::string> kept = {
        "B.led", "New Profile 1.led", "New Profile 1.led.oldOne", "New Profile 1.pro.mar24b", "main.ini.bak001",
        "B.led.Ab3xQz", "B.led.backup", "notes.txt.Ab3xQz", ".orvane-tmp-" + goneId + "-Ab3xQz",
        "B.led.orvane-tmp-" + goneId + "-Ab3xQz", ".B.led.orvane-tmp-" + goneId + "-Ab3xQ",
        ".B.led.orvane-tmp-" + goneId + "-Ab3xQz7", ".B.led.orvane-tmp-" + goneId + "-Ab_xQz",
        ".B.led.orvane-tmp--Ab3xQz", ".B.led.orvane-tmp-x" + goneId + "-Ab3xQz", ".B.led.orvane-tmp-0-Ab3xQz",
        live, slow};
    for (const auto& name : kept) Put(dir / name, "x");
    Put(dir / gone, "x");
    Put(dir / reused, "x");
    const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(11);
    fs::last_write_time(dir / reused, old);
    fs::last_write_time(dir / slow, old);
    const int holder = ::open((dir / slow).c_str(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    // A folder of the right name is not a file of ours.
    fs::create_directory(dir / (".F.led.orvane-tmp-" + goneId + "-Ab3xQz"));

    EXPECT_TRUE(platform::IsTemporaryFileName(gone));
    for (const char* user : {"New Profile 1.led.oldOne", "New Profile 1.pro.mar24b", "main.ini.bak001", "B.led.Ab3xQz"})
        EXPECT_FALSE(platform::IsTemporaryFileName(user)) << user;
    EXPECT_EQ(platform::RemoveStaleTemporaryFiles(dir.path), 2u);
    EXPECT_FALSE(fs::exists(dir / gone));
    EXPECT_FALSE(fs::exists(dir / reused));
    for (const auto& name : kept) EXPECT_TRUE(fs::exists(dir / name)) << name;
    EXPECT_TRUE(fs::is_directory(dir / (".F.led.orvane-tmp-" + goneId + "-Ab3xQz")));
    ::close(holder);
}

TEST(FolderLock, ASecondHolderWaitsAndGivesUpAfterTheWait) {
    Folder dir;
    platform::FolderLock first(dir.path), second(dir.path);
    ASSERT_EQ(first.acquire(), platform::FolderLock::State::Held);
    EXPECT_EQ(second.acquire(std::chrono::milliseconds(50)), platform::FolderLock::State::Busy);
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        first.release();
    });
    EXPECT_EQ(second.acquire(std::chrono::seconds(20)), platform::FolderLock::State::Held);
    releaser.join();
    second.release();
    // A folder whose lock file cannot be made: the holder goes on without it.
    platform::FolderLock none(dir / "file-not-folder/x");
    Put(dir / "file-not-folder", "x");
    EXPECT_EQ(none.acquire(), platform::FolderLock::State::Unavailable);
}

}  // namespace
}  // namespace orvane
