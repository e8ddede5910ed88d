// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/atomic_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <system_error>

#include "platform/regular_file.h"

namespace orvane::platform {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTempMark = ".orvane-tmp-";
constexpr size_t kTempNameKeep = 64;  // bytes of the target's name kept in the temporary's
constexpr auto kStaleAge = std::chrono::minutes(10);

std::string RandomSuffix() {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::atomic<uint64_t> counter{std::random_device{}()};
    std::mt19937_64 engine(counter.fetch_add(0x9E3779B97F4A7C15ull) ^ uint64_t(::getpid()));
    std::string out(6, 'x');
    for (char& c : out) c = kAlphabet[engine() % (sizeof kAlphabet - 1)];
    return out;
}

/// ".<first bytes of name>.orvane-tmp-<pid>-<random>": short enough for any target name.
std::string TemporaryName(const std::string& target) {
    std::string keep = target.substr(0, kTempNameKeep);
    while (!keep.empty() && (static_cast<unsigned char>(keep.back()) & 0xC0) == 0x80) keep.pop_back();
    if (!keep.empty() && (static_cast<unsigned char>(keep.back()) & 0x80)) keep.pop_back();  // a cut lead byte
    return "." + keep + std::string(kTempMark) + std::to_string(::getpid()) + "-" + RandomSuffix();
}

bool WriteAll(int fd, std::string_view bytes) {
    const char* data = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const auto n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        left -= size_t(n);
    }
    return true;
}

WriteOutcome Failed(int error) { return {WriteProblem::Failed, error}; }

/// The file a write replaces: the target itself, or the regular file a link leads to.
/// nullopt (with the problem) when the target is neither missing nor regular.
std::optional<fs::path> ResolveTarget(const fs::path& path, WriteOutcome& problem, bool& exists, mode_t& mode) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) {
            problem = errno == ENOTDIR ? WriteOutcome{WriteProblem::NoFolder} : Failed(errno);
            return std::nullopt;
        }
        exists = false;
        return path;
    }
    fs::path target = path;
    if (S_ISLNK(st.st_mode)) {
        std::error_code ec;
        target = fs::canonical(path, ec);  // fails for a dangling link or a loop
        if (ec || ::stat(target.c_str(), &st) != 0) {
            problem = {WriteProblem::NotRegular};
            return std::nullopt;
        }
    }
    if (!S_ISREG(st.st_mode)) {
        problem = {WriteProblem::NotRegular};
        return std::nullopt;
    }
    exists = true;
    mode = st.st_mode & 07777;
    return target;
}

