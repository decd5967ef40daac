#include "qt/DeferredManageWindow.h"

namespace pricora {

DeferredManageWindow::DeferredManageWindow(std::vector<std::string> exchangeNames)
    : exchangeNames_(std::move(exchangeNames)) {}

void DeferredManageWindow::setDelegate(ManageWindowDelegate* delegate) {
  delegate_ = delegate;
  if (window_) window_->setDelegate(delegate);
}

std::optional<std::string> DeferredManageWindow::selectedSegmentLabel() const {
  if (window_) return window_->selectedSegmentLabel();
  // A new window selects its first segment.
  if (exchangeNames_.empty()) return std::nullopt;
  return exchangeNames_.front();
}

void DeferredManageWindow::reloadData() {
  // A window not built yet shows nothing; it loads its rows when it is shown.
  if (window_) window_->reloadData();
}

void DeferredManageWindow::makeKeyAndOrderFront() {
  if (!window_) {
    window_ = std::make_unique<QtManageWindow>(exchangeNames_);
    window_->setDelegate(delegate_);
    if (dark_) window_->setDarkTableAppearance();
    if (floating_) window_->setFloating();
    window_->setShowChart(showChart_);
  }
  window_->makeKeyAndOrderFront();
}

void DeferredManageWindow::setShowChart(std::function<void(const std::string&, const std::string&)> showChart) {
  showChart_ = std::move(showChart);
  if (window_) window_->setShowChart(showChart_);
}

void DeferredManageWindow::setDarkTableAppearance() {
  dark_ = true;
  if (window_) window_->setDarkTableAppearance();
}

void DeferredManageWindow::setFloating() {
  floating_ = true;
  if (window_) window_->setFloating();
}

}  // namespace pricora
