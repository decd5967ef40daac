#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/exchanges/Endpoints.h"
#include "core/exchanges/Exchange.h"
#include "core/exchanges/ExchangeState.h"
#include "core/exchanges/PairEntry.h"
#include "platform/JsonFetch.h"
#include "platform/MainQueue.h"

namespace pricora {

// Called once by an exchange when its part of a refresh has finished.
using ExchangeDone = std::function<void(bool)>;
// Places one pair's entry into the menus and the store; runs on the main queue.
using PairHandOff = std::function<void(Exchange, const std::string& displayTitle, const PairEntryRef& entry)>;

// What every adapter works with.
struct AdapterContext {
  JsonFetch& fetch;
  MainQueue& queue;
  ExchangeTable& exchanges;
  const Endpoints& endpoints;
  PairHandOff handOff;
  // Bitfinex ticker requests are allowed; cleared by a rate-limit reply, set by every refresh.
  bool& bitfinexActive;
};

// One exchange's part of every refresh.
class ExchangeAdapter {
 public:
  ExchangeAdapter(Exchange exchange, AdapterContext& context) : exchange_(exchange), context_(context) {}
  virtual ~ExchangeAdapter() = default;
  ExchangeAdapter(const ExchangeAdapter&) = delete;
  ExchangeAdapter& operator=(const ExchangeAdapter&) = delete;

  Exchange exchange() const { return exchange_; }
  // Starts this refresh's requests and returns at once; done runs once the exchange has
  // reported every pair it asked for.
  virtual void start(ExchangeDone done) = 0;

 protected:
  ExchangeState& state() { return context_.exchanges[exchange_]; }
  const std::string& baseAddress() const { return context_.endpoints.baseAddress(exchange_); }
  AdapterContext& context() const { return context_; }
  // Posts the hand-off of one parsed pair to the main queue.
  void postHandOff(const std::string& displayTitle, const PairEntryRef& entry);

 private:
  Exchange exchange_;
  AdapterContext& context_;
};

// The shape almost every exchange shares: learn the pair keys (from a listing request or a
// fixed list), then request every key's ticker at once, and report each reply as it arrives.
// Subclasses state only their endpoints, keys and JSON.
class TickerAdapter : public ExchangeAdapter {
 public:
  using ExchangeAdapter::ExchangeAdapter;
  void start(ExchangeDone done) final;

 protected:
  struct Parsed {
    std::string displayTitle;
    PairEntryRef entry;
  };

  // A listing adapter names its listing's address; a fixed-list adapter names none and gives
  // fixedKeys() instead.
  virtual std::optional<std::string> listingUrl() const { return std::nullopt; }
  // Reads the keys of a listing document into keys; false when the document is unusable, which
  // keeps the previous keys as a failed request would. Keys that are not usableKey() are
  // dropped afterwards; a listing left without any counts as unusable too. Only the top
  // kListingDepth levels of containers are filled (see Json::parse): deeper ones may be empty.
  static constexpr int kListingDepth = 2;
  virtual bool readListing(const Json& document, std::vector<std::string>& keys) const;
  virtual std::vector<std::string> fixedKeys() const { return {}; }
  // The ticker's address; a key from a listing enters it through percentEncoded().
  virtual std::string tickerUrl(const std::string& key) const = 0;
  // Whether the batch may issue requests at all right now.
  virtual bool mayRequest() const { return true; }
  // One ticker document for key; none reports the pair as failed.
  virtual std::optional<Parsed> parseTicker(const Json& document, const std::string& key) = 0;

 private:
  using Counter = std::shared_ptr<std::int64_t>;
  void tickerBatch(const ExchangeDone& done, const Counter& counter);
  void report(const std::optional<Parsed>& parsed, const ExchangeDone& done, const Counter& counter);
};

// Whether a key an exchange listed may be used at all: 1 to 64 characters, each a letter, a
// digit or one of "_-.:", and not "." or "..". Anything else could leave its path segment or
// its query value once pasted into an address, or make an empty record.
bool usableKey(std::string_view key);
// The most keys one listing (or Poloniex's one reply) gives; later ones are ignored. Exchanges list
// a few thousand at most, but a body under the size cap can hold millions of one-letter keys, each
// a request to queue, an item to sort into a menu and a record to store.
inline constexpr std::size_t kMaxListedKeys = 50'000;
// The key with every byte other than letters, digits and "-._~:" written as %XX, so that it
// stays one path segment or one query value whatever it holds.
std::string percentEncoded(std::string_view key);

// Value text helpers shared by the parsers.
std::string valueText(const Json& value);
// The text up to the first "." (all of it when there is none): time stamps arrive both as
// whole seconds and with a fraction, and both forms of a second read the same.
std::string beforeFirstDot(const std::string& text);
// ASCII upper case; other characters stay as they are.
std::string upperCased(std::string text);
// Pieces of a text counted in characters (code points), never splitting one.
std::size_t characterCount(std::string_view text);
std::string firstCharacters(std::string_view text, std::size_t count);
std::string lastCharacters(std::string_view text, std::size_t count);
std::string charactersFrom(std::string_view text, std::size_t start);
// Every occurrence of from replaced by to.
std::string replacedAll(std::string text, char from, char to);

// A PairEntry built from a list of (label, value) lines; the headline is the display title, ": "
// and the price text.
PairEntryRef makeEntry(const std::string& displayTitle, const std::string& price,
                       const std::vector<std::pair<const char*, std::string>>& lines);

// The members of a flat ticker object that hold the six price lines.
struct PriceMembers {
  const char* bid;
  const char* ask;
  const char* last;
  const char* low;
  const char* high;
  const char* volume;
};
// The entry of a flat ticker: the headline with the last price, then Bid, Ask, Last, Low, High
// and Volume, each the text of its member.
PairEntryRef tickerEntry(const std::string& displayTitle, const Json& ticker, const PriceMembers& members);

// The key upper-cased, its first three characters, "/", its last three ("btcusd" -> BTC/USD).
std::string threeSlashThree(const std::string& key);

}  // namespace pricora
