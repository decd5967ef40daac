#pragma once

#include <memory>

#include "core/common/AppState.h"
#include "platform/Clock.h"
#include "platform/MainQueue.h"

namespace pricora {

// While the status menu is open, its last entry tells how long ago the last refresh completed,
// rewritten every second.
class LastUpdateLabel {
 public:
  LastUpdateLabel(MainQueue& queue, Clock& clock, AppState& state) : queue_(queue), clock_(clock), state_(state) {}

  void menuWillOpen();
  void menuDidClose();
  void updateDateLabel();
  const RepeatingTimer* timer() const { return updateDateTimer_.get(); }

 private:
  void update();

  MainQueue& queue_;
  Clock& clock_;
  AppState& state_;
  std::unique_ptr<RepeatingTimer> updateDateTimer_;
};

}  // namespace pricora
