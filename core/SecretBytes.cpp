// SPDX-License-Identifier: GPL-3.0-or-later
#include "SecretBytes.h"

#include <cassert>
#include <cstring>
#include <new>
#include <sodium.h>
#include <sys/prctl.h>
#include <utility>

namespace kvistra {

namespace {

// Guarded pages, locked and marked not to be dumped (libsodium's secure memory).
unsigned char* lockedBytes(std::size_t capacity) {
    if (sodium_init() < 0) {
        throw std::bad_alloc();
    }
    auto* bytes = static_cast<unsigned char*>(sodium_malloc(capacity > 0 ? capacity : 1));
    if (bytes == nullptr) {
        throw std::bad_alloc();
    }
    return bytes;
}

} // namespace

void SecretBytes::LockedFree::operator()(unsigned char* bytes) const noexcept {
    sodium_free(bytes); // wipes them first
}

SecretBytes::SecretBytes(std::size_t capacity)
    : bytes_(lockedBytes(capacity))
    , capacity_(capacity) {}

SecretBytes::~SecretBytes() {
    wipe();
}

SecretBytes::SecretBytes(SecretBytes&& other) noexcept
    : bytes_(std::move(other.bytes_))
    , capacity_(std::exchange(other.capacity_, 0))
    , size_(std::exchange(other.size_, 0)) {}

SecretBytes& SecretBytes::operator=(SecretBytes&& other) noexcept {
    if (this != &other) {
        wipe();
        bytes_ = std::move(other.bytes_);
        capacity_ = std::exchange(other.capacity_, 0);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

void SecretBytes::wipe() {
    if (bytes_) {
        sodium_memzero(bytes_.get(), capacity_);
    }
    size_ = 0;
}

bool SecretBytes::append(std::string_view bytes) {
    if (bytes.size() > capacity_ - size_) {
        return false;
    }
    if (!bytes.empty()) {
        std::memcpy(bytes_.get() + size_, bytes.data(), bytes.size());
    }
    size_ += bytes.size();
    return true;
}

void SecretBytes::clear() {
    wipe();
}

void SecretBytes::resize(std::size_t size) {
    assert(size <= capacity_);
    size_ = size;
}

bool SecretBytes::sameAs(const SecretBytes& other) const {
    return size_ == other.size_ &&
           (size_ == 0 || sodium_memcmp(bytes_.get(), other.bytes_.get(), size_) == 0);
}

void wipeBytes(void* data, std::size_t size) {
    sodium_memzero(data, size);
}

void keepSecretsFromCoreDumps() {
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}

} // namespace kvistra
