#include "core/app/RefreshCycle.h"

#include "core/app/RefreshState.h"

namespace pricora {

RefreshCycle::RefreshCycle(MainQueue& queue, Clock& clock, AppState& state,
                           std::vector<std::unique_ptr<ExchangeAdapter>> adapters,
                           std::function<void()> refreshCompleted, std::function<void()> refreshStarting)
    : queue_(queue),
      clock_(clock),
      state_(state),
      adapters_(std::move(adapters)),
      onCompleted_(std::move(refreshCompleted)),
      onStarting_(std::move(refreshStarting)) {}

void RefreshCycle::startTimer() {
  // Qt's timers fire while a menu is open, so there is no separate "common modes" timer here.
  timer_ = queue_.scheduleRepeating(Seconds(state_.refreshFrequency), [this] { refreshPairs(); });
}

void RefreshCycle::refreshPairs() {
  if (onStarting_) onStarting_();
  state_.bitfinexActive = true;
  // A refresh the user starts pushes the next timed one a full interval away.
  if (timer_) timer_->invalidate();
  startTimer();

  Menu& menu = *state_.statusMenu;
  if (lastRefreshCompleted(menu)) {
    const MenuItemRef& last = menu.lastItem();
    last->setAction(MenuAction::none);
    last->setTitle("Updating...");
  }

  // Each refresh counts its own finished exchanges; a slow reply counts where it was asked.
  auto finishedExchanges = std::make_shared<int>(0);
  for (const auto& adapter : adapters_) {
    adapter->start(adapter->exchange() == Exchange::Bitfinex ? bitfinexExchangeDone(finishedExchanges)
                                                             : commonExchangeDone(finishedExchanges));
  }
}

ExchangeDone RefreshCycle::commonExchangeDone(const Finished& finishedExchanges) {
  return [this, finishedExchanges](bool) { countFinished(finishedExchanges); };
}

ExchangeDone RefreshCycle::bitfinexExchangeDone(const Finished& finishedExchanges) {
  return [this, finishedExchanges](bool) {
    // Decided after the hand-offs already queued have placed their items, so the placeholder
    // shows exactly when no Bitfinex pair made it into the submenu.
    queue_.post([this] {
      Menu& submenu = *state_.exchanges[Exchange::Bitfinex].submenu;
      if (submenu.empty()) submenu.addItemWithTitle(kConnectionError);
    });
    countFinished(finishedExchanges);
  };
}

void RefreshCycle::countFinished(const Finished& finishedExchanges) {
  if (++*finishedExchanges != static_cast<int>(kExchangeCount)) return;
  state_.updateDate = clock_.now();
  queue_.post([this] { refreshCompleted(); });
}

void RefreshCycle::refreshCompleted() {
  Menu& menu = *state_.statusMenu;
  if (!refreshUnderWay(menu)) return;
  const MenuItemRef& last = menu.lastItem();
  last->setAction(MenuAction::refreshPairs);
  last->setTitle("Updated: Just now");
  if (onCompleted_) onCompleted_();
}

}  // namespace pricora
