#include "store/SqliteStatement.h"

#include <sqlite3.h>

namespace pricora {

SqliteStatement::~SqliteStatement() { sqlite3_finalize(statement_); }

int SqliteStatement::prepare(sqlite3* db, const char* sql) {
  sqlite3_finalize(statement_);
  statement_ = nullptr;
  return sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement_, nullptr);
}

int prepareEach(sqlite3* db, std::initializer_list<std::pair<SqliteStatement*, const char*>> statements) {
  for (const auto& [statement, sql] : statements)
    if (const int rc = statement->prepare(db, sql); rc != SQLITE_OK) return rc;
  return SQLITE_OK;
}

SqliteStatement::Run::~Run() {
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

SqliteStatement::Run& SqliteStatement::Run::bind(int index, std::int64_t value) {
  const int rc = sqlite3_bind_int64(statement_, index, value);
  if (bindError_ == SQLITE_OK) bindError_ = rc;
  return *this;
}

SqliteStatement::Run& SqliteStatement::Run::bind(int index, const std::optional<std::string>& text) {
  const int rc = text
                     ? sqlite3_bind_text64(statement_, index, text->data(), text->size(), SQLITE_TRANSIENT, SQLITE_UTF8)
                     : sqlite3_bind_null(statement_, index);
  if (bindError_ == SQLITE_OK) bindError_ = rc;
  return *this;
}

SqliteStatement::Run& SqliteStatement::Run::bindReal(int index, double value) {
  const int rc = sqlite3_bind_double(statement_, index, value);
  if (bindError_ == SQLITE_OK) bindError_ = rc;
  return *this;
}

SqliteStatement::Run& SqliteStatement::Run::bindBlob(int index, const std::string& bytes) {
  const int rc = sqlite3_bind_blob64(statement_, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
  if (bindError_ == SQLITE_OK) bindError_ = rc;
  return *this;
}

int SqliteStatement::Run::step() { return bindError_ != SQLITE_OK ? bindError_ : sqlite3_step(statement_); }

std::int64_t SqliteStatement::Run::integer(int column) const { return sqlite3_column_int64(statement_, column); }

double SqliteStatement::Run::real(int column) const { return sqlite3_column_double(statement_, column); }

bool SqliteStatement::Run::isNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }

std::string_view SqliteStatement::Run::blob(int column) const {
  const void* bytes = sqlite3_column_blob(statement_, column);
  const int length = sqlite3_column_bytes(statement_, column);
  if (bytes == nullptr) return {};
  return {static_cast<const char*>(bytes), static_cast<std::size_t>(length)};
}

std::optional<std::string> SqliteStatement::Run::text(int column) const {
  if (sqlite3_column_type(statement_, column) == SQLITE_NULL) return std::nullopt;
  // Text first, then its length: asking for the length first could convert the value twice.
  const unsigned char* chars = sqlite3_column_text(statement_, column);
  const int length = sqlite3_column_bytes(statement_, column);
  if (chars == nullptr) return std::string();
  return std::string(reinterpret_cast<const char*>(chars), static_cast<std::size_t>(length));
}

}  // namespace pricora
