// TTable over one SQLite file. The walk order is kept in memory as the list of rowids in the
// order of the active index (within a range); the current record is fetched by rowid. Rows are
// fetched a window at a time inside one read transaction, so walking a table costs one lock
// round per window instead of one per record. A post is one committed write transaction.
#include "ttable.h"

#include <algorithm>

#include "codepage.h"
#include "filenames.h"
#include "sqlitedb.h"

namespace pagolin {
namespace {

constexpr int kWindowSize = 128;
constexpr int kDefaultBusyTimeoutMs = 2000;

using TValue = std::optional<std::string>;
using TRow = std::vector<TValue>;

bool IsBusy(int rc) {
  const int primary = rc & 0xFF;
  return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

}  // namespace

struct TTable::Impl {
  TSqliteDb db;
  TSqliteStmt fetch;     // the row of one rowid
  TSqliteStmt begin;     // BEGIN (read window) / BEGIN IMMEDIATE (posts)
  TSqliteStmt beginWrite;
  TSqliteStmt commit;
  TSqliteStmt rollback;
  int busyTimeoutMs = kDefaultBusyTimeoutMs;

  std::string orderBy;          // ORDER BY clause of the active index, ending with rowid
  std::string rangeColumn;      // the active index's first column
  std::optional<std::pair<std::string, std::string>> range;  // UTF-8 bounds

  std::vector<sqlite3_int64> order;  // rowids in walk order
  int pos = 0;                       // index into order
  bool eof = true, bof = true;

  std::vector<TRow> window;  // rows of order[windowStart ...]
  int windowStart = -1;

  TRow buffer;            // the record being edited or inserted
  sqlite3_int64 editRowId = 0;
};


TTable::TTable(TTableDef def) : def_(std::move(def)), impl_(std::make_unique<Impl>()) {
  for (size_t i = 0; i < def_.fields.size(); ++i)
    fields_.push_back(std::unique_ptr<TField>(
        new TField(this, def_.fields[i].name, def_.fields[i].kind, static_cast<int>(i))));
}

TTable::~TTable() {
  try {
    Close();
  } catch (const EDatabaseError&) {
    // Nothing can be told any more; the record that could not be saved is lost with the table.
  }
  for (TDataSource* source : sources_) source->dataSet_ = nullptr;
}

void TTable::SetDatabasePath(const std::string& folder) {
  folder_ = folder.empty() ? folder : IncludeTrailingPathDelimiter(folder);
}

std::string TTable::FilePath() const { return folder_ + def_.fileName; }

std::string TTable::Where() const {
  return "table file \"" + def_.fileName + "\" in folder \"" + folder_ + "\"";
}

bool TTable::Active() const { return state_ != TDataSetState::dsInactive; }

void TTable::CheckActive() const {
  if (!Active()) throw EDatabaseError("The " + Where() + " is not open.");
}

void TTable::SetBusyTimeout(int milliseconds) {
  impl_->busyTimeoutMs = milliseconds;
  if (impl_->db.IsOpen()) sqlite3_busy_timeout(impl_->db.Handle(), milliseconds);
}

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
    throw EDatabaseError("The table file \"" + def_.fileName + "\" was not found in the folder \"" +
                         folder_ + "\". A site is prepared with pagolin-newsite (\"pagolin-newsite " +
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
        throw EDatabaseError("The " + Where() + " is not a table of this program: the column \"" +
                             f.name + "\" is missing.");
      columns += (columns.empty() ? "" : ", ") + QuoteIdentifier(f.name);
    }
    const std::string table = QuoteIdentifier(def_.tableName);
    if (m.fetch.Prepare(m.db.Handle(), "SELECT " + columns + " FROM " + table + " WHERE rowid = ?") != SQLITE_OK ||
        m.begin.Prepare(m.db.Handle(), "BEGIN") != SQLITE_OK ||
        m.beginWrite.Prepare(m.db.Handle(), "BEGIN IMMEDIATE") != SQLITE_OK ||
        m.commit.Prepare(m.db.Handle(), "COMMIT") != SQLITE_OK ||
        m.rollback.Prepare(m.db.Handle(), "ROLLBACK") != SQLITE_OK)
      throw EDatabaseError("The " + Where() + " cannot be read: " + m.db.ErrorMessage() + ".");
    ChooseOrder(indexName_);
    LoadOrder(0);
  } catch (...) {
    m.fetch.Finalize();
    m.begin.Finalize();
    m.beginWrite.Finalize();
    m.commit.Finalize();
    m.rollback.Finalize();
    m.db.Close();
    throw;
  }
  m.pos = 0;
  m.bof = true;
  m.eof = m.order.empty();
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
    if (columns.empty())
      throw EDatabaseError("The " + Where() + " has no index \"" + indexName + "\".");
    first = columns.front().first;
  }
  m.orderBy = orderBy + "rowid";
  m.rangeColumn = first;
}

