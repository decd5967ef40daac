#include "support/ScriptedFetch.h"

#include <algorithm>

namespace pricora::test {

void ScriptedFetch::get(const std::string& url, JsonCompletion completion) {
  requests_.push_back(url);
  pending_.push_back(Pending{url, std::move(completion)});
}

std::vector<std::string> ScriptedFetch::pendingUrls() const {
  std::vector<std::string> urls;
  for (const Pending& pending : pending_) urls.push_back(pending.url);
  return urls;
}

bool ScriptedFetch::deliver(const std::string& url, const JsonReply& reply) {
  auto it = std::find_if(pending_.begin(), pending_.end(), [&](const Pending& p) { return p.url == url; });
  if (it == pending_.end()) return false;
  JsonCompletion completion = std::move(it->completion);
  pending_.erase(it);
  completion(reply);
  return true;
}

bool ScriptedFetch::respond(const std::string& url, std::string_view body) { return deliver(url, Json::parse(body)); }

bool ScriptedFetch::fail(const std::string& url) { return deliver(url, std::nullopt); }

void ScriptedFetch::respondToAll(const std::function<std::optional<std::string>(const std::string& url)>& answer) {
  while (!pending_.empty()) {
    const std::string url = pending_.front().url;
    const std::optional<std::string> body = answer(url);
    deliver(url, body ? Json::parse(*body) : std::nullopt);
  }
}

}  // namespace pricora::test
