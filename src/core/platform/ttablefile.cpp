// The file side of TTable. The walk order is kept in memory as the list of rowids in the
// order of the active index (within a range); the current record is fetched by rowid. Rows are
// fetched a window at a time inside one read transaction, so walking a table costs one lock
// round per window instead of one per record. A post is one committed write transaction.
#include <algorithm>

#include "core/platform/filenames.h"
#include "core/platform/ttable_impl.h"

namespace pagolin {

// ---- opening and the order ---------------------------------------------------------------

namespace {

// Reads the key columns of an index with their directions; empty when there is no such index
// on the table.
std::vector<std::pair<std::string, bool>> IndexColumns(sqlite3* db, const std::string& table,
                                                       const std::string& index, int& rc,
                                                       std::string& orderBy) {
  std::vector<std::pair<std::string, bool>> columns;
  TSqliteStmt owner;
  rc = owner.Prepare(db, "SELECT tbl_name FROM sqlite_master WHERE type='index' AND name=?");
  if (rc != SQLITE_OK) return columns;
  owner.BindText(1, index);
  rc = owner.Step();
  if (rc != SQLITE_ROW) {
    if (rc == SQLITE_DONE) rc = SQLITE_OK;
    return columns;
  }
  rc = SQLITE_OK;
  if (owner.ColumnText(0).value_or("") != table) return columns;
  TSqliteStmt info;
  rc = info.Prepare(db, "PRAGMA index_xinfo(" + QuoteIdentifier(index) + ")");
  if (rc != SQLITE_OK) return columns;
  // seqno, cid, name, desc, coll, key
  while ((rc = info.Step()) == SQLITE_ROW) {
    if (info.ColumnInt(5) == 0 || info.ColumnInt(1) < 0) continue;  // rowid / expressions
    const std::string name = info.ColumnText(2).value_or("");
    const bool desc = info.ColumnInt(3) != 0;
    const std::string coll = info.ColumnText(4).value_or("BINARY");
    orderBy += QuoteIdentifier(name);
    if (coll != "BINARY") orderBy += " COLLATE " + QuoteIdentifier(coll);
    orderBy += desc ? " DESC, " : ", ";
    columns.emplace_back(name, desc);
  }
  if (rc == SQLITE_DONE) rc = SQLITE_OK;
  return columns;
}

}  // namespace

void TTable::Open() {
  if (Active()) return;
  Impl& m = *impl_;
  const std::string path = FilePath();
  if (!FileExists(path))
    throw EDatabaseError("The table file \"" + def_.fileName + "\" was not found in the folder \"" + folder_ +
                         "\". A site is prepared with pagolin-newsite (\"pagolin-newsite " +
                         "FOLDER --sample\" makes a sample site).");
  const int rcOpen = m.db.Open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX);
  if (rcOpen != SQLITE_OK)
    throw EDatabaseError("The " + Where() + " cannot be opened: " + m.db.OpenError() + ".");
  sqlite3_busy_timeout(m.db.Handle(), m.busyTimeoutMs);
  try {
    // The columns the program needs must all be there; more columns do no harm.
    TSqliteStmt info;
    int rc = info.Prepare(m.db.Handle(), "PRAGMA table_info(" + QuoteIdentifier(def_.tableName) + ")");
    std::vector<std::string> present;
    if (rc == SQLITE_OK) {
      while ((rc = info.Step()) == SQLITE_ROW) present.push_back(info.ColumnText(1).value_or(""));
      if (rc == SQLITE_DONE) rc = SQLITE_OK;
    }
    if (rc == SQLITE_NOTADB)
      throw EDatabaseError("The " + Where() + " is not a table of this program (not an SQLite database).");
    if (IsBusy(rc)) throw EDatabaseError("The " + Where() + " is locked by another program.");
    if (rc != SQLITE_OK)
      throw EDatabaseError("The " + Where() + " cannot be read: " + m.db.ErrorMessage() + ".");
    if (present.empty())
      throw EDatabaseError("The " + Where() + " is not a table of this program: it holds no table \"" +
                           def_.tableName + "\".");
    std::string columns;
    for (const TFieldDef& f : def_.fields) {
      if (std::find(present.begin(), present.end(), f.name) == present.end())
        throw EDatabaseError("The " + Where() + " is not a table of this program: the column \"" + f.name +
                             "\" is missing.");
      columns += (columns.empty() ? "" : ", ") + QuoteIdentifier(f.name);
    }
    const std::string table = QuoteIdentifier(def_.tableName);
    if (m.fetch.Prepare(m.db.Handle(), "SELECT " + columns + " FROM " + table + " WHERE rowid = ?") !=
            SQLITE_OK ||
        m.begin.Prepare(m.db.Handle(), "BEGIN") != SQLITE_OK ||
        m.beginWrite.Prepare(m.db.Handle(), "BEGIN IMMEDIATE") != SQLITE_OK ||
        m.commit.Prepare(m.db.Handle(), "COMMIT") != SQLITE_OK ||
        m.rollback.Prepare(m.db.Handle(), "ROLLBACK") != SQLITE_OK)
      throw EDatabaseError("The " + Where() + " cannot be read: " + m.db.ErrorMessage() + ".");
    ChooseOrder(indexName_);
    LoadOrder(0);
  } catch (...) {
    m.Disconnect();
    throw;
  }
  m.pos = 0;
  m.bof = true;
  m.eof = m.count == 0;
  SetState(TDataSetState::dsBrowse);
  Notify(TDataEvent::deDataSetChange, nullptr);
}

