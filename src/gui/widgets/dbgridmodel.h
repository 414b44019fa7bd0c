// The item model behind TDBGrid: rows and values come from the grid's TGridDataLink, columns
// from its TColumns. It keeps no rows of its own, only how many the view knows of: rows are
// handed to the view a batch at a time as it scrolls (canFetchMore / fetchMore), because a
// view lays out every row it is told of, so a large table costs its first screen only until
// the person goes further.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <functional>

#include "core/platform/griddatalink.h"

namespace pagolin {

class TDBGrid;

class TDBGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit TDBGridModel(TDBGrid* grid);

  int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows_; }
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;
  // Makes the rows up to `row` known to the view (a record current further down).
  void FetchTo(int row);
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  // Writes a cell of the current row into the record (entering the edit state); an unchanged
  // text writes nothing. False when the field refuses the value: LastError() says why.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The link's news, applied inside Qt's begin/end pairs.
  void Apply(TGridChange change, int row);
  // Adds a column at the end: add() puts it into the grid's list.
  void InsertColumn(const std::function<void()>& add);
  void ColumnChanged(int column);
  bool IsLogical(const QModelIndex& index) const;
  const QString& LastError() const { return lastError_; }

 private:
  TField* FieldOf(const QModelIndex& index) const;
  static constexpr int kFetchRows = 256;
  TDBGrid* grid_;
  int rows_ = 0;  // the first rows of the link's, as many as the view knows of
  QString lastError_;
};

}  // namespace pagolin
