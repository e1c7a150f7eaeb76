// SPDX-License-Identifier: GPL-3.0-or-later
#include "PairCommit.h"

#include "FileDescriptor.h"
#include "TemporaryFiles.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kvistra {

namespace {

// How a file went in place, which says how to take it back.
enum class Placed {
    Exchanged, // the old file now sits at the temporary name
    Created,   // there was no old file
    Replaced,  // the old file is gone: the file system cannot exchange two names
};

Result<Placed> place(PendingFile& file) {
    const char* temporary = file.temporaryPath().c_str();
    const char* target = file.target().c_str();
    if (::renameat2(AT_FDCWD, temporary, AT_FDCWD, target, RENAME_EXCHANGE) == 0) {
        // An exchange takes a folder too; one put there since the file was
        // checked goes back.
        struct stat old {};
        if (::lstat(temporary, &old) == 0 && S_ISDIR(old.st_mode)) {
            ::renameat2(AT_FDCWD, temporary, AT_FDCWD, target, RENAME_EXCHANGE);
            return file.failure(EISDIR);
        }
        return Placed::Exchanged;
    }
    const int error = errno;
    if (error != ENOENT && error != EINVAL && error != ENOSYS) {
        return file.failure(error);
    }
    if (::rename(temporary, target) != 0) {
        return file.failure(errno);
    }
    file.disown();
    return error == ENOENT ? Placed::Created : Placed::Replaced;
}

bool takeBack(PendingFile& file, Placed placed) {
    switch (placed) {
    case Placed::Exchanged:
        return ::renameat2(AT_FDCWD, file.temporaryPath().c_str(), AT_FDCWD, file.target().c_str(),
                           RENAME_EXCHANGE) == 0;
    case Placed::Created:
        return ::unlink(file.target().c_str()) == 0;
    case Placed::Replaced:
        break;
    }
    return false;
}

} // namespace

// Both files are written whole under temporary names first. The first is then
// exchanged with the file it replaces (renameat2 RENAME_EXCHANGE), so that the
// old one is kept under the temporary name until the second is in place too: a
// failure of the second exchanges them back. Only once both are in place are the
// old files removed (by the PendingFiles, which own the temporary names).
Status commitPair(PendingFile& first, PendingFile& second, std::chrono::milliseconds lockWait) {
    if (Status finished = first.finish(); !finished) {
        return finished;
    }
    if (Status finished = second.finish(); !finished) {
        return finished;
    }
    const Result<PairLock> lock = PairLock::take(folderOf(first.target()), lockWait);
    if (!lock) {
        return lock.problem();
    }
    // The signal handler would remove an old file that a step back still needs.
    const SignalsHeld held;
    const Result<Placed> placed = place(first);
    if (!placed) {
        return placed.problem();
    }
    const Result<Placed> placedSecond = place(second);
    if (!placedSecond) {
        if (!takeBack(first, *placed)) {
            return Message{MessageId::PairHalfSaved,
                           {first.path(), second.path()},
                           placedSecond.problem().systemError};
        }
        return placedSecond.problem();
    }
    // The old files, now under the temporary names, go while signals still wait.
    for (PendingFile* file : {&first, &second}) {
        if (!file->temporaryPath().empty()) {
            ::unlink(file->temporaryPath().c_str());
            file->disown();
        }
    }
    return Done{};
}

} // namespace kvistra
