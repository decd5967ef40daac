#pragma once

#include <memory>
#include <string>

#include "core/app/AppServices.h"
#include "core/app/AppState.h"
#include "core/app/RefreshCycle.h"
#include "core/exchanges/Endpoints.h"
#include "core/menu/StatusMenu.h"
#include "platform/menu/MenuActionTarget.h"

namespace pricora {

// The one object that owns the running application. The platform creates it once, calls
// applicationDidFinishLaunching(), and from then on delivers menu actions, menu openings and
// the request to quit, all on the main queue.
class AppDelegate final : public MenuDelegate, public MenuActionTarget {
 public:
  explicit AppDelegate(AppServices& services);
  AppDelegate(const AppDelegate&) = delete;
  AppDelegate& operator=(const AppDelegate&) = delete;
  ~AppDelegate();

  // The class name the log lines carry.
  static constexpr const char* kQualifiedClassName = "Pricora.AppDelegate";

  void applicationDidFinishLaunching();
  void refreshPairs();

  // Menu delegate and action target for the hosts.
  void menuWillOpen(Menu& menu) override;
  void menuDidClose(Menu& menu) override;
  void sendAction(const std::string& selector, MenuItem& sender) override;

  const AppState& state() const { return state_; }
  const RefreshCycle& refreshCycle() const { return refresh_; }

 private:
  void deferredStart();

  AppServices& services_;
  AppState state_;
  Endpoints endpoints_;
  AdapterContext adapterContext_;
  StatusMenu statusMenu_;
  RefreshCycle refresh_;
};

}  // namespace pricora
