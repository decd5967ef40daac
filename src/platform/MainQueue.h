#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace pricora {

using Task = std::function<void()>;
using Seconds = std::chrono::duration<double>;

// A repeating timer on the main queue. It fires every interval until invalidated; destroying
// the handle invalidates it too.
class RepeatingTimer {
 public:
  virtual ~RepeatingTimer() = default;
  virtual void invalidate() = 0;
  virtual bool isValid() const = 0;
  virtual Seconds interval() const = 0;
};

// The main thread's queue. All application work runs here, one task at a time; posted tasks
// run after the current one and after everything posted before them.
class MainQueue {
 public:
  virtual ~MainQueue() = default;
  virtual void post(Task task) = 0;
  virtual void postAfter(Seconds delay, Task task) = 0;
  virtual std::unique_ptr<RepeatingTimer> scheduleRepeating(Seconds interval, Task action) = 0;
};

}  // namespace pricora
