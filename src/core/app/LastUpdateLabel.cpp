#include "core/app/LastUpdateLabel.h"

#include "core/app/RefreshState.h"
#include "core/app/TimeAgo.h"

namespace pricora {

void LastUpdateLabel::menuWillOpen() {
  queue_.post([this] { update(); });
  // Replacing the handle invalidates a timer left by an opening the host never closed.
  updateDateTimer_ = queue_.scheduleRepeating(Seconds(1.0), [this] { updateDateLabel(); });
}

void LastUpdateLabel::menuDidClose() {
  if (updateDateTimer_) updateDateTimer_->invalidate();
}

void LastUpdateLabel::updateDateLabel() {
  queue_.post([this] { update(); });
}

void LastUpdateLabel::update() {
  Menu& menu = *state_.statusMenu;
  // Only a completed refresh's entry tells the time; "Updating..." is left alone.
  if (!lastRefreshCompleted(menu) || !state_.updateDate) return;
  menu.lastItem()->setTitle("Updated: " + timeAgoText(*state_.updateDate, clock_.now()));
}

}  // namespace pricora
