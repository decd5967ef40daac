#include "support/ManualMainQueue.h"

#include <stdexcept>

namespace pricora::test {

struct ManualMainQueue::TimerState {
  Seconds interval;
  Task action;
  bool valid = true;
};

class ManualMainQueue::Timer final : public RepeatingTimer {
 public:
  explicit Timer(std::shared_ptr<TimerState> state) : state_(std::move(state)) {}
  ~Timer() override { invalidate(); }
  void invalidate() override { state_->valid = false; }
  bool isValid() const override { return state_->valid; }
  Seconds interval() const override { return state_->interval; }

 private:
  std::shared_ptr<TimerState> state_;
};

ManualMainQueue::ManualMainQueue(WallTime start) : start_(start), now_(start) {}

void ManualMainQueue::schedule(WallTime due, Entry entry) { queue_.emplace(Key{due, sequence_++}, std::move(entry)); }

void ManualMainQueue::post(Task task) { schedule(now_, Entry{std::move(task), nullptr}); }

void ManualMainQueue::postAfter(Seconds delay, Task task) {
  schedule(now_ + std::chrono::duration_cast<WallTime::duration>(delay), Entry{std::move(task), nullptr});
}

std::unique_ptr<RepeatingTimer> ManualMainQueue::scheduleRepeating(Seconds interval, Task action) {
  auto state = std::make_shared<TimerState>(TimerState{interval, std::move(action)});
  schedule(now_ + std::chrono::duration_cast<WallTime::duration>(interval), Entry{nullptr, state});
  return std::make_unique<Timer>(state);
}

std::size_t ManualMainQueue::liveTimerCount() const {
  std::size_t count = 0;
  for (const auto& [key, entry] : queue_)
    if (entry.timer && entry.timer->valid) ++count;
  return count;
}

bool ManualMainQueue::runNext(WallTime until) {
  // Invalidated timers leave their entry behind; drop them as they come up.
  while (!queue_.empty() && queue_.begin()->second.timer && !queue_.begin()->second.timer->valid)
    queue_.erase(queue_.begin());
  if (queue_.empty() || queue_.begin()->first.first > until) return false;
  auto node = queue_.extract(queue_.begin());
  now_ = std::max(now_, node.key().first);
  Entry& entry = node.mapped();
  if (entry.timer) {
    const std::shared_ptr<TimerState> timer = entry.timer;
    // Rescheduled before the action runs, which may invalidate it.
    schedule(node.key().first + std::chrono::duration_cast<WallTime::duration>(timer->interval), Entry{nullptr, timer});
    timer->action();
  } else {
    entry.task();
  }
  return true;
}

void ManualMainQueue::runUntilIdle() {
  for (int i = 0; runNext(now_); ++i)
    if (i > 10'000'000) throw std::runtime_error("ManualMainQueue: work keeps posting more work");
}

void ManualMainQueue::advance(Seconds by) {
  const WallTime until = now_ + std::chrono::duration_cast<WallTime::duration>(by);
  for (int i = 0; runNext(until); ++i)
    if (i > 10'000'000) throw std::runtime_error("ManualMainQueue: work keeps posting more work");
  now_ = until;
}

}  // namespace pricora::test
