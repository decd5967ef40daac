#include "store/SqlitePairStore.h"

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <utility>

namespace pricora {

namespace {

// "Pric" in ASCII: what tells a pair store apart from every other SQLite database.
constexpr std::int64_t kApplicationId = 0x50726963;
constexpr std::int64_t kSchemaVersion = 1;

// In one transaction with the check that the file is still empty, so a crash or a second process
// never leaves a half-made store behind.
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

std::string quotedPath(const std::string& path) { return "“" + path + "”"; }

// Why the file cannot be used as a store, worded after the engine's result code rc.
Error openFailure(const std::string& path, const SqliteConnection& db, int rc) {
  const std::string store = "The pair store " + quotedPath(path);
  switch (rc & 0xff) {
    case SQLITE_NOTADB:
      return pathError("The file " + quotedPath(path) + " is not a Pricora pair store.", path, db.details());
    case SQLITE_CORRUPT:
      return pathError(store + " is damaged.", path, db.details());
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return pathError(store + " could not be opened because another program is using it.", path, db.details());
    case SQLITE_READONLY:
      // The log and its index need a writable folder as well as a writable file.
      if (rc == SQLITE_READONLY_DIRECTORY)
        return pathError(store + " could not be opened because its folder is read-only.", path, db.details());
      // Only a connection that may write undoes a save that was cut short; a reader waits for one.
      if (rc == SQLITE_READONLY_ROLLBACK)
        return pathError(store + " cannot be read until Pricora undoes a save to it that was interrupted.", path,
                         db.details());
      return pathError(store + " could not be opened because it is read-only.", path, db.details());
    default:
      break;
  }
  std::error_code ignored;
  const std::filesystem::path file(path);
  if (std::filesystem::is_directory(file, ignored))
    return pathError(store + " could not be opened because it is a folder.", path, db.details());
  if (file.has_parent_path() && !std::filesystem::exists(file.parent_path(), ignored))
    return pathError(store + " could not be opened because its folder does not exist.", path, db.details());
  return pathError(store + " could not be opened.", path, db.details());
}

enum class Contents { empty, pairs };

// What the file holds, found by reading alone: an empty database that may be given the schema, a
// pair store of this schema, or the Error that says why it is neither.
Result<Contents> inspect(SqliteConnection& db, const std::string& path) {
  SqliteStatement query;
  int rc = query.prepare(db.get(),
                         "SELECT application_id, user_version, (SELECT count(*) FROM sqlite_schema) "
                         "FROM pragma_application_id, pragma_user_version");
  if (rc != SQLITE_OK) return openFailure(path, db, rc);
  SqliteStatement::Run run = query.run();
  rc = run.step();
  if (rc != SQLITE_ROW) return openFailure(path, db, rc);
  const std::int64_t applicationId = run.integer(0);
  const std::int64_t version = run.integer(1);
  const std::int64_t objects = run.integer(2);

  if (applicationId == kApplicationId && version == kSchemaVersion) return Contents::pairs;
  if (applicationId == 0 && version == 0 && objects == 0) return Contents::empty;
  if (applicationId == kApplicationId && version > kSchemaVersion)
    return pathError("The pair store " + quotedPath(path) + " was written by a newer version of Pricora.", path,
                     {{"user_version", std::to_string(version)}});
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(static_cast<std::uint32_t>(applicationId)));
  return pathError("The file " + quotedPath(path) + " is not a Pricora pair store.", path,
                   {{"application_id", hex},
                    {"user_version", std::to_string(version)},
                    {"schema_objects", std::to_string(objects)}});
}

Status checkIntegrity(SqliteConnection& db, const std::string& path) {
  SqliteStatement check;
  int rc = check.prepare(db.get(), "PRAGMA quick_check(1)");
  if (rc != SQLITE_OK) return openFailure(path, db, rc);
  SqliteStatement::Run run = check.run();
  rc = run.step();
  if (rc != SQLITE_ROW) return openFailure(path, db, rc);
  const std::string verdict = run.text(0).value_or("");
  if (verdict != "ok")
    return pathError("The pair store " + quotedPath(path) + " is damaged.", path, {{"quick_check", verdict}});
  return {};
}

Status createSchema(SqliteConnection& db, const std::string& path) {
  int rc = db.exec("BEGIN IMMEDIATE");
  if (rc != SQLITE_OK) return openFailure(path, db, rc);
  // Another process may have made the store while this one waited for the lock.
  Result<Contents> contents = inspect(db, path);
  if (contents && contents.value() == Contents::empty) rc = db.exec(kCreateSchema);
  if (contents && rc == SQLITE_OK) rc = db.exec("COMMIT");
  if (contents && rc == SQLITE_OK) return {};
  Error error = contents ? openFailure(path, db, rc) : contents.error();
  db.exec("ROLLBACK");
  return error;
}

}  // namespace

