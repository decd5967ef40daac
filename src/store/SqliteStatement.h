#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

struct sqlite3;
struct sqlite3_stmt;

namespace pricora {

// A statement compiled once and run many times; finalized when the object goes away, which must
// happen before its connection closes.
class SqliteStatement {
 public:
  SqliteStatement() = default;
  ~SqliteStatement();
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  // Compiles sql (one statement) on db; SQLite's result code.
  int prepare(sqlite3* db, const char* sql);

  // One run of the statement. Ending the run resets the statement and clears its bindings, so a
  // statement never holds a read transaction open between runs: in WAL mode that would pin the
  // log and keep checkpoints from finishing.
  class Run {
   public:
    explicit Run(sqlite3_stmt* statement) : statement_(statement) {}
    ~Run();
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    Run& bind(int index, std::int64_t value);
    Run& bind(int index, const std::optional<std::string>& text);  // none binds NULL
    Run& bindReal(int index, double value);
    Run& bindBlob(int index, const std::string& bytes);
    // SQLITE_ROW, SQLITE_DONE, or the error of the first failed bind or of the step.
    int step();
    std::int64_t integer(int column) const;
    std::optional<std::string> text(int column) const;  // none for NULL
    double real(int column) const;
    bool isNull(int column) const;
    // The column's bytes, valid until the next step or the end of the run.
    std::string_view blob(int column) const;

   private:
    sqlite3_stmt* statement_;
    int bindError_ = 0;
  };
  Run run() { return Run(statement_); }

 private:
  sqlite3_stmt* statement_ = nullptr;
};

// Compiles each statement's sql on db, in order, up to the first failure; SQLite's result code.
int prepareEach(sqlite3* db, std::initializer_list<std::pair<SqliteStatement*, const char*>> statements);

}  // namespace pricora
