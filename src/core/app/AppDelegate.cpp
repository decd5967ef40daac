#include "core/app/AppDelegate.h"

#include "core/app/Experimental.h"
#include "core/exchanges/Adapters.h"

namespace pricora {

namespace {

// The swatch beside each exchange's entry: 3 by 14 points of the exchange's colour.
constexpr double kSwatchWidth = 3.0;
constexpr double kSwatchHeight = 14.0;
constexpr double kStatusItemLength = 20.0;

}  // namespace

AppDelegate::AppDelegate(AppServices& services)
    : services_(services),
      endpoints_(services.settings),
      adapterContext_{services.fetch, services.queue, state_.exchanges, endpoints_,
                      [](Exchange, const std::string&, const PairEntryRef&) {}, state_.bitfinexActive},
      statusMenu_(services, state_),
      refresh_(services, state_, {}, {}) {
  for (Exchange exchange : kAllExchanges)
    state_.exchanges[exchange].item = MenuItem::create(std::string(displayName(exchange)));
  state_.statusItem = services_.statusBar.statusItemWithLength(kStatusItemLength);
  state_.statusMenu->setDelegate(this);
}

AppDelegate::~AppDelegate() { state_.statusMenu->setDelegate(nullptr); }

void AppDelegate::applicationDidFinishLaunching() {
  if (const std::optional<double> seconds = experimentalRefreshFrequency(services_.bundle))
    state_.refreshFrequency = *seconds;
  for (Exchange exchange : kAllExchanges) {
    ExchangeState& entry = state_.exchanges[exchange];
    entry.item->setSubmenu(entry.submenu);
    entry.item->setImage(swatchImage(info(exchange).colour, kSwatchWidth, kSwatchHeight));
  }
  services_.queue.postAfter(Seconds(0.25), [this] { deferredStart(); });
  refresh_.startTimer();
}

void AppDelegate::deferredStart() {
  statusMenu_.buildStatusItem();
  refresh_.refreshPairs();
  statusMenu_.buildFixedMenuItems();
  // The last entry from now on: "Updating..." during a refresh, "Updated: ..." after it.
  state_.statusMenu->addItemWithTitle("Updating...");
}

void AppDelegate::refreshPairs() { refresh_.refreshPairs(); }

void AppDelegate::menuWillOpen(Menu&) {}

void AppDelegate::menuDidClose(Menu&) {}

void AppDelegate::sendAction(const std::string& selector, MenuItem&) {
  if (selector == "refreshPairs") {
    refreshPairs();
  } else if (selector == "terminate:") {
    services_.host.quit();
  }
}

}  // namespace pricora
