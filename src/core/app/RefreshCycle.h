#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "core/common/AppState.h"
#include "core/exchanges/Adapter.h"
#include "platform/Clock.h"
#include "platform/MainQueue.h"

namespace pricora {

// Asks every exchange for its prices on the refresh timer and when the user chooses the last
// entry of the status menu, and notices when the last exchange has finished.
class RefreshCycle {
 public:
  // adapters: at most one per exchange, in exchange order. refreshCompleted runs each time a
  // refresh turns the last entry into "Updated: Just now"; refreshStarting, when given, at the
  // start of every refresh, before anything else.
  RefreshCycle(MainQueue& queue, Clock& clock, AppState& state, std::vector<std::unique_ptr<ExchangeAdapter>> adapters,
               std::function<void()> refreshCompleted, std::function<void()> refreshStarting = {});

  // The timer made at launch; the first refresh replaces it.
  void startTimer();
  void refreshPairs();
  const RepeatingTimer* timer() const { return timer_.get(); }

  static constexpr const char* kConnectionError = "Connection error. I will try again shortly.";

 private:
  using Finished = std::shared_ptr<int>;
  ExchangeDone commonExchangeDone(const Finished& finishedExchanges);
  ExchangeDone bitfinexExchangeDone(const Finished& finishedExchanges);
  void countFinished(const Finished& finishedExchanges);
  void refreshCompleted();

  MainQueue& queue_;
  Clock& clock_;
  AppState& state_;
  std::vector<std::unique_ptr<ExchangeAdapter>> adapters_;
  std::function<void()> onCompleted_;
  std::function<void()> onStarting_;
  std::unique_ptr<RepeatingTimer> timer_;
};

}  // namespace pricora