// Finds the index in the file and makes its columns the order; throws when it is missing.
void TTable::ChooseOrder(const std::string& indexName) {
  Impl& m = *impl_;
  std::string orderBy;
  std::string first;
  if (!indexName.empty()) {
    int rc = SQLITE_OK;
    const auto columns = IndexColumns(m.db.Handle(), def_.tableName, indexName, rc, orderBy);
    if (IsBusy(rc)) throw EDatabaseError("The " + Where() + " is locked by another program.");
    if (rc != SQLITE_OK)
      throw EDatabaseError("The " + Where() + " cannot be read: " + m.db.ErrorMessage() + ".");
    if (columns.empty()) throw EDatabaseError("The " + Where() + " has no index \"" + indexName + "\".");
    first = columns.front().first;
  }
  m.orderBy = orderBy + "rowid";
  m.rangeColumn = first;
}

// The rowids of the walk, from the start of the order.
std::vector<long long> TTable::ReadOrder(int limit) {
  Impl& m = *impl_;
  TSqliteStmt stmt;
  int rc = m.PrepareWalk(stmt, def_.tableName, "rowid",
                         " ORDER BY " + m.orderBy + (limit >= 0 ? " LIMIT " + std::to_string(limit) : ""));
  std::vector<long long> order;
  order.reserve(limit >= 0 ? static_cast<size_t>(limit) : static_cast<size_t>(m.count) + 1);
  if (rc == SQLITE_OK) {
    while ((rc = stmt.Step()) == SQLITE_ROW) order.push_back(stmt.ColumnInt(0));
    if (rc == SQLITE_DONE) rc = SQLITE_OK;
  }
  if (rc != SQLITE_OK) RaiseEngineError(rc, "read");
  return order;
}

int TTable::CountRecords() {
  TSqliteStmt stmt;
  int rc = impl_->PrepareWalk(stmt, def_.tableName, "count(*)", "");
  if (rc == SQLITE_OK) rc = stmt.Step();
  if (rc != SQLITE_ROW) RaiseEngineError(rc, "read");
  return static_cast<int>(stmt.ColumnInt(0));
}

// Reads the walk order and keeps the record of keepRowId current (or the record at the same
// position when it is gone). Finding a record needs the whole order; otherwise the count and
// the first rowids are enough, and the rest is read when a position beyond them is needed.
void TTable::LoadOrder(sqlite3_int64 keepRowId) {
  Impl& m = *impl_;
  if (keepRowId != 0) {
    m.order = ReadOrder(-1);
    m.count = static_cast<int>(m.order.size());
  } else {
    const int wanted = std::max(m.pos + 1, kFirstOrderRows);
    // One read transaction (or the one open), so that the count and the rowids agree.
    const bool own = !m.EngineInTransaction();
    const int rc = own ? Impl::Run(m.begin) : SQLITE_DONE;
    if (rc != SQLITE_DONE) RaiseEngineError(rc, "read");
    try {
      m.order = ReadOrder(wanted);
      m.count = static_cast<int>(m.order.size()) < wanted ? static_cast<int>(m.order.size()) : CountRecords();
    } catch (...) {
      if (own) Impl::Run(m.commit);
      throw;
    }
    const int rcEnd = own ? Impl::Run(m.commit) : SQLITE_DONE;
    if (rcEnd != SQLITE_DONE) RaiseEngineError(rcEnd, "read");
  }
  m.window.clear();
  m.windowStart = -1;
  if (keepRowId != 0) {
    const auto it = std::find(m.order.begin(), m.order.end(), keepRowId);
    if (it != m.order.end()) m.pos = static_cast<int>(it - m.order.begin());
  }
  m.pos = std::clamp(m.pos, 0, std::max(0, m.count - 1));
  if (m.count == 0) m.eof = m.bof = true;
}

