#include "core/history/ClockSteps.h"

namespace pricora {

namespace {

// A time service slews the clock by at most half a millisecond a second, and the two clocks are
// not read at quite the same instant: a difference within this is time passing.
constexpr std::chrono::seconds kLeeway{5};

}  // namespace

ClockSteps::Reading ClockSteps::read() {
  const WallTime wall = clock_.now();
  const std::chrono::nanoseconds boot = clock_.sinceBoot();
  Reading reading{wall};
  if (last_) {
    const auto passed = boot - last_->boot;
    const auto step = (wall - last_->wall) - passed;
    if (step > kLeeway + passed / 1000 || step < -(kLeeway + passed / 1000))
      reading.step = std::chrono::round<std::chrono::seconds>(step);
  }
  last_ = Last{wall, boot};
  return reading;
}

}  // namespace pricora
