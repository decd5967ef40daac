#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>
#include <random>
#include <thread>

#include "platform/store/ReadOnlyPairStore.h"
#include "platform/store/SqlitePairStore.h"
#include "support/SqliteShell.h"
#include "support/SqliteStoreTesting.h"
#include "support/TempDir.h"

namespace pricora {
namespace {

using namespace std::chrono_literals;
using test::loadPairs;
using test::SqliteShell;
using test::TempDir;

std::unique_ptr<SqlitePairStore> openStore(const std::string& path, SqlitePairStore::Options options = {}) {
  auto store = SqlitePairStore::open(path, options);
  EXPECT_TRUE(store) << store.error().description << " " << store.error().userInfo;
  return store ? std::move(store.value()) : nullptr;
}

std::string bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(SqlitePairStore, KeepsEveryFieldAndIdThroughSavesAndReopening) {
  TempDir dir;
  const std::string path = dir.file("Pairs.storedata");
  auto store = openStore(path);
  ASSERT_TRUE(store);
  EXPECT_TRUE(loadPairs(*store).empty());

  std::vector<StoredPair> pairs = {
      {0, std::nullopt, std::nullopt, false, false},
      {0, "Kraken", "BTC “quoted” 'single' \"double\" ünïcødé 🚀'); DROP TABLE Pair; --", true, false},
      {0, "", "", false, true},
      {0, "Bitstamp", std::nullopt, true, true},
  };
  auto ids = store->save({pairs, {}, {}});
  ASSERT_TRUE(ids);
  ASSERT_EQ(ids.value().size(), 4u);
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    EXPECT_GT(ids.value()[i], i == 0 ? 0 : ids.value()[i - 1]);
    pairs[i].id = ids.value()[i];
  }
  EXPECT_EQ(loadPairs(*store), pairs);

  pairs[1].exchange.reset();
  pairs[1].title = "renamed";
  pairs[1].isFavourite = false;
  pairs[3].showInMenubar = false;
  StoredPair added{0, "Poloniex", "new", true, false};
  // An outside tool may have deleted a pair the user then edited: the edit brings it back.
  const StoredPair gone{987654, "Gone", "edited", true, true};
  ids = store->save({{added}, {pairs[1], pairs[3], gone}, {pairs[0].id, 424242}});
  ASSERT_TRUE(ids);
  added.id = ids.value().at(0);
  EXPECT_GT(added.id, pairs[3].id);
  pairs.erase(pairs.begin());
  pairs.push_back(added);
  pairs.push_back(gone);
  EXPECT_EQ(loadPairs(*store), pairs);
  EXPECT_TRUE(store->save({}).ok());

