#include "core/exchanges/Adapter.h"

#include <algorithm>

namespace pricora {

void ExchangeAdapter::postHandOff(const std::string& displayTitle, const PairEntryRef& entry) {
  context_.queue.post([this, displayTitle, entry] { context_.handOff(exchange_, displayTitle, entry); });
}

void TickerAdapter::start(ExchangeDone done) {
  // Every refresh counts its own replies: a late reply of an earlier refresh counts there.
  auto counter = std::make_shared<std::int64_t>(0);
  const std::optional<std::string> listing = listingUrl();
  if (!listing) {
    state().pairs = fixedKeys();
    tickerBatch(done, counter);
    return;
  }
  // A listing is read for its keys alone (see readListing), so its records are left unparsed.
  context().fetch.getOutline(*listing, kListingDepth, [this, done, counter](const JsonReply& reply) {
    std::vector<std::string> keys;
    // A failed listing keeps the keys of the last good one, so the batch asks for those; so does
    // a listing without a single key we dare to request.
    if (reply && readListing(*reply, keys)) {
      std::erase_if(keys, [](const std::string& key) { return !usableKey(key); });
      if (keys.size() > kMaxListedKeys) keys.resize(kMaxListedKeys);
      if (!keys.empty()) state().pairs = std::move(keys);
    }
    tickerBatch(done, counter);
  });
}

bool TickerAdapter::readListing(const Json&, std::vector<std::string>&) const { return false; }

void TickerAdapter::tickerBatch(const ExchangeDone& done, const Counter& counter) {
  state().submenu->removeAllItems();
  // An exchange that asks for nothing has still finished: otherwise one exchange whose listing
  // has never answered would keep every refresh from completing.
  if (state().pairs.empty() || !mayRequest()) {
    done(true);
    return;
  }
  // Copy the keys: a reply never arrives inside get(), but a listing may replace them later.
  const std::vector<std::string> keys = state().pairs;
  for (const std::string& key : keys) {
    context().fetch.get(tickerUrl(key), [this, key, done, counter](const JsonReply& reply) {
      report(reply ? parseTicker(*reply, key) : std::nullopt, done, counter);
    });
  }
}

void TickerAdapter::report(const std::optional<Parsed>& parsed, const ExchangeDone& done, const Counter& counter) {
  if (parsed) postHandOff(parsed->displayTitle, parsed->entry);
  // Failures count like successes; the count is compared with the keys as they are now.
  if (++*counter == static_cast<std::int64_t>(state().pairs.size())) done(true);
}

namespace {

bool isAlphanumeric(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

}  // namespace

bool usableKey(std::string_view key) {
  constexpr std::size_t kLongestKey = 64;
  if (key.empty() || key.size() > kLongestKey || key == "." || key == "..") return false;
  return std::all_of(key.begin(), key.end(), [](char c) {
    return isAlphanumeric(c) || std::string_view("_-.:").find(c) != std::string_view::npos;
  });
}

std::string percentEncoded(std::string_view key) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : key) {
    if (isAlphanumeric(c) || std::string_view("-._~:").find(c) != std::string_view::npos) {
      out += c;
    } else {
      const auto byte = static_cast<unsigned char>(c);
      out += {'%', kHex[byte >> 4], kHex[byte & 0xF]};
    }
  }
  return out;
}

std::string valueText(const Json& value) { return value.stringValue(); }

std::string beforeFirstDot(const std::string& text) { return text.substr(0, text.find('.')); }

std::string upperCased(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
  return text;
}

namespace {

bool startsCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

// The byte offset where character number `index` starts (the end when there are fewer).
std::size_t offsetOf(std::string_view text, std::size_t index) {
  std::size_t seen = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!startsCharacter(text[i])) continue;
    if (seen++ == index) return i;
  }
  return text.size();
}

}  // namespace

std::size_t characterCount(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), startsCharacter));
}

std::string firstCharacters(std::string_view text, std::size_t count) {
  return std::string(text.substr(0, offsetOf(text, count)));
}

std::string lastCharacters(std::string_view text, std::size_t count) {
  const std::size_t total = characterCount(text);
  return std::string(text.substr(offsetOf(text, total > count ? total - count : 0)));
}

std::string charactersFrom(std::string_view text, std::size_t start) {
  return std::string(text.substr(offsetOf(text, start)));
}

std::string replacedAll(std::string text, char from, char to) {
  std::replace(text.begin(), text.end(), from, to);
  return text;
}

PairEntryRef makeEntry(const std::string& displayTitle, const std::string& price,
                       const std::vector<std::pair<const char*, std::string>>& lines) {
  auto entry = std::make_shared<PairEntry>(displayTitle, price);
  for (const auto& [label, value] : lines) entry->addLine(label + value);
  return entry;
}

PairEntryRef tickerEntry(const std::string& displayTitle, const Json& ticker, const PriceMembers& members) {
  const std::string last = valueText(ticker[members.last]);
  const std::string bid = valueText(ticker[members.bid]), ask = valueText(ticker[members.ask]);
  PairEntryRef entry = makeEntry(displayTitle, last,
                                 {{"Bid: ", bid},
                                  {"Ask: ", ask},
                                  {"Last: ", last},
                                  {"Low: ", valueText(ticker[members.low])},
                                  {"High: ", valueText(ticker[members.high])},
                                  {"Volume: ", valueText(ticker[members.volume])}});
  entry->setBidAndAsk(bid, ask);
  return entry;
}

std::string threeSlashThree(const std::string& key) {
  const std::string upper = upperCased(key);
  return firstCharacters(upper, 3) + "/" + lastCharacters(upper, 3);
}

}  // namespace pricora
