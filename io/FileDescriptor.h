// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Message.h"
#include "core/Result.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/uio.h>
#include <vector>

namespace kvistra {

// An open file descriptor, closed when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1)
        : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept
        : fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

// Opens for reading: CannotOpenFile {path, reason}, a directory's reason that of EISDIR.
Result<FileDescriptor> openForReading(const std::string& path);

// Opens a regular file for reading without waiting on a named pipe:
// CannotOpenFile {path, reason}, or NotARegularFile {path} for anything else
// that is no folder.
Result<FileDescriptor> openRegularFile(const std::string& path);

// What a read gave: the bytes read, or the system error that stopped it. Callers
// word the error as their own message, each with its own path.
struct FileRead {
    std::size_t bytes = 0;
    int systemError = 0; // 0 when the read went well
    bool ok() const { return systemError == 0; }
};

// Reads into the buffers at offset until they are full or the file ends.
FileRead readVectorsAt(int fd, std::vector<iovec> vectors, std::uint64_t offset);

// Reads exactly size bytes at offset unless the file ends first.
FileRead readAt(int fd, std::uint8_t* buffer, std::size_t size, std::uint64_t offset);

// Moves past the bytes a vectored read or write transferred; a partial transfer
// leaves the rest of a buffer for the next round.
void skipTransferred(std::vector<iovec>& vectors, std::size_t& first, std::size_t bytes);

// The whole file, at most limit bytes. CannotOpenFile {path, reason} when it cannot
// be read; tooLarge {path} when it holds more than limit bytes.
Result<std::string> readWholeFile(const std::string& path, std::size_t limit,
                                  MessageId tooLarge = MessageId::TextFileTooLarge);

} // namespace kvistra
