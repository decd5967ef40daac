#include "qt/QtMainQueue.h"

#include <time.h>

#include <QTimer>

namespace pricora {

namespace {

std::chrono::milliseconds toMilliseconds(Seconds seconds) {
  return std::chrono::round<std::chrono::milliseconds>(seconds);
}

// The timer's action may destroy its own handle (a refresh replaces the refresh timer), so the
// QTimer goes away with deleteLater rather than inside its own timeout signal.
class QtRepeatingTimer final : public RepeatingTimer {
 public:
  QtRepeatingTimer(QObject* context, Seconds interval, Task action) : timer_(new QTimer(context)), interval_(interval) {
    timer_->setTimerType(Qt::PreciseTimer);
    timer_->setInterval(toMilliseconds(interval));
    QObject::connect(timer_, &QTimer::timeout, context, std::move(action));
    timer_->start();
  }
  ~QtRepeatingTimer() override {
    timer_->stop();
    timer_->disconnect();
    timer_->deleteLater();
  }
  void invalidate() override { timer_->stop(); }
  bool isValid() const override { return timer_->isActive(); }
  Seconds interval() const override { return interval_; }

 private:
  QTimer* timer_;
  Seconds interval_;
};

}  // namespace

void QtMainQueue::post(Task task) { QMetaObject::invokeMethod(context_, std::move(task), Qt::QueuedConnection); }

void QtMainQueue::postAfter(Seconds delay, Task task) {
  QTimer::singleShot(toMilliseconds(delay), Qt::PreciseTimer, context_, std::move(task));
}

std::unique_ptr<RepeatingTimer> QtMainQueue::scheduleRepeating(Seconds interval, Task action) {
  return std::make_unique<QtRepeatingTimer>(context_, interval, std::move(action));
}

std::chrono::nanoseconds SystemClock::sinceBoot() const {
  // CLOCK_BOOTTIME runs on through suspend, which CLOCK_MONOTONIC does not.
  timespec time{};
  clock_gettime(CLOCK_BOOTTIME, &time);
  return std::chrono::seconds(time.tv_sec) + std::chrono::nanoseconds(time.tv_nsec);
}

}  // namespace pricora
