#include "store/SqliteFileOpening.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "store/SqliteStatement.h"

namespace pricora {

namespace {

std::string theFile(const SqliteFileKind& kind, const std::string& path) {
  return std::string("The ") + kind.name + " " + quotedPath(path);
}

Error notOfKind(const SqliteFileKind& kind, const std::string& path, ErrorDetails details) {
  return pathError("The file " + quotedPath(path) + " is not a Pricora " + kind.name + ".", path, std::move(details));
}

Error damaged(const SqliteFileKind& kind, const std::string& path, ErrorDetails details) {
  return pathError(theFile(kind, path) + " is damaged.", path, std::move(details));
}

// Why the file cannot be used, worded after the engine's result code rc.
Error openFailure(const SqliteFileKind& kind, const std::string& path, const SqliteConnection& db, int rc) {
  const std::string file = theFile(kind, path);
  switch (rc & 0xff) {
    case SQLITE_NOTADB:
      return notOfKind(kind, path, db.details());
    case SQLITE_CORRUPT:
      return damaged(kind, path, db.details());
    default:
      break;
  }
  if (!kind.explainsFailures) return pathError(file + " could not be opened.", path, db.details());
  switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return pathError(file + " could not be opened because another program is using it.", path, db.details());
    case SQLITE_READONLY:
      // The log and its index need a writable folder as well as a writable file.
      if (rc == SQLITE_READONLY_DIRECTORY)
        return pathError(file + " could not be opened because its folder is read-only.", path, db.details());
      // Only a connection that may write undoes a write that was cut short; a reader waits for one.
      if (rc == SQLITE_READONLY_ROLLBACK)
        return pathError(file + " cannot be read until Pricora undoes a save to it that was interrupted.", path,
                         db.details());
      return pathError(file + " could not be opened because it is read-only.", path, db.details());
    default:
      break;
  }
  std::error_code ignored;
  const std::filesystem::path location(path);
  if (std::filesystem::is_directory(location, ignored))
    return pathError(file + " could not be opened because it is a folder.", path, db.details());
  if (location.has_parent_path() && !std::filesystem::exists(location.parent_path(), ignored))
    return pathError(file + " could not be opened because its folder does not exist.", path, db.details());
  return pathError(file + " could not be opened.", path, db.details());
}

// The file's own flag says it may not be written (the file is, or its folder is, read-only).
Error readOnlyFailure(const SqliteFileKind& kind, const std::string& path) {
  if (kind.explainsFailures)
    return pathError(theFile(kind, path) + " could not be opened because it is read-only.", path, {});
  return pathError(theFile(kind, path) + " could not be opened.", path, {{"reason", "the file is read-only"}});
}

// What the file holds, found by reading alone, or the Error that says why it is not of kind.
Result<SqliteFileContents> inspect(SqliteConnection& db, const std::string& path, const SqliteFileKind& kind) {
  SqliteStatement query;
  int rc = query.prepare(db.get(),
                         "SELECT application_id, user_version, (SELECT count(*) FROM sqlite_schema) "
                         "FROM pragma_application_id, pragma_user_version");
  if (rc != SQLITE_OK) return openFailure(kind, path, db, rc);
  SqliteStatement::Run run = query.run();
  rc = run.step();
  if (rc != SQLITE_ROW) return openFailure(kind, path, db, rc);
  const std::int64_t applicationId = run.integer(0);
  const std::int64_t version = run.integer(1);
  const std::int64_t objects = run.integer(2);

  if (applicationId == kind.applicationId && version == kind.schemaVersion) return SqliteFileContents::ours;
  if (applicationId == kind.applicationId && version >= 1 && version < kind.schemaVersion && kind.upgrades != nullptr)
    return SqliteFileContents::older;
  if (applicationId == 0 && version == 0 && objects == 0) return SqliteFileContents::blank;
  if (applicationId == kind.applicationId && version > kind.schemaVersion)
    return pathError(theFile(kind, path) + " was written by a newer version of Pricora.", path,
                     {{"user_version", std::to_string(version)}});
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(static_cast<std::uint32_t>(applicationId)));
  ErrorDetails details{{"application_id", hex}, {"user_version", std::to_string(version)}};
  if (kind.explainsFailures) details.emplace_back("schema_objects", std::to_string(objects));
  return notOfKind(kind, path, std::move(details));
}

Status checkIntegrity(SqliteConnection& db, const std::string& path, const SqliteFileKind& kind) {
  SqliteStatement check;
  int rc = check.prepare(db.get(), "PRAGMA quick_check(1)");
  if (rc != SQLITE_OK) return openFailure(kind, path, db, rc);
  SqliteStatement::Run run = check.run();
  rc = run.step();
  if (rc != SQLITE_ROW) return openFailure(kind, path, db, rc);
  if (const std::string verdict = run.text(0).value_or(""); verdict != "ok")
    return damaged(kind, path, {{"quick_check", verdict}});
  return {};
}

