#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "store/ReadOnlyPairStore.h"
#include "store/SqlitePairStore.h"
#include "support/SqliteShell.h"
#include "support/SqliteStoreTesting.h"
#include "support/TempDir.h"

namespace pricora {
namespace {

using namespace std::chrono_literals;
using test::loadPairs;
using test::SqliteShell;

std::unique_ptr<SqlitePairStore> openStore(const std::string& path, SqlitePairStore::Options options = {}) {
  auto store = SqlitePairStore::open(path, options);
  EXPECT_TRUE(store) << store.error().description << " " << store.error().userInfo;
  return store ? std::move(store.value()) : nullptr;
}

std::string bytes(const std::string& path) {
  if (!std::filesystem::is_regular_file(path)) return "(not a file)";
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class SqlitePairStoreTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  const std::string path = dir.file("Pairs.storedata");
};

TEST_F(SqlitePairStoreTest, KeepsEveryFieldAndIdThroughSavesReopeningAndOutsideTools) {
  auto store = openStore(path);
  ASSERT_TRUE(store);
  std::vector<StoredPair> pairs = {{0, std::nullopt, std::nullopt, false, false},
                                   {0, "Kraken", "“quoted” 'single' ünïcødé 🚀'); DROP TABLE Pair; --", true, false},
                                   {0, "", "", false, true}};
  auto ids = store->save({pairs, {}, {}});
  ASSERT_TRUE(ids);
  for (std::size_t i = 0; i < pairs.size(); ++i) pairs[i].id = ids.value().at(i);
  EXPECT_LT(pairs[0].id, pairs[1].id);
  EXPECT_EQ(loadPairs(*store), pairs);

  pairs[1].exchange.reset();
  pairs[1].isFavourite = false;
  StoredPair added{0, "Poloniex", "new", true, false};
  // An outside tool may have deleted a pair the user then edited: the edit brings it back.
  const StoredPair gone{987654, "Gone", "edited", true, true};
  ids = store->save({{added}, {pairs[1], gone}, {pairs[0].id, 424242}});
  ASSERT_TRUE(ids);
  added.id = ids.value().at(0);
  pairs = {pairs[1], pairs[2], added, gone};
  EXPECT_EQ(loadPairs(*store), pairs);
  store.reset();
  store = openStore(path);
  EXPECT_EQ(loadPairs(*store), pairs);

  // A plain database that outside tools read and write, while the store is open too.
  SqliteShell outside(path);
  EXPECT_EQ(outside.run("PRAGMA application_id; PRAGMA user_version; PRAGMA journal_mode;"), "1349675363\n1\nwal\n");
  EXPECT_EQ(outside.run("SELECT name, type, \"notnull\", pk FROM pragma_table_info('Pair')"),
            "id|INTEGER|0|1\nexchange|TEXT|0|0\ntitle|TEXT|0|0\nisFavourite|INTEGER|1|0\nshowInMenubar|INTEGER|1|0\n");
  EXPECT_EQ(outside.run("UPDATE Pair SET isFavourite = 7, exchange = 'Out' WHERE id = " + std::to_string(added.id) +
                        "; INSERT INTO Pair (id, title) VALUES (1000000, 'x')"),
            "");
  added.exchange = "Out";
  pairs = {pairs[0], pairs[1], added, gone, {1000000, std::nullopt, "x", false, false}};
  EXPECT_EQ(loadPairs(*store), pairs);
  EXPECT_EQ(store->save({{StoredPair{}}, {}, {}}).value(), std::vector<std::int64_t>{1000001});
}

TEST_F(SqlitePairStoreTest, MakesAStoreOfAMissingOrEmptyFileAndRefusesOthersWithoutWritingToThem) {
  const std::string empties[] = {dir.file("missing"), dir.write("zero-bytes", ""), dir.file("empty-database")};
  SqliteShell(empties[2]).run("VACUUM");
  for (const std::string& empty : empties) {
    ASSERT_TRUE(openStore(empty)->save({{{0, "Kraken", "BTC", false, false}}, {}, {}})) << empty;
    EXPECT_EQ(SqliteShell(empty).run("SELECT title FROM Pair"), "BTC\n") << empty;
  }

  const auto storeWith = [&](const std::string& name, const std::string& sql) {
    const std::string file = dir.file(name);
    EXPECT_TRUE(openStore(file)->save(
        {std::vector<StoredPair>(300, {0, "Kraken", std::string(100, 'x'), false, false}), {}, {}}));
    SqliteShell(file).run(sql);
    return file;
  };
  const auto foreign = [&](const std::string& name, const std::string& sql) {
    SqliteShell(dir.file(name)).run(sql);
    return dir.file(name);
  };
  std::mt19937 random(7);
  std::string noise(5000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  std::string half = bytes(storeWith("half", ""));
  half.resize(half.size() / 2);
  std::string scribbled = bytes(storeWith("scribbled", ""));
  scribbled.replace(8192 + 16, 4000, 4000, '\x5a');

  const std::string notOurs = " is not a Pricora pair store.";
  const std::pair<std::string, std::string> cases[] = {
      {dir.write("noise", noise), notOurs},
      {dir.write("text", "SQLite format 3\nbut only text"), notOurs},
      {foreign("foreign", "CREATE TABLE Note (body TEXT); INSERT INTO Note VALUES ('mine')"), notOurs},
      {foreign("other-app",
               "PRAGMA application_id = 1296122946; PRAGMA user_version = 2; CREATE TABLE Pair (id INTEGER)"),
       notOurs},
      {storeWith("newer", "PRAGMA user_version = 2"), " was written by a newer version of Pricora."},
      {storeWith("no-table", "DROP TABLE Pair; CREATE TABLE Other (x)"), " is damaged."},
      {dir.write("half", half), " is damaged."},
      {dir.write("scribbled", scribbled), " is damaged."},
      {dir.path().string(), " could not be opened because it is a folder."},
      {dir.file("missing-folder/Pairs.storedata"), " could not be opened because its folder does not exist."},
  };
  for (const auto& [file, ending] : cases) {
    SCOPED_TRACE(file);
    const std::string before = bytes(file);
    const auto store = SqlitePairStore::open(file);
    ASSERT_FALSE(store);
    const std::string& description = store.error().description;
    EXPECT_EQ(description.substr(description.find("“")), "“" + file + "”" + ending);
    EXPECT_EQ(store.error().userInfo.rfind("{path = \"" + file + "\"; ", 0), 0u) << store.error().userInfo;
    EXPECT_EQ(bytes(file), before);
    for (const char* suffix : {"-wal", "-shm", "-journal"}) EXPECT_FALSE(std::filesystem::exists(file + suffix));
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("missing-folder")));
}

// What a process beside the owner sees: every load shows the owner's last save, and nothing it
// does changes the file.
TEST_F(SqlitePairStoreTest, ReadOnlyItFollowsTheOwnerAndNeverWrites) {
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

  // A save the owner left half done (its journal is hot) is the owner's to undo, not the reader's.
  owner.reset();
  const std::string hot =
      std::string("\xd9\xd5\x05\xf9\x20\xa1\x63\xd7", 8) + std::string(504, '\0');  // a journal's magic
  const std::string before = bytes(path) + bytes(dir.write("Pairs.storedata-journal", hot));
  const auto interrupted = reader.loadAll();
  ASSERT_FALSE(interrupted);
  EXPECT_NE(interrupted.error().description.find("interrupted"), std::string::npos) << interrupted.error().description;
  EXPECT_EQ(bytes(path) + bytes(path + "-journal"), before);
}

TEST_F(SqlitePairStoreTest, GivesUpOnAnotherWritersLockAfterItsTimeout) {
  auto impatient = openStore(path, {100ms});
  const PairChanges changes{{{0, "Kraken", "BTC", true, true}}, {}, {}};
  {
    SqliteShell holder(path);
    ASSERT_EQ(holder.run("BEGIN EXCLUSIVE"), "");
    const auto refused = impatient->save(changes);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().description, "Pricora could not save your changes to “" + path + "”.");
    EXPECT_EQ(refused.error().userInfo, "{path = \"" + path + "\"; sqlite = \"database is locked (5)\"}");
  }
  const auto retried = impatient->save(changes);
  ASSERT_TRUE(retried);

  EXPECT_EQ(loadPairs(*impatient).size(), 1u);
}

}  // namespace
}  // namespace pricora