  store.reset();
  store = openStore(path);
  ASSERT_TRUE(store);
  EXPECT_EQ(loadPairs(*store), pairs);
}

TEST(SqlitePairStore, IsAPlainDatabaseThatOutsideToolsReadAndWrite) {
  TempDir dir;
  const std::string path = dir.file("Pairs.storedata");
  auto store = openStore(path);
  ASSERT_TRUE(store);
  const auto ids = store->save({{{0, "Kraken", "it's", true, false}, {0, std::nullopt, "x", false, true}}, {}, {}});
  ASSERT_TRUE(ids);
  {
    SqliteShell outside(path);  // while the store is open, too
    EXPECT_EQ(outside.run("PRAGMA application_id; PRAGMA user_version; PRAGMA journal_mode;"), "1349675363\n1\nwal\n");
    EXPECT_EQ(outside.run("SELECT type, name FROM sqlite_schema"), "table|Pair\n");
    EXPECT_EQ(
        outside.run("SELECT name, type, \"notnull\", pk FROM pragma_table_info('Pair')"),
        "id|INTEGER|0|1\nexchange|TEXT|0|0\ntitle|TEXT|0|0\nisFavourite|INTEGER|1|0\nshowInMenubar|INTEGER|1|0\n");
    EXPECT_EQ(outside.run("SELECT id, exchange, title, isFavourite, showInMenubar FROM Pair"),
              std::to_string(ids.value()[0]) + "|Kraken|it's|1|0\n" + std::to_string(ids.value()[1]) + "||x|0|1\n");
  }
  store.reset();
  {
    SqliteShell outside(path);
    EXPECT_EQ(
        outside.run("INSERT INTO Pair (id, exchange, title) VALUES (100, 'Outside', NULL);"
                    "UPDATE Pair SET isFavourite = 7, exchange = NULL WHERE id = " +
                    std::to_string(ids.value()[1]) + "; DELETE FROM Pair WHERE id = " + std::to_string(ids.value()[0])),
        "");
  }
  store = openStore(path);
  ASSERT_TRUE(store);
  EXPECT_EQ(loadPairs(*store), (std::vector<StoredPair>{{ids.value()[1], std::nullopt, "x", true, true},
                                                        {100, "Outside", std::nullopt, false, false}}));
  const auto next = store->save({{StoredPair{}}, {}, {}});
  ASSERT_TRUE(next);
  EXPECT_EQ(next.value(), std::vector<std::int64_t>{101});
}

TEST(SqlitePairStore, MakesAStoreOfAMissingOrEmptyFile) {
  TempDir dir;
  const std::string paths[] = {dir.file("missing"), dir.write("zero-bytes", ""), dir.file("empty-database")};
  SqliteShell(paths[2]).run("VACUUM");
  for (const std::string& path : paths) {
    auto store = openStore(path);
    ASSERT_TRUE(store) << path;
    ASSERT_TRUE(store->save({{{0, "Kraken", "BTC", false, false}}, {}, {}}));
    store.reset();
    EXPECT_EQ(SqliteShell(path).run("PRAGMA application_id; SELECT title FROM Pair"), "1349675363\nBTC\n") << path;
  }
}

// What a process beside the owner sees: every load shows the owner's last save, and nothing it
// does changes the file.
TEST(SqlitePairStore, ReadOnlyItFollowsTheOwnerAndNeverWrites) {
  TempDir dir;
  const std::string path = dir.file("Pairs.storedata");
  ReadOnlyPairStore reader(path);
  EXPECT_EQ(loadPairs(reader), std::vector<StoredPair>{});
  EXPECT_FALSE(std::filesystem::exists(path));
  dir.write("Pairs.storedata", "");
  EXPECT_EQ(loadPairs(reader), std::vector<StoredPair>{});
  EXPECT_EQ(bytes(path), "");

  auto owner = openStore(path);
  ASSERT_TRUE(owner);
  ASSERT_TRUE(owner->save({{{0, "Kraken", "XBT/USD", false, true}}, {}, {}}));
  EXPECT_EQ(loadPairs(reader), (std::vector<StoredPair>{{1, "Kraken", "XBT/USD", false, true}}));
  const auto refused = reader.save({{{0, "Kraken", "ETH/EUR", false, false}}, {}, {}});
  ASSERT_FALSE(refused);
  EXPECT_NE(refused.error().userInfo.find("reading only"), std::string::npos);
  EXPECT_EQ(SqliteShell(path).run("SELECT title FROM Pair"), "XBT/USD\n");
}

TEST(SqlitePairStore, RefusesFilesThatAreNotItsOwnWithoutWritingToThem) {
  TempDir dir;
  const auto storeWith = [&](const std::string& name, const std::string& sql) {
    const std::string path = dir.file(name);
    auto store = openStore(path);
    std::vector<StoredPair> many(300, StoredPair{0, "Kraken", std::string(100, 'x'), false, false});
    EXPECT_TRUE(store && store->save({many, {}, {}}));
    store.reset();
    SqliteShell(path).run(sql);
    return path;
  };
  const auto foreign = [&](const std::string& name, const std::string& sql) {
    SqliteShell(dir.file(name)).run(sql);
    return dir.file(name);
  };
  const auto damaged = [&](const std::string& name, const std::function<void(std::string&)>& damage) {
    const std::string path = storeWith(name, "");
    std::string content = bytes(path);
    damage(content);
    return dir.write(name, content);
  };
  std::mt19937 random(7);
  std::string noise(5000, '\0');
  for (char& c : noise) c = static_cast<char>(random());

  const std::string notOurs = " is not a Pricora pair store.";
  const std::pair<std::string, std::string> cases[] = {
      {dir.write("noise", noise), notOurs},
      {dir.write("text", "SQLite format 3\nbut only text"), notOurs},
      {foreign("foreign", "CREATE TABLE Note (body TEXT); INSERT INTO Note VALUES ('mine')"), notOurs},
      {foreign("other-app", "PRAGMA application_id = 1296122946; CREATE TABLE Pair (id INTEGER PRIMARY KEY)"), notOurs},
      {foreign("other-empty", "PRAGMA user_version = 3"), notOurs},
      {storeWith("newer", "PRAGMA user_version = 2"), " was written by a newer version of Pricora."},
      {storeWith("no-table", "DROP TABLE Pair; CREATE TABLE Other (x)"), " is damaged."},
      {damaged("truncated", [](std::string& content) { content.resize(content.size() / 2); }), " is damaged."},
      {damaged("scribbled", [](std::string& content) { content.replace(8192 + 16, 4000, 4000, '\x5a'); }),
       " is damaged."},
  };
  for (const auto& [path, ending] : cases) {
    SCOPED_TRACE(path);
    const std::string before = bytes(path);
    const auto store = SqlitePairStore::open(path);
    ASSERT_FALSE(store);
    const std::string& description = store.error().description;
    EXPECT_EQ(description.substr(description.find("”")), "”" + ending);
    EXPECT_NE(description.find("“" + path + "”"), std::string::npos);
    EXPECT_EQ(store.error().userInfo.rfind("{path = \"" + path + "\"; ", 0), 0u) << store.error().userInfo;
    EXPECT_EQ(bytes(path), before);
    for (const char* suffix : {"-wal", "-shm", "-journal"}) EXPECT_FALSE(std::filesystem::exists(path + suffix));
  }
}

TEST(SqlitePairStore, SaysWhyAPathCannotBeOpened) {
  TempDir dir;
  const std::string folder = dir.path().string();
  auto store = SqlitePairStore::open(folder);
  ASSERT_FALSE(store);
  EXPECT_EQ(store.error().description, "The pair store “" + folder + "” could not be opened because it is a folder.");
  EXPECT_EQ(
      store.error().userInfo,
      "{path = \"" + folder + "\"; sqlite = \"unable to open database file (14)\"; system = \"Is a directory (21)\"}");

  const std::string orphan = dir.file("missing/Pairs.storedata");
  store = SqlitePairStore::open(orphan);
  ASSERT_FALSE(store);
  EXPECT_EQ(store.error().description,
            "The pair store “" + orphan + "” could not be opened because its folder does not exist.");
  EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
}

TEST(SqlitePairStore, WaitsForAnotherWritersLockUntilItsTimeout) {
  TempDir dir;
  const std::string path = dir.file("Pairs.storedata");
  auto impatient = openStore(path, {100ms});
  ASSERT_TRUE(impatient);
  const PairChanges changes{{{0, "Kraken", "BTC", true, true}}, {}, {}};
  {
    SqliteShell holder(path);
    ASSERT_EQ(holder.run("BEGIN EXCLUSIVE"), "");
    const auto refused = impatient->save(changes);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().description, "Pricora could not save your changes to “" + path + "”.");
    EXPECT_EQ(refused.error().userInfo, "{path = \"" + path + "\"; sqlite = \"database is locked (5)\"}");
  }
  EXPECT_TRUE(loadPairs(*impatient).empty());
  const auto retried = impatient->save(changes);
  ASSERT_TRUE(retried);

  // A lock held for a second, well within the default timeout, is waited out.
  auto patient = openStore(path);
  ASSERT_TRUE(patient);
  std::promise<void> locked;
  std::thread holder([&] {
    SqliteShell other(path);
    other.run("BEGIN EXCLUSIVE");
    locked.set_value();
    std::this_thread::sleep_for(1s);
    other.run("COMMIT");
  });
  locked.get_future().wait();
  const auto start = std::chrono::steady_clock::now();
  const auto saved = patient->save({{}, {}, {retried.value()[0]}});
  const auto waited = std::chrono::steady_clock::now() - start;
  holder.join();
  EXPECT_TRUE(saved);
  EXPECT_GT(waited, 500ms);
  EXPECT_TRUE(loadPairs(*impatient).empty());
}

}  // namespace
}  // namespace pricora