void TTable::CompleteOrder() {
  Impl& m = *impl_;
  if (static_cast<int>(m.order.size()) >= m.count) return;
  // Read again as a whole: a single statement gives one consistent order.
  m.order = ReadOrder(-1);
  m.count = static_cast<int>(m.order.size());
  m.pos = std::clamp(m.pos, 0, std::max(0, m.count - 1));
}

long long TTable::RowIdAt(int position) {
  Impl& m = *impl_;
  if (position < 0 || position >= m.count) return 0;
  if (position >= static_cast<int>(m.order.size())) CompleteOrder();
  return position < static_cast<int>(m.order.size()) ? m.order[static_cast<size_t>(position)] : 0;
}

void TTable::RaiseEngineError(int rc, const std::string& what) {
  if (IsBusy(rc))
    throw EDatabaseError("Could not " + what + " the " + Where() +
                         ": it is locked by another program. Try again when that program is done.");
  if ((rc & 0xFF) == SQLITE_READONLY)
    throw EDatabaseError("Could not " + what + " the " + Where() +
                         ": the file or its folder cannot be written (read-only).");
  throw EDatabaseError("Could not " + what + " the " + Where() + ": " + impl_->db.ErrorMessage() + ".");
}

void TTable::Close() {
  if (!Active()) return;
  CheckBrowseMode();
  Impl& m = *impl_;
  m.Disconnect();  // an open transaction is undone
  m.transaction = false;
  m.order.clear();
  m.count = 0;
  m.window.clear();
  m.windowStart = -1;
  m.pos = 0;
  m.eof = m.bof = true;
  m.range.reset();
  SetState(TDataSetState::dsInactive);
  Notify(TDataEvent::deDataSetChange, nullptr);
}

void TTable::EmptyTable() {
  if (!Active()) {
    // Empty the closed file through a connection of its own.
    Open();
    try {
      EmptyTable();
    } catch (...) {
      Close();
      throw;
    }
    Close();
    return;
  }
  Impl& m = *impl_;
  if (state_ != TDataSetState::dsBrowse) {
    m.buffer.clear();
    SetState(TDataSetState::dsBrowse);
  }
  Write(
      [&] {
        const int rc = m.db.Exec("DELETE FROM " + QuoteIdentifier(def_.tableName));
        if (rc != SQLITE_OK) RaiseEngineError(rc, "empty");
      },
      "empty");
  LoadOrder(0);
  m.pos = 0;
  m.eof = m.bof = true;
  Notify(TDataEvent::deDataSetChange, nullptr);
}

// Runs body inside one write transaction and commits it; on any failure the transaction is
// rolled back and the error is raised. Inside a transaction of StartTransaction the body
// only joins it: committing or undoing is then the caller's.
void TTable::Write(const std::function<void()>& body, const std::string& what) {
  Impl& m = *impl_;
  if (m.transaction && m.EngineInTransaction()) {
    body();
    return;
  }
  int rc = Impl::Run(m.beginWrite);
  if (rc != SQLITE_DONE) RaiseEngineError(rc, what);
  try {
    body();
    rc = Impl::Run(m.commit);
    if (rc != SQLITE_DONE) RaiseEngineError(rc, what);
  } catch (...) {
    if (m.EngineInTransaction()) Impl::Run(m.rollback);
    throw;
  }
}

void TTable::StartTransaction() {
  CheckActive();
  CheckBrowseMode();
  Impl& m = *impl_;
  if (InTransaction()) throw EDatabaseError("The " + Where() + " is already in a transaction.");
  const int rc = Impl::Run(m.beginWrite);
  if (rc != SQLITE_DONE) RaiseEngineError(rc, "write to");
  m.transaction = true;
  // What was read before the lock may be stale: the rows are read again inside it.
  m.window.clear();
  m.windowStart = -1;
}

bool TTable::InTransaction() const { return impl_->transaction && impl_->EngineInTransaction(); }

void TTable::Commit() {
  CheckActive();
  CheckBrowseMode();
  Impl& m = *impl_;
  if (!m.transaction) throw EDatabaseError("The " + Where() + " has no transaction to commit.");
  if (!m.EngineInTransaction()) {
    Rollback();
    throw EDatabaseError("Could not save the changes to the " + Where() +
                         ": the database engine has undone them after an error.");
  }
  const int rc = Impl::Run(m.commit);
  if (rc != SQLITE_DONE) RaiseEngineError(rc, "save the changes to");
  m.transaction = false;
}

