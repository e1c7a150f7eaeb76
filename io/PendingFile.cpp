// SPDX-License-Identifier: GPL-3.0-or-later
#include "PendingFile.h"

#include "FileDescriptor.h"
#include "TemporaryFiles.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace kvistra {

namespace {

// The process umask without changing it: umask() can only be read by setting it,
// which would race with other threads creating files.
mode_t currentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("Umask:")) {
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8)) & 0777;
        }
    }
    return 022;
}

// 0, or the errno value of the failed write.
int writeAll(int fd, std::span<const ByteSpan> pieces) {
    std::vector<iovec> vectors;
    vectors.reserve(pieces.size());
    for (const ByteSpan piece : pieces) {
        if (!piece.empty()) {
            // writev takes non-const pointers but does not write through them.
            vectors.push_back({const_cast<std::uint8_t*>(piece.data()), piece.size()});
        }
    }
    std::size_t first = 0;
    while (first < vectors.size()) {
        const int count = static_cast<int>(std::min<std::size_t>(vectors.size() - first, IOV_MAX));
        const ssize_t written = ::writev(fd, &vectors[first], count);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        skipTransferred(vectors, first, static_cast<std::size_t>(written));
    }
    return 0;
}

} // namespace

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

namespace {

// The kernel's rule for following a link (may_follow_link): always one's own; in a
// folder that is sticky and writable by all, only one owned by the folder's owner.
bool mayFollow(const std::string& link, const struct stat& linkInfo) {
    if (linkInfo.st_uid == ::geteuid()) {
        return true;
    }
    struct stat folder {};
    if (::stat(folderOf(link).c_str(), &folder) != 0) {
        return false;
    }
    const mode_t shared = S_ISVTX | S_IWOTH;
    return (folder.st_mode & shared) != shared || folder.st_uid == linkInfo.st_uid;
}

} // namespace

Result<std::string> followLinks(const std::string& path) {
    std::string current = path;
    // As many links as the kernel follows before it gives up with ELOOP.
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current;
        }
        if (!mayFollow(current, info)) {
            return Message{MessageId::LinkNotFollowed, {path, current}};
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<std::size_t>(length) >= target.size()) {
            return current;
        }
        target.resize(static_cast<std::size_t>(length));
        if (target.starts_with('/')) {
            current = target;
        } else {
            const std::size_t slash = current.rfind('/');
            current =
                slash == std::string::npos ? target : current.substr(0, slash + 1).append(target);
        }
    }
    return current;
}

PendingFile::PendingFile(std::string path, std::string target, std::string temporaryPath, int fd)
    : path_(std::move(path))
    , target_(std::move(target))
    , temporaryPath_(std::move(temporaryPath))
    , fd_(fd)
    , slot_(temporaryPath_.empty() ? -1 : TemporaryFiles::remember(temporaryPath_.c_str())) {}

PendingFile::PendingFile(PendingFile&& other) noexcept
    : path_(std::move(other.path_))
    , target_(std::move(other.target_))
    , temporaryPath_(std::move(other.temporaryPath_))
    , fd_(std::exchange(other.fd_, -1))
    , slot_(std::exchange(other.slot_, -1))
    , unnamed_(other.unnamed_) {
    other.temporaryPath_.clear();
}

PendingFile::~PendingFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!temporaryPath_.empty() && !unnamed_) {
        ::unlink(temporaryPath_.c_str());
    }
    TemporaryFiles::forget(slot_);
}

void PendingFile::disown() {
    temporaryPath_.clear();
    TemporaryFiles::forget(std::exchange(slot_, -1));
}

Result<PendingFile> PendingFile::create(const std::string& path, NewFile permissions) {
    // The temporary file goes beside the file finally replaced, so that the
    // rename stays within one file system and a link stays a link.
    const Result<std::string> followed = followLinks(path);
    if (!followed) {
        return followed.problem();
    }
    const std::string& target = *followed;
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        return Message{MessageId::CannotWriteFile, {path}, EISDIR};
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        return Message{MessageId::NotARegularFile, {path}};
    }
    std::string pattern = target + ".XXXXXX";
    std::optional<SignalsHeld> held(std::in_place); // until the file is remembered
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        return Message{MessageId::CannotWriteFile, {path}, errno};
    }
    PendingFile file(path, target, pattern, fd);
    held.reset();
    mode_t mode = (permissions == NewFile::Private ? 0600 : 0666) & ~currentUmask();
    if (exists) {
        // Keep what the user set on the file replaced. Only root may give a file
        // to another owner; others may still give it the group, if theirs. What
        // is not allowed is left as it is: the file is then ours.
        if (::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
            [[maybe_unused]] const int ignored =
                ::fchown(fd, static_cast<uid_t>(-1), existing.st_gid);
        }
        mode = existing.st_mode & 0777;
    }
    // mkstemp makes the file private; give it the permissions it is to have.
    if (::fchmod(fd, mode) != 0) {
        return file.failure(errno);
    }
    return file;
}

Result<PendingFile> PendingFile::createUnnamed(const std::string& folder,
                                               const std::string& shownName) {
    int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        // A file system without unnamed files: a random name, gone at once.
        std::string pattern = folder + "/kvistra-XXXXXX";
        fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd >= 0) {
            ::unlink(pattern.c_str());
        }
    }
    if (fd < 0) {
        return Message{MessageId::CannotWriteFile, {shownName}, errno};
    }
    PendingFile file(shownName, shownName, {}, fd);
    file.temporaryPath_ = "/proc/self/fd/" + std::to_string(fd);
    file.unnamed_ = true;
    return file;
}

Message PendingFile::failure(int error) const {
    return Message{MessageId::CannotWriteFile, {path_}, error};
}

// Not const: it writes the file. NOLINTNEXTLINE(readability-make-member-function-const)
Status PendingFile::write(std::span<const ByteSpan> pieces) {
    if (const int error = writeAll(fd_, pieces); error != 0) {
        return failure(error);
    }
    return Done{};
}

Status PendingFile::finish() {
    // No fsync: a failed write never reaches the final name, and ext4 and btrfs
    // flush a file that replaces another by rename before the rename commits. A
    // save should cost about what a copy of the file costs.
    if (fd_ < 0 || unnamed_) {
        return Done{}; // an unnamed file lives only as long as its descriptor
    }
    if (::close(std::exchange(fd_, -1)) != 0 && errno != EINTR) {
        return failure(errno);
    }
    return Done{};
}

Status PendingFile::commit() {
    if (Status finished = finish(); !finished) {
        return finished;
    }
    if (::rename(temporaryPath_.c_str(), target_.c_str()) != 0) {
        return failure(errno);
    }
    disown();
    return Done{};
}

Status writeFileAtomically(const std::string& path, std::span<const ByteSpan> pieces,
                           NewFile permissions) {
    Result<PendingFile> file = PendingFile::create(path, permissions);
    if (!file) {
        return file.problem();
    }
    if (Status written = file->write(pieces); !written) {
        return written;
    }
    return file->commit();
}

Status PendingFile::write(std::string_view bytes) {
    const ByteSpan piece(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return write(std::span(&piece, 1));
}

Status writeFileAtomically(const std::string& path, std::string_view bytes, NewFile permissions) {
    const ByteSpan piece(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return writeFileAtomically(path, std::span(&piece, 1), permissions);
}

} // namespace kvistra
