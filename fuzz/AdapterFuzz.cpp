// One exchange adapter through a whole refresh on arbitrary replies. The first byte picks the
// exchange; the rest is split at NUL bytes into replies: the first request gets the first
// reply (a listing, where the exchange has one), the later requests the others in turn. A
// reply that is not JSON arrives as a failed request; a listing is read only as deep as asked. Every parsed pair is
// then formatted the way its price item would be.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchanges/Adapters.h"
#include "core/menu/PriceFormat.h"
#include "support/ManualMainQueue.h"

namespace {

using namespace pricora;

struct DefaultSettings final : Settings {
  std::optional<std::string> stringForKey(const std::string&) const override { return std::nullopt; }
  bool boolForKey(const std::string&) const override { return false; }
  void setBool(const std::string&, bool) override {}
};

// Holds requests until answerAll() gives each its reply, like a network would: never inside get().
class RepliesFetch final : public JsonFetch {
 public:
  explicit RepliesFetch(std::vector<std::string_view> replies) : replies_(std::move(replies)) {}
  void get(const std::string& url, JsonCompletion completion) override {
    getOutline(url, Json::kMaxDepth, std::move(completion));
  }
  void getOutline(const std::string&, int filledDepth, JsonCompletion completion) override {
    pending_.push_back({std::move(completion), filledDepth});
  }

  void answerAll(test::ManualMainQueue& queue) {
    for (std::size_t answered = 0; !pending_.empty(); ++answered) {
      const auto [completion, filledDepth] = std::move(pending_.front());
      pending_.pop_front();
      const std::size_t later = replies_.size() - 1;
      const std::size_t reply = answered == 0 || later == 0 ? 0 : 1 + (answered - 1) % later;
      auto [parsed, first] = parsed_.try_emplace({reply, filledDepth});
      if (first) parsed->second = Json::parse(replies_[reply], filledDepth);
      completion(parsed->second);
      queue.runUntilIdle();
    }
  }

 private:
  std::vector<std::string_view> replies_;
  std::map<std::pair<std::size_t, int>, JsonReply> parsed_;  // each reply as read at each depth
  std::deque<std::pair<JsonCompletion, int>> pending_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const ScientificFormatter formatter;
  const Exchange exchange = kAllExchanges[data[0] % kExchangeCount];
  std::vector<std::string_view> replies;
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  for (std::size_t end; (end = rest.find('\0')) != std::string_view::npos; rest.remove_prefix(end + 1))
    replies.push_back(rest.substr(0, end));
  replies.push_back(rest);

  test::ManualMainQueue queue;
  RepliesFetch fetch(std::move(replies));
  ExchangeTable exchanges;
  const DefaultSettings settings;
  const Endpoints endpoints(settings);
  bool bitfinexActive = true;
  std::vector<PairEntryRef> entries;
  AdapterContext context{fetch,
                         queue,
                         exchanges,
                         endpoints,
                         [&](Exchange, const std::string& title, const PairEntryRef& entry) {
                           (void)menuBarPriceText(title, entry->headline(), formatter);
                           entries.push_back(entry);
                         },
                         bitfinexActive};
  auto adapters = makeAdapters(context);
  int dones = 0;
  adapters[indexOf(exchange)]->start([&](bool) { ++dones; });
  fetch.answerAll(queue);
  if (dones != 1) std::abort();  // a refresh that never completes, or completes twice
  for (const PairEntryRef& entry : entries) (void)entry->lines();
  return 0;
}
