// SPDX-License-Identifier: GPL-3.0-or-later
#include "SecretBytes.h"

#include <cassert>
#include <cstring>
#include <sodium.h>
#include <utility>

namespace kvistra {

SecretBytes::SecretBytes(std::size_t capacity)
    : bytes_(std::make_unique<unsigned char[]>(capacity > 0 ? capacity : 1))
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

} // namespace kvistra
