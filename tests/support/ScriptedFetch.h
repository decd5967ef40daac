#pragma once

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
  void get(const std::string& url, JsonCompletion completion) override;

  // Every address asked for so far, in order.
  const std::vector<std::string>& requests() const { return requests_; }
  std::vector<std::string> pendingUrls() const;
  std::size_t pendingCount() const { return pending_.size(); }

  // Answers the oldest pending request for url; false when there is none.
  bool respond(const std::string& url, std::string_view body);
  bool fail(const std::string& url);
  // Answers every pending request (and those the answers cause) with answer(url); none fails it.
  void respondToAll(const std::function<std::optional<std::string>(const std::string& url)>& answer);

 private:
  struct Pending {
    std::string url;
    JsonCompletion completion;
  };
  bool deliver(const std::string& url, const JsonReply& reply);

  std::vector<std::string> requests_;
  std::deque<Pending> pending_;
};

}  // namespace pricora::test
