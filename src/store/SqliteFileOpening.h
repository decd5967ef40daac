#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Result.h"
#include "store/SqliteConnection.h"

namespace pricora {

// How a file of Pricora's own kept in SQLite (the pair store, the history file) is opened.
struct SqliteFileOptions {
  // How long opening and writing wait for another connection (pricora --alert, say) to release
  // its lock before failing.
  std::chrono::milliseconds busyTimeout{5000};
  // The SQLite VFS to go through; null for the default. Tests pass one that injects faults.
  const char* vfs = nullptr;
  // For a process beside the one that writes: the file is opened for reading alone and must
  // exist; it is never given the schema, its journal mode is left alone, and every write refuses.
  bool readOnly = false;
};

// What tells one kind of file apart from every other SQLite database, and how messages name it.
struct SqliteFileKind {
  const char* name;  // "pair store": "The pair store “PATH” is damaged."
  std::int64_t applicationId;
  std::int64_t schemaVersion;  // the user_version this build writes and reads
  // Makes a blank file one of this kind, its application_id and user_version included.
  const char* schema;
  // Upgrades from older versions of this kind: upgrades[v - 1] turns version v into v + 1, for
  // every v below schemaVersion; null when an older version is refused like a foreign file.
  const char* const* upgrades;
  // Readable and writable by its owner alone: created with mode 0600 (its log and index follow
  // the file's mode), and narrowed to it when a writer has opened a wider one. Never widened.
  bool ownerOnly;
  // Whether messages give the whole account: a failure to open names its cause (another
  // program, a read-only file or folder, a missing folder) and a foreign file's details count
  // its schema objects. Otherwise a failure to open says no more than that.
  bool explainsFailures;
};

enum class SqliteFileContents {
  blank,  // found by a reader only: the file has no schema yet, or an older one, and reads as empty
  ours,
  older,  // met inside the opening only: the kind's schema of an earlier version, to upgrade
};

// Opens path as a file of kind on db, which must not be open yet. A missing or blank file (0
// bytes, or a database with nothing in it) is given the schema, its folder must exist; a file
// that is not of this kind, is damaged or has a newer schema is refused without a byte of it
// being written, and so is its log; a writer upgrades an older one in place, in one transaction: until the file has
// proved to be of its kind it is only read. prepare then compiles the statements the file's owner runs on db (SQLite's
// result code; a failure reads as a damaged file), and only then is the file switched to WAL, every commit synced. A
// reader's blank file is not prepared. Every Error names the path.
Result<SqliteFileContents> openSqliteFile(SqliteConnection& db, const std::string& path, const SqliteFileKind& kind,
                                          const SqliteFileOptions& options, const std::function<int()>& prepare);

// openSqliteFile's checks, schema and preparation on a connection already open: for a reader
// that found the file blank and looks again.
Result<SqliteFileContents> readySqliteFile(SqliteConnection& db, const std::string& path, const SqliteFileKind& kind,
                                           bool readOnly, const std::function<int()>& prepare);

// A path as messages quote it: “/a/b”.
std::string quotedPath(const std::string& path);

}  // namespace pricora
