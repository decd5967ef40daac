#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <random>
#include <sstream>

#include "support/SqliteShell.h"
#include "support/Subprocess.h"
#include "support/TempDir.h"

#ifndef SQLITE_STORE_WRITER
#error "SQLITE_STORE_WRITER must name the program that saves into a store until it is killed"
#endif

namespace pricora {
namespace {

using namespace std::chrono_literals;

// Every row the writer made, title to id and favourite flag, checked whole: a batch of three is
// all there or not at all, and a batch's presence implies the update it carried.
void expectIntact(const std::string& path, const std::vector<std::string>& confirmed) {
  test::SqliteShell shell(path);
  ASSERT_EQ(shell.run("PRAGMA quick_check"), "ok\n");
  std::map<std::string, std::pair<std::string, bool>> rows;  // title -> (id, favourite)
  std::istringstream table(shell.run("SELECT title, id, isFavourite FROM Pair"));
  for (std::string line; std::getline(table, line);) {
    const std::size_t bar = line.find('|'), second = line.rfind('|');
    rows[line.substr(0, bar)] = {line.substr(bar + 1, second - bar - 1), line.substr(second + 1) == "1"};
  }
  const auto find = [&](const std::string& title) { return rows.count(title) ? &rows.at(title) : nullptr; };
  for (const auto& [title, row] : rows) {
    const std::string batch = title.substr(0, title.rfind('-'));
    for (const char* k : {"-0", "-1", "-2"}) EXPECT_TRUE(find(batch + k)) << title << " lacks " << batch + k;
    const std::size_t dash = batch.rfind('-');
    const int number = std::stoi(batch.substr(dash + 1));
    const auto* previous = find(batch.substr(0, dash + 1) + std::to_string(number - 1) + "-0");
    EXPECT_TRUE(number == 0 || (previous && previous->second)) << title << " without its update";
  }
  for (const std::string& line : confirmed) {
    std::istringstream fields(line);
    std::string batch, id;
    fields >> batch;
    for (int k = 0; fields >> id; ++k) {
      const auto* row = find(batch + "-" + std::to_string(k));
      EXPECT_TRUE(row && row->first == id) << "lost: " << line;
    }
  }
}

TEST(SqlitePairStoreCrash, EverySaveThatReturnedSurvivesKillNine) {
  test::TempDir dir;
  const std::string path = dir.file("Pairs.storedata");
  const unsigned seed = std::random_device()();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::vector<std::string> confirmed;
  constexpr int kRounds = 30;
  for (int round = 0; round < kRounds; ++round) {
    test::Subprocess writer({SQLITE_STORE_WRITER, path, "r" + std::to_string(round)});
    const int lines = std::uniform_int_distribution<int>(0, 12)(random);
    for (int i = 0; i < lines; ++i) ASSERT_TRUE(writer.readLine(10s)) << writer.errors();
    writer.signal(SIGKILL);
    EXPECT_FALSE(writer.wait(10s)) << "the writer ended by itself: " << writer.errors();
    std::istringstream output(writer.output());
    for (std::string line; std::getline(output, line) && !output.eof();) confirmed.push_back(line);
    // Every other round leaves the log for the next writer to recover.
    if (round % 2 == 1 || round == kRounds - 1) expectIntact(path, confirmed);
  }
  EXPECT_GT(confirmed.size(), static_cast<std::size_t>(kRounds));
}

}  // namespace
}  // namespace pricora
