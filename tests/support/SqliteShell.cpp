#include "support/SqliteShell.h"

#include <stdexcept>

namespace pricora::test {

SqliteShell::SqliteShell(const std::string& path) {
  if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
    sqlite3_close(db_);
    throw std::runtime_error("cannot open " + path);
  }
  sqlite3_busy_timeout(db_, 10000);
}

SqliteShell::~SqliteShell() { sqlite3_close(db_); }

std::string SqliteShell::run(const std::string& sql) {
  std::string rows;
  const auto collect = [](void* out, int columns, char** values, char**) {
    std::string& text = *static_cast<std::string*>(out);
    for (int i = 0; i < columns; ++i) {
      if (i > 0) text += '|';
      if (values[i] != nullptr) text += values[i];
    }
    text += '\n';
    return 0;
  };
  char* message = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), collect, &rows, &message) != SQLITE_OK) {
    rows = std::string("error: ") + (message != nullptr ? message : "");
    sqlite3_free(message);
  }
  return rows;
}

}  // namespace pricora::test