bool ProcessRuns(long pid) {
    if (pid <= 0) return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

bool IsSuffixChar(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

/// The writer's process id when `name` is exactly ".<name>.orvane-tmp-<pid>-<six letters or
/// digits>", as TemporaryName makes it; nullopt for any other name.
std::optional<long> TemporaryWriter(std::string_view name) {
    if (name.size() < 2 || name.front() != '.') return std::nullopt;
    const auto mark = name.rfind(kTempMark);
    if (mark == std::string_view::npos || mark < 2) return std::nullopt;  // the target's name is not empty
    const auto rest = name.substr(mark + kTempMark.size());
    const auto dash = rest.find('-');
    if (dash == std::string_view::npos || dash == 0 || rest.size() - dash - 1 != 6) return std::nullopt;
    const auto suffix = rest.substr(dash + 1);
    if (!std::all_of(suffix.begin(), suffix.end(), IsSuffixChar)) return std::nullopt;
    long pid = 0;
    const auto r = std::from_chars(rest.data(), rest.data() + dash, pid);
    if (r.ec != std::errc() || r.ptr != rest.data() + dash || pid <= 0) return std::nullopt;
    return pid;
}

/// Whether a process holds the writer's lock on the temporary file (every writer holds one
/// from the file's creation to its rename; the system drops it when the process ends).
bool WriterLockHeld(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY);
    if (fd < 0) return true;  // not ours to judge: leave it
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const fs::path& path) {
    auto contents = ReadRegularFile(path);
    if (!contents.ok()) return std::nullopt;
    return std::move(contents.bytes);
}

std::string WriteOutcome::text() const {
    switch (problem) {
    case WriteProblem::None: return {};
    case WriteProblem::NotRegular: return "it is not a regular file";
    case WriteProblem::NoFolder: return "its folder does not exist";
    case WriteProblem::Failed: break;
    }
    switch (error) {
    case EROFS:
    case EACCES:
    case EPERM: return "the folder is read-only";
    case ENOSPC:
    case EDQUOT: return "the disk is full";
    case EFBIG: return "the file is too large for the file system";
    default: return std::strerror(error);
    }
}

namespace {

/// The temporary file is filled by `fill`, then renamed over the target.
WriteOutcome WriteThrough(const fs::path& path, WriteOptions options, const std::function<bool(int fd)>& fill) {
    WriteOutcome outcome;
    std::error_code ec;
    if (options.createFolders && path.has_parent_path()) fs::create_directories(path.parent_path(), ec);
    bool exists = false;
    mode_t mode = 0;
    const auto target = ResolveTarget(path, outcome, exists, mode);
    if (!target) return outcome;
    const fs::path folder = target->has_parent_path() ? target->parent_path() : fs::path(".");
    if (!exists && !fs::is_directory(folder, ec)) return {WriteProblem::NoFolder};

    // Created with 0666: the kernel takes the umask off, as for any new file.
    fs::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = folder / TemporaryName(target->filename().string());
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0 && errno != EEXIST) return Failed(errno);
    }
    if (fd < 0) return Failed(EEXIST);
    ::flock(fd, LOCK_EX | LOCK_NB);  // tells a sweep of another process that the writer lives
    int error = 0;
    auto step = [&](bool ok) {
        if (!ok && error == 0) error = errno ? errno : EIO;
        return ok;
    };
    errno = 0;
    bool ok = step(fill(fd));
    if (ok && exists) ok = step(::fchmod(fd, mode) == 0);  // the replaced file's mode
    ok = ok && step(::fsync(fd) == 0);
    ok = step(::close(fd) == 0) && ok;
    if (ok) ok = step(std::rename(temp.c_str(), target->c_str()) == 0);
    if (!ok) {
        std::remove(temp.c_str());
        return Failed(error);
    }
    return outcome;
}

}  // namespace

WriteOutcome WriteFile(const fs::path& path, std::string_view bytes, WriteOptions options) {
    return WriteThrough(path, options, [&](int fd) { return WriteAll(fd, bytes); });
}

WriteOutcome CopyRegularFile(const fs::path& from, const fs::path& to, WriteOptions options) {
    struct stat st {};
    if (::stat(from.c_str(), &st) != 0) return Failed(errno);
    if (!S_ISREG(st.st_mode)) return {WriteProblem::NotRegular};
    const int in = ::open(from.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (in < 0) return Failed(errno);
    auto outcome = WriteThrough(to, options, [in](int fd) {
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(in, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return false;
            if (n == 0) return true;
            if (!WriteAll(fd, std::string_view(buffer, size_t(n)))) return false;
        }
    });
    ::close(in);
    return outcome;
}

bool WriteFileAtomically(const fs::path& path, std::string_view bytes) { return WriteFile(path, bytes).ok(); }

bool IsTemporaryFileName(std::string_view name) { return TemporaryWriter(name).has_value(); }

size_t RemoveStaleTemporaryFiles(const fs::path& folder) {
    size_t removed = 0;
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const auto writer = TemporaryWriter(name);
        if (!writer) continue;
        std::error_code statError;
        if (!it->is_regular_file(statError) || it->is_symlink(statError)) continue;
        if (ProcessRuns(*writer)) {
            // The id may have been reused since: the file is the writer's only while it holds
            // its lock, and a write that has just created its file is given ten minutes.
            const auto written = fs::last_write_time(it->path(), statError);
            if (statError || now - written <= kStaleAge || WriterLockHeld(it->path())) continue;
        }
        if (fs::remove(it->path(), statError)) ++removed;
    }
    return removed;
}

}  // namespace orvane::platform
