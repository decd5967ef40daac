#include "exchange-sim/Simulator.h"

#include <array>
#include <cstdio>
#include <map>
#include <mutex>
#include <stdexcept>

#include "FaultReplies.h"
#include "Faults.h"
#include "HttpServer.h"
#include "Sites.h"
#include "Venue.h"

namespace exsim {

namespace {

// The order of the program's settings file: its eight exchanges, then OKCoin's yuan site.
constexpr std::array<Site, kSiteCount> kSettingsOrder = {Site::Wex,       Site::Bitfinex, Site::Kraken,
                                                         Site::Bitstamp,  Site::OKCoin,   Site::Poloniex,
                                                         Site::CoinFloor, Site::GDAX,     Site::OKCoinCNY};

std::array<std::unique_ptr<Venue>, kSiteCount> makeVenues(const VenueContext& context) {
  std::array<std::unique_ptr<Venue>, kSiteCount> venues;
  venues[indexOf(Site::Wex)] = makeWex(context);
  venues[indexOf(Site::Bitfinex)] = makeBitfinex(context);
  venues[indexOf(Site::Kraken)] = makeKraken(context);
  venues[indexOf(Site::Bitstamp)] = makeBitstamp(context);
  venues[indexOf(Site::OKCoin)] = makeOKCoin(context, false);
  venues[indexOf(Site::OKCoinCNY)] = makeOKCoin(context, true);
  venues[indexOf(Site::Poloniex)] = makePoloniex(context);
  venues[indexOf(Site::CoinFloor)] = makeCoinFloor(context);
  venues[indexOf(Site::GDAX)] = makeGdax(context);
  return venues;
}

const Options& checked(const Options& options) {
  if (options.scale != "real" && options.scale != "large" && options.scale != "heavy")
    throw std::invalid_argument("unknown scale \"" + options.scale + "\" (known: real, large, heavy)");
  if (options.basePort < 0 || options.basePort > 65535 - static_cast<int>(kSiteCount) + 1)
    throw std::invalid_argument("base port " + std::to_string(options.basePort) + " out of range");
  for (const Fault& fault : options.faults) checkFault(fault);
  return options;
}

}  // namespace

struct Simulator::State {
  explicit State(const Options& given)
      : options(checked(given)),
        venues(makeVenues({given.seed, given.scale != "real", given.scale == "heavy", valuation})) {
    for (const Fault& fault : given.faults) faults.add(fault);
  }

  Outcome handle(Site site, std::string_view method, const std::string& target);
  void log(Site site, std::string_view method, const std::string& target, const Outcome& outcome) const;

  const Options options;
  const Valuation valuation;
  // Only the server thread uses the venues.
  const std::array<std::unique_ptr<Venue>, kSiteCount> venues;

