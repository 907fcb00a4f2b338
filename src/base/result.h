#pragma once

#include <cassert>
#include <utility>
#include <variant>

#include "base/error.h"

namespace qorvale {

// A value or the Error that kept it from being made (C++20 has no std::expected).
template <typename T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::move(value)) {}
    Result(Error error) : state_(std::move(error)) { assert(!std::get<Error>(state_).ok()); }

    bool ok() const { return std::holds_alternative<T>(state_); }
    explicit operator bool() const { return ok(); }

    T& value() & {
        assert(ok());
        return std::get<T>(state_);
    }
    const T& value() const& {
        assert(ok());
        return std::get<T>(state_);
    }
    T&& value() && {
        assert(ok());
        return std::get<T>(std::move(state_));
    }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    // The failure; an empty (ok) Error when a value is held.
    Error error() const { return ok() ? Error() : std::get<Error>(state_); }

  private:
    std::variant<T, Error> state_;
};

}  // namespace qorvale
