#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/PairStore.h"
#include "platform/Result.h"
#include "store/ErrorDetails.h"
#include "store/SqliteConnection.h"
#include "store/SqliteFileOpening.h"
#include "store/SqliteStatement.h"

namespace pricora {

// The pair store file is a SQLite 3 database. Its format is public and stays stable, so that
// outside tools (the sqlite3 shell) may read and write it while Pricora is not running:
//
//   PRAGMA application_id = 1349675363;  -- 0x50726963, "Pric": the file is a pair store
//   PRAGMA user_version = 1;             -- the schema's version; a newer schema raises it
//   CREATE TABLE Pair (
//     id INTEGER PRIMARY KEY,                   -- given on insert, never changed afterwards
//     exchange TEXT,                            -- may be NULL
//     title TEXT,                               -- may be NULL
//     isFavourite INTEGER NOT NULL DEFAULT 0,   -- 0 or 1; any non-zero value reads as true
//     showInMenubar INTEGER NOT NULL DEFAULT 0  -- 0 or 1; any non-zero value reads as true
//   );
//
// Pricora keeps the file in WAL journal mode (outside tools see -wal and -shm files next to it
// while it is open) and syncs every commit. A new pair's id is one more than the largest stored
// id, so a deleted pair's id comes back only when no pair with a larger id remains.
//
// Opened read-only (for a process that shows another one's store), the file must exist, is never
// given the schema, its journal mode is left alone, and save() refuses.
using SqlitePairStoreOptions = SqliteFileOptions;

class SqlitePairStore final : public PairStore {
 public:
  using Options = SqlitePairStoreOptions;

  // Opens the store at path. A missing or empty file (0 bytes, or a database with nothing in it)
  // becomes a new store with the schema; the folder must exist. A file that is not a pair store,
  // is damaged, or has a newer schema is refused without a byte of it being written. Opened
  // read-only, an empty file reads as a store without pairs.
  static Result<std::unique_ptr<SqlitePairStore>> open(const std::string& path, Options options = {});
  ~SqlitePairStore() override;
  SqlitePairStore(const SqlitePairStore&) = delete;
  SqlitePairStore& operator=(const SqlitePairStore&) = delete;

  Result<std::vector<StoredPair>> loadAll() override;
  // Writes changes in one transaction: the inserts, then the updates (a pair no longer stored is
  // written back under its id), then the deletes (ids no longer stored are ignored). Empty changes
  // write nothing.
  Result<std::vector<std::int64_t>> save(const PairChanges& changes) override;
  bool isReadOnly() const override { return readOnly_; }

 private:
  SqlitePairStore(std::string path, bool readOnly);
  // Compiles the statements every load and save runs; also proves the Pair table has its columns.
  int prepareStatements();
  // Runs a statement that returns no rows of interest; the details of its failure, if any.
  std::optional<ErrorDetails> execute(SqliteStatement& statement);
  std::optional<ErrorDetails> apply(const PairChanges& changes, std::vector<std::int64_t>& ids);

  std::string path_;
  bool readOnly_;
  bool empty_ = false;   // read-only and without the schema yet: no pairs
  SqliteConnection db_;  // declared before the statements: they must be finalized first
  SqliteStatement selectAll_;
  SqliteStatement insert_;
  SqliteStatement update_;
  SqliteStatement delete_;
  SqliteStatement begin_;
  SqliteStatement commit_;
  SqliteStatement rollback_;
};

}  // namespace pricora
