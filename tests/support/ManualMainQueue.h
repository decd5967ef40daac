#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <utility>

#include "platform/Clock.h"
#include "platform/MainQueue.h"

namespace pricora::test {

// The main queue on a virtual clock. Nothing runs until the test says so: runUntilIdle() runs
// what is due now, advance() moves the clock forward and runs every task and timer firing at its
// own due time, in time order and, at equal times, in the order they were scheduled. Tasks and
// timers keep to the time that passes, as Qt's do: setting the wall clock moves none of them,
// and a suspend neither runs them nor counts for them.
class ManualMainQueue final : public MainQueue, public Clock {
 public:
  // 2026-01-15 10:00:00 UTC unless told otherwise.
  explicit ManualMainQueue(WallTime start = WallTime(std::chrono::seconds(1768471200)));

  void post(Task task) override;
  void postAfter(Seconds delay, Task task) override;
  std::unique_ptr<RepeatingTimer> scheduleRepeating(Seconds interval, Task action) override;
  WallTime now() const override { return now_ + set_; }
  std::chrono::nanoseconds sinceBoot() const override { return now_ - start_ + suspended_; }

  void runUntilIdle();
  void advance(Seconds by);
  // The wall clock set forward (or back, by a negative amount) by a time service or the user.
  void setWallClock(Seconds by) { set_ += std::chrono::duration_cast<WallTime::duration>(by); }
  // The machine sleeps for this long: the wall clock and the time since boot move on, nothing runs.
  void suspend(Seconds by) {
    const auto slept = std::chrono::duration_cast<WallTime::duration>(by);
    set_ += slept;
    suspended_ += slept;
  }

  // Repeating timers still valid.
  std::size_t liveTimerCount() const;

 private:
  struct TimerState;
  class Timer;
  struct Entry {
    Task task;
    std::shared_ptr<TimerState> timer;
  };
  using Key = std::pair<WallTime, std::uint64_t>;

  void schedule(WallTime due, Entry entry);
  bool runNext(WallTime until);

  WallTime start_;
  WallTime now_;                     // the time that passes while awake, which timers keep to
  WallTime::duration set_{0};        // the wall clock's distance from it
  WallTime::duration suspended_{0};  // time spent in suspend
  std::uint64_t sequence_ = 0;
  std::multimap<Key, Entry> queue_;
};

}  // namespace pricora::test
