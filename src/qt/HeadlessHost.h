#pragma once

#include "model/StatusBar.h"
#include "platform/AppHost.h"
#include "platform/ManageWindow.h"
#include "platform/UrlOpener.h"

namespace pricora {

// The application object without a display: alerts go to standard error, one line per text,
// and are answered with their first button; addresses to open are logged; text widths are
// estimated.
class HeadlessHost final : public AppHost, public TextMetrics, public UrlOpener {
 public:
  bool presentError(const Error& error) override;
  std::size_t runModal(const Alert& alert) override;
  std::string localizedString(const std::string& key, const std::string& comment) override;
  Error localizedError(const Error& error) override;
  void log(const std::string& line) override;
  void printLine(const std::string& line) override;
  void activateIgnoringOtherApps() override {}
  void quit() override;

  double width(const AttributedTitle& title) const override;
  void openURL(const std::string& url) override;

  // The status the process ends with once the application agrees to quit.
  void setExitStatus(int status) { exitStatus_ = status; }
  // Standard output carries the dump; send printed lines to standard error instead.
  void setPrintToStandardError(bool value) { printToStandardError_ = value; }

 private:
  int exitStatus_ = 2;  // until the run reaches its goal
  bool printToStandardError_ = false;
};

// The management window of a run without a display: never shown, its first segment ("Wex")
// selected, as the real window starts.
class HeadlessManageWindow final : public ManageWindow {
 public:
  void setDelegate(ManageWindowDelegate*) override {}
  std::optional<std::string> selectedSegmentLabel() const override { return "Wex"; }
  void reloadData() override {}
  void makeKeyAndOrderFront() override {}
  void setDarkTableAppearance() override {}
  void setFloating() override {}
};

}  // namespace pricora
