// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace kvistra {

// A passphrase or a key: a buffer of fixed capacity, so that it never moves and
// leaves a copy behind, locked in memory (never swapped out), left out of core
// dumps, and wiped when it goes.
class SecretBytes {
public:
    explicit SecretBytes(std::size_t capacity);
    ~SecretBytes();
    SecretBytes(SecretBytes&& other) noexcept;
    SecretBytes& operator=(SecretBytes&& other) noexcept;
    SecretBytes(const SecretBytes&) = delete;
    SecretBytes& operator=(const SecretBytes&) = delete;

    // False, and nothing added, when the bytes do not fit.
    bool append(std::string_view bytes);
    // Wipes what it held; the capacity stays.
    void clear();

    unsigned char* data() { return bytes_.get(); }
    const unsigned char* data() const { return bytes_.get(); }
    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    bool empty() const { return size_ == 0; }
    // For a buffer filled through data().
    void resize(std::size_t size);

    // In constant time for equal sizes.
    bool sameAs(const SecretBytes& other) const;

private:
    void wipe();

    struct LockedFree {
        void operator()(unsigned char* bytes) const noexcept;
    };
    std::unique_ptr<unsigned char[], LockedFree> bytes_;
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;
};

// Overwrites memory that held a secret, in a way the compiler keeps.
void wipeBytes(void* data, std::size_t size);

// From now on the process leaves no core dump, and other users' debuggers cannot
// attach: called once it holds a passphrase or a message to be sealed, which
// live in places no buffer of ours can lock (a text box, a command line).
void keepSecretsFromCoreDumps();

} // namespace kvistra