// Reads the rowids in walk order and keeps the record of keepRowId current (or the record at
// the same position when it is gone).
void TTable::LoadOrder(sqlite3_int64 keepRowId) {
  Impl& m = *impl_;
  std::string sql = "SELECT rowid FROM " + QuoteIdentifier(def_.tableName);
  if (m.range && !m.rangeColumn.empty())
    sql += " WHERE " + QuoteIdentifier(m.rangeColumn) + " >= ? AND " + QuoteIdentifier(m.rangeColumn) + " <= ?";
  sql += " ORDER BY " + m.orderBy;
  TSqliteStmt stmt;
  int rc = stmt.Prepare(m.db.Handle(), sql);
  if (rc == SQLITE_OK && m.range && !m.rangeColumn.empty()) {
    stmt.BindText(1, m.range->first);
    stmt.BindText(2, m.range->second);
  }
  std::vector<sqlite3_int64> order;
  order.reserve(m.order.size() + 1);
  if (rc == SQLITE_OK) {
    while ((rc = stmt.Step()) == SQLITE_ROW) order.push_back(stmt.ColumnInt(0));
    if (rc == SQLITE_DONE) rc = SQLITE_OK;
  }
  if (rc != SQLITE_OK) RaiseEngineError(rc, "read");
  m.order = std::move(order);
  m.window.clear();
  m.windowStart = -1;
  const int count = static_cast<int>(m.order.size());
  if (keepRowId != 0) {
    const auto it = std::find(m.order.begin(), m.order.end(), keepRowId);
    if (it != m.order.end()) m.pos = static_cast<int>(it - m.order.begin());
  }
  m.pos = std::clamp(m.pos, 0, std::max(0, count - 1));
  if (count == 0) m.eof = m.bof = true;
}

void TTable::RaiseEngineError(int rc, const std::string& what) {
  if (IsBusy(rc))
    throw EDatabaseError("Could not " + what + " the " + Where() +
                         ": it is locked by another program. Try again when that program is done.");
  throw EDatabaseError("Could not " + what + " the " + Where() + ": " + impl_->db.ErrorMessage() + ".");
}

void TTable::Close() {
  if (!Active()) return;
  CheckBrowseMode();
  Impl& m = *impl_;
  m.fetch.Finalize();
  m.begin.Finalize();
  m.beginWrite.Finalize();
  m.commit.Finalize();
  m.rollback.Finalize();
  m.db.Close();
  m.order.clear();
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
  Write([&] {
    const int rc = m.db.Exec("DELETE FROM " + QuoteIdentifier(def_.tableName));
    if (rc != SQLITE_OK) RaiseEngineError(rc, "empty");
  }, "empty");
  LoadOrder(0);
  m.pos = 0;
  m.eof = m.bof = true;
  Notify(TDataEvent::deDataSetChange, nullptr);
}