  mutable std::mutex mutex;  // guards everything below
  FaultList faults;
  std::map<std::pair<Site, std::string>, Reply> scripted;
  std::array<std::vector<std::string>, kSiteCount> received;
  std::unique_ptr<HttpServer> server;
};

Outcome Simulator::State::handle(Site site, std::string_view method, const std::string& target) {
  std::optional<Fault> fault;
  std::optional<Reply> script;
  {
    const std::lock_guard lock(mutex);
    received[indexOf(site)].push_back(target);
    fault = faults.take(nameOf(site), target);
    if (const auto found = scripted.find({site, target}); found != scripted.end()) script = found->second;
  }
  Venue& venue = *venues[indexOf(site)];
  const Target parsed = Target::parse(target);
  const std::string_view kind = fault ? std::string_view(fault->kind) : std::string_view();

  Outcome outcome;
  if (kind == "reset") {
    outcome.action = Outcome::Action::Reset;
  } else if (kind == "hang") {
    outcome.action = Outcome::Action::Hang;
  } else if (kind == "http500") {
    outcome.reply = serverErrorPage();
  } else if (kind == "nonjson") {
    outcome.reply = maintenancePage();
  } else if (kind == "ratelimit") {
    outcome.reply = venue.rateLimited();
  } else if (kind == "error") {
    outcome.reply = venue.error(parsed);
  } else {
    if (method != "GET")
      outcome.reply = {405, R"({"error":"Method not allowed"})"};
    else
      outcome.reply = script ? *script : venue.answer(parsed);
    if (kind == "delay") outcome.delay = std::chrono::milliseconds(fault->parameter);
    if (kind == "big") padTo(outcome.reply, static_cast<std::size_t>(fault->parameter));
  }
  if (options.logRequests) log(site, method, target, outcome);
  return outcome;
}

void Simulator::State::log(Site site, std::string_view method, const std::string& target,
                           const Outcome& outcome) const {
  std::string line = std::string(nameOf(site)) + " " + std::string(method) + " " + target + " -> ";
  if (outcome.action == Outcome::Action::Reset)
    line += "reset";
  else if (outcome.action == Outcome::Action::Hang)
    line += "hang";
  else
    line += std::to_string(outcome.reply.status) + " " + std::to_string(outcome.reply.body.size()) + " bytes";
  if (outcome.delay.count() > 0) line += " after " + std::to_string(outcome.delay.count()) + " ms";
  line += '\n';
  // One write per line keeps lines whole when other threads write too.
  std::fwrite(line.data(), 1, line.size(), stderr);
}

Simulator::Simulator(Options options) : state_(std::make_unique<State>(options)) {}

Simulator::~Simulator() { stop(); }

void Simulator::start() {
  const std::lock_guard lock(state_->mutex);
  if (state_->server) throw std::logic_error("the simulator is already running");
  std::vector<HttpServer::Listener> listeners;
  for (std::size_t i = 0; i < kSiteCount; ++i)
    listeners.push_back({std::string(kExchangeNames[i]),
                         state_->options.basePort == 0 ? 0 : state_->options.basePort + static_cast<int>(i)});
  State* state = state_.get();
  state_->server = std::make_unique<HttpServer>(
      listeners, [state](std::size_t listener, std::string_view method, const std::string& target) {
        return state->handle(static_cast<Site>(listener), method, target);
      });
}

void Simulator::stop() {
  std::unique_ptr<HttpServer> server;
  {
    const std::lock_guard lock(state_->mutex);
    server = std::move(state_->server);
  }
  // Joined outside the lock: the server thread may be waiting for it.
  server.reset();
}

std::string Simulator::baseAddress(std::string_view exchange) const {
  const Site site = siteNamed(exchange);
  const std::lock_guard lock(state_->mutex);
  if (!state_->server) throw std::logic_error("the simulator is not running");
  return "http://127.0.0.1:" + std::to_string(state_->server->ports()[indexOf(site)]);
}

std::string Simulator::settingsText() const {
  std::string text = "[api]\n";
  for (Site site : kSettingsOrder) text += std::string(nameOf(site)) + "=" + baseAddress(nameOf(site)) + "\n";
  return text;
}

void Simulator::addFault(Fault fault) {
  checkFault(fault);
  const std::lock_guard lock(state_->mutex);
  state_->faults.add(std::move(fault));
}

void Simulator::clearFaults(std::string_view exchange) {
  if (!exchange.empty()) siteNamed(exchange);
  const std::lock_guard lock(state_->mutex);
  state_->faults.clear(exchange);
}

void Simulator::setReply(std::string_view exchange, std::string target, int status, std::string body,
                         std::string contentType) {
  const Site site = siteNamed(exchange);
  if (status < 100 || status > 999) throw std::invalid_argument("bad HTTP status " + std::to_string(status));
  const std::lock_guard lock(state_->mutex);
  state_->scripted[{site, std::move(target)}] = Reply{status, std::move(body), std::move(contentType)};
}

void Simulator::clearReplies() {
  const std::lock_guard lock(state_->mutex);
  state_->scripted.clear();
}

std::vector<std::string> Simulator::requests(std::string_view exchange) const {
  const Site site = siteNamed(exchange);
  const std::lock_guard lock(state_->mutex);
  return state_->received[indexOf(site)];
}

void Simulator::clearRequests() {
  const std::lock_guard lock(state_->mutex);
  for (auto& targets : state_->received) targets.clear();
}

}  // namespace exsim
