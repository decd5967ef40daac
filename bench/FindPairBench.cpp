// findPair runs once per ticker of every refresh, thousands of times a minute. It answers from
// an index; this measures it against the walk over the title-ordered records it replaces, on
// 10,000 records with duplicate titles, and checks that both give the very same record.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <random>

#include "core/store/PairList.h"
#include "support/MemoryPairStore.h"

namespace pricora {
namespace {

constexpr int kRecords = 10'000;
const char* const kExchanges[] = {"Wex", "Bitfinex", "Kraken", "Bitstamp", "OKCoin", "Poloniex", "CoinFloor", "GDAX"};

struct Fixture {
  Fixture() {
    std::mt19937 random(42);
    std::vector<StoredPair> stored;
    for (int i = 0; i < kRecords; ++i) {
      // About 3,000 distinct titles per exchange set, so many records share exchange and title.
      stored.push_back({0, kExchanges[random() % 8], "P" + std::to_string(random() % 3000) + "/USD", false, false});
    }
    context = std::move(EditingContext::open(std::make_unique<test::MemoryPairStore>(stored)).value());
    list = std::make_unique<PairList>(*context);
    for (int i = 0; i < 2000; ++i)
      queries.push_back({kExchanges[random() % 8], "P" + std::to_string(random() % 3300) + "/USD"});
  }

  // What findPair must return: the first match in title order over every record.
  PairRef walk(const std::string& exchange, const std::string& title) const {
    for (const PairRef& pair : list->allArranged())
      if (pair->exchange() == exchange && pair->title() == title) return pair;
    return nullptr;
  }

  std::unique_ptr<EditingContext> context;
  std::unique_ptr<PairList> list;
  std::vector<std::pair<std::string, std::string>> queries;
};

Fixture& fixture() {
  static Fixture made;  // built once for every benchmark of this program
  return made;
}

void BM_FindPairIndexed(benchmark::State& state) {
  Fixture& f = fixture();
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& [exchange, title] = f.queries[i++ % f.queries.size()];
    benchmark::DoNotOptimize(f.list->findPair(exchange, title));
  }
}
BENCHMARK(BM_FindPairIndexed);

void BM_FindPairLinearWalk(benchmark::State& state) {
  Fixture& f = fixture();
  // The walk over records already in title order, without the sort, to be fair to it.
  const std::vector<PairRef> arranged = f.list->allArranged();
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& [exchange, title] = f.queries[i++ % f.queries.size()];
    PairRef found;
    for (const PairRef& pair : arranged)
      if (pair->exchange() == exchange && pair->title() == title) {
        found = pair;
        break;
      }
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_FindPairLinearWalk);

double secondsPerLookup(const std::function<void(std::size_t)>& lookup, std::size_t rounds) {
  const auto start = std::chrono::steady_clock::now();
  for (std::size_t i = 0; i < rounds; ++i) lookup(i);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / static_cast<double>(rounds);
}

}  // namespace
}  // namespace pricora

int main(int argc, char** argv) {
  using namespace pricora;
  Fixture& f = fixture();
  std::size_t same = 0;
  for (const auto& [exchange, title] : f.queries) same += f.list->findPair(exchange, title) == f.walk(exchange, title);
  const std::vector<PairRef> arranged = f.list->allArranged();
  const double indexed = secondsPerLookup(
      [&](std::size_t i) {
        const auto& q = f.queries[i % f.queries.size()];
        benchmark::DoNotOptimize(f.list->findPair(q.first, q.second));
      },
      200'000);
  const double walked = secondsPerLookup(
      [&](std::size_t i) {
        const auto& [exchange, title] = f.queries[i % f.queries.size()];
        for (const PairRef& pair : arranged)
          if (pair->exchange() == exchange && pair->title() == title) {
            benchmark::DoNotOptimize(pair);
            break;
          }
      },
      2'000);
  std::printf(
      "findPair on %d records: %zu of %zu lookups give the walk's record; indexed %.1f ns, walk %.1f us, "
      "%.0f times faster\n",
      kRecords, same, f.queries.size(), indexed * 1e9, walked * 1e6, walked / indexed);

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return same == f.queries.size() ? 0 : 1;
}
