// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Message.h"
#include "core/Result.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kvistra {

using ByteSpan = std::span<const std::uint8_t>;

// The permissions of a file created anew. A file that is replaced keeps its own
// permissions and, where the system allows, its owner.
enum class NewFile {
    Usual,   // 0666 less the umask
    Private, // 0600 less the umask: key files, the secret of the scheme
};

// Writes the pieces, one after the other, to a new file beside path and renames it
// over path, so an existing file is either replaced whole or left untouched.
// Failure: CannotWriteFile {path, reason}; NotARegularFile {path} when path is
// there but is no regular file (a device, a named pipe).
Status writeFileAtomically(const std::string& path, std::span<const ByteSpan> pieces,
                           NewFile permissions = NewFile::Usual);
Status writeFileAtomically(const std::string& path, std::string_view bytes,
                           NewFile permissions = NewFile::Usual);

// A file being written under a temporary name beside its final path. Removed
// again unless commit() renames it into place, and by a signal that ends the
// program (TemporaryFiles). A symbolic link is followed: its target is replaced
// and the link stays a link.
class PendingFile {
public:
    static Result<PendingFile> create(const std::string& path,
                                      NewFile permissions = NewFile::Usual);
    // A private file with no name in `folder` (O_TMPFILE, or a random name removed
    // at once), for a draft that is never put in place: nobody can plant it or
    // open it by name. `shownName` stands for it in messages; temporaryPath()
    // reopens it through /proc.
    static Result<PendingFile> createUnnamed(const std::string& folder,
                                             const std::string& shownName);

    PendingFile(PendingFile&& other) noexcept;
    PendingFile& operator=(PendingFile&&) = delete;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile();

    int fd() const { return fd_; }
    // The path as given, for messages.
    const std::string& path() const { return path_; }
    // The file the path names once symbolic links are followed.
    const std::string& target() const { return target_; }
    const std::string& temporaryPath() const { return temporaryPath_; }

    Status write(std::span<const ByteSpan> pieces);
    Status write(std::string_view bytes);
    // Flushes and closes: the file is whole, though not yet in place.
    Status finish();
    // Finishes and renames over the final path.
    Status commit();
    // The temporary name is no longer this file's to remove: it was renamed
    // into place, or removed.
    void disown();
    // CannotWriteFile for the final path with its system error.
    Message failure(int error) const;

private:
    PendingFile(std::string path, std::string target, std::string temporaryPath, int fd);

    std::string path_;
    std::string target_;
    std::string temporaryPath_;
    int fd_ = -1;
    int slot_ = -1; // in TemporaryFiles
    bool unnamed_ = false;
};

// Where path leads once symbolic links are followed (up to a limit); the path
// itself when it is no link or cannot be read. A link is followed only as the
// kernel follows it with fs.protected_symlinks on (Debian's default), whatever the
// setting: not another user's link in a sticky folder that everybody may write
// to, unless the folder is that user's. Such a link gives LinkNotFollowed.
Result<std::string> followLinks(const std::string& path);

// The folder that holds path.
std::string folderOf(const std::string& path);

} // namespace kvistra
