#include "gui/widgets/dbgrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <exception>

#include "core/platform/hooks.h"
#include "gui/components/qtext.h"
#include "gui/widgets/dbgriddelegate.h"
#include "gui/widgets/dbgridmodel.h"

namespace pagolin {

// ---- TColumn -----------------------------------------------------------------------------

void TColumn::SetFieldName(const std::string& name) {
  fieldName_ = name;
  fieldTable_ = nullptr;
  grid_->UpdateFieldsShown();
  grid_->ColumnChanged(index_);
}

QString TColumn::TitleCaption() const { return captionSet_ ? caption_ : ToQ(fieldName_); }

void TColumn::SetTitleCaption(const QString& caption) {
  caption_ = caption;
  captionSet_ = true;
  grid_->ColumnChanged(index_);
}

void TColumn::SetWidth(int width) {
  width_ = width;
  grid_->ColumnChanged(index_);
}

void TColumn::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  grid_->ColumnChanged(index_);
}

TField* TColumn::Field() const {
  TTable* table = grid_->link_.DataSet();
  if (fieldName_.empty() || !table || !table->Active()) return nullptr;
  if (table != fieldTable_) {
    fieldTable_ = table;
    field_ = table->FindField(fieldName_);
  }
  return field_;
}

// ---- TDBGrid -----------------------------------------------------------------------------

TDBGrid::TDBGrid(QWidget* parent) : QTableView(parent) {
  model_ = new TDBGridModel(this);
  delegate_ = new TDBGridDelegate(this);
  setModel(model_);
  setItemDelegate(delegate_);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setWordWrap(false);
  setShowGrid(false);  // the delegate draws column and row lines as the options say
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int index, int, int size) {
    if (index >= 0 && index < ColumnCount()) columns_[static_cast<size_t>(index)]->width_ = size;
  });

  link_.OnChange = [this](TGridChange change, int row) {
    const bool wasSyncing = syncing_;
    syncing_ = true;  // the view's own reaction to rows coming and going is no move of the person's
    model_->Apply(change, row);
    syncing_ = wasSyncing;
  };
  link_.OnCurrentChange = [this] { SyncCurrent(); };
  link_.OnFieldChange = [this](const TField& field) {
    const QModelIndex at = delegate_->EditorIndex();
    if (!committing_ && delegate_->OpenEditor() && at.isValid() && Columns(at.column()).Field() == &field)
      delegate_->ReloadEditor();
  };
  link_.OnUpdateData = [this] {
    // The post takes what the open cell holds; a value the field refuses stops the post.
    if (!CommitEditor(false)) throw EDatabaseError(FromQ(model_->LastError()));
  };
  connect(qApp, &QApplication::focusChanged, this, &TDBGrid::FocusChanged);
  ApplyOptions();
}

TDBGrid::~TDBGrid() {
  disconnect(qApp, nullptr, this, nullptr);
  link_.OnChange = nullptr;
  link_.OnCurrentChange = nullptr;
  link_.OnFieldChange = nullptr;
  link_.OnUpdateData = nullptr;
}

void TDBGrid::SetDataSource(TDataSource* source) {
  link_.SetDataSource(source);
  UpdateFieldsShown();
  SyncCurrent();
}

void TDBGrid::UpdateFieldsShown() {
  std::vector<int> fields;
  if (TTable* table = link_.DataSet())
    for (const auto& column : columns_)
      if (const TField* field = column->fieldName_.empty() ? nullptr : table->FindField(column->fieldName_))
        fields.push_back(field->Index());
  link_.SetFieldsShown(std::move(fields));
}

TColumn& TDBGrid::AddColumn(const std::string& fieldName, const QString& caption, int width) {
  auto column = std::unique_ptr<TColumn>(new TColumn(this, ColumnCount()));
  column->fieldName_ = fieldName;
  if (!caption.isEmpty()) {
    column->caption_ = caption;
    column->captionSet_ = true;
  }
  column->width_ = width;
  TColumn& added = *column;
  model_->InsertColumn([&] { columns_.push_back(std::move(column)); });
  horizontalHeader()->resizeSection(added.Index(), width);
  UpdateFieldsShown();
  return added;
}

