// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PendingFile.h"
#include "core/Result.h"

namespace kvistra {

// Puts two files that belong together (a picture and its key) in place as one:
// both are there afterwards, or neither was changed. While the pair is put in
// place, the folder of the first is locked (flock) against another program
// doing the same, so two runs never leave one run's picture with the other's
// key. Failure: the first's or second's CannotWriteFile; PairHalfSaved when the
// second failed and the first could not be taken back.
Status commitPair(PendingFile& first, PendingFile& second);

} // namespace kvistra