void TTable::Rollback() {
  Impl& m = *impl_;
  if (!Active() || !m.transaction) return;
  m.transaction = false;
  if (state_ != TDataSetState::dsBrowse) {
    m.buffer.clear();
    SetState(TDataSetState::dsBrowse);
  }
  if (m.EngineInTransaction()) Impl::Run(m.rollback);
  // The order and the rows read inside the transaction held its changes.
  m.window.clear();
  m.windowStart = -1;
  LoadOrder(RowIdAt(m.pos));
  m.eof = m.bof = m.count == 0;
  Notify(TDataEvent::deDataSetChange, nullptr);
}

void TTable::FetchRows(int start, int end, const std::function<TRow&()>& next,
                       const std::vector<bool>& wanted) {
  Impl& m = *impl_;
  // The rowids first: reading the rest of the order is a statement of its own.
  if (end > start) RowIdAt(end - 1);
  // Inside a transaction the rows are read in it; otherwise in a read transaction of their own.
  const bool own = !m.EngineInTransaction();
  int rc = own ? Impl::Run(m.begin) : SQLITE_DONE;
  if (rc != SQLITE_DONE) RaiseEngineError(rc, "read");
  const size_t columns = def_.fields.size();
  for (int i = start; i < end; ++i) {
    m.fetch.Reset();
    m.fetch.BindInt(1, RowIdAt(i));
    rc = m.fetch.Step();
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) break;
    TRow& row = next();
    row.resize(columns);
    // A row another program deleted reads as empty.
    for (size_t c = 0; c < columns; ++c)
      if (rc == SQLITE_ROW && (wanted.empty() || wanted[c]))
        m.fetch.ColumnTextInto(static_cast<int>(c), row[c]);
      else
        row[c].reset();
  }
  m.fetch.Reset();
  const int rcEnd = own ? Impl::Run(m.commit) : SQLITE_DONE;
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) RaiseEngineError(rc, "read");
  if (rcEnd != SQLITE_DONE) RaiseEngineError(rcEnd, "read");
}

// Fetches the rows around the current position.
void TTable::LoadWindow() {
  Impl& m = *impl_;
  // Walking backwards reads the rows before the current one, otherwise those after it.
  int start = m.pos;
  if (m.windowStart >= 0 && m.pos < m.windowStart) start = std::max(0, m.pos - kWindowSize + 1);
  const int end = std::min(m.count, start + kWindowSize);
  m.windowStart = -1;
  // The rows of the last window are overwritten in place: a walk reads every row of a table,
  // and reusing their memory saves an allocation per field.
  std::vector<TRow>& rows = m.window;
  rows.resize(static_cast<size_t>(std::max(0, end - start)));
  size_t loaded = 0;
  FetchRows(start, end, [&]() -> TRow& { return rows[loaded++]; });
  rows.resize(loaded);
  m.windowStart = start;
}

std::vector<TRecordValues> TTable::ReadRows(int first, int count, const std::vector<int>& fields) const {
  CheckActive();
  TTable& self = const_cast<TTable&>(*this);  // reading rows changes nothing a caller can see
  first = std::max(0, first);
  const int end = std::min(impl_->count, first + std::max(0, count));
  std::vector<bool> wanted;
  if (!fields.empty()) {
    wanted.assign(def_.fields.size(), false);
    for (int f : fields)
      if (f >= 0 && f < static_cast<int>(wanted.size())) wanted[static_cast<size_t>(f)] = true;
  }
  std::vector<TRow> rows;
  rows.reserve(static_cast<size_t>(std::max(0, end - first)));
  self.FetchRows(
      first, end, [&]() -> TRow& { return rows.emplace_back(); }, wanted);
  std::vector<TRecordValues> values;
  values.reserve(rows.size());
  for (TRow& row : rows) values.push_back(TRecordValues(&def_, std::move(row)));
  return values;
}

void TTable::FlushBuffers() {
  CheckActive();
  // Posts are committed as they happen; this writes whatever the engine may still hold.
  const int rc = sqlite3_db_cacheflush(impl_->db.Handle());
  if (rc != SQLITE_OK) RaiseEngineError(rc, "write");
}

void TTable::SetBusyTimeout(int milliseconds) {
  impl_->busyTimeoutMs = milliseconds;
  if (impl_->db.IsOpen()) sqlite3_busy_timeout(impl_->db.Handle(), milliseconds);
}
}  // namespace pagolin