// Runs body inside one write transaction and commits it; on any failure the transaction is
// rolled back and the error is raised.
void TTable::Write(const std::function<void()>& body, const std::string& what) {
  Impl& m = *impl_;
  m.beginWrite.Reset();
  int rc = m.beginWrite.Step();
  m.beginWrite.Reset();
  if (rc != SQLITE_DONE) RaiseEngineError(rc, what);
  try {
    body();
    m.commit.Reset();
    rc = m.commit.Step();
    m.commit.Reset();
    if (rc != SQLITE_DONE) RaiseEngineError(rc, what);
  } catch (...) {
    if (!sqlite3_get_autocommit(m.db.Handle())) {
      m.rollback.Reset();
      m.rollback.Step();
      m.rollback.Reset();
    }
    throw;
  }
}

// ---- index, range, refresh ---------------------------------------------------------------

void TTable::SetIndexName(const std::string& indexName) {
  if (!Active()) {
    indexName_ = indexName;
    return;
  }
  CheckBrowseMode();
  Impl& m = *impl_;
  const sqlite3_int64 keep = m.order.empty() ? 0 : m.order[m.pos];
  ChooseOrder(indexName);
  indexName_ = indexName;
  m.range.reset();
  LoadOrder(keep);
  m.eof = m.bof = m.order.empty();
  Notify(TDataEvent::deDataSetChange, nullptr);
}

void TTable::Refresh() {
  CheckActive();
  CheckBrowseMode();
  Impl& m = *impl_;
  LoadOrder(m.order.empty() ? 0 : m.order[m.pos]);
  Notify(TDataEvent::deDataSetChange, nullptr);
}

std::string TTable::ValueForColumn(const std::string& fieldName, const std::string& value) {
  const TField* field = FindField(fieldName);
  const TFieldKind kind = field ? field->Kind() : TFieldKind::fkText;
  if (kind == TFieldKind::fkDateTime) {
    TDateTime dt = 0;
    if (StorageTextToDateTime(value, dt) || TryStrToDateTime(value, dt)) return DateTimeToStorageText(dt);
  }
  if (kind == TFieldKind::fkLogical) {
    bool b = false;
    if (ParseLogical(value, b)) return b ? "1" : "0";
  }
  return AnsiToUtf8(value);
}

void TTable::SetRange(const std::string& startValue, const std::string& endValue) {
  CheckActive();
  CheckBrowseMode();
  Impl& m = *impl_;
  if (m.rangeColumn.empty())
    throw EDatabaseError("The " + Where() + " has no active index to set a range on.");
  m.range.emplace(ValueForColumn(m.rangeColumn, startValue), ValueForColumn(m.rangeColumn, endValue));
  LoadOrder(0);
  m.pos = 0;
  m.bof = true;
  m.eof = m.order.empty();
  Notify(TDataEvent::deDataSetChange, nullptr);
}

void TTable::CancelRange() {
  CheckActive();
  CheckBrowseMode();
  Impl& m = *impl_;
  if (!m.range) return;
  m.range.reset();
  LoadOrder(m.order.empty() ? 0 : m.order[m.pos]);
  m.eof = m.bof = m.order.empty();
  Notify(TDataEvent::deDataSetChange, nullptr);
}

bool TTable::Locate(const std::string& fieldName, const std::string& value) {
  CheckActive();
  CheckBrowseMode();
  Impl& m = *impl_;
  if (!FindField(fieldName))
    throw EDatabaseError("The " + Where() + " has no field \"" + fieldName + "\".");
  const std::string column = QuoteIdentifier(fieldName);
  std::string sql = "SELECT rowid FROM " + QuoteIdentifier(def_.tableName) + " WHERE ";
  sql += value.empty() ? "(" + column + " IS NULL OR " + column + " = '')" : column + " = ?1";
  if (m.range && !m.rangeColumn.empty())
    sql += " AND " + QuoteIdentifier(m.rangeColumn) + " >= ?2 AND " + QuoteIdentifier(m.rangeColumn) + " <= ?3";
  sql += " ORDER BY " + m.orderBy + " LIMIT 1";
  TSqliteStmt stmt;
  int rc = stmt.Prepare(m.db.Handle(), sql);
  if (rc != SQLITE_OK) RaiseEngineError(rc, "search");
  if (!value.empty()) stmt.BindText(1, ValueForColumn(fieldName, value));
  if (m.range && !m.rangeColumn.empty()) {
    stmt.BindText(2, m.range->first);
    stmt.BindText(3, m.range->second);
  }
  rc = stmt.Step();
  if (rc == SQLITE_DONE) return false;
  if (rc != SQLITE_ROW) RaiseEngineError(rc, "search");
  const sqlite3_int64 rowid = stmt.ColumnInt(0);
  const auto it = std::find(m.order.begin(), m.order.end(), rowid);
  if (it == m.order.end()) return false;  // added by another program since the last refresh
  MoveTo(static_cast<int>(it - m.order.begin()), true);
  return true;
}

