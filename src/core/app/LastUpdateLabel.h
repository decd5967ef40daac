#pragma once

#include <memory>

#include "core/common/AppServices.h"
#include "core/common/AppState.h"

namespace pricora {

// While the status menu is open, its last entry tells how long ago the last refresh completed,
// rewritten every second.
class LastUpdateLabel {
 public:
  LastUpdateLabel(AppServices& services, AppState& state) : services_(services), state_(state) {}

  void menuWillOpen();
  void menuDidClose();
  void updateDateLabel();
  const RepeatingTimer* timer() const { return updateDateTimer_.get(); }

 private:
  void update();

  AppServices& services_;
  AppState& state_;
  std::unique_ptr<RepeatingTimer> updateDateTimer_;
};

}  // namespace pricora
