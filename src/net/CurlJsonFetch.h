#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "net/BackgroundParser.h"
#include "net/CurlMultiDriver.h"
#include "net/CurlTransfer.h"
#include "net/RequestQueue.h"
#include "platform/JsonFetch.h"

namespace pricora {

// JsonFetch over libcurl's multi interface on the Qt event loop. Connections are kept per
// origin, at most six each on HTTP/1.1; an https origin that offers HTTP/2 carries many requests
// over one. Requests beyond what the connections can carry wait as plain records, so a batch of
// any size costs little until it is sent, and the idle time-out and deadline only start then.
// A reply with an HTTP status is an answer whatever the status; transport failures, addresses
// that are not http or https, bodies over the cap, cross-origin redirects and time-outs are not.
class CurlJsonFetch final : public QObject, public JsonFetch {
 public:
  using Options = TransferOptions;

  explicit CurlJsonFetch(Options options = {});
  // Abandons every request; no completion is called after this.
  ~CurlJsonFetch() override;

  void get(const std::string& url, JsonCompletion completion) override;
  void getOutline(const std::string& url, int filledDepth, JsonCompletion completion) override;

  // Requests not yet completed: waiting, in flight or about to be delivered. For tests.
  std::size_t pendingCount() const;

 private:
  struct InFlight {
    std::unique_ptr<CurlTransfer> transfer;
    RequestQueue::Request request;
    std::string origin;  // as the address parser sees it, for redirects
    std::chrono::steady_clock::time_point sentAt;
    int redirects = 0;
  };
  // A finished request whose completion has not run yet: its body to parse, or the document
  // parsed in the background, or neither when it failed.
  struct Ready {
    JsonCompletion completion;
    std::optional<std::string> body;
    JsonReply document;
    int filledDepth = Json::kMaxDepth;
  };

  void admit(std::chrono::steady_clock::time_point turnStart);
  void afterStep();
  void finish(CURL* easy, CURLcode result);
  bool follow(InFlight& flight, const char* location);
  void send();
  void complete(JsonCompletion completion, std::optional<std::string> body, int filledDepth = Json::kMaxDepth);
  void deliver();

  Options options_;
  // Asked for and not yet queued: get() only appends here, so a batch of thousands costs its
  // caller one move each, and queueing (with its look-up of waiting addresses) runs in turns.
  std::deque<RequestQueue::Request> incoming_;
  RequestQueue queue_;
  std::deque<Ready> ready_;
  std::unordered_map<CURL*, InFlight> inFlight_;
  std::vector<std::unique_ptr<CurlTransfer>> spare_;
  BackgroundParser parser_;
  QTimer turn_;  // delivers completions and sends what waits, a bounded share per event-loop turn
  std::shared_ptr<char> alive_ = std::make_shared<char>();
  CurlMultiDriver driver_;  // last: it goes first, while the transfers it may still report exist
};

}  // namespace pricora
