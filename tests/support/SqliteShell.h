#pragma once

#include <sqlite3.h>

#include <string>

namespace pricora::test {

// A plain SQLite connection that knows nothing of the pair store, as an outside tool would use
// the file. Results read like the sqlite3 shell's: a line per row, columns joined by '|', NULL
// as nothing.
class SqliteShell {
 public:
  explicit SqliteShell(const std::string& path);
  ~SqliteShell();
  SqliteShell(const SqliteShell&) = delete;
  SqliteShell& operator=(const SqliteShell&) = delete;

  // Runs every statement of sql; the rows they return, or "error: " and the engine's message.
  std::string run(const std::string& sql);

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace pricora::test
