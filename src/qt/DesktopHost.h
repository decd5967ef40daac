#pragma once

#include "model/StatusBar.h"
#include "platform/AppHost.h"

namespace pricora {

// The application object on a desktop: message boxes and the real tray font.
class DesktopHost final : public AppHost, public TextMetrics {
 public:
  bool presentError(const Error& error) override;
  std::size_t runModal(const Alert& alert) override;
  std::string localizedString(const std::string& key, const std::string& comment) override;
  Error localizedError(const Error& error) override;
  void log(const std::string& line) override;
  void printLine(const std::string& line) override;
  void activateIgnoringOtherApps() override;
  void quit() override;

  double width(const AttributedTitle& title) const override;
};

}  // namespace pricora
