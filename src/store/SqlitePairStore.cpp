#include "store/SqlitePairStore.h"

#include <sqlite3.h>

#include <utility>

namespace pricora {

namespace {

// "Pric" in ASCII: what tells a pair store apart from every other SQLite database.
constexpr std::int64_t kApplicationId = 0x50726963;
constexpr std::int64_t kSchemaVersion = 1;

constexpr const char* kCreateSchema = R"(
CREATE TABLE Pair (
  id INTEGER PRIMARY KEY,
  exchange TEXT,
  title TEXT,
  isFavourite INTEGER NOT NULL DEFAULT 0,
  showInMenubar INTEGER NOT NULL DEFAULT 0
);
PRAGMA application_id = 1349675363;
PRAGMA user_version = 1;
)";
static_assert(kApplicationId == 1349675363 && kSchemaVersion == 1, "kCreateSchema spells both out");

constexpr SqliteFileKind kPairStore{"pair store", kApplicationId, kSchemaVersion, kCreateSchema, nullptr, false, true};

}  // namespace

Result<std::unique_ptr<SqlitePairStore>> SqlitePairStore::open(const std::string& path, Options options) {
  std::unique_ptr<SqlitePairStore> store(new SqlitePairStore(path, options.readOnly));
  const Result<SqliteFileContents> contents =
      openSqliteFile(store->db_, path, kPairStore, options, [&store] { return store->prepareStatements(); });
  if (!contents) return contents.error();
  store->empty_ = contents.value() == SqliteFileContents::blank;
  return store;
}

SqlitePairStore::SqlitePairStore(std::string path, bool readOnly) : path_(std::move(path)), readOnly_(readOnly) {}

SqlitePairStore::~SqlitePairStore() = default;

int SqlitePairStore::prepareStatements() {
  return prepareEach(
      db_.get(),
      {
          {&selectAll_, "SELECT id, exchange, title, isFavourite != 0, showInMenubar != 0 FROM Pair ORDER BY id"},
          {&insert_, "INSERT INTO Pair (exchange, title, isFavourite, showInMenubar) VALUES (?1, ?2, ?3, ?4)"},
          // An update writes the pair under its id even when the row is gone (an outside tool deleted
          // it while Pricora ran): the user's edit is kept rather than the whole save refused.
          {&update_,
           "INSERT INTO Pair (id, exchange, title, isFavourite, showInMenubar) VALUES (?5, ?1, ?2, ?3, ?4) "
           "ON CONFLICT (id) DO UPDATE SET exchange = excluded.exchange, title = excluded.title, "
           "isFavourite = excluded.isFavourite, showInMenubar = excluded.showInMenubar"},
          {&delete_, "DELETE FROM Pair WHERE id = ?1"},
          {&begin_, "BEGIN IMMEDIATE"},
          {&commit_, "COMMIT"},
          {&rollback_, "ROLLBACK"},
      });
}

Result<std::vector<StoredPair>> SqlitePairStore::loadAll() {
  std::vector<StoredPair> pairs;
  if (empty_) return pairs;
  SqliteStatement::Run run = selectAll_.run();
  int rc = SQLITE_OK;
  while ((rc = run.step()) == SQLITE_ROW)
    pairs.push_back(StoredPair{run.integer(0), run.text(1), run.text(2), run.integer(3) != 0, run.integer(4) != 0});
  if (rc != SQLITE_DONE)
    return pathError("Pricora could not read the pair store " + quotedPath(path_) + ".", path_, db_.details());
  return pairs;
}

Result<std::vector<std::int64_t>> SqlitePairStore::save(const PairChanges& changes) {
  std::vector<std::int64_t> ids;
  if (changes.empty()) return ids;
  if (readOnly_)
    return pathError("Pricora could not save your changes to " + quotedPath(path_) + ".", path_,
                     {{"reason", "the store is open for reading only"}});
  // A rollback that failed after the last failed save would keep this one from beginning.
  if (sqlite3_get_autocommit(db_.get()) == 0) execute(rollback_);

  std::optional<ErrorDetails> failure = execute(begin_);
  if (!failure) failure = apply(changes, ids);
  if (!failure) failure = execute(commit_);
  if (!failure) return ids;
  // After an I/O error SQLite may have rolled back already; otherwise the transaction is still
  // open and must end here so that none of this save reaches the file.
  if (sqlite3_get_autocommit(db_.get()) == 0) execute(rollback_);
  return pathError("Pricora could not save your changes to " + quotedPath(path_) + ".", path_, std::move(*failure));
}

std::optional<ErrorDetails> SqlitePairStore::execute(SqliteStatement& statement) {
  SqliteStatement::Run run = statement.run();
  const int rc = run.step();
  if (rc == SQLITE_DONE || rc == SQLITE_ROW) return std::nullopt;
  return db_.details();
}

std::optional<ErrorDetails> SqlitePairStore::apply(const PairChanges& changes, std::vector<std::int64_t>& ids) {
  for (const StoredPair& pair : changes.inserts) {
    SqliteStatement::Run run = insert_.run();
    run.bind(1, pair.exchange).bind(2, pair.title).bind(3, pair.isFavourite).bind(4, pair.showInMenubar);
    if (run.step() != SQLITE_DONE) return db_.details();
    ids.push_back(sqlite3_last_insert_rowid(db_.get()));
  }
  for (const StoredPair& pair : changes.updates) {
    SqliteStatement::Run run = update_.run();
    run.bind(1, pair.exchange).bind(2, pair.title).bind(3, pair.isFavourite).bind(4, pair.showInMenubar);
    if (run.bind(5, pair.id).step() != SQLITE_DONE) return db_.details();
  }
  for (const std::int64_t id : changes.deletes) {
    SqliteStatement::Run run = delete_.run();
    if (run.bind(1, id).step() != SQLITE_DONE) return db_.details();
  }
  return std::nullopt;
}

}  // namespace pricora
