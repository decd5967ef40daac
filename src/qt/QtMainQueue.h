#pragma once

#include <QObject>

#include "platform/Clock.h"
#include "platform/MainQueue.h"

namespace pricora {

// The main queue on Qt's event loop: posted tasks are queued calls on the context object,
// delayed tasks and repeating timers are QTimers.
class QtMainQueue final : public MainQueue {
 public:
  explicit QtMainQueue(QObject* context) : context_(context) {}
  void post(Task task) override;
  void postAfter(Seconds delay, Task task) override;
  std::unique_ptr<RepeatingTimer> scheduleRepeating(Seconds interval, Task action) override;

 private:
  QObject* context_;
};

class SystemClock final : public Clock {
 public:
  WallTime now() const override { return std::chrono::system_clock::now(); }
  std::chrono::nanoseconds sinceBoot() const override;
};

}  // namespace pricora
