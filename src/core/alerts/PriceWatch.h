#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/alerts/AlertWords.h"
#include "core/alerts/KnownPairs.h"
#include "core/alerts/LocaleFormat.h"
#include "core/common/AppState.h"
#include "core/exchanges/PairEntry.h"
#include "core/history/ClockSteps.h"
#include "core/history/PriceHistory.h"
#include "core/menu/PriceItems.h"
#include "core/store/PairList.h"
#include "platform/AlertHandOff.h"
#include "platform/AppHost.h"
#include "platform/Clock.h"
#include "platform/HistoryFile.h"
#include "platform/ManageWindow.h"
#include "platform/Notifier.h"

namespace pricora {

// What a run mode gives the price watch.
struct WatchParts {
  HistoryFile& file;
  Notifier& notifier;
  std::string locale;  // ICU's name of the user's locale for numbers and times, "de_DE"
  // The process that holds the store writes the history and the alerts' states and notifies.
  // Any other (a text bar beside the tray) only reads the file, and shows an alert that fires as
  // its price item's attention state.
  bool owner = true;
  // Why the file could not be opened for writing, told once at start.
  std::optional<Error> fileProblem;
};

// Keeps the history of the pairs the user follows (favourites, price items and pairs with an
// alert), shows each price item's change over the last day, and fires the alerts: a
// notification, replaced rather than stacked, and the price item's attention state until its
// menu opens. Without a notification service it says so on standard error, one line an alert.
class PriceWatch final : public NotifierListener, public MenuDelegate {
 public:
  PriceWatch(AppHost& host, ManageWindow& manageWindow, Clock& clock, AppState& state, PairList& pairs,
             PriceItems& items, WatchParts parts);
  ~PriceWatch();
  PriceWatch(const PriceWatch&) = delete;
  PriceWatch& operator=(const PriceWatch&) = delete;

  // Once the price items exist: reads the alerts and the followed pairs' last day, and shows
  // the changes they hold.
  void start();
  // At the start of every refresh: takes in alerts that another process (pricora --alert)
  // changed, follows the pairs the user follows now, writes what the last refresh left.
  void refreshStarting();
  // Every ticker of every exchange, after the menus took it.
  void priceSeen(Exchange exchange, const std::string& title, const PairEntry& entry);
  // Writes the refresh's prices, and the alerts' states again if their last save failed.
  void flush();

  // The Manage window's Alert column: the pair's alerts as the user writes them.
  ShownAlerts alertsText(const PairName& pair) const;
  // The user's edit of a text written from the alerts madeFrom: those the new text still holds
  // stay as they stand, under their ids; those it dropped are removed, its new ones made. Alerts
  // of the pair that the text was not written from (made elsewhere since) are left alone. An
  // error leaves every alert as it was; a note says when an alert was made past its level
  // already.
  ManageNote setAlertsText(const PairName& pair, const std::string& text, const std::vector<std::int64_t>& madeFrom);
  const std::vector<AlertRecord>& alerts() const { return alerts_; }
  // A new alert from elsewhere (the command line, while this process runs), for a pair of the
  // store: settled against the price this process shows, and stored.
  HandedAlert takeAlert(const AlertRecord& alert);

  void notificationAction(std::int64_t tag, const std::string& key) override;
  void notificationUndelivered(std::int64_t tag) override;
  // A price item's menu opens: its attention state ends.
  void menuWillOpen(Menu& menu) override;
  void menuDidClose(Menu&) override {}

  // The tags of notifications that are not an alert's.
  static constexpr std::int64_t kFileProblemTag = 0;

 private:
  // The wall clock; when it was set since the last look, the history moves with it first.
  WallTime readClock();
  void reloadAlerts();
  void followPairs();
  // The pair's prices up to now, oldest first: its history, else the price its item in the
  // exchange's submenu shows (this refresh's or the last one's), or none.
  std::vector<PriceSample> pricesOf(const PairName& pair, WallTime now) const;
  // A fresh alert's first reading, when there is a recent price for it: the price, or none when
  // the alert stays fresh.
  std::optional<double> settle(AlertRecord& alert, WallTime now);
  // The pairs of the store, which alerts may watch.
  KnownPairs knownPairs() const;
  void fire(const AlertRecord& alert, const std::string& priceText, double price, WallTime now);
  void showMove(const PairName& pair, WallTime now);
  // The pair's last price in the file, on its items until this run's first.
  void showEarlierPrice(const PairName& pair, WallTime now);
  void save(const std::vector<AlertRecord>& changed);
  void report(const Status& status, bool& reported);

  AppHost& host_;
  ManageWindow& manageWindow_;
  AppState& state_;
  PairList& pairs_;
  PriceItems& items_;
  WatchParts parts_;
  LocaleFormat format_;
  AlertWords words_;
  PriceHistory history_;
  ClockSteps clock_;
  WallTime ownSince_;  // when this process began recording, as the wall clock tells it now
  std::vector<AlertRecord> alerts_;
  // Every alert this process has read, by id, also after it is gone: ids are never given twice,
  // and an edit's text may have been written from alerts removed elsewhere since.
  std::map<std::int64_t, AlertRecord> known_;
  std::map<std::int64_t, std::string> lastWords_;  // per alert: its last firing in one line
  bool unsaved_ = false;                           // the last save of the alerts' states failed
  bool reloadDue_ = false;                         // the last reading of the alerts failed
  // Which failures were told: each once, until that kind of work succeeds again.
  struct {
    bool writingPrices = false, readingPrices = false, savingAlerts = false, readingAlerts = false;
  } told_;
};

}  // namespace pricora
