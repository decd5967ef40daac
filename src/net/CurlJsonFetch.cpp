#include "net/CurlJsonFetch.h"

#include "net/HttpAddress.h"

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
// Bodies larger than this are parsed off the event loop.
constexpr std::size_t kBackgroundBytes = 256 * 1024;
// Large bodies handed to the parser and not yet back; sending pauses while this many are, so a
// parser that falls behind (a busy machine, a run of padded replies) holds a few bodies and their
// documents, never every one the network can deliver meanwhile.
constexpr std::size_t kMaxParsing = 4;

// The scheme and authority of an address as written, to queue it by; the address is parsed
// strictly only when it is sent, which keeps queueing a batch of thousands cheap.
std::string roughOrigin(std::string_view url) {
  const std::size_t start = url.find("://");
  if (start == std::string_view::npos) return {};
  return std::string(url.substr(0, url.find_first_of("/?#", start + 3)));
}

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
  // Easy handles go before the driver, whose end may be libcurl's global clean-up.
  inFlight_.clear();
  spare_.clear();
}

void CurlJsonFetch::get(const std::string& url, JsonCompletion completion) {
  getOutline(url, Json::kMaxDepth, std::move(completion));
}

void CurlJsonFetch::getOutline(const std::string& url, int filledDepth, JsonCompletion completion) {
  incoming_.push_back({url, {}, std::move(completion), filledDepth});
  if (!turn_.isActive()) turn_.start(0);
}

std::size_t CurlJsonFetch::pendingCount() const {
  return incoming_.size() + queue_.waiting() + inFlight_.size() + parser_.pending() + ready_.size();
}

void CurlJsonFetch::admit(Clock::time_point turnStart) {
  // Checking the clock every request would cost more than queueing one.
  constexpr std::size_t kBetweenClockChecks = 256;
  for (std::size_t count = 0; !incoming_.empty(); ++count) {
    if (count % kBetweenClockChecks == kBetweenClockChecks - 1 && Clock::now() - turnStart > kTurnBudget) break;
    RequestQueue::Request request = std::move(incoming_.front());
    incoming_.pop_front();
    std::string origin = roughOrigin(request.url);
    if (JsonCompletion earlier =
            queue_.add(std::move(request.url), std::move(origin), std::move(request.completion), request.filledDepth))
      complete(std::move(earlier), std::nullopt);
  }
}

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
  // Taken either way: a spare transfer must not hold on to a failed reply's bytes.
  std::string body = flight.transfer->takeBody();
  if (!answered) body = std::string();
  if (body.size() > kBackgroundBytes) {
    parser_.parse(std::move(body), flight.request.filledDepth,
                  [this, completion = std::move(flight.request.completion)](JsonReply document) mutable {
                    ready_.push_back({std::move(completion), std::nullopt, std::move(document)});
                    if (!turn_.isActive()) turn_.start(0);
                  });
  } else {
    complete(std::move(flight.request.completion), answered ? std::optional(std::move(body)) : std::nullopt,
             flight.request.filledDepth);
  }
  if (spare_.size() < kLimits.total) spare_.push_back(std::move(flight.transfer));
}

// A redirect that leaves the origin is refused, so a hostile server cannot point the program at
// another host; one without a location is an answer like any other status.
bool CurlJsonFetch::follow(InFlight& flight, const char* location) {
  const std::optional<HttpAddress> target = parseHttpAddress(location);
  const auto timeLeft =
      std::chrono::duration_cast<std::chrono::milliseconds>(options_.deadline - (Clock::now() - flight.sentAt));
  if (!target || target->origin != flight.origin || ++flight.redirects > kMaxRedirects || timeLeft <= 0ms) return false;
  flight.transfer->begin(target->url, timeLeft);
  return curl_multi_add_handle(driver_.handle(), flight.transfer->handle()) == CURLM_OK;
}

void CurlJsonFetch::send() {
  while (ready_.size() < kMaxReady && parser_.pending() < kMaxParsing) {
    std::optional<RequestQueue::Request> request = queue_.next();
    if (!request) return;
    std::optional<HttpAddress> address = parseHttpAddress(request->url);
    if (!address) {
      queue_.finished(request->origin);
      complete(std::move(request->completion), std::nullopt);
      continue;
    }
    std::unique_ptr<CurlTransfer> transfer;
    if (spare_.empty()) {
      transfer = std::make_unique<CurlTransfer>(options_);
    } else {
      transfer = std::move(spare_.back());
      spare_.pop_back();
    }
    transfer->begin(address->url, options_.deadline);
    CURL* easy = transfer->handle();
    if (curl_multi_add_handle(driver_.handle(), easy) != CURLM_OK) {
      queue_.finished(request->origin);
      complete(std::move(request->completion), std::nullopt);
      continue;
    }
    inFlight_.emplace(easy,
                      InFlight{std::move(transfer), std::move(*request), std::move(address->origin), Clock::now()});
  }
}

void CurlJsonFetch::complete(JsonCompletion completion, std::optional<std::string> body, int filledDepth) {
  ready_.push_back({std::move(completion), std::move(body), std::nullopt, filledDepth});
  if (!turn_.isActive()) turn_.start(0);
}

void CurlJsonFetch::deliver() {
  const Clock::time_point start = Clock::now();
  admit(start);
  send();
  const std::weak_ptr<char> alive = alive_;
  for (std::size_t count = 0; count < kCompletionsPerTurn && !ready_.empty(); ++count) {
    Ready item = std::move(ready_.front());
    ready_.pop_front();
    const bool large = item.document.has_value();
    JsonReply reply = std::move(item.document);
    if (item.body) reply = Json::parse(*item.body, item.filledDepth);
    item.body.reset();
    if (item.completion) item.completion(reply);
    // A completion may have destroyed the fetch; nothing of it may be touched then.
    if (alive.expired()) return;
    if (large) parser_.dispose(std::move(reply));
    if (Clock::now() - start > kTurnBudget) break;
  }
  send();
  if ((!ready_.empty() || !incoming_.empty()) && !turn_.isActive()) turn_.start(0);
}

}  // namespace pricora
