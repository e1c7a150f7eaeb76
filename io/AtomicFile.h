#pragma once

#include "core/Message.h"
#include "core/Result.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <sys/uio.h>
#include <vector>

namespace kvistra {

using ByteSpan = std::span<const std::uint8_t>;

// Writes the pieces, one after the other, to a new file beside path and renames it
// over path, so an existing file is either replaced whole or left untouched.
// Failure: CannotWriteFile {path, reason}.
Status writeFileAtomically(const std::string& path, std::span<const ByteSpan> pieces);
Status writeFileAtomically(const std::string& path, std::string_view bytes);

// A file being written under a temporary name beside its final path. Removed
// again unless commit() renames it into place.
class PendingFile {
public:
    static Result<PendingFile> create(const std::string& path);

    PendingFile(PendingFile&& other) noexcept;
    PendingFile& operator=(PendingFile&&) = delete;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile();

    int fd() const { return fd_; }
    const std::string& temporaryPath() const { return temporaryPath_; }

    Status write(std::span<const ByteSpan> pieces);
    Status write(std::string_view bytes);
    // Flushes, closes and renames over the final path.
    Status commit();
    // CannotWriteFile for the final path with the text of errno value error.
    Message failure(int error) const;

private:
    PendingFile(std::string path, std::string temporaryPath, int fd);

    std::string path_;
    std::string temporaryPath_;
    int fd_ = -1;
};

// The whole file, at most limit bytes. CannotOpenFile {path, reason} when it cannot
// be read; tooLarge {path} when it holds more than limit bytes.
Result<std::string> readWholeFile(const std::string& path, std::size_t limit,
                                  MessageId tooLarge = MessageId::TextFileTooLarge);

// An errno value in Swedish words.
std::string errorText(int error);

// Opens for reading; directories are refused with EISDIR. -1 with errno set on failure.
int openForReading(const std::string& path);

// Reads into the buffers at offset until they are full or the file ends; the
// bytes read, or -1 with errno set.
long long readVectorsAt(int fd, std::vector<iovec> vectors, std::uint64_t offset);

// Reads exactly size bytes at offset unless the file ends first; returns the bytes
// read, or -1 with errno set.
long long readAt(int fd, std::uint8_t* buffer, std::size_t size, std::uint64_t offset);

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

} // namespace kvistra
