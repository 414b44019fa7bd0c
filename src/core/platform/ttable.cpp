// TTable: the current record, the browse/edit/insert states, moving and editing, and the
// events to the data sources. The file side (opening, the order, fetching rows, transactions)
// is in ttablefile.cpp.
#include "core/platform/ttable.h"

#include <algorithm>

#include "core/platform/filenames.h"
#include "core/platform/ttable_impl.h"
#include "core/platform/utf8.h"

namespace pagolin {

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
  return "table file \"" + def_.fileName + "\" in folder \"" + PathText(folder_) + "\"";
}

bool TTable::Active() const { return state_ != TDataSetState::dsInactive; }

void TTable::CheckActive() const {
  if (!Active()) throw EDatabaseError("The " + Where() + " is not open.");
}

// ---- index, range, refresh ---------------------------------------------------------------

void TTable::SetIndexName(const std::string& indexName) {
  if (!Active()) {
    indexName_ = indexName;
    return;
  }
  CheckBrowseMode();
  Impl& m = *impl_;
  const sqlite3_int64 keep = RowIdAt(m.pos);
  ChooseOrder(indexName);
  indexName_ = indexName;
  m.range.reset();
  LoadOrder(keep);
  m.eof = m.bof = m.count == 0;
  Notify(TDataEvent::deDataSetChange, nullptr);
}

void TTable::Refresh() {
  CheckActive();
  CheckBrowseMode();
  Impl& m = *impl_;
  LoadOrder(RowIdAt(m.pos));
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
  return ValidUtf8(value);
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
  m.eof = m.count == 0;
  Notify(TDataEvent::deDataSetChange, nullptr);
}

void TTable::CancelRange() {
  CheckActive();
  CheckBrowseMode();
  Impl& m = *impl_;
  if (!m.range) return;
  m.range.reset();
  LoadOrder(RowIdAt(m.pos));
  m.eof = m.bof = m.count == 0;
  Notify(TDataEvent::deDataSetChange, nullptr);
}

bool TTable::HasRange() const { return impl_->range.has_value(); }

bool TTable::Locate(const std::string& fieldName, const std::string& value) {
  CheckActive();
  CheckBrowseMode();
  Impl& m = *impl_;
  if (!FindField(fieldName)) throw EDatabaseError("The " + Where() + " has no field \"" + fieldName + "\".");
  const std::string column = QuoteIdentifier(fieldName);
  std::string sql = "SELECT rowid FROM " + QuoteIdentifier(def_.tableName) + " WHERE ";
  sql += value.empty() ? "(" + column + " IS NULL OR " + column + " = '')" : column + " = ?1";
  if (m.range && !m.rangeColumn.empty())
    sql +=
        " AND " + QuoteIdentifier(m.rangeColumn) + " >= ?2 AND " + QuoteIdentifier(m.rangeColumn) + " <= ?3";
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
  CompleteOrder();
  const auto it = std::find(m.order.begin(), m.order.end(), rowid);
  if (it == m.order.end()) return false;  // added by another program since the last refresh
  MoveTo(static_cast<int>(it - m.order.begin()), true);
  return true;
}

TRecordId TTable::RecordId() const {
  if (!Active() || state_ == TDataSetState::dsInsert || impl_->count == 0) return 0;
  // The current position may lie beyond the rowids read so far.
  return const_cast<TTable*>(this)->RowIdAt(impl_->pos);
}

bool TTable::LocateRecord(TRecordId id) {
  CheckActive();
  CheckBrowseMode();
  Impl& m = *impl_;
  CompleteOrder();
  const auto it = std::find(m.order.begin(), m.order.end(), id);
  if (id == 0 || it == m.order.end()) return false;
  MoveTo(static_cast<int>(it - m.order.begin()), true);
  return true;
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
  m.eof = m.count == 0;
  if (old != 0) Notify(TDataEvent::deRecordChange, nullptr);
}

void TTable::Last() {
  CheckActive();
  CheckBrowseMode();
  Impl& m = *impl_;
  const int old = m.pos;
  m.pos = std::max(0, m.count - 1);
  m.eof = true;
  m.bof = m.count == 0;
  if (old != m.pos) Notify(TDataEvent::deRecordChange, nullptr);
}

void TTable::Next() {
  CheckActive();
  CheckBrowseMode();
  Impl& m = *impl_;
  if (m.pos + 1 < m.count)
    MoveTo(m.pos + 1, true);
  else
    m.eof = true;
}

void TTable::Prior() {
  CheckActive();
  CheckBrowseMode();
  Impl& m = *impl_;
  if (m.pos > 0 && m.count > 0)
    MoveTo(m.pos - 1, true);
  else
    m.bof = true;
}

