#include "net/RequestQueue.h"

namespace pricora {

JsonCompletion RequestQueue::add(std::string url, std::string origin, JsonCompletion completion, int filledDepth) {
  if (const auto found = byUrl_.find(url); found != byUrl_.end()) {
    std::swap(found->second->completion, completion);
    found->second->filledDepth = filledDepth;
    return completion;
  }
  auto [entry, created] = origins_.try_emplace(origin);
  if (created) turns_.push_back(origin);
  Request& request = entry->second.waiting.emplace_back(
      Request{std::move(url), std::move(origin), std::move(completion), filledDepth});
  byUrl_.emplace(request.url, &request);
  return nullptr;
}

std::optional<RequestQueue::Request> RequestQueue::next() {
  if (inFlight_ >= limits_.total) return std::nullopt;
  for (std::size_t tried = 0; tried < turns_.size(); ++tried) {
    const std::size_t turn = (nextTurn_ + tried) % turns_.size();
    Origin& origin = origins_[turns_[turn]];
    const std::size_t limit = origin.multiplexed ? limits_.perMultiplexedOrigin : limits_.perOrigin;
    if (origin.waiting.empty() || origin.inFlight >= limit) continue;
    byUrl_.erase(origin.waiting.front().url);
    Request request = std::move(origin.waiting.front());
    origin.waiting.pop_front();
    ++origin.inFlight;
    ++inFlight_;
    nextTurn_ = turn + 1;
    return request;
  }
  return std::nullopt;
}

void RequestQueue::finished(const std::string& origin) {
  const auto found = origins_.find(origin);
  if (found == origins_.end() || found->second.inFlight == 0) return;
  --found->second.inFlight;
  --inFlight_;
}

void RequestQueue::setMultiplexed(const std::string& origin) { origins_[origin].multiplexed = true; }

}  // namespace pricora
