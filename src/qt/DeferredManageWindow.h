#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ManageWindow.h"
#include "qt/QtManageWindow.h"

namespace pricora {

// The management window, built the first time it is shown. Its widgets, style and fonts cost a
// tray application about 6 MB of memory (the libraries' pages they touch and their heap), and
// most runs never open the window. Until then it answers as the new window would: the first
// exchange selected, nothing to reload; the look asked for is given to the window when it is
// built. Once built, it stays, hidden or not, and every call goes to it.
class DeferredManageWindow final : public ManageWindow {
 public:
  explicit DeferredManageWindow(std::vector<std::string> exchangeNames);

  void setDelegate(ManageWindowDelegate* delegate) override;
  std::optional<std::string> selectedSegmentLabel() const override;
  void reloadData() override;
  void makeKeyAndOrderFront() override;
  void setDarkTableAppearance() override;
  void setFloating() override;

  // Shows a pair's chart (its exchange and title), from a row of the window.
  void setShowChart(std::function<void(const std::string&, const std::string&)> showChart);

  // The window, once it has been shown; none before.
  QtManageWindow* built() const { return window_.get(); }

 private:
  std::vector<std::string> exchangeNames_;
  ManageWindowDelegate* delegate_ = nullptr;
  bool dark_ = false;
  bool floating_ = false;
  std::function<void(const std::string&, const std::string&)> showChart_;
  std::unique_ptr<QtManageWindow> window_;
};

}  // namespace pricora
