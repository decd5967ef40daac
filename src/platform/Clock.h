#pragma once

#include <chrono>

namespace pricora {

using WallTime = std::chrono::system_clock::time_point;

// The current time of day; the tests' clock is virtual.
class Clock {
 public:
  virtual ~Clock() = default;
  // The wall clock, which the user or a time service may set forward or back at any moment.
  virtual WallTime now() const = 0;
  // The time that has passed since an arbitrary start, suspend included, which nobody sets:
  // told apart from now(), it shows when the wall clock was set rather than time passing.
  virtual std::chrono::nanoseconds sinceBoot() const = 0;
};

}  // namespace pricora
