#pragma once

#include <chrono>
#include <optional>

#include "platform/Clock.h"

namespace pricora {

// Tells the wall clock being set apart from time passing: between two readings the wall clock
// should move as far as the time since boot does (which goes on through suspend). When it moves
// more or less, someone set it: a time service correcting a clock that started an hour off, say.
class ClockSteps {
 public:
  explicit ClockSteps(const Clock& clock) : clock_(clock) {}

  struct Reading {
    WallTime now;
    std::chrono::seconds step{0};  // how far the wall clock was set since the last reading
  };
  Reading read();

 private:
  const Clock& clock_;
  struct Last {
    WallTime wall;
    std::chrono::nanoseconds boot;
  };
  std::optional<Last> last_;
};

}  // namespace pricora