void TTable::FlushBuffers() {
  CheckActive();
  // Posts are committed as they happen; this writes whatever the engine may still hold.
  const int rc = sqlite3_db_cacheflush(impl_->db.Handle());
  if (rc != SQLITE_OK) RaiseEngineError(rc, "write");
}

// ---- moving ------------------------------------------------------------------------------

void TTable::MoveTo(int position, bool notify) {
  Impl& m = *impl_;
  const int old = m.pos;
  m.pos = position;
  m.eof = m.bof = false;
  if (notify && old != position) Notify(TDataEvent::deRecordChange, nullptr);
}

void TTable::First() {
  CheckActive();
  CheckBrowseMode();
  Impl& m = *impl_;
  const int old = m.pos;
  m.pos = 0;
  m.bof = true;
  m.eof = m.order.empty();
  if (old != 0) Notify(TDataEvent::deRecordChange, nullptr);
}

void TTable::Last() {
  CheckActive();
  CheckBrowseMode();
  Impl& m = *impl_;
  const int old = m.pos;
  m.pos = std::max(0, static_cast<int>(m.order.size()) - 1);
  m.eof = true;
  m.bof = m.order.empty();
  if (old != m.pos) Notify(TDataEvent::deRecordChange, nullptr);
}

void TTable::Next() {
  CheckActive();
  CheckBrowseMode();
  Impl& m = *impl_;
  if (m.pos + 1 < static_cast<int>(m.order.size()))
    MoveTo(m.pos + 1, true);
  else
    m.eof = true;
}

void TTable::Prior() {
  CheckActive();
  CheckBrowseMode();
  Impl& m = *impl_;
  if (m.pos > 0 && !m.order.empty())
    MoveTo(m.pos - 1, true);
  else
    m.bof = true;
}

bool TTable::Eof() const { return !Active() || impl_->eof; }
bool TTable::Bof() const { return !Active() || impl_->bof; }
bool TTable::IsEmpty() const { return !Active() || impl_->order.empty(); }

int TTable::RecNo() const {
  if (!Active() || state_ == TDataSetState::dsInsert || impl_->order.empty()) return 0;
  return impl_->pos + 1;
}

void TTable::SetRecNo(int recNo) {
  CheckActive();
  CheckBrowseMode();
  Impl& m = *impl_;
  if (m.order.empty()) return;
  MoveTo(std::clamp(recNo, 1, static_cast<int>(m.order.size())) - 1, true);
}

int TTable::RecordCount() const { return Active() ? static_cast<int>(impl_->order.size()) : 0; }

// ---- reading -----------------------------------------------------------------------------

const std::optional<std::string>* TTable::CurrentValue(int index) const {
  CheckActive();
  Impl& m = *impl_;
  if (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert) return &m.buffer[index];
  if (m.order.empty()) return nullptr;
  if (m.windowStart < 0 || m.pos < m.windowStart || m.pos >= m.windowStart + static_cast<int>(m.window.size()))
    const_cast<TTable*>(this)->LoadWindow();
  return &m.window[m.pos - m.windowStart][index];
}

