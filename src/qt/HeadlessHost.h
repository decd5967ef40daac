#pragma once

#include "platform/AppHost.h"
#include "platform/UrlOpener.h"
#include "platform/menu/StatusBar.h"

namespace pricora {

// The application object without a display: alerts go to standard error, one line per text,
// and are answered with their first button; addresses to open are logged; text widths are
// estimated.
class HeadlessHost final : public AppHost, public TextMetrics, public UrlOpener {
 public:
  bool presentError(const Error& error) override;
  std::size_t runModal(const Alert& alert) override;
  std::string localizedString(const std::string& key, const std::string& comment) override;
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
  int exitStatus_ = 0;
  bool printToStandardError_ = false;
};

}  // namespace pricora