bool TTable::Eof() const { return !Active() || impl_->eof; }
bool TTable::Bof() const { return !Active() || impl_->bof; }
bool TTable::IsEmpty() const { return !Active() || impl_->count == 0; }

int TTable::RecNo() const {
  if (!Active() || state_ == TDataSetState::dsInsert || impl_->count == 0) return 0;
  return impl_->pos + 1;
}

void TTable::SetRecNo(int recNo) {
  CheckActive();
  CheckBrowseMode();
  Impl& m = *impl_;
  if (m.count == 0) return;
  MoveTo(std::clamp(recNo, 1, m.count) - 1, true);
}

int TTable::RecordCount() const { return Active() ? impl_->count : 0; }

// ---- reading -----------------------------------------------------------------------------

const std::optional<std::string>* TTable::CurrentValue(int index) const {
  CheckActive();
  Impl& m = *impl_;
  if (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert) return &m.buffer[index];
  if (m.count == 0) return nullptr;
  if (m.windowStart < 0 || m.pos < m.windowStart ||
      m.pos >= m.windowStart + static_cast<int>(m.window.size()))
    const_cast<TTable*>(this)->LoadWindow();
  return &m.window[m.pos - m.windowStart][index];
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

void TTable::UpdateRecord() {
  if (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert)
    Notify(TDataEvent::deUpdateRecord, nullptr);
}

void TTable::CheckBrowseMode() {
  if (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert) Post();
}

void TTable::Insert() {
  CheckActive();
  CheckBrowseMode();
  Impl& m = *impl_;
  m.buffer.assign(def_.fields.size(), std::nullopt);
  m.written.assign(def_.fields.size(), false);
  m.editRowId = 0;
  SetState(TDataSetState::dsInsert);
  Notify(TDataEvent::deRecordChange, nullptr);
}

void TTable::Append() { Insert(); }

void TTable::Edit() {
  CheckActive();
  if (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert) return;
  Impl& m = *impl_;
  if (m.count == 0) {
    Insert();
    return;
  }
  TRow row(def_.fields.size());
  for (size_t i = 0; i < row.size(); ++i)
    if (const TValue* v = CurrentValue(static_cast<int>(i))) row[i] = *v;
  m.buffer = std::move(row);
  m.written.assign(def_.fields.size(), false);
  m.editRowId = RowIdAt(m.pos);
  SetState(TDataSetState::dsEdit);
}

void TTable::WriteValue(TField& field, std::optional<std::string> utf8) {
  CheckActive();
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert)
    throw EDatabaseError("The " + Where() + " is not in edit or insert mode (field \"" + field.FieldName() +
                         "\").");
  impl_->buffer[field.Index()] = std::move(utf8);
  impl_->written[field.Index()] = true;
  Notify(TDataEvent::deFieldChange, &field);
}

void TTable::Post() {
  CheckActive();
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert) return;
  // Bound controls write what they hold before the record is stored.
  Notify(TDataEvent::deUpdateRecord, nullptr);
  Impl& m = *impl_;
  const bool inserting = state_ == TDataSetState::dsInsert;
  // An insert stores every field; an edit only those written, so a field nobody touched keeps
  // its stored bytes (a logical kept as text, a date in a foreign form).
  std::vector<size_t> columns;
  for (size_t i = 0; i < def_.fields.size(); ++i)
    if (inserting || m.written[i]) columns.push_back(i);
  const std::string table = QuoteIdentifier(def_.tableName);
  std::string sql;
  if (inserting) {
    std::string names, params;
    for (size_t i : columns) {
      names += (names.empty() ? "" : ", ") + QuoteIdentifier(def_.fields[i].name);
      params += params.empty() ? "?" : ", ?";
    }
    sql = "INSERT INTO " + table + " (" + names + ") VALUES (" + params + ")";
  } else {
    std::string sets;
    for (size_t i : columns)
      sets += (sets.empty() ? "" : ", ") + QuoteIdentifier(def_.fields[i].name) + " = ?";
    sql = "UPDATE " + table + " SET " + sets + " WHERE rowid = ?";
  }
  sqlite3_int64 rowid = m.editRowId;
  if (!columns.empty())
    Write(
        [&] {
          TSqliteStmt stmt;
          int rc = stmt.Prepare(m.db.Handle(), sql);
          if (rc != SQLITE_OK) RaiseEngineError(rc, "save a record in");
          int param = 0;
          for (size_t i : columns) {
            const TValue& v = m.buffer[i];
            ++param;
            if (!v)
              stmt.BindNull(param);
            else if (def_.fields[i].kind == TFieldKind::fkLogical)
              stmt.BindInt(param, *v == "0" ? 0 : 1);
            else
              stmt.BindText(param, *v);
          }
          if (!inserting) stmt.BindInt(param + 1, rowid);
          rc = stmt.Step();
          if (rc != SQLITE_DONE) RaiseEngineError(rc, "save a record in");
          if (inserting)
            rowid = sqlite3_last_insert_rowid(m.db.Handle());
          else if (sqlite3_changes(m.db.Handle()) == 0)
            throw EDatabaseError("Could not save the record in the " + Where() +
                                 ": another program has deleted it meanwhile.");
        },
        "save a record in");
  // Stored: the record takes its place in the order of the index.
  m.buffer.clear();
  LoadOrder(rowid);
  m.eof = m.bof = m.count == 0;
  SetState(TDataSetState::dsBrowse);
  Notify(TDataEvent::deRecordChange, nullptr);
}

