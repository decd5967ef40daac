#pragma once

#include <utility>
#include <variant>

#include "platform/AppHost.h"

namespace pricora {

// A value, or the Error that kept it from being made.
template <typename T>
class Result {
 public:
  Result(T value) : content_(std::move(value)) {}
  Result(Error error) : content_(std::move(error)) {}

  bool ok() const { return content_.index() == 0; }
  explicit operator bool() const { return ok(); }
  T& value() { return std::get<0>(content_); }
  const T& value() const { return std::get<0>(content_); }
  const Error& error() const { return std::get<1>(content_); }

 private:
  std::variant<T, Error> content_;
};

// Success, or the Error that kept it from succeeding.
class Status {
 public:
  Status() = default;
  Status(Error error) : error_(std::move(error)), failed_(true) {}
  bool ok() const { return !failed_; }
  explicit operator bool() const { return ok(); }
  const Error& error() const { return error_; }

 private:
  Error error_;
  bool failed_ = false;
};

}  // namespace pricora
