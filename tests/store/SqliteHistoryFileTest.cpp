#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "core/history/PriceHistory.h"
#include "store/SqliteHistoryFile.h"
#include "store/SqlitePairStore.h"
#include "support/SqliteFaultVfs.h"
#include "support/SqliteShell.h"
#include "support/TempDir.h"

namespace pricora {
namespace {

using std::chrono::hours;
using std::chrono::seconds;
using test::SqliteShell;
using test::TempDir;

const WallTime kStart{seconds(1768471200)};  // 2026-01-15 10:00:00 UTC, on the hour
const PairName kPair{"Kraken", "XBT/USD"};

AlertRecord alert(AlertKind kind, double level, std::int64_t window = 0) {
  return {0, kPair, kind, level, window, false, 0.5, AlertPhase::fresh, kStart, std::nullopt};
}

std::string bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::unique_ptr<SqliteHistoryFile> open(const std::string& path, SqliteHistoryFile::Options options = {}) {
  auto file = SqliteHistoryFile::open(path, options);
  EXPECT_TRUE(file) << (file ? "" : file.error().description + " " + file.error().userInfo);
  return file ? std::move(file.value()) : nullptr;
}

TEST(SqliteHistoryFile, KeepsAlertsAndAWeekOfPricesAndNoticesOtherWriters) {
  TempDir dir;
  const std::string path = dir.file("history.sqlite");
  auto file = open(path);
  SqliteShell shell(path);
  EXPECT_EQ(shell.run("PRAGMA application_id; PRAGMA user_version; PRAGMA journal_mode"), "1349666921\n2\nwal\n");

  const std::int64_t above = file->addAlert(alert(AlertKind::above, 11000)).value();
  const std::int64_t move = file->addAlert(alert(AlertKind::up, 5, 3600)).value();
  AlertRecord fired = alert(AlertKind::above, 11000);
  fired.id = above;
  fired.phase = AlertPhase::waiting;
  fired.fired = kStart + hours(1);
  ASSERT_TRUE(file->updateAlerts({fired}));
  std::vector<AlertRecord> alerts = file->loadAlerts().value();
  ASSERT_EQ(alerts.size(), 2u);
  EXPECT_EQ(alerts[0], fired);
  EXPECT_EQ(alerts[1].windowSeconds, 3600);
  ASSERT_TRUE(file->editAlerts({move}, {alert(AlertKind::below, 9500)}));
  EXPECT_EQ(file->removeAlert(move).value(), false);  // replaced already, and ids never come back
  alerts = file->loadAlerts().value();
  ASSERT_EQ(alerts.size(), 2u);
  EXPECT_EQ(alerts[0], fired);  // kept as it stood
  EXPECT_GT(alerts[1].id, move);

  // An outside tool's edits are noticed; rows that are no alerts are passed over.
  EXPECT_FALSE(file->changedElsewhere());
  shell.run(
      "INSERT INTO Alert (exchange, title, kind, level, created) VALUES ('Kraken', 'X', 'sideways', 1, 0), "
      "('Kraken', 'X', 'above', 'many', 0)");
  EXPECT_TRUE(file->changedElsewhere());
  EXPECT_FALSE(file->changedElsewhere());
  EXPECT_EQ(file->loadAlerts().value().size(), 2u);

  // A price a minute for three hours: one row an hour, texts as sent, a long one cut between characters.
  for (int hour = 0; hour < 3; ++hour) {
    std::vector<SampleToWrite> samples{{{"GDAX", "BTC/EUR"}, kStart, std::string(254, '9') + "…", 9}};
    for (int minute = 60 * hour; minute < 60 * (hour + 1); ++minute)
      samples.push_back({kPair, kStart + seconds(60 * minute), "1" + std::to_string(minute), 1.0 * minute});
    ASSERT_TRUE(file->recordSamples(samples, kStart - hours(24 * 7)));
  }
  EXPECT_EQ(shell.run("SELECT count(*), sum(length(times)), sum(length(prices)) FROM Hour JOIN Series ON "
                      "Series.id = series WHERE title = 'XBT/USD'"),
            "3|360|1440\n");
  EXPECT_EQ(shell.run("SELECT length(texts) FROM Hour JOIN Series ON Series.id = series WHERE title = 'BTC/EUR'"),
            "765\n");
  const std::vector<PriceSample> since = file->samples(kPair, kStart + seconds(60 * 178)).value();
  EXPECT_EQ(since, (std::vector<PriceSample>{{kStart + seconds(60 * 178), 178}, {kStart + seconds(60 * 179), 179}}));
  // A week later the first two hours are gone.
  ASSERT_TRUE(file->recordSamples({}, kStart + hours(2)));
  EXPECT_EQ(file->samples(kPair, kStart).value().size(), 60u);
  EXPECT_EQ(shell.run("PRAGMA integrity_check"), "ok\n");
}

// Refreshes a second apart would rewrite an hour's row with each price: the file gets one price
// of a pair per ten seconds, the newest of those that waited.
TEST(SqliteHistoryFile, TakesAPairsPricesAtMostTenSecondsApart) {
  TempDir dir;
  const auto file = open(dir.file("history.sqlite"));
  PriceHistory history(*file);
  ASSERT_TRUE(history.follow({kPair}, kStart));
  for (int second : {0, 4, 9, 12, 13}) {
    history.add(kPair, kStart + seconds(second), std::to_string(second), second);
    const std::optional<Status> written = history.flush(kStart + seconds(second));
    ASSERT_TRUE(!written || *written);
  }
  EXPECT_EQ(file->samples(kPair, kStart).value(), (std::vector<PriceSample>{{kStart, 0}, {kStart + seconds(12), 12}}));
}

TEST(SqliteHistoryFile, RefusesWhatIsNotItsOwnWithoutWritingIt) {
  TempDir dir;
  const std::string store = dir.file("Mintor.storedata");
  ASSERT_TRUE(SqlitePairStore::open(store));
  const std::string newer = dir.file("newer.sqlite");
  open(newer).reset();
  SqliteShell(newer).run("PRAGMA user_version = 3");
  const std::string damaged = dir.file("damaged.sqlite");
  { ASSERT_TRUE(open(damaged)->editAlerts({}, std::vector<AlertRecord>(300, alert(AlertKind::above, 1)))); }
  std::filesystem::resize_file(damaged, std::filesystem::file_size(damaged) - 1000);

  const std::pair<std::string, std::string> cases[] = {
      {store, "The file “" + store + "” is not a Pricora history file."},
      {newer, "The history file “" + newer + "” was written by a newer version of Pricora."},
      {damaged, "The history file “" + damaged + "” is damaged."},
      {dir.file("missing/h.sqlite"), "The history file “" + dir.file("missing/h.sqlite") + "” could not be opened."},
  };
  for (const auto& [path, description] : cases) {
    const std::string before = bytes(path);
    const auto refused = SqliteHistoryFile::open(path);
    ASSERT_FALSE(refused) << path;
    EXPECT_EQ(refused.error().description, description);
    EXPECT_FALSE(std::filesystem::exists(path + "-wal")) << path;
    EXPECT_FALSE(SqliteHistoryFile::open(path, {.readOnly = true}));
    EXPECT_EQ(bytes(path), before) << path;
  }
  EXPECT_FALSE(SqliteHistoryFile::open(dir.file("missing.sqlite"), {.readOnly = true}));
}

unsigned modeOf(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 ? status.st_mode & 0777 : 0;
}

// What the user owns is kept exactly, in a file no one else may read, also after an upgrade of a
// file an earlier version made.
TEST(SqliteHistoryFile, HoldingsKeepExactlyInAFileOnlyItsOwnerReadsAndOlderFilesAreUpgraded) {
  TempDir dir;
  const mode_t umaskBefore = umask(022);
  const std::string path = dir.file("history.sqlite");
  {
    auto file = open(path);
    ASSERT_TRUE(file->setHolding(kPair, 30000000));
    ASSERT_TRUE(file->setHolding({"GDAX", "BTC/EUR"}, 1));
    ASSERT_TRUE(file->setHolding({"GDAX", "BTC/EUR"}, 0));
    ASSERT_TRUE(file->setHolding({"Kraken", "ETH/USD"}, 5));
    ASSERT_TRUE(file->setHolding({"Kraken", "ETH/USD"}, 1234567812345678));
    EXPECT_EQ(file->loadHoldings().value(),
              (std::vector<HoldingRecord>{{{"Kraken", "ETH/USD"}, 1234567812345678}, {kPair, 30000000}}));
    EXPECT_EQ(SqliteShell(path).run("SELECT units FROM Holding WHERE title = 'XBT/USD'"), "30000000\n");
    for (const char* suffix : {"", "-wal", "-shm"}) EXPECT_EQ(modeOf(path + suffix), 0600u) << suffix;
  }

  // Version 1 had no holdings; its alerts and prices stay, and a wider mode is narrowed.
  const std::string older = dir.file("older.sqlite");
  SqliteShell(older).run(
      "CREATE TABLE Series (id INTEGER PRIMARY KEY, exchange TEXT NOT NULL, title TEXT NOT NULL, UNIQUE (exchange, "
      "title)); CREATE TABLE Hour (series INTEGER NOT NULL REFERENCES Series (id), hour INTEGER NOT NULL, times BLOB "
      "NOT NULL, prices BLOB NOT NULL, texts BLOB NOT NULL, PRIMARY KEY (series, hour)); CREATE TABLE Alert (id "
      "INTEGER PRIMARY KEY AUTOINCREMENT, exchange TEXT NOT NULL, title TEXT NOT NULL, kind TEXT NOT NULL, level REAL "
      "NOT NULL, window INTEGER NOT NULL DEFAULT 0, once INTEGER NOT NULL DEFAULT 0, margin REAL NOT NULL DEFAULT 0.5, "
      "state TEXT NOT NULL DEFAULT 'fresh', created INTEGER NOT NULL, fired INTEGER); "
      "INSERT INTO Alert (exchange, title, kind, level, created) VALUES ('Kraken', 'XBT/USD', 'above', 11000, 0); "
      "INSERT INTO Series VALUES (1, 'Kraken', 'XBT/USD'); "
      "INSERT INTO Hour VALUES (1, 491242, x'0000', x'0000000000804f40', x'023633'); "
      "PRAGMA application_id = 1349666921; PRAGMA user_version = 1;");
  chmod(older.c_str(), 0644);
  {
    auto reader = SqliteHistoryFile::openForReading(older);
    ASSERT_TRUE(reader);
    EXPECT_TRUE(reader.value()->loadAlerts().value().empty());  // until the writer has upgraded it
    EXPECT_EQ(modeOf(older), 0644u);
    auto file = open(older);
    EXPECT_EQ(modeOf(older), 0600u);
    EXPECT_EQ(SqliteShell(older).run("PRAGMA user_version"), "2\n");
    ASSERT_EQ(file->loadAlerts().value().size(), 1u);
    EXPECT_EQ(file->loadAlerts().value()[0].level, 11000);
    EXPECT_EQ(file->samples(kPair, kStart).value(), (std::vector<PriceSample>{{kStart, 63}}));
    EXPECT_TRUE(file->loadHoldings().value().empty());
    ASSERT_TRUE(file->setHolding(kPair, 25000000));
    EXPECT_TRUE(reader.value()->changedElsewhere());
    EXPECT_EQ(reader.value()->loadHoldings().value(), (std::vector<HoldingRecord>{{kPair, 25000000}}));
  }
  umask(umaskBefore);
}

// A text bar may start before the tray ever ran, or while it is making the file.
TEST(SqliteHistoryFile, AReaderThatCameFirstReadsTheFileOnceItIsMade) {
  TempDir dir;
  const std::string missing = dir.file("missing.sqlite"), blank = dir.file("blank.sqlite");
  std::ofstream{blank};
  for (const std::string& path : {missing, blank}) {
    auto reader = SqliteHistoryFile::openForReading(path);
    ASSERT_TRUE(reader) << path;
    EXPECT_FALSE(reader.value()->changedElsewhere()) << path;
    EXPECT_TRUE(reader.value()->loadAlerts().value().empty()) << path;
    ASSERT_TRUE(open(path)->addAlert(alert(AlertKind::above, 1)));
    EXPECT_TRUE(reader.value()->changedElsewhere()) << path;
    EXPECT_EQ(reader.value()->loadAlerts().value().size(), 1u) << path;
    EXPECT_TRUE(reader.value()->isReadOnly());
  }
}

TEST(SqliteHistoryFile, AFullDiskLeavesTheAlertsAsTheyWereAndTheFileUsable) {
  TempDir dir;
  test::SqliteFaultVfs vfs;
  auto file = open(dir.file("history.sqlite"), {std::chrono::milliseconds(100), vfs.name()});
  ASSERT_TRUE(file->addAlert(alert(AlertKind::above, 1)));
  const std::vector<AlertRecord> before = file->loadAlerts().value();
  const std::vector<AlertRecord> many(60, alert(AlertKind::below, 2));
  Status saved = Error{};
  int failures = 0;
  for (int after = 0; !saved && after < 200; ++after, ++failures) {
    vfs.failWrites(SQLITE_FULL, after);
    saved = file->editAlerts({}, many);
    vfs.clear();
    if (saved) break;
    EXPECT_EQ(saved.error().description, "Pricora could not save the alerts to “" + dir.file("history.sqlite") + "”.");
    ASSERT_EQ(file->loadAlerts().value(), before) << "after " << after;
  }
  EXPECT_TRUE(saved);
  EXPECT_GT(failures, 1);
  EXPECT_EQ(file->loadAlerts().value().size(), 61u);
  vfs.failSyncs(SQLITE_IOERR_FSYNC);
  EXPECT_FALSE(file->recordSamples({{kPair, kStart, "1", 1}}, kStart));
  vfs.clear();
  EXPECT_TRUE(file->recordSamples({{kPair, kStart, "1", 1}}, kStart));
  EXPECT_EQ(file->samples(kPair, kStart).value().size(), 1u);
  // A pruning that did not commit is done again with the next prices.
  vfs.failWrites(SQLITE_FULL);
  EXPECT_FALSE(file->recordSamples({}, kStart + hours(1)));
  vfs.clear();
  EXPECT_TRUE(file->recordSamples({}, kStart + hours(1)));
  EXPECT_TRUE(file->samples(kPair, kStart).value().empty());
}

}  // namespace
}  // namespace pricora
