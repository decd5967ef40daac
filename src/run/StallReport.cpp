#include "run/StallReport.h"

#include <cstdio>

namespace pricora {

namespace {

constexpr std::chrono::milliseconds kBeat{10};

}  // namespace

StallReport::StallReport(bool enabled) : last_(std::chrono::steady_clock::now()) {
  if (!enabled) return;
  heartbeat_.setTimerType(Qt::PreciseTimer);
  connect(&heartbeat_, &QTimer::timeout, this, [this] {
    const auto now = std::chrono::steady_clock::now();
    longest_ = std::max(longest_, now - last_ - kBeat);
    last_ = now;
  });
  heartbeat_.start(kBeat);
}

StallReport::~StallReport() {
  if (!heartbeat_.isActive()) return;
  std::fprintf(stderr, "pricora: longest event-loop stall %.0f ms\n",
               std::chrono::duration<double, std::milli>(longest_).count());
}

}  // namespace pricora