Result<std::unique_ptr<SqlitePairStore>> SqlitePairStore::open(const std::string& path, Options options) {
  std::error_code ignored;
  const bool hadLog = std::filesystem::exists(path + "-wal", ignored);
  SqliteConnection db;
  // Until the file has proved to be a store of this schema it is only read (the log someone else
  // left, another program or a newer schema, stays theirs).
  if (const int rc = db.openCautiously(path, options.vfs, options.readOnly, options.busyTimeout); rc != SQLITE_OK)
    return openFailure(path, db, rc);

  std::unique_ptr<SqlitePairStore> store(new SqlitePairStore(path, std::move(db), options.readOnly));
  const Status ready = store->initialize();
  if (options.readOnly) {
    // A reader never checkpoints: the log belongs to whoever writes the file.
    if (!ready) return ready.error();
    return store;
  }
  // Merely reading a file in WAL mode creates its -wal and -shm files. A log this connection
  // created holds nothing, so closing may checkpoint it: that writes nothing into the file and
  // deletes both files again.
  if (ready || !hadLog) store->db_.setCheckpointOnClose(true);
  if (!ready) return ready.error();
  return store;
}

Status SqlitePairStore::initialize() {
  Result<Contents> contents = inspect(db_, path_);
  if (!contents) return contents.error();
  if (readOnly_) {
    empty_ = contents.value() == Contents::empty;
    if (empty_) return {};
    if (const Status intact = checkIntegrity(db_, path_); !intact) return intact;
    if (prepareStatements() != SQLITE_OK)
      return pathError("The pair store " + quotedPath(path_) + " is damaged.", path_, db_.details());
    return {};
  }
  if (sqlite3_db_readonly(db_.get(), "main") == 1)
    return pathError("The pair store " + quotedPath(path_) + " could not be opened because it is read-only.", path_,
                     {});
  const Status ready = contents.value() == Contents::empty ? createSchema(db_, path_) : checkIntegrity(db_, path_);
  if (!ready) return ready;
  if (prepareStatements() != SQLITE_OK)
    return pathError("The pair store " + quotedPath(path_) + " is damaged.", path_, db_.details());
  // Only now may the file change. FULL has every commit sync the log, so a save that returned
  // survives a power cut; WAL makes a commit one append and one sync.
  if (const int rc = db_.exec("PRAGMA synchronous=FULL; PRAGMA journal_mode=WAL"); rc != SQLITE_OK)
    return openFailure(path_, db_, rc);
  return {};
}

SqlitePairStore::SqlitePairStore(std::string path, SqliteConnection db, bool readOnly)
    : path_(std::move(path)), readOnly_(readOnly), db_(std::move(db)) {}

SqlitePairStore::~SqlitePairStore() = default;

int SqlitePairStore::prepareStatements() {
  const std::pair<SqliteStatement*, const char*> statements[] = {
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
  };
  for (const auto& [statement, sql] : statements)
    if (const int rc = statement->prepare(db_.get(), sql); rc != SQLITE_OK) return rc;
  return SQLITE_OK;
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
