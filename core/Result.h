// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Message.h"

#include <cassert>
#include <optional>
#include <utility>

namespace kvistra {

// A value, or the message that says why there is none.
template <class T> class Result {
public:
    Result(T value)
        : value_(std::move(value)) {}
    Result(Message problem)
        : problem_(std::move(problem)) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }

    T& value() {
        assert(ok());
        return *value_;
    }
    const T& value() const {
        assert(ok());
        return *value_;
    }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const Message& problem() const {
        assert(!ok());
        return problem_;
    }

private:
    std::optional<T> value_;
    Message problem_{};
};

// Success carries nothing.
struct Done {};
using Status = Result<Done>;

} // namespace kvistra
