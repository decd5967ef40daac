#pragma once

#include <memory>
#include <string>

#include "core/alerts/PriceWatch.h"
#include "core/app/LastUpdateLabel.h"
#include "core/app/RefreshCycle.h"
#include "core/app/SaveAndQuit.h"
#include "core/common/AppServices.h"
#include "core/common/AppState.h"
#include "core/exchanges/Endpoints.h"
#include "core/menu/PriceItems.h"
#include "core/menu/StatusMenu.h"
#include "core/store/EditingContext.h"
#include "core/store/ManageLogic.h"
#include "core/store/PairList.h"
#include "core/system/LaunchAtLogin.h"
#include "platform/MenuActionTarget.h"

namespace pricora {

// The one object that owns the running application. The platform creates it once, calls
// applicationDidFinishLaunching(), and from then on delivers menu actions, menu openings and
// the request to quit, all on the main queue. Given a read-only context it never writes the
// store: it skips the clean-up, saves nothing, and re-reads the store at the start of every
// refresh.
class AppDelegate final : public MenuDelegate, public MenuActionTarget {
 public:
  // context: the opened store, which outlives the delegate. watch: the price history and alerts'
  // file and notifications; without them the application keeps no history and has no alerts.
  AppDelegate(AppServices& services, EditingContext& context, std::optional<WatchParts> watch = std::nullopt);
  AppDelegate(const AppDelegate&) = delete;
  AppDelegate& operator=(const AppDelegate&) = delete;
  ~AppDelegate();

  // The class name the log lines carry.
  static constexpr const char* kQualifiedClassName = "Pricora.AppDelegate";

  void applicationDidFinishLaunching();
  void refreshPairs();
  // A refresh asked for from outside the menu (a signal, a bar's click): like choosing the
  // last-update entry, it starts only once the menu is built and no refresh is under way, so
  // repeated clicks cannot pile up overlapping refreshes.
  void refreshIfIdle();
  void saveAction();
  // The favourite check box of the management table; the record already holds the new value.
  void favouritesChangedWithSender();
  void showManageWindow();
  // The menu-bar check box of the management table, for the record of the box's row.
  void statusPairsChangedWithSender(const PairRef& record) { priceItems_.statusPairsChangedWithSender(record); }
  TerminateReply applicationShouldTerminate();
  void applicationWillTerminate();
  // The "Quit Pricora" entry: asks, saves, and quits when the answer allows.
  void terminate();
  // A quit that cannot be refused (a signal, the desktop session ending): saves and quits.
  void terminateWithoutAsking();

  // Menu delegate and action target for the hosts.
  void menuWillOpen(Menu& menu) override;
  void menuDidClose(Menu& menu) override;
  void sendAction(MenuAction action, MenuItem& sender) override;

  const AppState& state() const { return state_; }
  AppState& state() { return state_; }
  PairList& pairList() { return pairList_; }
  const RefreshCycle& refreshCycle() const { return refresh_; }
  const LastUpdateLabel& lastUpdateLabel() const { return label_; }
  StatusMenu& statusMenu() { return statusMenu_; }
  const PriceItems& priceItems() const { return priceItems_; }
  ManageLogic& manageLogic() { return manage_; }
  PriceWatch* priceWatch() { return watch_.get(); }

 private:
  void deferredStart();
  // At the start of every refresh. With a store another process owns: takes in its records as they are now, and the
  // price items follow the pairs marked there.
  void followStoreIfReadOnly();

  AppServices& services_;
  AppState state_;
  PairList pairList_;
  SaveAndQuit saveAndQuit_;
  Endpoints endpoints_;
  AdapterContext adapterContext_;
  PriceItems priceItems_;
  StatusMenu statusMenu_;
  RefreshCycle refresh_;
  LastUpdateLabel label_;
  LaunchAtLogin launchAtLogin_;
  ManageLogic manage_;
  std::unique_ptr<PriceWatch> watch_;
  bool terminating_ = false;
  bool forcedQuitWaiting_ = false;
};

}  // namespace pricora
