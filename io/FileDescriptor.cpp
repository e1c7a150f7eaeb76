// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileDescriptor.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kvistra {

void skipTransferred(std::vector<iovec>& vectors, std::size_t& first, std::size_t bytes) {
    while (first < vectors.size() && bytes >= vectors[first].iov_len) {
        bytes -= vectors[first].iov_len;
        ++first;
    }
    if (bytes > 0) {
        vectors[first].iov_base = static_cast<std::uint8_t*>(vectors[first].iov_base) + bytes;
        vectors[first].iov_len -= bytes;
    }
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = other.release();
    }
    return *this;
}

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

Result<FileDescriptor> openForReading(const std::string& path) {
    FileDescriptor fd;
    do {
        fd = FileDescriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    } while (!fd.valid() && errno == EINTR);
    if (!fd.valid()) {
        return Message{MessageId::CannotOpenFile, {path}, errno};
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        return Message{MessageId::CannotOpenFile, {path}, error};
    }
    return fd;
}

Result<FileDescriptor> openRegularFile(const std::string& path) {
    // Without O_NONBLOCK, opening a named pipe waits for a writer that may never come.
    FileDescriptor fd;
    do {
        fd = FileDescriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    } while (!fd.valid() && errno == EINTR);
    if (!fd.valid()) {
        return Message{MessageId::CannotOpenFile, {path}, errno};
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        return Message{MessageId::CannotOpenFile, {path}, errno};
    }
    if (S_ISDIR(info.st_mode)) {
        return Message{MessageId::CannotOpenFile, {path}, EISDIR};
    }
    if (!S_ISREG(info.st_mode)) {
        return Message{MessageId::NotARegularFile, {path}};
    }
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return Message{MessageId::CannotOpenFile, {path}, errno};
    }
    return fd;
}

FileRead readVectorsAt(int fd, std::vector<iovec> vectors, std::uint64_t offset) {
    std::uint64_t total = 0;
    std::size_t first = 0;
    while (first < vectors.size()) {
        const int count = static_cast<int>(std::min<std::size_t>(vectors.size() - first, IOV_MAX));
        const ssize_t got =
            ::preadv(fd, &vectors[first], count, static_cast<off_t>(offset + total));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return {static_cast<std::size_t>(total), errno};
        }
        if (got == 0) {
            break;
        }
        total += static_cast<std::uint64_t>(got);
        skipTransferred(vectors, first, static_cast<std::size_t>(got));
    }
    return {static_cast<std::size_t>(total), 0};
}

FileRead readAt(int fd, std::uint8_t* buffer, std::size_t size, std::uint64_t offset) {
    return readVectorsAt(fd, {iovec{buffer, size}}, offset);
}

Result<std::string> readWholeFile(const std::string& path, std::size_t limit, MessageId tooLarge) {
    const Result<FileDescriptor> opened = openForReading(path);
    if (!opened) {
        return opened.problem();
    }
    const FileDescriptor& fd = *opened;
    struct stat info {};
    if (::fstat(fd.get(), &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::uint64_t>(info.st_size) > limit) {
        return Message{tooLarge, {path}};
    }
    // Read one byte past the limit, so that files whose size fstat does not know
    // (pipes, /proc) are held to it too.
    std::string bytes;
    std::size_t done = 0;
    while (done <= limit) {
        const std::size_t want = std::min<std::size_t>(limit + 1 - done, 1 << 16);
        bytes.resize(done + want);
        const ssize_t got = ::read(fd.get(), bytes.data() + done, want);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Message{MessageId::CannotOpenFile, {path}, errno};
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    if (done > limit) {
        return Message{tooLarge, {path}};
    }
    bytes.resize(done);
    return bytes;
}

} // namespace kvistra