void TDBGrid::ColumnChanged(int index) {
  horizontalHeader()->resizeSection(index, Columns(index).Width());
  model_->ColumnChanged(index);
}

void TDBGrid::SetOptions(TDBGridOptions options) {
  options_ = options;
  ApplyOptions();
}

void TDBGrid::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  ApplyOptions();
}

bool TDBGrid::CanEditData() const {
  return !readOnly_ && (options_ & TDBGridOption::dgEditing) && !(options_ & TDBGridOption::dgRowSelect);
}

void TDBGrid::ApplyOptions() {
  horizontalHeader()->setVisible(options_ & TDBGridOption::dgTitles);
  horizontalHeader()->setSectionResizeMode(options_ & TDBGridOption::dgColumnResize ? QHeaderView::Interactive
                                                                                    : QHeaderView::Fixed);
  setTabKeyNavigation(options_ & TDBGridOption::dgTabs);
  setSelectionBehavior(options_ & TDBGridOption::dgRowSelect ? QAbstractItemView::SelectRows
                                                             : QAbstractItemView::SelectItems);
  setEditTriggers(CanEditData() ? QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                                      QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked
                                : QAbstractItemView::NoEditTriggers);
  viewport()->update();
}

int TDBGrid::SelectedIndex() const { return currentIndex().isValid() ? currentIndex().column() : -1; }

TField* TDBGrid::SelectedField() const {
  const int index = SelectedIndex();
  return index >= 0 && index < ColumnCount() ? columns_[static_cast<size_t>(index)]->Field() : nullptr;
}

// ---- following the link and moving it ----------------------------------------------------

void TDBGrid::SyncCurrent() {
  const bool wasSyncing = syncing_;
  syncing_ = true;
  const int row = link_.CurrentRow();
  // An editor left on another row has been written before the move (or the move dropped it).
  if (QWidget* editor = delegate_->OpenEditor(); editor && delegate_->EditorIndex().row() != row)
    closeEditor(editor, QAbstractItemDelegate::NoHint);
  if (row < 0 || ColumnCount() == 0) {
    selectionModel()->clearCurrentIndex();
  } else {
    model_->FetchTo(row);
    const int column = std::clamp(currentIndex().column(), 0, LastDataColumn());
    const QModelIndex index = model_->index(row, column);
    if (index != currentIndex()) setCurrentIndex(index);
    scrollTo(index);
  }
  viewport()->update();
  syncing_ = wasSyncing;
}

