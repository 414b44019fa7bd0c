// The private state of a TTable, shared by its two source files (ttable.cpp: current record,
// states and events; ttablefile.cpp: the file, the order and the fetching of rows).
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/platform/sqlitedb.h"
#include "core/platform/ttable.h"

namespace pagolin {
namespace ttable_detail {

constexpr int kWindowSize = 128;
constexpr int kFirstOrderRows = 256;  // rowids read when a table is opened
constexpr int kDefaultBusyTimeoutMs = 2000;

using TValue = std::optional<std::string>;
using TRow = std::vector<TValue>;

inline bool IsBusy(int rc) {
  const int primary = rc & 0xFF;
  return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

}  // namespace ttable_detail

using ttable_detail::IsBusy;
using ttable_detail::kDefaultBusyTimeoutMs;
using ttable_detail::kFirstOrderRows;
using ttable_detail::kWindowSize;
using ttable_detail::TRow;
using ttable_detail::TValue;

struct TTable::Impl {
  TSqliteDb db;
  TSqliteStmt fetch;  // the row of one rowid
  TSqliteStmt begin;  // BEGIN (read window) / BEGIN IMMEDIATE (posts)
  TSqliteStmt beginWrite;
  TSqliteStmt commit;
  TSqliteStmt rollback;
  int busyTimeoutMs = kDefaultBusyTimeoutMs;

  std::string orderBy;      // ORDER BY clause of the active index, ending with rowid
  std::string rangeColumn;  // the active index's first column
  std::optional<std::pair<std::string, std::string>> range;  // UTF-8 bounds

  // The walk order: `count` records, of which `order` holds the first rowids (all of them once
  // a position beyond was needed, or a record had to be found). Opening a large table thus
  // reads only its first screen's worth of rowids and its count.
  std::vector<sqlite3_int64> order;
  int count = 0;
  int pos = 0;  // index into order
  bool eof = true, bof = true;

  std::vector<TRow> window;  // rows of order[windowStart ...]
  int windowStart = -1;

  TRow buffer;                // the record being edited or inserted
  std::vector<bool> written;  // per field: written since Insert or Edit
  sqlite3_int64 editRowId = 0;

  bool transaction = false;  // a transaction of StartTransaction is open

  // True while the engine holds a transaction open on the connection (ours, or one of
  // StartTransaction).
  bool EngineInTransaction() const { return db.IsOpen() && !sqlite3_get_autocommit(db.Handle()); }

  // Prepares "SELECT <what> FROM <table> [WHERE <range>] <tail>" with the range bound.
  int PrepareWalk(TSqliteStmt& stmt, const std::string& table, const std::string& what,
                  const std::string& tail) const {
    const bool ranged = range && !rangeColumn.empty();
    std::string sql = "SELECT " + what + " FROM " + QuoteIdentifier(table);
    if (ranged)
      sql += " WHERE " + QuoteIdentifier(rangeColumn) + " >= ? AND " + QuoteIdentifier(rangeColumn) + " <= ?";
    const int rc = stmt.Prepare(db.Handle(), sql + tail);
    if (rc == SQLITE_OK && ranged) {
      stmt.BindText(1, range->first);
      stmt.BindText(2, range->second);
    }
    return rc;
  }
  // Runs a prepared statement without results (BEGIN, COMMIT, ROLLBACK) and resets it.
  static int Run(TSqliteStmt& stmt) {
    stmt.Reset();
    const int rc = stmt.Step();
    stmt.Reset();
    return rc;
  }
  void Disconnect() {
    for (TSqliteStmt* stmt : {&fetch, &begin, &beginWrite, &commit, &rollback}) stmt->Finalize();
    db.Close();
  }
};

}  // namespace pagolin
