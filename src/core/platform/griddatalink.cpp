#include "core/platform/griddatalink.h"

#include <algorithm>

#include "core/platform/dbnavigation.h"

namespace pagolin {

void TGridDataLink::SetDataSource(TDataSource* source) {
  if (source == link_.Source()) return;
  link_.Connect(
      source, [this](TDataEvent event, const TField* field) { DataEvent(event, field); },
      [this] { Sync(true); });
  Sync(true);
}

TTable* TGridDataLink::DataSet() const { return link_.Source() ? link_.Source()->DataSet() : nullptr; }

bool TGridDataLink::Active() const {
  const TTable* table = DataSet();
  return table && table->Active();
}

bool TGridDataLink::Untouched() const {
  const TTable* table = DataSet();
  return table && table->State() == TDataSetState::dsInsert && !table->Modified();
}

int TGridDataLink::RecordOfRow(int row) const { return insertRow_ >= 0 && row > insertRow_ ? row - 1 : row; }

// ---- following the data set --------------------------------------------------------------

void TGridDataLink::DataEvent(TDataEvent event, const TField* field) {
  switch (event) {
    case TDataEvent::deUpdateRecord:
      if (OnUpdateData) OnUpdateData();
      break;
    case TDataEvent::deFieldChange:
      bufferValid_ = false;
      if (OnChange && current_ >= 0) OnChange(TGridChange::gcRowsChanged, current_);
      if (OnFieldChange && field) OnFieldChange(*field);
      break;
    case TDataEvent::deStateChange:
    case TDataEvent::deRecordChange: Sync(false); break;
    case TDataEvent::deDataSetChange: Sync(true); break;
  }
}

// Compares the rows with what the grid was last told and tells it the smallest change. Runs
// for every event, nested ones too (a state-change handler that posts and edits at once), so
// it works from the table as it is now, not from the event.
void TGridDataLink::Sync(bool reset) {
  const TTable* table = DataSet();
  const bool active = table && table->Active();
  const TDataSetState oldState = state_;
  const int oldRows = rows_, oldCurrent = current_, oldInsertRow = insertRow_;
  state_ = active ? table->State() : TDataSetState::dsInactive;
  const bool inserting = state_ == TDataSetState::dsInsert;
  const bool wasEditing = oldState == TDataSetState::dsEdit || oldState == TDataSetState::dsInsert;
  const int records = active ? table->RecordCount() : 0;
  if (inserting) {
    if (insertRow_ < 0) insertRow_ = appending_ ? records : std::clamp(browseRecNo_ - 1, 0, records);
  } else {
    insertRow_ = -1;
    if (active) browseRecNo_ = table->RecNo();
  }
  rows_ = records + (inserting ? 1 : 0);
  current_ = rows_ == 0 ? -1 : inserting ? insertRow_ : std::max(0, table->RecNo() - 1);
  bufferValid_ = false;

  // The file's rows change only when a record is stored, deleted or dropped.
  const bool rowsChanged =
      reset || !active || rows_ != oldRows || (wasEditing && state_ == TDataSetState::dsBrowse);
  if (rowsChanged) window_.clear();

  if (OnChange) {
    if (reset || !active)
      OnChange(TGridChange::gcReset, -1);
    else if (rows_ == oldRows + 1 && inserting && oldInsertRow < 0)
      OnChange(TGridChange::gcRowInserted, insertRow_);
    else if (rows_ == oldRows - 1 && oldInsertRow >= 0 && !inserting)
      OnChange(TGridChange::gcRowRemoved, oldInsertRow);
    else if (rows_ == oldRows - 1 && oldInsertRow < 0 && oldCurrent >= 0)
      OnChange(TGridChange::gcRowRemoved, oldCurrent);
    else if (rows_ != oldRows)
      OnChange(TGridChange::gcReset, -1);
    else if (rowsChanged)
      OnChange(TGridChange::gcRowsChanged, -1);
    else if (state_ != oldState && current_ >= 0)
      OnChange(TGridChange::gcRowsChanged, current_);
  }
  if ((current_ != oldCurrent || rowsChanged) && OnCurrentChange) OnCurrentChange();
  if (state_ != oldState && OnStateChange) OnStateChange();
}

// ---- reading rows ------------------------------------------------------------------------

void TGridDataLink::SetFieldsShown(std::vector<int> fields) {
  fieldsShown_ = std::move(fields);
  window_.clear();
}

const TRecordValues& TGridDataLink::Row(int row) {
  TTable* table = DataSet();
  if (!table || !table->Active() || row < 0 || row >= rows_) return empty_;
  const bool editing = state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert;
  if (editing && row == current_) {
    if (!bufferValid_) {
      buffer_ = table->CurrentValues();
      bufferValid_ = true;
    }
    return buffer_;
  }
  const int record = RecordOfRow(row);
  if (record < windowStart_ || record >= windowStart_ + static_cast<int>(window_.size())) {
    // A little before the row too, so that paging back finds its rows as well.
    const int start = std::max(0, record - kWindow / 4);
    try {
      window_ = table->ReadRows(start, kWindow, fieldsShown_);
      windowStart_ = start;
    } catch (const EDatabaseError&) {
      window_.clear();
      return empty_;
    }
    if (record >= windowStart_ + static_cast<int>(window_.size())) return empty_;
  }
  return window_[static_cast<size_t>(record - windowStart_)];
}

// ---- moves -------------------------------------------------------------------------------

void TGridDataLink::MoveToRow(int row) {
  TTable* table = DataSet();
  if (!table || !table->Active() || row < 0 || row >= rows_ || row == current_) return;
  int target = RecordOfRow(row);
  if (Untouched()) {
    table->Cancel();
    table->SetRecNo(target + 1);
    return;
  }
  const TDataSetState state = table->State();
  if (state == TDataSetState::dsEdit || state == TDataSetState::dsInsert) {
    // Storing the record may move it in the index order; the row asked for keeps its record.
    const int from = state == TDataSetState::dsEdit ? table->RecNo() - 1 : -1;
    table->Post();
    const int to = table->RecNo() - 1;
    if (from >= 0 && target > from) --target;
    if (target >= to) ++target;
  }
  table->SetRecNo(target + 1);
}

void TGridDataLink::NextRow(bool mayAppend) {
  if (!Active()) return;
  if (Untouched() && insertRow_ == rows_ - 1) return;  // the new last row stays
  if (current_ + 1 < rows_)
    MoveToRow(current_ + 1);
  else if (mayAppend)
    Append();
}

void TGridDataLink::PriorRow() {
  TTable* table = DataSet();
  if (!table || !table->Active()) return;
  if (current_ > 0)
    MoveToRow(current_ - 1);
  else if (Untouched())
    table->Cancel();
}

void TGridDataLink::Insert() {
  TTable* table = DataSet();
  if (!table || !table->Active()) return;
  if (Untouched()) table->Cancel();
  appending_ = false;
  table->Insert();
}

void TGridDataLink::Append() {
  TTable* table = DataSet();
  if (!table || !table->Active()) return;
  if (Untouched()) {
    if (insertRow_ == rows_ - 1) return;
    table->Cancel();
  }
  appending_ = true;
  try {
    table->Append();
  } catch (...) {
    appending_ = false;
    throw;
  }
  appending_ = false;
}

bool TGridDataLink::Delete(bool confirm) {
  TTable* table = DataSet();
  if (!table || !table->Active()) return false;
  return DeleteRecord(*table, confirm);
}

void TGridDataLink::Cancel() {
  if (TTable* table = DataSet(); table && table->Active()) table->Cancel();
}

void TGridDataLink::LeaveGrid() {
  if (Untouched()) DataSet()->Cancel();
}

}  // namespace pagolin
