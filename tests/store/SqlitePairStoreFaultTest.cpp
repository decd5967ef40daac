#include <gtest/gtest.h>

#include <filesystem>

#include "store/SqlitePairStore.h"
#include "support/SqliteFaultVfs.h"
#include "support/SqliteStoreTesting.h"
#include "support/TempDir.h"

namespace pricora {
namespace {

using test::loadPairs;
using test::SqliteFaultVfs;
using test::TempDir;

struct Fault {
  const char* name;
  int code;
  bool onSync;
};
constexpr Fault kFaults[] = {{"disk full", SQLITE_FULL, false},
                             {"write error", SQLITE_IOERR_WRITE, false},
                             {"sync error", SQLITE_IOERR_FSYNC, true}};

void arm(SqliteFaultVfs& vfs, const Fault& fault, int after) {
  fault.onSync ? vfs.failSyncs(fault.code, after) : vfs.failWrites(fault.code, after);
}

// The fault strikes each write (or sync) of the save in turn, until the save needs fewer than the
// fault lets through. Every failed save must leave the store as it was and the store usable.
TEST(SqlitePairStoreFaults, AFailedWriteOrSyncLeavesTheStoreAsItWasAndUsable) {
  for (const Fault& fault : kFaults) {
    SCOPED_TRACE(fault.name);
    TempDir dir;
    SqliteFaultVfs vfs;
    const std::string path = dir.file("Pairs.storedata");
    auto opened = SqlitePairStore::open(path, {std::chrono::milliseconds(100), vfs.name()});
    ASSERT_TRUE(opened);
    SqlitePairStore& store = *opened.value();
    const auto seeded = store.save({std::vector<StoredPair>(3, {0, "Kraken", "BTC", false, false}), {}, {}});
    ASSERT_TRUE(seeded);
    const std::vector<StoredPair> before = loadPairs(store);

    StoredPair renamed = before[1];
    renamed.title = "renamed";
    const PairChanges changes{
        std::vector<StoredPair>(40, {0, "Bitstamp", std::string(200, 'y'), true, false}), {renamed}, {before[0].id}};
    int failures = 0;
    Result<std::vector<std::int64_t>> saved = Error{};
    for (int after = 0; !saved; ++after) {
      ASSERT_LT(after, 200);
      arm(vfs, fault, after);
      saved = store.save(changes);
      vfs.clear();
      if (saved) break;
      ++failures;
      EXPECT_EQ(saved.error().description, "Pricora could not save your changes to “" + path + "”.");
      ASSERT_EQ(loadPairs(store), before) << "after " << after;
    }
    // Also proves that a save does not return before the disk has its data.
    EXPECT_GT(failures, 0);

    std::vector<StoredPair> expected = {renamed, before[2]};
    for (std::size_t i = 0; i < changes.inserts.size(); ++i) {
      expected.push_back(changes.inserts[i]);
      expected.back().id = saved.value()[i];
    }
    EXPECT_EQ(loadPairs(store), expected);
    opened.value().reset();
    auto reopened = SqlitePairStore::open(path);
    ASSERT_TRUE(reopened);
    EXPECT_EQ(loadPairs(*reopened.value()), expected);
  }
}

}  // namespace
}  // namespace pricora
