// Saves batches of pairs into a store until it is killed, and prints a line for every save that
// returned success: "<tag>-<batch> <id> <id> <id>". Each batch also marks the first pair of the
// batch before it as a favourite, so a save that is torn shows up as a mismatch. The crash test
// kills this program at random moments and checks that every printed save survived whole.
#include <cstdio>
#include <string>

#include "platform/store/SqlitePairStore.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s STORE TAG\n", argv[0]);
    return 2;
  }
  auto opened = pricora::SqlitePairStore::open(argv[1]);
  if (!opened) {
    std::fprintf(stderr, "%s %s\n", opened.error().description.c_str(), opened.error().userInfo.c_str());
    return 1;
  }
  pricora::PairStore& store = *opened.value();
  std::optional<pricora::StoredPair> previous;
  // Bounded, so a test that forgets to kill it still ends.
  for (int batch = 0; batch < 100000; ++batch) {
    const std::string tag = std::string(argv[2]) + "-" + std::to_string(batch);
    pricora::PairChanges changes;
    for (int k = 0; k < 3; ++k) changes.inserts.push_back({0, "crash", tag + "-" + std::to_string(k), false, false});
    if (previous) {
      previous->isFavourite = true;
      changes.updates.push_back(*previous);
    }
    auto saved = store.save(changes);
    if (!saved) {
      std::fprintf(stderr, "%s %s\n", saved.error().description.c_str(), saved.error().userInfo.c_str());
      return 1;
    }
    const std::vector<std::int64_t>& ids = saved.value();
    std::printf("%s %lld %lld %lld\n", tag.c_str(), static_cast<long long>(ids[0]), static_cast<long long>(ids[1]),
                static_cast<long long>(ids[2]));
    std::fflush(stdout);
    previous = changes.inserts[0];
    previous->id = ids[0];
  }
  return 0;
}
