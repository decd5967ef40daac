#pragma once

#include <string>

#include "platform/UrlOpener.h"

namespace pricora {

// The addresses behind the Preferences submenu's links.
struct Links {
  static constexpr const char* kSupport = "mailto:support@pricora.example?Subject=Pricora";
  static constexpr const char* kPhoneApp = "https://pricora.example/phone";
  // The desktop's software centre opens appstream: addresses at the application's page.
  static constexpr const char* kRateMe = "appstream:example.pricora.Pricora";
};

// Hands the address to the desktop; whether it could open it is not our concern.
inline void openLink(UrlOpener& opener, const std::string& address) { opener.openURL(address); }

}  // namespace pricora
