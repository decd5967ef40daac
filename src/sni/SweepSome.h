#pragma once

#include <iterator>

namespace pricora {

// Looks at count entries of an ordered map, going on from from (where the last look stopped; the
// key type's default for the front) and round to the front at the end, and erases those that
// gone(value) says are gone. A large map of which many entries die at once, as a refresh replaces
// every pair's item, is swept a few entries at a time as it grows, never in one long pass.
template <typename Map, typename Gone>
void sweepSome(Map& map, typename Map::key_type& from, int count, Gone&& gone) {
  auto it = map.lower_bound(from);
  for (int looked = 0; looked < count && !map.empty(); ++looked) {
    if (it == map.end()) it = map.begin();
    it = gone(it->second) ? map.erase(it) : std::next(it);
  }
  from = it == map.end() ? typename Map::key_type{} : it->first;
}

}  // namespace pricora
