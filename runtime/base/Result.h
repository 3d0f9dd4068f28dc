#pragma once
// What a reader of bytes from disk returns: the value, or the ParseError that stopped it.
//
// Some formats define how a reader carries on past damage (a list description skips what
// it cannot read, the bookmark file keeps its whole records). Their readers fail with the
// first fault and also hand over what that recovery gave; Recovered() takes it, so the
// caller that must keep going says so where it calls.
#include <cassert>
#include <optional>
#include <utility>

#include "runtime/base/ParseError.h"

namespace kro {

template <typename T>
class [[nodiscard]] Result {
public:
  Result(T value) : value_(std::move(value)) {}
  Result(ParseError error) : error_(std::move(error)) {}
  Result(ParseError error, T recovered) : value_(std::move(recovered)), error_(std::move(error)) {}

  bool ok() const { return !error_; }
  explicit operator bool() const { return ok(); }
  // Meant for a failed result; a sound one answers a "no fault" error rather than read
  // nothing, so a check that goes wrong fails its test instead of crashing it.
  const ParseError& error() const {
    static const ParseError kNoFault{0, ParseCause::BadValue, "no fault"};
    return error_ ? *error_ : kNoFault;
  }

  T& operator*() & {
    assert(ok());
    return *value_;
  }
  const T& operator*() const& {
    assert(ok());
    return *value_;
  }
  T&& operator*() && {
    assert(ok());
    return std::move(*value_);
  }
  T* operator->() { return &**this; }
  const T* operator->() const { return &**this; }

  T value_or(T fallback) const& { return ok() ? *value_ : std::move(fallback); }
  T value_or(T fallback) && { return ok() ? std::move(*value_) : std::move(fallback); }
  // The value, or what the reader recovered around its fault (T{} when nothing).
  T Recovered() && { return value_ ? std::move(*value_) : T{}; }

private:
  std::optional<T> value_;
  std::optional<ParseError> error_;
};

}  // namespace kro
