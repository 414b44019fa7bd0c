// TGridDataLink: the rows a grid shows over a data source, and the moves a grid makes with its
// keys, without the grid.
//
// Rows are the table's records in walk order; while a record is being inserted its row stands
// where the record current at Insert stood, or after the last row when it came from Append.
// Only the rows asked for are read (a window around them, through TTable::ReadRows), so the
// grid never loads a whole table, and reading never moves the current record.
//
// An inserted row that nothing was typed into is dropped again when the grid leaves it (a move
// to another row, or LeaveGrid), as people expect of such grids; the table's own moves would
// store it as an empty record.
#pragma once

#include <functional>
#include <vector>

#include "core/platform/datasourcelink.h"

namespace pagolin {

// How the rows changed since the grid was last told.
enum class TGridChange {
  gcRowsChanged,  // the same number of rows; the values of `row` changed (-1: of any row,
                  // whose order may differ too)
  gcRowInserted,  // one row inserted at `row`
  gcRowRemoved,   // the row at `row` removed
  gcReset         // anything else (opened, closed, range, index, refresh): show all again
};

class TGridDataLink {
 public:
  TGridDataLink() = default;
  TGridDataLink(const TGridDataLink&) = delete;
  TGridDataLink& operator=(const TGridDataLink&) = delete;

  void SetDataSource(TDataSource* source);
  TDataSource* DataSource() const { return link_.Source(); }
  TTable* DataSet() const;
  bool Active() const;

  // The fields the grid shows (indexes in the table's Fields()); rows read for showing hold
  // only these (the others read as null). All fields until set.
  void SetFieldsShown(std::vector<int> fields);

  // ---- rows (0-based) ------------------------------------------------------------------
  int RowCount() const { return rows_; }
  int CurrentRow() const { return current_; }   // -1 when there are no rows
  int InsertRow() const { return insertRow_; }  // -1 unless a record is being inserted
  // The values of a row: the record's stored values, the buffer for the current row while
  // editing or inserting. The reference holds until the next call. A row that cannot be read
  // (a locked file) comes back empty (FieldCount() 0) and is read again next time.
  const TRecordValues& Row(int row);

  // ---- moves: each posts pending edits first (except where an untouched inserted row is
  // dropped); when the post fails EDatabaseError propagates and nothing has moved ----------
  // Makes the record shown in `row` current (its record, also when the post reorders rows).
  void MoveToRow(int row);
  // Down: the next row; from the last row, when mayAppend, a new record after it. An
  // untouched appended row stays; an untouched inserted row is dropped.
  void NextRow(bool mayAppend);
  // Up: the row before; an untouched appended row is dropped instead.
  void PriorRow();
  void Insert();  // a new record at the current row
  void Append();  // a new record after the last row
  // Deletes the current record (drops an inserted one) after asking "Delete record?" when
  // confirm is set; true when it was deleted.
  bool Delete(bool confirm);
  void Cancel();
  // Focus left the grid: an untouched inserted row is dropped.
  void LeaveGrid();

  // The rows changed (see TGridChange for `row`). RowCount() already gives the
  // new count: a view keeps its own count and takes the new one inside its begin/end pair.
  std::function<void(TGridChange change, int row)> OnChange;
  // Another row became current, or the current record was stored or dropped.
  std::function<void()> OnCurrentChange;
  // One field of the current record was written (by anyone); the grid may refresh an open
  // cell editor on it.
  std::function<void(const TField& field)> OnFieldChange;
  // The data set is about to post: write an open cell editor into the record now.
  std::function<void()> OnUpdateData;
  // The data set's state changed (browse, edit, insert).
  std::function<void()> OnStateChange;

 private:
  static constexpr int kWindow = 100;  // rows read at a time

  void DataEvent(TDataEvent event, const TField* field);
  void Sync(bool reset);
  bool Untouched() const;  // inserting, and nothing written yet
  int RecordOfRow(int row) const;

  TDataSourceLink link_;
  int rows_ = 0;
  int current_ = -1;
  int insertRow_ = -1;
  int browseRecNo_ = 0;  // RecNo of the last record current outside the insert state
  bool appending_ = false;
  TDataSetState state_ = TDataSetState::dsInactive;

  std::vector<int> fieldsShown_;
  std::vector<TRecordValues> window_;  // records windowStart_ ...
  int windowStart_ = 0;
  TRecordValues buffer_;  // the current row while editing or inserting
  bool bufferValid_ = false;
  TRecordValues empty_;
};

}  // namespace pagolin
