#include "qt/CurlJsonFetch.h"

#include "qt/HttpAddress.h"

namespace pricora {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr RequestQueue::Limits kLimits{};
constexpr int kMaxRedirects = 10;
// Finished replies waiting for their completions; sending pauses while this many wait, so
// bodies cannot pile up faster than the program reads them.
constexpr std::size_t kMaxReady = 256;
// What one event-loop turn may spend on completions before letting everything else run.
constexpr std::size_t kCompletionsPerTurn = 128;
constexpr auto kTurnBudget = 20ms;

}  // namespace

CurlJsonFetch::CurlJsonFetch(Options options)
    : options_(std::move(options)), queue_(kLimits), driver_([this] { afterStep(); }) {
  CURLM* multi = driver_.handle();
  curl_multi_setopt(multi, CURLMOPT_PIPELINING, CURLPIPE_MULTIPLEX);
  curl_multi_setopt(multi, CURLMOPT_MAX_HOST_CONNECTIONS, static_cast<long>(kLimits.perOrigin));
  curl_multi_setopt(multi, CURLMOPT_MAX_TOTAL_CONNECTIONS, static_cast<long>(kLimits.total));
  curl_multi_setopt(multi, CURLMOPT_MAXCONNECTS, static_cast<long>(kLimits.total));
  curl_multi_setopt(multi, CURLMOPT_MAX_CONCURRENT_STREAMS, static_cast<long>(kLimits.perMultiplexedOrigin));
  turn_.setSingleShot(true);
  connect(&turn_, &QTimer::timeout, this, [this] { deliver(); });
}

CurlJsonFetch::~CurlJsonFetch() {
  alive_.reset();
  turn_.stop();
  for (auto& [easy, flight] : inFlight_) curl_multi_remove_handle(driver_.handle(), easy);
}

void CurlJsonFetch::get(const std::string& url, JsonCompletion completion) {
  std::optional<HttpAddress> address = parseHttpAddress(url);
  if (!address) return complete(std::move(completion), std::nullopt);
  if (JsonCompletion earlier = queue_.add(std::move(address->url), std::move(address->origin), std::move(completion)))
    complete(std::move(earlier), std::nullopt);
  if (!turn_.isActive()) turn_.start(0);
}

std::size_t CurlJsonFetch::pendingCount() const { return queue_.waiting() + inFlight_.size() + ready_.size(); }

void CurlJsonFetch::afterStep() {
  int left = 0;
  while (CURLMsg* message = curl_multi_info_read(driver_.handle(), &left)) {
    if (message->msg != CURLMSG_DONE) continue;
    // Copied: the message does not survive removing its handle.
    CURL* easy = message->easy_handle;
    const CURLcode result = message->data.result;
    finish(easy, result);
  }
  send();
}

void CurlJsonFetch::finish(CURL* easy, CURLcode result) {
  auto node = inFlight_.extract(easy);
  if (node.empty()) return;
  InFlight& flight = node.mapped();
  curl_multi_remove_handle(driver_.handle(), easy);
  long version = 0;
  if (curl_easy_getinfo(easy, CURLINFO_HTTP_VERSION, &version) == CURLE_OK && version == CURL_HTTP_VERSION_2_0)
    queue_.setMultiplexed(flight.request.origin);
  long status = 0;
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
  bool answered = result == CURLE_OK && status != 0;
  char* location = nullptr;
  if (answered && status >= 300 && status < 400 &&
      curl_easy_getinfo(easy, CURLINFO_REDIRECT_URL, &location) == CURLE_OK && location != nullptr) {
    if (follow(flight, location)) {
      inFlight_.insert(std::move(node));
      return;
    }
    answered = false;
  }
  queue_.finished(flight.request.origin);
  complete(std::move(flight.request.completion), answered ? std::optional(flight.transfer->takeBody()) : std::nullopt);
  if (spare_.size() < kLimits.total) spare_.push_back(std::move(flight.transfer));
}

// A redirect that leaves the origin is refused, so a hostile server cannot point the program at
// another host; one without a location is an answer like any other status.
bool CurlJsonFetch::follow(InFlight& flight, const char* location) {
  const std::optional<HttpAddress> target = parseHttpAddress(location);
  const auto timeLeft =
      std::chrono::duration_cast<std::chrono::milliseconds>(options_.deadline - (Clock::now() - flight.sentAt));
  if (!target || target->origin != flight.request.origin || ++flight.redirects > kMaxRedirects || timeLeft <= 0ms)
    return false;
  flight.transfer->begin(target->url, timeLeft);
  return curl_multi_add_handle(driver_.handle(), flight.transfer->handle()) == CURLM_OK;
}

void CurlJsonFetch::send() {
  while (ready_.size() < kMaxReady) {
    std::optional<RequestQueue::Request> request = queue_.next();
    if (!request) return;
    std::unique_ptr<CurlTransfer> transfer;
    if (spare_.empty()) {
      transfer = std::make_unique<CurlTransfer>(options_);
    } else {
      transfer = std::move(spare_.back());
      spare_.pop_back();
    }
    transfer->begin(request->url, options_.deadline);
    CURL* easy = transfer->handle();
    if (curl_multi_add_handle(driver_.handle(), easy) != CURLM_OK) {
      queue_.finished(request->origin);
      complete(std::move(request->completion), std::nullopt);
      continue;
    }
    inFlight_.emplace(easy, InFlight{std::move(transfer), std::move(*request), Clock::now()});
  }
}

void CurlJsonFetch::complete(JsonCompletion completion, std::optional<std::string> body) {
  ready_.push_back({std::move(completion), std::move(body)});
  if (!turn_.isActive()) turn_.start(0);
}

void CurlJsonFetch::deliver() {
  send();
  const Clock::time_point start = Clock::now();
  const std::weak_ptr<char> alive = alive_;
  for (std::size_t count = 0; count < kCompletionsPerTurn && !ready_.empty(); ++count) {
    Ready item = std::move(ready_.front());
    ready_.pop_front();
    JsonReply reply;
    if (item.body) reply = Json::parse(*item.body);
    item.body.reset();
    if (item.completion) item.completion(reply);
    // A completion may have destroyed the fetch; nothing of it may be touched then.
    if (alive.expired()) return;
    if (Clock::now() - start > kTurnBudget) break;
  }
  send();
  if (!ready_.empty() && !turn_.isActive()) turn_.start(0);
}

}  // namespace pricora
