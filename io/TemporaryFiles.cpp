// SPDX-License-Identifier: GPL-3.0-or-later
#include "TemporaryFiles.h"

#include <array>
#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <pthread.h>
#include <unistd.h>

namespace kvistra {

namespace {

enum State : int { Free, Filling, Used };

struct Slot {
    char path[PATH_MAX];
    std::atomic<int> state; // lock-free, so safe to read in a signal handler
};
static_assert(std::atomic<int>::is_always_lock_free);

// Few files are pending at once: a picture, a key file, and their old versions
// while a pair is put in place.
std::array<Slot, 16> slots{};

// The handler reads a slot's path only while the slot is Used: the path is
// written before, and the state cleared before the slot is claimed again.
void removeAndReraise(int signal) {
    for (const Slot& slot : slots) {
        if (slot.state.load() == Used) {
            ::unlink(slot.path);
        }
    }
    // The handler was installed with SA_RESETHAND: the signal, delivered once this
    // handler returns, now ends the program with its usual status.
    ::raise(signal);
}

} // namespace

int TemporaryFiles::remember(const char* path) noexcept {
    const std::size_t length = std::strlen(path);
    if (length >= PATH_MAX) {
        return -1;
    }
    for (std::size_t i = 0; i < slots.size(); ++i) {
        int expected = Free;
        if (slots[i].state.compare_exchange_strong(expected, Filling)) {
            std::memcpy(slots[i].path, path, length + 1);
            slots[i].state.store(Used);
            return static_cast<int>(i);
        }
    }
    return -1;
}

void TemporaryFiles::forget(int slot) noexcept {
    if (slot >= 0 && static_cast<std::size_t>(slot) < slots.size()) {
        slots[static_cast<std::size_t>(slot)].state.store(Free);
    }
}

sigset_t TemporaryFiles::endingSignals() {
    // Those whose default action ends the program. The faults a program raises
    // itself (SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGTRAP, SIGSYS) are handled only
    // while nothing else (a sanitizer) has taken them.
    sigset_t ending;
    sigemptyset(&ending);
    for (const int signal : {SIGHUP,    SIGINT,  SIGQUIT,   SIGILL,  SIGTRAP, SIGABRT, SIGBUS,
                             SIGFPE,    SIGUSR1, SIGSEGV,   SIGUSR2, SIGPIPE, SIGALRM, SIGTERM,
                             SIGSTKFLT, SIGXCPU, SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,  SIGSYS}) {
        sigaddset(&ending, signal);
    }
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal) {
        sigaddset(&ending, signal);
    }
    return ending;
}

void TemporaryFiles::removeOnSignals() {
    const sigset_t ending = endingSignals();
    struct sigaction action {};
    action.sa_handler = removeAndReraise;
    action.sa_flags = SA_RESETHAND;
    action.sa_mask = ending;
    for (int signal = 1; signal <= SIGRTMAX; ++signal) {
        // A signal the caller chose to ignore (nohup, a background job) stays ignored,
        // and one another part of the program handles stays with it.
        struct sigaction current {};
        if (sigismember(&ending, signal) == 1 && ::sigaction(signal, nullptr, &current) == 0 &&
            current.sa_handler == SIG_DFL) {
            ::sigaction(signal, &action, nullptr);
        }
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, nullptr);
}

SignalsHeld::SignalsHeld() {
    const sigset_t held = TemporaryFiles::endingSignals();
    pthread_sigmask(SIG_BLOCK, &held, &previous_);
}

SignalsHeld::~SignalsHeld() {
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

} // namespace kvistra
