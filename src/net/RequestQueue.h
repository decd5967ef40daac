#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/JsonFetch.h"

namespace pricora {

// The requests not yet sent, as plain records, and the decision which one goes next. Each
// origin may have a few requests in flight (more once it is known to multiplex) and all origins
// together a bounded number, so a batch of any size costs one record per request, not a
// transfer. Origins take turns, so one busy host cannot starve the others.
class RequestQueue {
 public:
  struct Request {
    std::string url;
    std::string origin;
    JsonCompletion completion;
    int filledDepth = Json::kMaxDepth;  // of the document the completion reads
  };

  struct Limits {
    std::size_t perOrigin = 6;
    std::size_t perMultiplexedOrigin = 50;
    std::size_t total = 64;
  };

  explicit RequestQueue(Limits limits) : limits_(limits) {}

  // Queues a request. When the same address is still waiting from earlier, the new request takes
  // its place in the line and the earlier one's completion is handed back for the caller to fail;
  // so repeating a batch never makes the backlog grow.
  JsonCompletion add(std::string url, std::string origin, JsonCompletion completion, int filledDepth = Json::kMaxDepth);

  // The next request allowed to go now, counted as in flight; none when every origin with
  // waiting requests is at its limit, or the total is.
  std::optional<Request> next();
  // A request of this origin is no longer in flight.
  void finished(const std::string& origin);
  // The origin answered over a multiplexed connection: it may carry more at once.
  void setMultiplexed(const std::string& origin);

  std::size_t waiting() const { return byUrl_.size(); }
  std::size_t inFlight() const { return inFlight_; }

 private:
  struct Origin {
    std::deque<Request> waiting;
    std::size_t inFlight = 0;
    bool multiplexed = false;
  };

  Limits limits_;
  std::unordered_map<std::string, Origin> origins_;
  std::vector<std::string> turns_;  // every origin seen, in the order they take turns
  std::size_t nextTurn_ = 0;
  // The waiting request of each address; deque elements stay put while others come and go.
  std::unordered_map<std::string_view, Request*> byUrl_;
  std::size_t inFlight_ = 0;
};

}  // namespace pricora
