#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace exsim {

// A request target taken apart. Segments and query values are percent-decoded, since a client
// may escape what the exchanges' keys contain (':' and '/'); a trailing slash leaves an empty
// last segment, because Bitstamp's and CoinFloor's addresses require one.
struct Target {
  std::string raw;
  std::string path;
  std::vector<std::string> segments;  // "/api/v2/ticker/btcusd/" -> api, v2, ticker, btcusd, ""
  std::vector<std::pair<std::string, std::string>> query;

  static Target parse(std::string_view raw);
  std::optional<std::string> parameter(std::string_view name) const;
  // Whether the segments are exactly `pattern`, where "*" stands for any one segment.
  bool matches(std::initializer_list<std::string_view> pattern) const;
};

}  // namespace exsim