// Fetches the rows around the current position in one read transaction.
void TTable::LoadWindow() {
  Impl& m = *impl_;
  const int count = static_cast<int>(m.order.size());
  // Walking backwards reads the rows before the current one, otherwise those after it.
  int start = m.pos;
  if (m.windowStart >= 0 && m.pos < m.windowStart) start = std::max(0, m.pos - kWindowSize + 1);
  const int end = std::min(count, start + kWindowSize);
  const size_t columns = def_.fields.size();
  m.window.clear();
  m.windowStart = -1;
  m.begin.Reset();
  int rc = m.begin.Step();
  m.begin.Reset();
  if (rc != SQLITE_DONE) RaiseEngineError(rc, "read");
  std::vector<TRow> rows;
  rows.reserve(static_cast<size_t>(end - start));
  for (int i = start; i < end; ++i) {
    m.fetch.Reset();
    m.fetch.BindInt(1, m.order[i]);
    TRow row(columns);
    rc = m.fetch.Step();
    if (rc == SQLITE_ROW) {
      for (size_t c = 0; c < columns; ++c) row[c] = m.fetch.ColumnText(static_cast<int>(c));
    } else if (rc != SQLITE_DONE) {
      break;  // a row deleted by another program reads as empty; anything else is an error
    }
    rows.push_back(std::move(row));
  }
  m.fetch.Reset();
  m.commit.Reset();
  const int rcEnd = m.commit.Step();
  m.commit.Reset();
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) RaiseEngineError(rc, "read");
  if (rcEnd != SQLITE_DONE) RaiseEngineError(rcEnd, "read");
  m.window = std::move(rows);
  m.windowStart = start;
}

TField& TTable::FieldByName(const std::string& name) {
  if (TField* f = FindField(name)) return *f;
  throw EDatabaseError("The " + Where() + " has no field \"" + name + "\".");
}

TField* TTable::FindField(const std::string& name) {
  for (auto& f : fields_)
    if (f->FieldName() == name) return f.get();
  return nullptr;
}

// ---- editing -----------------------------------------------------------------------------

void TTable::CheckBrowseMode() {
  if (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert) Post();
}

void TTable::Insert() {
  CheckActive();
  CheckBrowseMode();
  Impl& m = *impl_;
  m.buffer.assign(def_.fields.size(), std::nullopt);
  m.editRowId = 0;
  SetState(TDataSetState::dsInsert);
  Notify(TDataEvent::deRecordChange, nullptr);
}

void TTable::Append() { Insert(); }

void TTable::Edit() {
  CheckActive();
  if (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert) return;
  Impl& m = *impl_;
  if (m.order.empty()) {
    Insert();
    return;
  }
  TRow row(def_.fields.size());
  for (size_t i = 0; i < row.size(); ++i)
    if (const TValue* v = CurrentValue(static_cast<int>(i))) row[i] = *v;
  m.buffer = std::move(row);
  m.editRowId = m.order[m.pos];
  SetState(TDataSetState::dsEdit);
}

void TTable::WriteValue(TField& field, std::optional<std::string> utf8) {
  CheckActive();
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert)
    throw EDatabaseError("The " + Where() + " is not in edit or insert mode (field \"" +
                         field.FieldName() + "\").");
  impl_->buffer[field.Index()] = std::move(utf8);
  Notify(TDataEvent::deFieldChange, &field);
}

