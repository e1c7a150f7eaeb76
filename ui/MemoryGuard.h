// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Message.h"
#include "core/Result.h"

#include <new>
#include <utility>

namespace kvistra {

// Pictures are checked against the memory there is before they are read or made;
// this catches what the checks could not foresee, as the command line does: the
// work stops where it was and fails with `exhausted`.
template <class Work>
Status unlessMemoryRunsOut(Work&& work, Message exhausted = {MessageId::OutOfMemory, {}}) {
    try {
        return std::forward<Work>(work)();
    } catch (const std::bad_alloc&) {
        return exhausted;
    }
}

} // namespace kvistra
