// TDBGrid: a table view over a data source (core/platform/griddatalink.h holds its rules). The
// rows are the records in the active index's order; the current row follows the table's
// current record and moves it. Only the rows on screen are read.
//
// Keys: typing in a cell starts editing the record; Enter ends the cell's edit; moving to
// another row posts, and so does Ctrl+Enter; Escape drops the cell's typing (telling
// CellTextDropped), or with nothing typed the record's edits; Insert inserts a record and goes
// to its first column; Ctrl+Delete deletes (after "Delete record?" with dgConfirmDelete); Down
// on the last row appends a record, dropped again on leaving when nothing was typed into it;
// F4 and Alt+Down act as the cell's ellipsis button. Tab and Shift+Tab go from cell to cell and
// row to row, passing over the filler column, which never becomes current.
#pragma once

#include <QFlags>
#include <QStringList>
#include <QTableView>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/platform/griddatalink.h"

namespace pagolin {

class TDBGrid;
class TDBGridModel;
class TDBGridDelegate;

enum class TColumnButtonStyle { cbsAuto, cbsEllipsis, cbsNone };

// One column of the grid: the field it shows, its title, width, pick list and button. A column
// without a field stays empty (the filler that ends a row).
class TColumn {
 public:
  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(const std::string& name);
  // The title's caption; the field name until one is set.
  QString TitleCaption() const;
  void SetTitleCaption(const QString& caption);
  int Width() const { return width_; }
  void SetWidth(int width);
  // Choices offered in a drop-down while the cell is edited (free text stays possible).
  const QStringList& PickList() const { return pickList_; }
  void SetPickList(const QStringList& items) { pickList_ = items; }
  TColumnButtonStyle ButtonStyle() const { return buttonStyle_; }
  void SetButtonStyle(TColumnButtonStyle style) { buttonStyle_ = style; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);
  // The field in the grid's table; nullptr for the filler or while the table is closed.
  TField* Field() const;
  int Index() const { return index_; }

 private:
  friend class TDBGrid;
  TColumn(TDBGrid* grid, int index) : grid_(grid), index_(index) {}
  TDBGrid* grid_;
  int index_;
  // The field found for the table last asked about (the fields of a table never change).
  mutable const TTable* fieldTable_ = nullptr;
  mutable TField* field_ = nullptr;
  std::string fieldName_;
  QString caption_;
  bool captionSet_ = false;
  int width_ = 64;
  QStringList pickList_;
  TColumnButtonStyle buttonStyle_ = TColumnButtonStyle::cbsAuto;
  bool readOnly_ = false;
};

enum class TDBGridOption {
  dgEditing = 0x1,
  dgTitles = 0x2,
  dgColumnResize = 0x4,
  dgColLines = 0x8,
  dgRowLines = 0x10,
  dgTabs = 0x20,
  dgConfirmDelete = 0x40,
  dgCancelOnExit = 0x80,
  dgRowSelect = 0x100,
};
Q_DECLARE_FLAGS(TDBGridOptions, TDBGridOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TDBGridOptions)

// What the main window's editable grids use.
inline constexpr TDBGridOptions kEditableGridOptions =
    TDBGridOptions(TDBGridOption::dgEditing) | TDBGridOption::dgTitles | TDBGridOption::dgColumnResize |
    TDBGridOption::dgColLines | TDBGridOption::dgRowLines | TDBGridOption::dgTabs |
    TDBGridOption::dgConfirmDelete | TDBGridOption::dgCancelOnExit;

class TDBGrid : public QTableView {
  Q_OBJECT

 public:
  explicit TDBGrid(QWidget* parent = nullptr);
  ~TDBGrid() override;

  void SetDataSource(TDataSource* source);
  TDataSource* DataSource() const { return link_.DataSource(); }
  TGridDataLink& DataLink() { return link_; }

  // Columns, left to right. fieldName "" adds the empty filler column.
  TColumn& AddColumn(const std::string& fieldName, const QString& caption = {}, int width = 64);
  TColumn& Columns(int index) { return *columns_.at(static_cast<size_t>(index)); }
  int ColumnCount() const { return static_cast<int>(columns_.size()); }

  void SetOptions(TDBGridOptions options);
  TDBGridOptions Options() const { return options_; }
  // A read-only grid shows and moves, never edits, inserts or deletes.
  void SetReadOnly(bool readOnly);
  bool ReadOnly() const { return readOnly_; }
  // Editing, inserting and deleting are possible.
  bool CanEditData() const;

  // The column of the current cell and its field.
  int SelectedIndex() const;
  TField* SelectedField() const;

  // Shows these records selected, the first one current (a record not found is passed over).
  // Database errors propagate.
  void SelectRecords(const std::vector<TRecordId>& records);

  // Puts the data set into the edit state (shows the error and returns false when it cannot).
  bool EnterEditState();
  // The rules of the grid's row moves, with errors shown; false when nothing moved.
  bool MoveToRow(int row);
  // Writes an open cell editor into the record and closes it, as a move to another row does
  // first; false, with the reason in error and the editor left open, when the field refuses
  // the value. Nothing is shown.
  bool WriteOpenEditor(std::string& error);
  // Closes an open cell editor without writing what it holds.
  void DropOpenEditor();
  // Writes and closes an open cell editor, then posts the record; false (error shown) when
  // either is refused.
  bool Post();

 signals:
  // The ellipsis button of the current cell (or F4, Alt+Down on it): OnEditButtonClick.
  void EditButtonClick();
  // Escape dropped text typed into a cell of field before it reached the record.
  void CellTextDropped(pagolin::TField* field, const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  // Searching by typed text would read every row.
  void keyboardSearch(const QString&) override {}

 private:
  friend class TColumn;
  friend class TDBGridDelegate;
  void ColumnChanged(int index);
  // Tells the link which fields the columns show, so only those are read.
  void UpdateFieldsShown();
  void SyncCurrent();
  // Writes an open cell editor into the record (close: and closes it); false when the field
  // refused the text (error shown, editor kept).
  bool CommitEditor(bool close);
  // Runs a move of the link; errors are shown and the current row stays.
  bool Try(const std::function<void()>& move);
  // Escape with nothing typed: the record's edits are dropped.
  void CancelRecord();
  // Shows why the model refused a value.
  void ShowModelError();
  void FocusChanged(QWidget* old, QWidget* now);
  // The columns that show a field: the first and last of them (0 and the last column when
  // none does); the filler column is never current.
  bool IsDataColumn(int column) const;
  int FirstDataColumn() const;
  int LastDataColumn() const;
  // Makes a column of the current row current, as the grid's own move.
  void SetCurrentColumn(int column);
  // The ellipsis button of the current cell, when it has one.
  bool ClickEditButton();
  void ApplyOptions();

  TGridDataLink link_;
  std::vector<std::unique_ptr<TColumn>> columns_;
  TDBGridModel* model_ = nullptr;
  TDBGridDelegate* delegate_ = nullptr;
  TDBGridOptions options_ = kEditableGridOptions;
  bool readOnly_ = false;
  bool syncing_ = false;     // the view follows the link: its moves are not the person's
  bool committing_ = false;  // an open editor is being written into the record
  bool swallowRelease_ = false;
};

}  // namespace pagolin
