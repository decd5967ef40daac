#include "core/system/LaunchAtLogin.h"

namespace pricora {

void LaunchAtLogin::applyLaunchAtStartup() {
  const bool enabled = settings_.boolForKey("launchAtStartup");
  menuItem_.setState(enabled ? 1 : 0);
  if (!loginItems_.setEnabled(kHelperIdentifier, enabled)) host_.printLine("Changing login item status failed.");
}

void LaunchAtLogin::launchAtStartupChanged(const MenuItem& sender) {
  // The item still shows the old state: choosing it flips it.
  settings_.setBool("launchAtStartup", sender.state() == 0);
  applyLaunchAtStartup();
}

}  // namespace pricora
