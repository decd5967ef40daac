#include "core/app/AppDelegate.h"

#include "core/app/Experimental.h"
#include "core/app/RefreshState.h"
#include "core/exchanges/Adapters.h"
#include "core/store/CleanUp.h"
#include "core/system/Links.h"

namespace pricora {

namespace {

// The swatch beside each exchange's entry: 3 by 14 points of the exchange's colour.
constexpr double kSwatchWidth = 3.0;
constexpr double kSwatchHeight = 14.0;
constexpr double kStatusItemLength = 20.0;

// What the application's own menus hold before it starts: the Preferences submenu.
AppState initialState() {
  AppState state;
  Menu& preferences = *state.preferencesMenu;
  state.launchAtStartupMenuItem = preferences.addItemWithTitle("Launch at Login", MenuAction::launchAtStartupChanged);
  preferences.addItem(MenuItem::separatorItem());
  preferences.addItemWithTitle("Contact Support…", MenuAction::supportButtonClick);
  preferences.addItemWithTitle("Pricora on Your Phone…", MenuAction::iosButtonClick);
  preferences.addItemWithTitle("Rate Pricora…", MenuAction::rateMeButtonClick);
  return state;
}

PairName nameOf(const Pair& record) { return {record.exchange().value_or(""), record.title().value_or("")}; }

}  // namespace

AppDelegate::AppDelegate(AppServices& services, EditingContext& context, std::optional<WatchParts> watch)
    : services_(services),
      state_(initialState()),
      pairList_(context),
      saveAndQuit_(services.host, context),
      endpoints_(services.settings),
      adapterContext_{services.fetch,
                      services.queue,
                      state_.exchanges,
                      endpoints_,
                      [this](Exchange exchange, const std::string& title, const PairEntryRef& entry) {
                        statusMenu_.pairHandOff(exchange, title, entry);
                        if (watch_ && entry) watch_->priceSeen(exchange, title, *entry);
                      },
                      state_.bitfinexActive},
      priceItems_(services.statusBar, services.textMetrics, services.urlOpener, state_, pairList_,
                  [this] { saveAction(); }),
      statusMenu_(
          services.bundle, state_, pairList_,
          [this](const PairRef& record, const PairEntryRef& entry) { priceItems_.updateStatusPair(record, entry); }),
      refresh_(
          services.queue, services.clock, state_, makeAdapters(adapterContext_),
          [this] {
            // A listing that keeps inventing keys must not grow the store without end.
            if (!pairList_.context().isReadOnly()) boundStoredPairs(pairList_.context());
            services_.manageWindow.reloadData();
            if (watch_) watch_->flush();
          },
          [this] {
            followStoreIfReadOnly();
            if (watch_) watch_->refreshStarting();
          }),
      label_(services.queue, services.clock, state_),
      launchAtLogin_(services.settings, services.loginItems, services.host, *state_.launchAtStartupMenuItem),
      manage_(services.manageWindow, services.queue, pairList_,
              {[this] { favouritesChangedWithSender(); },
               [this](const PairRef& record) { statusPairsChangedWithSender(record); },
               [this](const PairRef& record) { return watch_ ? watch_->alertsText(nameOf(*record)) : ShownAlerts{}; },
               [this](const PairRef& record, const std::string& text, const std::vector<std::int64_t>& madeFrom) {
                 return watch_ ? watch_->setAlertsText(nameOf(*record), text, madeFrom) : ManageNote{};
               }}) {
  if (watch)
    watch_ = std::make_unique<PriceWatch>(services_.host, services_.manageWindow, services_.clock, state_, pairList_,
                                          priceItems_, std::move(*watch));
  for (Exchange exchange : kAllExchanges)
    state_.exchanges[exchange].item = MenuItem::create(std::string(displayName(exchange)));
  state_.statusItem = services_.statusBar.statusItemWithLength(kStatusItemLength);
  state_.statusMenu->setDelegate(this);
}

AppDelegate::~AppDelegate() { state_.statusMenu->setDelegate(nullptr); }

void AppDelegate::applicationDidFinishLaunching() {
  if (const std::optional<double> seconds = experimentalRefreshFrequency(services_.bundle))
    state_.refreshFrequency = *seconds;
  services_.manageWindow.setDarkTableAppearance();
  launchAtLogin_.applyLaunchAtStartup();
  // The pair list keeps itself in title order; the management filter follows the segment.
  manage_.applyExchangeFilter();
  for (Exchange exchange : kAllExchanges) {
    ExchangeState& entry = state_.exchanges[exchange];
    entry.item->setSubmenu(entry.submenu);
    entry.item->setImage(swatchImage(info(exchange).colour, kSwatchWidth, kSwatchHeight));
  }
  services_.manageWindow.setFloating();
  services_.queue.postAfter(Seconds(0.25), [this] { deferredStart(); });
  refresh_.startTimer();
  // Clearing out old records is the job of whoever owns the store.
  if (!pairList_.context().isReadOnly())
    services_.queue.postAfter(Seconds(5.0),
                              [this] { cleanUpStoredPairs(pairList_.context(), [this] { saveAction(); }); });
}

void AppDelegate::followStoreIfReadOnly() {
  if (!pairList_.context().isReadOnly()) return;
  if (const Status reloaded = pairList_.context().reloadFromStore(); !reloaded) {
    // The records read last time stay; the next refresh tries again.
    services_.host.log(reloaded.error().description + ", " + reloaded.error().userInfo);
    return;
  }
  priceItems_.followMarks();
}

void AppDelegate::deferredStart() {
  statusMenu_.buildStatusItem();
  priceItems_.createAtStartup();
  if (watch_) watch_->start();
  refresh_.refreshPairs();
  statusMenu_.buildFixedMenuItems();
  // The last entry from now on: "Updating..." during a refresh, "Updated: ..." after it.
  state_.statusMenu->addItemWithTitle("Updating...");
}

void AppDelegate::refreshPairs() { refresh_.refreshPairs(); }

void AppDelegate::applicationWillTerminate() {
  // What the refresh under way has seen so far.
  if (watch_) watch_->flush();
}

void AppDelegate::refreshIfIdle() {
  if (lastRefreshCompleted(*state_.statusMenu)) refreshPairs();
}

void AppDelegate::saveAction() { saveAndQuit_.saveAction(); }

TerminateReply AppDelegate::applicationShouldTerminate() { return saveAndQuit_.applicationShouldTerminate(); }

void AppDelegate::terminate() {
  // One quit at a time: a second request while the first one's alert is up waits for its answer.
  if (terminating_) return;
  terminating_ = true;
  const TerminateReply reply = applicationShouldTerminate();
  terminating_ = false;
  if (reply == TerminateReply::Now) {
    applicationWillTerminate();
    services_.host.quit();
  } else if (forcedQuitWaiting_) {
    terminateWithoutAsking();
  }
}

void AppDelegate::terminateWithoutAsking() {
  if (terminating_) {
    forcedQuitWaiting_ = true;
    return;
  }
  terminating_ = true;
  saveAndQuit_.saveBeforeForcedQuit();
  applicationWillTerminate();
  services_.host.quit();
}

void AppDelegate::favouritesChangedWithSender() {
  statusMenu_.rebuildFavourites();
  saveAction();
}

void AppDelegate::showManageWindow() {
  services_.manageWindow.makeKeyAndOrderFront();
  services_.host.activateIgnoringOtherApps();
}

void AppDelegate::menuWillOpen(Menu&) { label_.menuWillOpen(); }

void AppDelegate::menuDidClose(Menu&) { label_.menuDidClose(); }

void AppDelegate::sendAction(MenuAction action, MenuItem& sender) {
  switch (action) {
    case MenuAction::none:
      return;
    case MenuAction::refreshPairs:
      return refreshPairs();
    case MenuAction::terminate:
      return terminate();
    case MenuAction::save:
      return saveAction();
    case MenuAction::openExchangeWebsite:
      return priceItems_.openExchangeWebsiteWithSender(sender);
    case MenuAction::showManageWindow:
      return showManageWindow();
    case MenuAction::launchAtStartupChanged:
      return launchAtLogin_.launchAtStartupChanged(sender);
    case MenuAction::supportButtonClick:
      return openLink(services_.urlOpener, Links::kSupport);
    case MenuAction::iosButtonClick:
      return openLink(services_.urlOpener, Links::kPhoneApp);
    case MenuAction::rateMeButtonClick:
      return openLink(services_.urlOpener, Links::kRateMe);
  }
}

}  // namespace pricora
