#include "CommandLine.h"

#include <charconv>
#include <optional>
#include <stdexcept>
#include <string>

#include "Faults.h"

namespace exsim {

namespace {

template <typename Number>
Number numberOption(std::string_view name, std::string_view text) {
  Number value{};
  const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || failure != std::errc() || end != text.data() + text.size())
    throw std::invalid_argument("option " + std::string(name) + " needs a number, not \"" + std::string(text) + "\"");
  return value;
}

}  // namespace

std::string_view usage() {
  return "usage: exchange-sim [--scale real|large|heavy] [--seed N] [--base-port P]\n"
         "                    [--fault EXCHANGE:GLOB:KIND[=PARAM][xCOUNT]]... [--log] [--control]\n"
         "\n"
         "Serves the exchanges' public market data on 127.0.0.1, one port per exchange, prints the\n"
         "settings that point Pricora at it, then \"# ready\", and runs until SIGINT or SIGTERM.\n"
         "\n"
         "  --scale       real: the recorded pairs (default); large: several hundred per exchange;\n"
         "                heavy: large, with 20,000 Kraken pairs\n"
         "  --seed        prices depend on the seed, the exchange, the pair and its tick only\n"
         "  --base-port   ports P, P+1, ... for Wex Bitfinex Kraken Bitstamp OKCoin OKCoinCNY\n"
         "                Poloniex CoinFloor GDAX; free ports by default\n"
         "  --fault       KIND is delay=MS, reset, http500, nonjson, ratelimit, error, hang or\n"
         "                big=BYTES; GLOB matches path and query; xCOUNT limits it to COUNT requests\n"
         "  --log         one line per request on standard error\n"
         "  --control     read commands from standard input, one per line, answering ok or error:\n"
         "                  fault EXCHANGE GLOB KIND[=PARAM] [COUNT]\n"
         "                  clear [EXCHANGE]\n"
         "                  reply EXCHANGE TARGET STATUS BODY\n"
         "                  quit              (so does the end of input)\n";
}

CommandLine parseCommandLine(const std::vector<std::string_view>& arguments) {
  CommandLine result;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string_view name = arguments[i];
    std::optional<std::string_view> inlineValue;
    if (const std::size_t equals = name.find('='); name.starts_with("--") && equals != std::string_view::npos) {
      inlineValue = name.substr(equals + 1);
      name = name.substr(0, equals);
    }
    auto value = [&]() -> std::string_view {
      if (inlineValue) return *inlineValue;
      if (i + 1 == arguments.size()) throw std::invalid_argument("option " + std::string(name) + " needs a value");
      return arguments[++i];
    };
    auto flag = [&] {
      if (inlineValue) throw std::invalid_argument("option " + std::string(name) + " takes no value");
    };
    if (name == "--scale") {
      result.options.scale = value();
      if (result.options.scale != "real" && result.options.scale != "large" && result.options.scale != "heavy")
        throw std::invalid_argument("--scale is real, large or heavy, not \"" + result.options.scale + "\"");
    } else if (name == "--seed") {
      result.options.seed = numberOption<std::uint64_t>(name, value());
    } else if (name == "--base-port") {
      result.options.basePort = numberOption<int>(name, value());
      if (result.options.basePort < 1 || result.options.basePort > 65535 - 8)
        throw std::invalid_argument("--base-port must be between 1 and 65527");
    } else if (name == "--fault") {
      result.options.faults.push_back(parseFault(value()));
    } else if (name == "--log") {
      flag();
      result.options.logRequests = true;
    } else if (name == "--control") {
      flag();
      result.control = true;
    } else if (name == "--help" || name == "-h") {
      result.help = true;
    } else {
      throw std::invalid_argument("unknown option \"" + std::string(arguments[i]) + "\"");
    }
  }
  return result;
}

}  // namespace exsim