std::int64_t userVersion(SqliteConnection& db) {
  SqliteStatement query;
  if (query.prepare(db.get(), "PRAGMA user_version") != SQLITE_OK) return 0;
  SqliteStatement::Run run = query.run();
  return run.step() == SQLITE_ROW ? run.integer(0) : 0;
}

// In one transaction with the check of what the file holds, so a crash or a second process
// never leaves a half-made or half-upgraded file behind.
Status createSchema(SqliteConnection& db, const std::string& path, const SqliteFileKind& kind) {
  int rc = db.exec("BEGIN IMMEDIATE");
  if (rc != SQLITE_OK) return openFailure(kind, path, db, rc);
  // Another process may have made or upgraded the file while this one waited for the lock.
  Result<SqliteFileContents> contents = inspect(db, path, kind);
  if (contents && contents.value() == SqliteFileContents::blank) rc = db.exec(kind.schema);
  if (contents && contents.value() == SqliteFileContents::older)
    for (std::int64_t version = userVersion(db); rc == SQLITE_OK && version < kind.schemaVersion; ++version)
      rc = db.exec(kind.upgrades[version - 1]);
  if (contents && rc == SQLITE_OK) rc = db.exec("COMMIT");
  if (contents && rc == SQLITE_OK) return {};
  Error error = contents ? openFailure(kind, path, db, rc) : contents.error();
  db.exec("ROLLBACK");
  return error;
}

// Made 0600 before SQLite makes it, so that it is never readable by others for a moment; SQLite
// gives its log and index the file's mode.
void createForOwner(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600);
  if (fd >= 0) ::close(fd);
}

// A file of its kind that an earlier version made wider, with the log and index it left, is
// narrowed to its owner; never widened.
void narrowToOwner(const std::string& path) {
  for (const char* suffix : {"", "-wal", "-shm"}) {
    struct stat status {};
    const std::string file = path + suffix;
    if (stat(file.c_str(), &status) == 0 && S_ISREG(status.st_mode) && (status.st_mode & 077) != 0)
      chmod(file.c_str(), status.st_mode & 0600);
  }
}

}  // namespace

std::string quotedPath(const std::string& path) { return "“" + path + "”"; }

Result<SqliteFileContents> openSqliteFile(SqliteConnection& db, const std::string& path, const SqliteFileKind& kind,
                                          const SqliteFileOptions& options, const std::function<int()>& prepare) {
  std::error_code ignored;
  const bool hadLog = std::filesystem::exists(path + "-wal", ignored);
  if (kind.ownerOnly && !options.readOnly) createForOwner(path);
  if (const int rc = db.openCautiously(path, options.vfs, options.readOnly, options.busyTimeout); rc != SQLITE_OK)
    return openFailure(kind, path, db, rc);
  Result<SqliteFileContents> contents = readySqliteFile(db, path, kind, options.readOnly, prepare);
  // Merely reading a file in WAL mode creates its -wal and -shm files. A log this connection
  // created holds nothing, so closing may checkpoint it: that writes nothing into the file and
  // deletes both files again. A reader never checkpoints: the log belongs to whoever writes.
  if (!options.readOnly && (contents || !hadLog)) db.setCheckpointOnClose(true);
  if (kind.ownerOnly && !options.readOnly && contents) narrowToOwner(path);
  return contents;
}

Result<SqliteFileContents> readySqliteFile(SqliteConnection& db, const std::string& path, const SqliteFileKind& kind,
                                           bool readOnly, const std::function<int()>& prepare) {
  Result<SqliteFileContents> contents = inspect(db, path, kind);
  if (!contents) return contents;
  // A reader waits for the writer to upgrade an older file, as it waits for a blank one's schema.
  if (readOnly && contents.value() == SqliteFileContents::older) return SqliteFileContents::blank;
  const bool blank = contents.value() != SqliteFileContents::ours;
  if (readOnly && blank) return contents;
  if (!readOnly && sqlite3_db_readonly(db.get(), "main") == 1) return readOnlyFailure(kind, path);
  if (const Status ready = blank ? createSchema(db, path, kind) : checkIntegrity(db, path, kind); !ready)
    return ready.error();
  if (prepare() != SQLITE_OK) return damaged(kind, path, db.details());
  // Only now may the file change. FULL has every commit sync the log, so a write that returned
  // survives a power cut; WAL makes a commit one append and one sync.
  if (!readOnly)
    if (const int rc = db.exec("PRAGMA synchronous=FULL; PRAGMA journal_mode=WAL"); rc != SQLITE_OK)
      return openFailure(kind, path, db, rc);
  return SqliteFileContents::ours;
}

}  // namespace pricora
