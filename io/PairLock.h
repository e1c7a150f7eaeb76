// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FileDescriptor.h"
#include "core/Result.h"

#include <chrono>
#include <string>

namespace kvistra {

// How long a pair waits for a folder that another program keeps locked.
inline constexpr std::chrono::milliseconds kPairLockWait{10000};

// Held while a picture and its key go in place, so that two runs saving into one
// folder never leave one run's picture with the other's key. The lock is a file
// in the user's private runtime folder named after the folder saved into, which
// only this user's programs can take. Without a private runtime folder the saved
// folder itself is locked (flock); since anyone may hold that, the wait for it is
// bounded: FolderLocked {folder} after `wait`. A folder that cannot be opened is
// not locked, and the pair still goes in place.
class PairLock {
public:
    static Result<PairLock> take(const std::string& folder,
                                 std::chrono::milliseconds wait = kPairLockWait);

private:
    explicit PairLock(FileDescriptor fd)
        : fd_(std::move(fd)) {}

    FileDescriptor fd_; // closing it releases the lock
};

} // namespace kvistra
