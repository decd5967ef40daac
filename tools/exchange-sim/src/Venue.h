#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "Reply.h"
#include "Target.h"
#include "Valuation.h"

namespace exsim {

struct VenueContext {
  std::uint64_t seed = 1;
  bool large = false;
  bool heavy = false;  // large, and Kraken lists 20,000 pairs
  const Valuation& valuation;
};

// One exchange's public market data. Used by the server thread only, so venues keep their
// per-pair tick counts unguarded.
class Venue {
 public:
  virtual ~Venue() = default;
  // The generated reply to a GET, error replies for unknown pairs and paths included.
  virtual Reply answer(const Target& target) = 0;
  // The exchange's error object for this request, as for an unknown pair.
  virtual Reply error(const Target& target) const = 0;
  // The exchange's own throttle reply.
  virtual Reply rateLimited() const = 0;

 protected:
  // How many times this key's ticker was served before this one; 0 the first time.
  std::uint64_t nextTick(const std::string& key) { return ticks_[key]++; }

 private:
  std::map<std::string, std::uint64_t, std::less<>> ticks_;
};

std::unique_ptr<Venue> makeWex(const VenueContext& context);
std::unique_ptr<Venue> makeBitfinex(const VenueContext& context);
std::unique_ptr<Venue> makeKraken(const VenueContext& context);
std::unique_ptr<Venue> makeBitstamp(const VenueContext& context);
// OKCoin's international (dollar) and Chinese (yuan) sites differ only in their pairs.
std::unique_ptr<Venue> makeOKCoin(const VenueContext& context, bool yuanSite);
std::unique_ptr<Venue> makePoloniex(const VenueContext& context);
std::unique_ptr<Venue> makeCoinFloor(const VenueContext& context);
std::unique_ptr<Venue> makeGdax(const VenueContext& context);

}  // namespace exsim