void TDBGrid::SelectRecords(const std::vector<TRecordId>& records) {
  TTable* table = DataSource() ? DataSource()->DataSet() : nullptr;
  if (!table || records.empty()) return;
  QItemSelection rows;
  for (auto id = records.rbegin(); id != records.rend(); ++id) {
    if (!table->LocateRecord(*id)) continue;  // the first record is the last one located
    const int row = link_.CurrentRow();
    rows.select(model_->index(row, 0), model_->index(row, model_->columnCount() - 1));
  }
  selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

bool TDBGrid::CommitEditor(bool close) {
  QWidget* editor = delegate_->OpenEditor();
  if (!editor) return true;
  committing_ = true;
  commitData(editor);
  committing_ = false;
  if (!delegate_->LastCommitOk()) {
    if (close) ShowModelError();
    return false;
  }
  if (close) closeEditor(editor, QAbstractItemDelegate::NoHint);
  return true;
}

bool TDBGrid::WriteOpenEditor(std::string& error) {
  if (CommitEditor(false)) {
    if (QWidget* editor = delegate_->OpenEditor()) closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
  }
  error = FromQ(model_->LastError());
  return false;
}

void TDBGrid::DropOpenEditor() {
  if (QWidget* editor = delegate_->OpenEditor()) closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

void TDBGrid::ShowModelError() {
  if (!model_->LastError().isEmpty()) ShowError(FromQ(model_->LastError()));
}

bool TDBGrid::Try(const std::function<void()>& move) {
  try {
    move();
    return true;
  } catch (const std::exception& e) {
    ShowError(e.what());
    SyncCurrent();
    return false;
  }
}

bool TDBGrid::EnterEditState() {
  TTable* table = link_.DataSet();
  if (!table || !table->Active() || !CanEditData()) return false;
  if (table->State() != TDataSetState::dsBrowse) return true;
  return Try([table] { table->Edit(); });
}

bool TDBGrid::MoveToRow(int row) {
  return CommitEditor(true) && Try([&] { link_.MoveToRow(row); });
}

void TDBGrid::CancelRecord() {
  Try([this] { link_.Cancel(); });
}

bool TDBGrid::Post() {
  TTable* table = link_.DataSet();
  if (!CommitEditor(true) || !table || !table->Active()) return false;
  return Try([table] { table->Post(); });
}

bool TDBGrid::IsDataColumn(int column) const {
  return column >= 0 && column < ColumnCount() && !columns_[static_cast<size_t>(column)]->FieldName().empty();
}

int TDBGrid::FirstDataColumn() const {
  for (int c = 0; c < ColumnCount(); ++c)
    if (IsDataColumn(c)) return c;
  return 0;
}

int TDBGrid::LastDataColumn() const {
  for (int c = ColumnCount() - 1; c >= 0; --c)
    if (IsDataColumn(c)) return c;
  return std::max(0, ColumnCount() - 1);
}

void TDBGrid::SetCurrentColumn(int column) {
  if (link_.CurrentRow() < 0) return;
  syncing_ = true;
  setCurrentIndex(model_->index(link_.CurrentRow(), column));
  syncing_ = false;
}

bool TDBGrid::ClickEditButton() {
  if (!currentIndex().isValid() || !CanEditData()) return false;
  const TColumn& column = Columns(currentIndex().column());
  if (column.ButtonStyle() != TColumnButtonStyle::cbsEllipsis || column.ReadOnly()) return false;
  emit EditButtonClick();
  return true;
}

QModelIndex TDBGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  int row = -1, column = 0;
  if ((action == MoveHome || action == MoveEnd) && (modifiers & Qt::ControlModifier) &&
      currentIndex().isValid()) {
    // Ctrl+Home and Ctrl+End go to the first and last record (also one the view was not told
    // of yet) and keep the column.
    row = action == MoveHome ? 0 : link_.RowCount() - 1;
    column = currentIndex().column();
  } else {
    const QModelIndex target = QTableView::moveCursor(action, modifiers);
    if (!target.isValid()) return target;
    row = target.row();
    column = std::min(target.column(), LastDataColumn());
  }
  if (!syncing_ && row != link_.CurrentRow() && !MoveToRow(row)) return currentIndex();
  if (!syncing_) row = link_.CurrentRow();
  model_->FetchTo(row);
  return model_->index(row, column);
}

void TDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  viewport()->update();  // the current row's tint and the ellipsis button follow
  if (syncing_ || !current.isValid() || current.row() == link_.CurrentRow()) return;
  // A move the view made on its own: the record follows, or the view goes back.
  MoveToRow(current.row());
  SyncCurrent();
}

bool TDBGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  const bool opens = index.isValid() && state() != QAbstractItemView::EditingState &&
                     (trigger == QAbstractItemView::AllEditTriggers || (trigger & editTriggers())) &&
                     (model_->flags(index) & Qt::ItemIsEditable) &&
                     (trigger != QAbstractItemView::SelectedClicked || selectionModel()->isSelected(index));
  // Typing into a cell puts the record into the edit state first, so the data module's rules
  // run before the first character lands.
  if (opens && index.row() == link_.CurrentRow() && !EnterEditState()) return false;
  return QTableView::edit(index, trigger, event);
}

