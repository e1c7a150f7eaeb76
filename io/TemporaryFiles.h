// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <csignal>

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

    // From now on every signal that would end the program (SIGINT, SIGTERM, SIGHUP,
    // SIGQUIT, SIGUSR1, SIGALRM, SIGXCPU, ...) removes the remembered files, then ends
    // the program as the signal would have. SIGXFSZ is ignored instead, so that a
    // write past the file size limit fails with EFBIG and is reported as such.
    static void removeOnSignals();

    // The signals removeOnSignals() handles.
    static sigset_t endingSignals();
};

// The signals that end the program wait while this lives: while a file is made and
// not yet remembered, or while an old file is still needed.
class SignalsHeld {
public:
    SignalsHeld();
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t previous_{};
};

} // namespace kvistra
