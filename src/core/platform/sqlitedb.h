// Small owners of an SQLite connection and a prepared statement (sqlite3 C API). Neither can be
// copied; each releases its handle in its destructor. Nothing here throws: failures come back
// as the engine's result codes, with its message in ErrorMessage(); the callers, which know the
// file, turn them into EDatabaseError with a message that names it.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pagolin {

class TSqliteDb {
 public:
  TSqliteDb() = default;
  ~TSqliteDb();
  TSqliteDb(const TSqliteDb&) = delete;
  TSqliteDb& operator=(const TSqliteDb&) = delete;

  // flags as sqlite3_open_v2. Returns the engine's result code; on failure the connection is
  // closed again and ErrorMessage() holds the reason.
  int Open(const std::string& fileName, int flags);
  void Close();
  bool IsOpen() const { return db_ != nullptr; }
  sqlite3* Handle() const { return db_; }

  // Runs one or more statements without results; returns the result code (SQLITE_OK).
  int Exec(const std::string& sql);
  std::string ErrorMessage() const;
  // The last error message kept by Open after it closed the connection.
  const std::string& OpenError() const { return openError_; }

 private:
  sqlite3* db_ = nullptr;
  std::string openError_;
};

class TSqliteStmt {
 public:
  TSqliteStmt() = default;
  ~TSqliteStmt();
  TSqliteStmt(const TSqliteStmt&) = delete;
  TSqliteStmt& operator=(const TSqliteStmt&) = delete;

  // Returns the engine's result code (SQLITE_OK).
  int Prepare(sqlite3* db, const std::string& sql);
  bool IsPrepared() const { return stmt_ != nullptr; }
  void Finalize();
  sqlite3_stmt* Handle() const { return stmt_; }

  // Resets the statement and clears its bindings, ready for the next use.
  void Reset();
  // Parameters are 1-based. Texts are bound as they are (UTF-8), copied by the engine.
  void BindText(int index, std::string_view utf8);
  void BindInt(int index, std::int64_t value);
  void BindNull(int index);
  // SQLITE_ROW, SQLITE_DONE or an error code.
  int Step();

  // Columns are 0-based. A null column reads as an empty optional.
  std::optional<std::string> ColumnText(int column) const;
  // The same into value, reusing the memory it holds.
  void ColumnTextInto(int column, std::optional<std::string>& value) const;
  std::int64_t ColumnInt(int column) const;
  bool ColumnIsNull(int column) const;

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

// The identifier quoted for SQL: "name" with embedded quotes doubled.
std::string QuoteIdentifier(std::string_view name);

}  // namespace pagolin
