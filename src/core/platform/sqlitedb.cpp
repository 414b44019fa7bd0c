#include "core/platform/sqlitedb.h"

namespace pagolin {

TSqliteDb::~TSqliteDb() { Close(); }

int TSqliteDb::Open(const std::string& fileName, int flags) {
  Close();
  openError_.clear();
  const int rc = sqlite3_open_v2(fileName.c_str(), &db_, flags, nullptr);
  if (rc != SQLITE_OK) {
    openError_ = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    Close();
  }
  return rc;
}

void TSqliteDb::Close() {
  if (db_) {
    // Statements are owned by TSqliteStmt objects, which must be finalized first; close_v2
    // keeps the connection alive until they are, so a wrong order cannot crash.
    sqlite3_close_v2(db_);
    db_ = nullptr;
  }
}

int TSqliteDb::Exec(const std::string& sql) {
  return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
}

std::string TSqliteDb::ErrorMessage() const { return db_ ? std::string(sqlite3_errmsg(db_)) : openError_; }

TSqliteStmt::~TSqliteStmt() { Finalize(); }

int TSqliteStmt::Prepare(sqlite3* db, const std::string& sql) {
  Finalize();
  return sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr);
}

void TSqliteStmt::Finalize() {
  if (stmt_) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
  }
}

void TSqliteStmt::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

void TSqliteStmt::BindText(int index, std::string_view utf8) {
  sqlite3_bind_text(stmt_, index, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

void TSqliteStmt::BindInt(int index, std::int64_t value) { sqlite3_bind_int64(stmt_, index, value); }

void TSqliteStmt::BindNull(int index) { sqlite3_bind_null(stmt_, index); }

int TSqliteStmt::Step() { return sqlite3_step(stmt_); }

std::optional<std::string> TSqliteStmt::ColumnText(int column) const {
  if (sqlite3_column_type(stmt_, column) == SQLITE_NULL) return std::nullopt;
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  const int size = sqlite3_column_bytes(stmt_, column);
  return std::string(text ? text : "", static_cast<size_t>(size));
}

void TSqliteStmt::ColumnTextInto(int column, std::optional<std::string>& value) const {
  if (sqlite3_column_type(stmt_, column) == SQLITE_NULL) {
    value.reset();
    return;
  }
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  const auto size = static_cast<size_t>(sqlite3_column_bytes(stmt_, column));
  if (!value) value.emplace();
  value->assign(text ? text : "", text ? size : 0);
}

std::int64_t TSqliteStmt::ColumnInt(int column) const { return sqlite3_column_int64(stmt_, column); }

bool TSqliteStmt::ColumnIsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

std::string QuoteIdentifier(std::string_view name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

}  // namespace pagolin