bool TTable::Modified() const {
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert) return false;
  const auto& w = impl_->written;
  return std::find(w.begin(), w.end(), true) != w.end();
}

TRecordValues TTable::CurrentValues() const {
  if (!Active() || (state_ == TDataSetState::dsBrowse && impl_->count == 0)) return {};
  std::vector<TValue> values(def_.fields.size());
  for (size_t i = 0; i < values.size(); ++i)
    if (const TValue* v = CurrentValue(static_cast<int>(i))) values[i] = *v;
  return TRecordValues(&def_, std::move(values));
}

void TTable::Cancel() {
  CheckActive();
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert) return;
  Impl& m = *impl_;
  std::optional<TDiscardedWork> dropped;
  if (OnDiscard && Modified()) {
    dropped.emplace();
    dropped->Record = state_ == TDataSetState::dsEdit ? m.editRowId : 0;
    dropped->Written = m.written;
    dropped->Values.resize(m.buffer.size());
    for (size_t i = 0; i < m.buffer.size(); ++i)
      if (m.written[i]) dropped->Values[i] = m.buffer[i];
  }
  m.buffer.clear();
  SetState(TDataSetState::dsBrowse);
  if (dropped) OnDiscard(*dropped);
  Notify(TDataEvent::deRecordChange, nullptr);
}

void TTable::Delete() {
  CheckActive();
  Impl& m = *impl_;
  if (state_ == TDataSetState::dsInsert) {
    Cancel();
    return;
  }
  if (m.count == 0) throw EDatabaseError("The " + Where() + " is empty: there is no record to delete.");
  const sqlite3_int64 rowid = RowIdAt(m.pos);
  // What the file holds (not the buffer of an edit), for giving the record back.
  std::optional<TDiscardedWork> deleted;
  if (OnDiscard) {
    std::vector<TRecordValues> stored = ReadRows(m.pos, 1);
    deleted.emplace();
    deleted->Deleted = true;
    deleted->Record = rowid;
    deleted->Written.assign(def_.fields.size(), true);
    if (!stored.empty()) deleted->Values = std::move(stored.front().values_);
    deleted->Values.resize(def_.fields.size());
  }
  Write(
      [&] {
        TSqliteStmt stmt;
        int rc = stmt.Prepare(m.db.Handle(),
                              "DELETE FROM " + QuoteIdentifier(def_.tableName) + " WHERE rowid = ?");
        if (rc == SQLITE_OK) {
          stmt.BindInt(1, rowid);
          rc = stmt.Step();
        }
        if (rc != SQLITE_DONE) RaiseEngineError(rc, "delete a record from");
      },
      "delete a record from");
  // The record after the deleted one becomes current (the new last one at the end).
  LoadOrder(0);
  m.eof = m.bof = m.count == 0;
  if (state_ == TDataSetState::dsEdit) {
    m.buffer.clear();
    SetState(TDataSetState::dsBrowse);
  }
  if (deleted) OnDiscard(*deleted);
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

void TTable::DisableControls() { ++disableCount_; }

void TTable::EnableControls() {
  if (disableCount_ == 0 || --disableCount_ > 0 || !heldBack_) return;
  heldBack_ = false;
  Notify(TDataEvent::deDataSetChange, nullptr);
}

void TTable::Notify(TDataEvent event, const TField* field) {
  if (disableCount_ > 0 && event != TDataEvent::deStateChange && event != TDataEvent::deUpdateRecord) {
    heldBack_ = true;
    return;
  }
  // A handler may attach or detach sources; walk a copy.
  const std::vector<TDataSource*> sources = sources_;
  for (TDataSource* source : sources)
    if (std::find(sources_.begin(), sources_.end(), source) != sources_.end()) source->Notify(event, field);
}

}  // namespace pagolin
