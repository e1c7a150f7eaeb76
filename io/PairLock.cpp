// SPDX-License-Identifier: GPL-3.0-or-later
#include "PairLock.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace kvistra {

namespace {

// The session's runtime folder when it is this user's alone.
std::optional<std::string> privateRuntimeFolder() {
    const char* folder = std::getenv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (folder == nullptr || *folder != '/' || ::lstat(folder, &info) != 0 ||
        !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() || (info.st_mode & 077) != 0) {
        return std::nullopt;
    }
    return folder;
}

bool lockWaiting(int fd) {
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

bool lockWithin(int fd, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) ||
            std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

} // namespace

Result<PairLock> PairLock::take(const std::string& folder, std::chrono::milliseconds wait) {
    FileDescriptor saved(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat info {};
    if (!saved.valid() || ::fstat(saved.get(), &info) != 0) {
        return PairLock(FileDescriptor());
    }
    if (const std::optional<std::string> runtime = privateRuntimeFolder()) {
        const std::string name = *runtime + "/kvistra-pair-" + std::to_string(info.st_dev) + "-" +
                                 std::to_string(info.st_ino) + ".lock";
        FileDescriptor lock(::open(name.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (lock.valid() && lockWaiting(lock.get())) {
            return PairLock(std::move(lock));
        }
    }
    if (!lockWithin(saved.get(), wait)) {
        return Message{MessageId::FolderLocked, {folder}};
    }
    return PairLock(std::move(saved));
}

} // namespace kvistra
