#pragma once

#include "model/StatusBar.h"
#include "platform/AppHost.h"
#include "platform/Bundle.h"
#include "platform/Clock.h"
#include "platform/JsonFetch.h"
#include "platform/LoginItems.h"
#include "platform/MainQueue.h"
#include "platform/ManageWindow.h"
#include "platform/Settings.h"
#include "platform/UrlOpener.h"

namespace pricora {

// The platform as the application sees it. Everything here outlives the AppDelegate.
struct AppServices {
  MainQueue& queue;
  Clock& clock;
  JsonFetch& fetch;
  StatusBar& statusBar;
  const TextMetrics& textMetrics;
  AppHost& host;
  Settings& settings;
  const Bundle& bundle;
  UrlOpener& urlOpener;
  LoginItems& loginItems;
  ManageWindow& manageWindow;
};

}  // namespace pricora
