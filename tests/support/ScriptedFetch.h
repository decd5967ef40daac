#pragma once

#include <algorithm>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/JsonFetch.h"

namespace pricora::test {

// A JsonFetch whose replies the test gives, request by request. A reply is JSON text (text that
// does not parse arrives as none, as it would from the network) or a failure.
class ScriptedFetch final : public JsonFetch {
 public:
  void get(const std::string& url, JsonCompletion completion) override {
    getOutline(url, Json::kMaxDepth, std::move(completion));
  }
  void getOutline(const std::string& url, int filledDepth, JsonCompletion completion) override {
    requests_.push_back(url);
    pending_.push_back({url, std::move(completion), filledDepth});
  }

  // Every address asked for so far, in order, and those not answered yet.
  const std::vector<std::string>& requests() const { return requests_; }
  std::vector<std::string> pendingUrls() const {
    std::vector<std::string> urls;
    for (const Pending& pending : pending_) urls.push_back(pending.url);
    return urls;
  }
  std::size_t pendingCount() const { return pending_.size(); }

  // Answers the oldest pending request for url (none: it fails); false when there is none.
  bool respond(const std::string& url, std::optional<std::string_view> body) {
    auto it =
        std::find_if(pending_.begin(), pending_.end(), [&](const Pending& pending) { return pending.url == url; });
    if (it == pending_.end()) return false;
    const Pending answered = std::move(*it);
    pending_.erase(it);
    answered.completion(body ? Json::parse(*body, answered.filledDepth) : std::nullopt);
    return true;
  }
  bool fail(const std::string& url) { return respond(url, std::nullopt); }
  // Answers every pending request (and those the answers cause) with answer(url).
  template <typename Answer>
  void respondToAll(const Answer& answer) {
    while (!pending_.empty()) {
      const std::string url = pending_.front().url;
      const std::optional<std::string> body = answer(url);
      respond(url, body ? std::optional<std::string_view>(*body) : std::nullopt);
    }
  }

 private:
  struct Pending {
    std::string url;
    JsonCompletion completion;
    int filledDepth;
  };
  std::vector<std::string> requests_;
  std::deque<Pending> pending_;
};

}  // namespace pricora::test
