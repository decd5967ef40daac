#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace exsim {

// The nine sites served, one port each, in the order of --base-port: OKCoin's yuan site is a
// separate host in the program's settings, so it is a separate listener here.
inline constexpr std::array<std::string_view, 9> kExchangeNames = {
    "Wex", "Bitfinex", "Kraken", "Bitstamp", "OKCoin", "OKCoinCNY", "Poloniex", "CoinFloor", "GDAX"};

// One injected failure, matched against requests to one exchange.
//   kind: "delay" (answer normally after `parameter` ms), "reset" (abort the connection with RST),
//         "http500", "nonjson", "ratelimit" (the exchange's own throttle reply), "error" (its
//         error object for the request), "hang" (never answer), "big" (the usual reply padded to
//         at least `parameter` bytes).
//   targetGlob: fnmatch pattern on the request target, path plus query; "*" matches everything.
//   count: how many more matching requests it applies to; negative means without end.
struct Fault {
  std::string exchange;
  std::string targetGlob;
  std::string kind;
  long parameter = 0;
  int count = -1;
};

struct Options {
  // "real": the recorded pair sets; "large": several hundred pairs each; "heavy": large, with a
  // Kraken listing of 20,000 pairs
  std::string scale = "real";
  std::uint64_t seed = 1;  // prices are a function of the seed, exchange, pair and tick only
  int basePort = 0;        // 0: ephemeral ports; otherwise basePort + index in kExchangeNames
  std::vector<Fault> faults;
  bool logRequests = false;  // one line per request on standard error
};

// Loopback stand-ins for the exchanges' public market data, served by a background thread on
// 127.0.0.1. Every member may be called from any thread. Invalid options, exchange names and
// fault kinds throw std::invalid_argument.
class Simulator {
 public:
  explicit Simulator(Options options = {});
  ~Simulator();  // stops and joins
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;

  // Binds all nine ports, then serves until stop(). Throws std::runtime_error naming the port
  // when one cannot be bound, with none of them left open, and std::logic_error when already
  // running. Restarting after stop() is allowed; ephemeral ports then change, ticks carry on.
  void start();
  // Closes every listener and connection, hung and delayed ones included. Idempotent.
  void stop();

  // "http://127.0.0.1:PORT" of a running simulator; throws std::logic_error when not started.
  std::string baseAddress(std::string_view exchange) const;
  // The program's settings file (QSettings INI, keys api/Wex ... api/OKCoinCNY) pointing every
  // exchange here; throws std::logic_error when not started.
  std::string settingsText() const;

  void addFault(Fault fault);
  void clearFaults(std::string_view exchange = {});  // all exchanges when empty

  // Serves this reply for exactly this target (path plus query) instead of the generated one,
  // replacing any earlier one for that target. Faults still take precedence.
  void setReply(std::string_view exchange, std::string target, int status, std::string body,
                std::string contentType = "application/json");
  void clearReplies();

  // Targets received so far, in arrival order, whatever was answered.
  std::vector<std::string> requests(std::string_view exchange) const;
  void clearRequests();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace exsim
