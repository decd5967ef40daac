#pragma once

#include "model/Menu.h"
#include "platform/AppHost.h"
#include "platform/LoginItems.h"
#include "platform/Settings.h"

namespace pricora {

// Starting Pricora at login: the user's choice in the settings ("launchAtStartup"), shown as
// the check mark of a menu item and put into effect through the desktop's login items.
class LaunchAtLogin {
 public:
  static constexpr const char* kHelperIdentifier = "example.pricora.Pricora-Helper";

  LaunchAtLogin(Settings& settings, LoginItems& loginItems, AppHost& host, MenuItem& menuItem)
      : settings_(settings), loginItems_(loginItems), host_(host), menuItem_(menuItem) {}

  // Makes the check mark and the registration follow the stored choice (every start, and after
  // every change, so a registration changed behind our back is put right).
  void applyLaunchAtStartup();
  // The menu item was chosen: the stored choice flips.
  void launchAtStartupChanged(const MenuItem& sender);

 private:
  Settings& settings_;
  LoginItems& loginItems_;
  AppHost& host_;
  MenuItem& menuItem_;
};

}  // namespace pricora
