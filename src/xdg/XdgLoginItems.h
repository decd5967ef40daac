#pragma once

#include <string>

#include "platform/LoginItems.h"

namespace pricora {

// Login items as the XDG autostart specification has them: a desktop entry named after the
// identifier in the autostart folder ($XDG_CONFIG_HOME/autostart) starts the program at login.
class XdgLoginItems final : public LoginItems {
 public:
  XdgLoginItems(std::string autostartFolder, std::string executable)
      : folder_(std::move(autostartFolder)), executable_(std::move(executable)) {}
  bool setEnabled(const std::string& identifier, bool enabled) override;

  std::string entryPath(const std::string& identifier) const { return folder_ + "/" + identifier + ".desktop"; }

 private:
  std::string folder_;
  std::string executable_;
};

}  // namespace pricora
