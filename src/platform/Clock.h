#pragma once

#include <chrono>

namespace pricora {

using WallTime = std::chrono::system_clock::time_point;

// The current time of day; the tests' clock is virtual.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual WallTime now() const = 0;
};

}  // namespace pricora
