// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PairLock.h"
#include "PendingFile.h"
#include "core/Result.h"

namespace kvistra {

// Puts two files that belong together (a picture and its key) in place as one:
// both are there afterwards, or neither was changed. While the pair is put in
// place, the PairLock of the first's folder is held. Failure: the first's or
// second's CannotWriteFile; FolderLocked when the lock was not had within
// `lockWait`; PairHalfSaved when the second failed and the first could not be
// taken back.
Status commitPair(PendingFile& first, PendingFile& second,
                  std::chrono::milliseconds lockWait = kPairLockWait);

} // namespace kvistra