void TDBGrid::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const QModelIndex index = indexAt(pos);
  if (event->button() == Qt::LeftButton && index.isValid()) {
    if (index.row() != link_.CurrentRow()) {
      setFocus(Qt::MouseFocusReason);
      if (MoveToRow(index.row())) {
        SetCurrentColumn(std::min(index.column(), LastDataColumn()));
      }
      swallowRelease_ = true;
      event->accept();
      return;
    }
    const TColumn& column = Columns(index.column());
    if (index == currentIndex() && column.ButtonStyle() == TColumnButtonStyle::cbsEllipsis && CanEditData() &&
        !column.ReadOnly() && TDBGridDelegate::EllipsisRect(visualRect(index)).contains(pos)) {
      swallowRelease_ = true;
      event->accept();
      emit EditButtonClick();
      return;
    }
  }
  QTableView::mousePressEvent(event);
}

void TDBGrid::mouseReleaseEvent(QMouseEvent* event) {
  if (swallowRelease_) {
    // The press moved to another row (or pressed the button): the release toggles nothing.
    swallowRelease_ = false;
    event->accept();
    return;
  }
  QTableView::mouseReleaseEvent(event);
}

void TDBGrid::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  const bool ctrl = mods & Qt::ControlModifier;
  switch (event->key()) {
    case Qt::Key_Insert:
      if (mods == Qt::NoModifier && CanEditData() && CommitEditor(true) && Try([this] { link_.Insert(); }))
        SetCurrentColumn(FirstDataColumn());
      event->accept();
      return;
    case Qt::Key_F4:
      ClickEditButton();
      event->accept();
      return;
    case Qt::Key_Delete:
      if (!ctrl) break;
      if (!readOnly_ && CommitEditor(true))
        Try([this] { link_.Delete(options_ & TDBGridOption::dgConfirmDelete); });
      event->accept();
      return;
    case Qt::Key_Down:
      if (mods & Qt::AltModifier) {
        ClickEditButton();
      } else if (CommitEditor(true)) {
        Try([this] { link_.NextRow(CanEditData()); });
      }
      event->accept();
      return;
    case Qt::Key_Up:
      if (CommitEditor(true)) Try([this] { link_.PriorRow(); });
      event->accept();
      return;
    case Qt::Key_Escape: {
      const TTable* table = link_.DataSet();
      if (!table || table->State() == TDataSetState::dsBrowse || table->State() == TDataSetState::dsInactive)
        break;
      CancelRecord();
      event->accept();
      return;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (ctrl) {
        Post();
      } else if (currentIndex().isValid() && !delegate_->OpenEditor()) {
        edit(currentIndex(), QAbstractItemView::EditKeyPressed, event);
      }
      event->accept();
      return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
      if (!(options_ & TDBGridOption::dgTabs) || ColumnCount() == 0 || !CommitEditor(true)) break;
      // Between cells; past the row's end to the next row (which may append), and back.
      const bool forward = event->key() == Qt::Key_Tab && !(mods & Qt::ShiftModifier);
      const int column = currentIndex().isValid() ? currentIndex().column() : 0;
      int next = column + (forward ? 1 : -1);
      while (next >= 0 && next < ColumnCount() && !IsDataColumn(next)) next += forward ? 1 : -1;
      if (next < 0 || next >= ColumnCount()) {
        if (!Try([&] { forward ? link_.NextRow(CanEditData()) : link_.PriorRow(); })) {
          event->accept();
          return;
        }
        next = forward ? FirstDataColumn() : LastDataColumn();
      }
      SetCurrentColumn(next);
      event->accept();
      return;
    }
    default: break;
  }
  QTableView::keyPressEvent(event);
}

// Cancel on leaving: focus going to another control of the window drops an untouched new row.
void TDBGrid::FocusChanged(QWidget* old, QWidget* now) {
  if (!(options_ & TDBGridOption::dgCancelOnExit) || !old || !now) return;
  const auto inside = [this](const QWidget* w) { return w == this || isAncestorOf(w); };
  if (!inside(old) || inside(now) || now->window() != window()) return;
  Try([this] { link_.LeaveGrid(); });
}

}  // namespace pagolin
