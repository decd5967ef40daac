#include "PriceModel.h"

#include <algorithm>
#include <cmath>

#include "Hashing.h"

namespace exsim {

std::uint64_t pairSeed(std::uint64_t seed, std::string_view exchange, std::string_view key) {
  return combine(hashText(exchange, seed), hashText(key));
}

Quote quoteAt(std::uint64_t pair, double reference, int places, std::uint64_t tick) {
  const std::int64_t scale = powerOfTen(places);
  // A floor of a few units keeps tiny prices (Poloniex's 0.00000044) moving without reaching 0.
  const std::int64_t centre = std::max<std::int64_t>(8, std::llround(reference * static_cast<double>(scale)));
  const std::int64_t swing = std::max<std::int64_t>(2, centre / 70);
  const std::uint64_t now = combine(pair, tick);

  // Successive ticks alternate in parity, so no refresh ever shows the previous price again.
  const std::int64_t step = static_cast<std::int64_t>(now % static_cast<std::uint64_t>(swing + 1)) - swing / 2;
  const std::int64_t last = centre + 2 * step + static_cast<std::int64_t>(tick % 2);

  const std::int64_t spread = std::max<std::int64_t>(1, centre / 4000);
  const std::int64_t range = 2 + static_cast<std::int64_t>(mix(pair) % static_cast<std::uint64_t>(centre / 60 + 1));
  const std::int64_t high = centre + swing + spread + range;
  const std::int64_t low = std::max<std::int64_t>(1, centre - swing - spread - range);
  const std::int64_t open =
      centre - swing + static_cast<std::int64_t>(mix(pair + 1) % static_cast<std::uint64_t>(2 * swing + 1));

  // Volumes differ by orders of magnitude between pairs, are larger for cheaper coins (millions
  // of a coin worth a few satoshis) and only grow during a run.
  const double cheapness = std::clamp(1 / reference, 1.0, 1e7);
  const double baseVolume =
      std::pow(10.0, 1 + static_cast<double>(mix(pair + 2) % 4)) * (1 + unitInterval(mix(pair + 3))) * cheapness;
  const Decimal volume = Decimal::fromDouble(baseVolume + static_cast<double>(tick) * 0.01 * unitInterval(now), 8);

  Quote quote;
  quote.last = {last, places};
  quote.bid = {std::max(low, last - spread), places};
  quote.ask = {last + spread, places};
  quote.high = {high, places};
  quote.low = {low, places};
  quote.open = {open, places};
  quote.average = {(high + low) / 2, places};
  quote.volume = volume;
  quote.quoteVolume = Decimal::fromDouble(volume.value() * quote.average.value(), 8);
  quote.trades = 100 + static_cast<std::int64_t>(mix(pair + 4) % 5000 + tick);
  quote.noise = mix(now);
  return quote;
}

}  // namespace exsim
