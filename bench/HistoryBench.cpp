// The history file as a week of use leaves it: 20 followed pairs, one refresh a minute for seven
// days, each refresh written in a transaction of its own as the program writes it.
//
//   history_bench [--days N]
//     Prints the time a refresh's write takes, the file's size on disk, and how long reading the
//     whole week of all 20 pairs back takes (the best and the median of 20 reads).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "store/SqliteHistoryFile.h"
#include "support/TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;
using pricora::PairName;

double milliseconds(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

}  // namespace

int main(int argc, char** argv) {
  int days = 7;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--days" && i + 1 < argc) {
      days = std::max(1, std::atoi(argv[++i]));
    } else {
      std::fprintf(stderr, "usage: history_bench [--days N]\n");
      return 1;
    }
  }
  pricora::test::TempDir dir;
  const std::string path = dir.file("pricora-history.sqlite");
  auto opened = pricora::SqliteHistoryFile::open(path);
  if (!opened) {
    std::fprintf(stderr, "%s\n", opened.error().description.c_str());
    return 1;
  }
  std::vector<PairName> pairs;
  std::vector<double> prices;
  for (int i = 0; i < 20; ++i) {
    pairs.push_back({i < 10 ? "Kraken" : "Bitstamp", "P" + std::to_string(i) + "/USD"});
    prices.push_back(100.0 * (i + 1));
  }
  const pricora::WallTime start{std::chrono::seconds(1768471200)};
  const int refreshes = days * 24 * 60;
  std::srand(1);
  Clock::duration writing{};
  for (int minute = 0; minute < refreshes; ++minute) {
    const pricora::WallTime now = start + std::chrono::minutes(minute);
    std::vector<pricora::SampleToWrite> samples;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
      prices[i] *= 1 + (std::rand() % 2001 - 1000) / 1e6;
      char text[32];
      std::snprintf(text, sizeof text, "%.5f", prices[i]);
      samples.push_back({pairs[i], now, text, prices[i]});
    }
    const Clock::time_point before = Clock::now();
    if (!opened.value()->recordSamples(samples, now - std::chrono::hours(24 * 7))) return 1;
    writing += Clock::now() - before;
  }
  opened.value().reset();  // closes, which checkpoints the log into the file
  const auto size = std::filesystem::file_size(path);

  auto file = std::move(pricora::SqliteHistoryFile::open(path).value());
  std::vector<double> reads;
  std::size_t count = 0;
  for (int round = 0; round < 20; ++round) {
    const Clock::time_point before = Clock::now();
    count = 0;
    for (const PairName& pair : pairs) count += file->samples(pair, start).value().size();
    reads.push_back(milliseconds(Clock::now() - before));
  }
  std::sort(reads.begin(), reads.end());
  std::printf("history of 20 pairs, %d days, one refresh a minute (%d refreshes)\n", days, refreshes);
  std::printf("write:  %.2f ms per refresh (one transaction, synced)\n", milliseconds(writing) / refreshes);
  std::printf("size:   %.2f MB on disk\n", static_cast<double>(size) / 1e6);
  std::printf("read:   %zu prices of 20 pairs in %.2f ms (best), %.2f ms (median)\n", count, reads.front(),
              reads[reads.size() / 2]);
  return 0;
}
