// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kvistra {

// Temporary files that a signal ending the program must not leave behind. The
// list is the one program-wide value this needs: a signal handler can reach
// nothing else. Registering and forgetting are async-signal-safe with respect to
// the handler; a name too long for a slot, or more than the slots hold, is not
// tracked (the file is then only removed the ordinary way).
class TemporaryFiles {
public:
    // The slot to forget later, or -1 when the name is not tracked.
    static int remember(const char* path) noexcept;
    static void forget(int slot) noexcept;

    // From now on SIGINT, SIGTERM, SIGHUP and SIGPIPE remove the remembered files, then
    // end the program as the signal would have.
    static void removeOnSignals();
};

} // namespace kvistra
