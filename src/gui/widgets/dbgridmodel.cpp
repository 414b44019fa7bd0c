#include "gui/widgets/dbgridmodel.h"

#include <algorithm>
#include <exception>

#include "gui/components/qtext.h"
#include "gui/widgets/dbgrid.h"

namespace pagolin {

TDBGridModel::TDBGridModel(TDBGrid* grid) : QAbstractTableModel(grid), grid_(grid) {}

int TDBGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : grid_->ColumnCount();
}

TField* TDBGridModel::FieldOf(const QModelIndex& index) const {
  if (!index.isValid() || index.column() >= grid_->ColumnCount()) return nullptr;
  return grid_->Columns(index.column()).Field();
}

bool TDBGridModel::IsLogical(const QModelIndex& index) const {
  const TField* field = FieldOf(index);
  return field && field->Kind() == TFieldKind::fkLogical;
}

QVariant TDBGridModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::CheckStateRole) return {};
  const TField* field = FieldOf(index);
  if (!field || index.row() >= rows_) return {};
  const bool logical = field->Kind() == TFieldKind::fkLogical;
  switch (role) {
    case Qt::DisplayRole:
      if (logical) return {};
      return ToQ(grid_->DataLink().Row(index.row()).DisplayText(field->Index()));
    case Qt::EditRole: return ToQ(grid_->DataLink().Row(index.row()).AsString(field->Index()));
    case Qt::CheckStateRole:
      if (!logical) return {};
      return grid_->DataLink().Row(index.row()).AsBoolean(field->Index()) ? Qt::Checked : Qt::Unchecked;
    default: return {};
  }
}

bool TDBGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  lastError_.clear();
  TField* field = FieldOf(index);
  if (!field || index.row() != grid_->DataLink().CurrentRow() ||
      !(flags(index) & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable)))
    return false;
  try {
    if (role == Qt::CheckStateRole && field->Kind() == TFieldKind::fkLogical) {
      const bool checked = value.toInt() == Qt::Checked;
      if (!field->IsNull() && field->AsBoolean() == checked) return true;
      if (!grid_->EnterEditState()) return false;
      field->SetAsBoolean(checked);
      return true;
    }
    if (role != Qt::EditRole) return false;
    const std::string text = FromQ(value.toString());
    if (text == field->AsString()) return true;  // nothing typed: nothing written
    if (!grid_->EnterEditState()) return false;
    field->SetAsString(text);
    return true;
  } catch (const std::exception& e) {
    lastError_ = ToQ(e.what());
    return false;
  }
}

Qt::ItemFlags TDBGridModel::flags(const QModelIndex& index) const {
  // The filler column that ends a row is no cell: neither the keys nor a click land on it.
  if (index.isValid() && index.column() < grid_->ColumnCount() &&
      grid_->Columns(index.column()).FieldName().empty())
    return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  const TField* field = FieldOf(index);
  if (!field || !grid_->CanEditData() || grid_->Columns(index.column()).ReadOnly()) return f;
  return f | (field->Kind() == TFieldKind::fkLogical ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable);
}

QVariant TDBGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= grid_->ColumnCount()) return {};
  if (role == Qt::DisplayRole) return grid_->Columns(section).TitleCaption();
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

bool TDBGridModel::canFetchMore(const QModelIndex& parent) const {
  return !parent.isValid() && rows_ < grid_->DataLink().RowCount();
}

void TDBGridModel::fetchMore(const QModelIndex& parent) {
  if (!parent.isValid()) FetchTo(rows_ + kFetchRows - 1);
}

void TDBGridModel::FetchTo(int row) {
  const int rows = std::min(grid_->DataLink().RowCount(), std::max(row + 1, rows_ + kFetchRows));
  if (row < rows_ || rows <= rows_) return;
  beginInsertRows({}, rows_, rows - 1);
  rows_ = rows;
  endInsertRows();
}

void TDBGridModel::Apply(TGridChange change, int row) {
  const int rows = grid_->DataLink().RowCount();
  // Rows beyond those the view knows of change nothing it shows.
  switch (change) {
    case TGridChange::gcRowInserted:
      if (row < 0 || row > rows_ || rows_ + 1 > rows) break;
      beginInsertRows({}, row, row);
      ++rows_;
      endInsertRows();
      return;
    case TGridChange::gcRowRemoved:
      if (row < 0 || rows_ > rows + 1) break;
      if (row < rows_) {
        beginRemoveRows({}, row, row);
        --rows_;
        endRemoveRows();
      }
      return;
    case TGridChange::gcRowsChanged:
      if (rows_ > rows) break;
      if (rows_ > 0 && columnCount() > 0) {
        if (row < 0 || row >= rows_)
          emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
        else
          emit dataChanged(index(row, 0), index(row, columnCount() - 1));
      }
      return;
    case TGridChange::gcReset: break;
  }
  // Anything else, or what does not fit the rows shown, is shown afresh.
  beginResetModel();
  rows_ = std::min(rows, kFetchRows);
  endResetModel();
}

void TDBGridModel::InsertColumn(const std::function<void()>& add) {
  const int column = columnCount();
  beginInsertColumns({}, column, column);
  add();
  endInsertColumns();
}

void TDBGridModel::ColumnChanged(int column) {
  emit headerDataChanged(Qt::Horizontal, column, column);
  if (rows_ > 0) emit dataChanged(index(0, column), index(rows_ - 1, column));
}

}  // namespace pagolin
