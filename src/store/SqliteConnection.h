#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "store/ErrorDetails.h"

struct sqlite3;

namespace pricora {

// An open SQLite connection, closed when the object goes away.
class SqliteConnection {
 public:
  // Opens path for reading and writing, creating a missing file, or with readOnly for reading
  // alone (a missing file is then an error), through the named VFS (null: the default). SQLite's
  // result code; a failed open may still leave a handle that holds the engine's account of the
  // failure.
  int open(const std::string& path, const char* vfs, bool readOnly = false);
  // Opens as open() does, waits up to busyTimeout for other connections' locks, and leaves the
  // log alone when it closes until setCheckpointOnClose(true): a file not yet proved to be the
  // one expected must not have a log someone else left checkpointed into it.
  int openCautiously(const std::string& path, const char* vfs, bool readOnly, std::chrono::milliseconds busyTimeout);
  void setCheckpointOnClose(bool on);
  sqlite3* get() const { return db_.get(); }

  // Runs every statement of sql, ignoring the rows they return; SQLite's result code.
  int exec(const char* sql);

  // The last failure as the engine words it, with its extended result code:
  // "database is locked (5)".
  std::string message() const;
  // The operating system's error behind the last failure to open, read or write a file, worded
  // ("Permission denied (13)"); empty when the failure had none.
  std::string systemError() const;
  // Both, as the details of an Error: {sqlite = ...; system = ...}.
  ErrorDetails details() const;

 private:
  struct Close {
    void operator()(sqlite3* db) const;
  };
  std::unique_ptr<sqlite3, Close> db_;
};

}  // namespace pricora
