// One way to report a failure across a module's interface: a value, or what went wrong. Shaped
// like C++23's std::expected so that the code can move to it; GCC 12 does not ship it.
#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace solvane::core {

// The failure of most operations: a message for the user, complete and ready to show.
struct Failure {
  std::string message;
  friend bool operator==(const Failure&, const Failure&) = default;
};

// Wraps an error so that Result<T, E> can be built from it even when T and E are alike.
template <typename E>
struct Unexpected {
  E error;
};
template <typename E>
Unexpected(E) -> Unexpected<E>;

// A failure carrying only a message.
inline Unexpected<Failure> Fail(std::string message) { return {Failure{std::move(message)}}; }

template <typename T, typename E = Failure>
class Result {
 public:
  Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}  // NOLINT: implicit
  template <typename G>
  Result(Unexpected<G> failure)  // NOLINT: implicit
      : state_(std::in_place_index<1>, E(std::move(failure.error))) {}

  bool has_value() const { return state_.index() == 0; }
  explicit operator bool() const { return has_value(); }

  T& value() & { return std::get<0>(state_); }
  const T& value() const& { return std::get<0>(state_); }
  T&& value() && { return std::get<0>(std::move(state_)); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  const E& error() const { return std::get<1>(state_); }

 private:
  std::variant<T, E> state_;
};

// An operation that yields nothing but may fail.
template <typename E>
class Result<void, E> {
 public:
  Result() = default;
  template <typename G>
  Result(Unexpected<G> failure)  // NOLINT: implicit
      : failed_(true), error_(E(std::move(failure.error))) {}

  bool has_value() const { return !failed_; }
  explicit operator bool() const { return has_value(); }
  const E& error() const { return error_; }

 private:
  bool failed_ = false;
  E error_{};
};

}  // namespace solvane::core
