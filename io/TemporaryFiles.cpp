// SPDX-License-Identifier: GPL-3.0-or-later
#include "TemporaryFiles.h"

#include <array>
#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
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

void TemporaryFiles::removeOnSignals() {
    struct sigaction action {};
    action.sa_handler = removeAndReraise;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        sigaddset(&action.sa_mask, signal);
    }
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        // A signal the caller chose to ignore (nohup, a background job) stays ignored.
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
            ::sigaction(signal, &action, nullptr);
        }
    }
}

} // namespace kvistra
