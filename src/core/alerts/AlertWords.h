#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "core/alerts/LocaleFormat.h"
#include "core/history/PriceHistory.h"
#include "platform/AppHost.h"
#include "platform/HistoryFile.h"

namespace pricora {

// What alerts and changes say to people, in their language and with their locale's numbers.
class AlertWords {
 public:
  AlertWords(AppHost& host, const LocaleFormat& format) : host_(host), format_(format) {}

  // "XBT/USD above 11,000", "XBT/USD up 5 % in 1 h".
  std::string summary(const AlertRecord& alert) const;
  // "Kraken: 11,020.5 at 14:32": the price with as many decimals as the exchange sent.
  std::string body(const AlertRecord& alert, const std::string& priceText, double price, WallTime at) const;
  // What to tell of a new alert: when it will fire if it was made past its level already, that
  // the next price settles it if there was no recent one; nothing when it is armed.
  std::string madeNote(const AlertRecord& alert) const;
  // The same for an alert made from the command line, which also tells an armed one's price:
  // "Kraken XBT/USD: armed at 10,900".
  std::string settledNote(const AlertRecord& alert, std::optional<double> price) const;
  // Where the alert stands, for the list of alerts: "armed", "not seen yet" ...
  std::string phase(const AlertRecord& alert) const;
  // "+1.5 % in 24 h".
  std::string change(const PriceChange& change) const;
  // A price of an earlier run, with its age: "10,558.8 · 3 h ago".
  std::string earlierPrice(double price, std::chrono::seconds age) const;
  // "3 d", "24 h", "1.5 h", "30 min".
  std::string duration(std::chrono::seconds span) const;
  // The action labels of an alert's notification, by key: "remove", "again-up", "again-down".
  std::string action(const std::string& key) const;

 private:
  AppHost& host_;
  const LocaleFormat& format_;
};

}  // namespace pricora
