// How TDBGrid draws its cells and edits them: a text box in the cell (with a drop-down of the
// column's pick list, or an ellipsis button), a check mark for a logical field, the short
// date-time form for a date, the column and row lines the grid's options ask for.
#pragma once

#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>

namespace pagolin {

class TDBGrid;

class TDBGridDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit TDBGridDelegate(TDBGrid* grid);

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
  void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  // The cell editor open now (nullptr when none) and its cell.
  QWidget* OpenEditor() const { return editor_; }
  QModelIndex EditorIndex() const { return editorIndex_; }
  // The last setModelData was taken by the record.
  bool LastCommitOk() const { return commitOk_; }
  // Shows the field's value in the open editor again (the field was written elsewhere).
  void ReloadEditor();
  // Where the ellipsis button of a cell is drawn.
  static QRect EllipsisRect(const QRect& cell);

 protected:
  bool eventFilter(QObject* object, QEvent* event) override;
  bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

 private:
  static QString EditorText(const QWidget* editor);
  TDBGrid* grid_;
  mutable QPointer<QWidget> editor_;
  mutable QPersistentModelIndex editorIndex_;
  mutable QString original_;
  mutable bool commitOk_ = true;
};

}  // namespace pagolin
