#include "store/SqliteConnection.h"

#include <sqlite3.h>

#include <system_error>

namespace pricora {

void SqliteConnection::Close::operator()(sqlite3* db) const {
  // The _v2 form closes even if a statement outlived the connection, rather than leaking it.
  sqlite3_close_v2(db);
}

int SqliteConnection::open(const std::string& path, const char* vfs, bool readOnly) {
  sqlite3* handle = nullptr;
  const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  const int rc = sqlite3_open_v2(path.c_str(), &handle, flags, vfs);
  db_.reset(handle);
  if (handle != nullptr) sqlite3_extended_result_codes(handle, 1);
  return rc;
}

int SqliteConnection::openCautiously(const std::string& path, const char* vfs, bool readOnly,
                                     std::chrono::milliseconds busyTimeout) {
  const int rc = open(path, vfs, readOnly);
  if (rc != SQLITE_OK) return rc;
  sqlite3_busy_timeout(db_.get(), static_cast<int>(busyTimeout.count()));
  setCheckpointOnClose(false);
  return rc;
}

void SqliteConnection::setCheckpointOnClose(bool on) {
  sqlite3_db_config(db_.get(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, on ? 0 : 1, nullptr);
}

int SqliteConnection::exec(const char* sql) { return sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr); }

std::string SqliteConnection::message() const {
  if (!db_) return "out of memory (7)";  // sqlite3_open_v2 leaves no handle only then
  return std::string(sqlite3_errmsg(db_.get())) + " (" + std::to_string(sqlite3_extended_errcode(db_.get())) + ")";
}

std::string SqliteConnection::systemError() const {
  if (!db_) return {};
  // The OS error number is only kept up to date by failures that touched a file; after any other
  // failure it is stale and would mislead.
  const int primary = sqlite3_errcode(db_.get());
  if (primary != SQLITE_CANTOPEN && primary != SQLITE_IOERR && primary != SQLITE_FULL) return {};
  const int number = sqlite3_system_errno(db_.get());
  if (number == 0) return {};
  return std::generic_category().message(number) + " (" + std::to_string(number) + ")";
}

ErrorDetails SqliteConnection::details() const {
  ErrorDetails details{{"sqlite", message()}};
  if (std::string system = systemError(); !system.empty()) details.emplace_back("system", std::move(system));
  return details;
}

}  // namespace pricora