void TTable::Post() {
  CheckActive();
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert) return;
  // Bound controls write what they hold before the record is stored.
  Notify(TDataEvent::deUpdateRecord, nullptr);
  Impl& m = *impl_;
  const bool inserting = state_ == TDataSetState::dsInsert;
  const std::string table = QuoteIdentifier(def_.tableName);
  std::string sql;
  if (inserting) {
    std::string names, params;
    for (const TFieldDef& f : def_.fields) {
      names += (names.empty() ? "" : ", ") + QuoteIdentifier(f.name);
      params += params.empty() ? "?" : ", ?";
    }
    sql = "INSERT INTO " + table + " (" + names + ") VALUES (" + params + ")";
  } else {
    std::string sets;
    for (const TFieldDef& f : def_.fields) sets += (sets.empty() ? "" : ", ") + QuoteIdentifier(f.name) + " = ?";
    sql = "UPDATE " + table + " SET " + sets + " WHERE rowid = ?";
  }
  sqlite3_int64 rowid = m.editRowId;
  Write([&] {
    TSqliteStmt stmt;
    int rc = stmt.Prepare(m.db.Handle(), sql);
    if (rc != SQLITE_OK) RaiseEngineError(rc, "save a record in");
    for (size_t i = 0; i < def_.fields.size(); ++i) {
      const int param = static_cast<int>(i) + 1;
      const TValue& v = m.buffer[i];
      if (!v)
        stmt.BindNull(param);
      else if (def_.fields[i].kind == TFieldKind::fkLogical)
        stmt.BindInt(param, *v == "0" ? 0 : 1);
      else
        stmt.BindText(param, *v);
    }
    if (!inserting) stmt.BindInt(static_cast<int>(def_.fields.size()) + 1, rowid);
    rc = stmt.Step();
    if (rc != SQLITE_DONE) RaiseEngineError(rc, "save a record in");
    if (inserting)
      rowid = sqlite3_last_insert_rowid(m.db.Handle());
    else if (sqlite3_changes(m.db.Handle()) == 0)
      throw EDatabaseError("Could not save the record in the " + Where() +
                           ": another program has deleted it meanwhile.");
  }, "save a record in");
  // Stored: the record takes its place in the order of the index.
  m.buffer.clear();
  LoadOrder(rowid);
  m.eof = m.bof = m.order.empty();
  SetState(TDataSetState::dsBrowse);
  Notify(TDataEvent::deRecordChange, nullptr);
}

void TTable::Cancel() {
  CheckActive();
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert) return;
  impl_->buffer.clear();
  SetState(TDataSetState::dsBrowse);
  Notify(TDataEvent::deRecordChange, nullptr);
}

void TTable::Delete() {
  CheckActive();
  Impl& m = *impl_;
  if (state_ == TDataSetState::dsInsert) {
    Cancel();
    return;
  }
  if (m.order.empty()) throw EDatabaseError("The " + Where() + " is empty: there is no record to delete.");
  const sqlite3_int64 rowid = m.order[m.pos];
  Write([&] {
    TSqliteStmt stmt;
    int rc = stmt.Prepare(m.db.Handle(), "DELETE FROM " + QuoteIdentifier(def_.tableName) + " WHERE rowid = ?");
    if (rc == SQLITE_OK) {
      stmt.BindInt(1, rowid);
      rc = stmt.Step();
    }
    if (rc != SQLITE_DONE) RaiseEngineError(rc, "delete a record from");
  }, "delete a record from");
  // The record after the deleted one becomes current (the new last one at the end).
  LoadOrder(0);
  m.eof = m.bof = m.order.empty();
  if (state_ == TDataSetState::dsEdit) {
    m.buffer.clear();
    SetState(TDataSetState::dsBrowse);
  }
  Notify(TDataEvent::deRecordChange, nullptr);
}

// ---- events ------------------------------------------------------------------------------

void TTable::SetState(TDataSetState state) {
  if (state_ == state) return;
  state_ = state;
  Notify(TDataEvent::deStateChange, nullptr);
}

void TTable::Attach(TDataSource* source) { sources_.push_back(source); }

void TTable::Detach(TDataSource* source) {
  sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
}

void TTable::Notify(TDataEvent event, const TField* field) {
  // A handler may attach or detach sources; walk a copy.
  const std::vector<TDataSource*> sources = sources_;
  for (TDataSource* source : sources)
    if (std::find(sources_.begin(), sources_.end(), source) != sources_.end()) source->Notify(event, field);
}

}  // namespace pagolin
