// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace orvane::platform {

namespace {

FileStatus StatusFromErrno(int error) {
    return error == ENOENT || error == ENOTDIR ? FileStatus::Missing : FileStatus::Unreadable;
}

}  // namespace

FileContents ReadRegularFile(const std::filesystem::path& path, size_t maxBytes, Overflow overflow) {
    FileContents out;
    // The type is asked first: opening a device node or a FIFO can block or have effects.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        out.status = StatusFromErrno(errno);
        return out;
    }
    if (!S_ISREG(st.st_mode)) {
        out.status = FileStatus::NotRegular;
        return out;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        out.status = StatusFromErrno(errno);
        return out;
    }
    // Asked again on what was opened: the path may have been swapped in between.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        out.status = FileStatus::NotRegular;
        return out;
    }
    out.status = FileStatus::Read;
    // One byte past the cap tells a file that is too long, whatever its size said.
    const size_t want = maxBytes + 1;
    out.bytes.resize(std::min<size_t>(want, size_t(st.st_size) + 1));
    size_t have = 0;
    for (;;) {
        if (have == out.bytes.size()) {
            if (have >= want) break;
            out.bytes.resize(std::min(want, have * 2 + 4096));
        }
        const ssize_t n = ::read(fd, out.bytes.data() + have, out.bytes.size() - have);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            out.status = FileStatus::Unreadable;
            break;
        }
        if (n == 0) break;
        have += size_t(n);
    }
    ::close(fd);
    if (out.status != FileStatus::Read) {
        out.bytes.clear();
        return out;
    }
    if (have > maxBytes) {
        have = maxBytes;
        if (overflow == Overflow::Refuse) out.status = FileStatus::TooLarge;
    }
    out.bytes.resize(have);
    return out;
}

std::string FileProblemText(FileStatus status, size_t maxBytes) {
    switch (status) {
    case FileStatus::Read: return {};
    case FileStatus::Missing: return "does not exist";
    case FileStatus::NotRegular: return "is not a regular file (a folder, FIFO or device)";
    case FileStatus::TooLarge:
        return "is larger than " + std::to_string(maxBytes / (1024 * 1024)) + " MB, more than such a file can hold";
    case FileStatus::Unreadable: return "cannot be read";
    }
    return {};
}

}  // namespace orvane::platform
