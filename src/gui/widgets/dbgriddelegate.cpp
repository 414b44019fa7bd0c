#include "gui/widgets/dbgriddelegate.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

#include "gui/widgets/dbgrid.h"
#include "gui/widgets/dbgridmodel.h"

namespace pagolin {

namespace {

QIcon EllipsisIcon(const QColor& ink) {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  for (int i = 0; i < 3; ++i) p.drawEllipse(QRectF(2.5 + 4.0 * i, 10, 2.6, 2.6));
  return QIcon(pm);
}

bool HasEllipsis(TDBGrid* grid, const QModelIndex& index) {
  return index.isValid() && grid->Columns(index.column()).ButtonStyle() == TColumnButtonStyle::cbsEllipsis;
}

}  // namespace

TDBGridDelegate::TDBGridDelegate(TDBGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

QRect TDBGridDelegate::EllipsisRect(const QRect& cell) {
  const int w = std::min(cell.height(), 20);
  return QRect(cell.right() - w + 1, cell.top(), w, cell.height());
}

QWidget* TDBGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                       const QModelIndex& index) const {
  const TColumn& column = grid_->Columns(index.column());
  QWidget* editor = nullptr;
  if (!column.PickList().isEmpty()) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(column.PickList());
    combo->setFrame(false);
    editor = combo;
  } else {
    auto* line = new QLineEdit(parent);
    line->setFrame(false);
    if (column.ButtonStyle() == TColumnButtonStyle::cbsEllipsis) {
      auto* button = new QAction(EllipsisIcon(line->palette().color(QPalette::Text)), QString(), line);
      button->setObjectName(QStringLiteral("EditButton"));
      line->addAction(button, QLineEdit::TrailingPosition);
      connect(button, &QAction::triggered, grid_, &TDBGrid::EditButtonClick);
    }
    editor = line;
  }
  editor->setObjectName(QStringLiteral("InplaceEdit"));
  editor_ = editor;
  editorIndex_ = index;
  return editor;
}

QString TDBGridDelegate::EditorText(const QWidget* editor) {
  if (const auto* combo = qobject_cast<const QComboBox*>(editor)) return combo->currentText();
  if (const auto* line = qobject_cast<const QLineEdit*>(editor)) return line->text();
  return {};
}

void TDBGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  const QString text = index.data(Qt::EditRole).toString();
  if (auto* combo = qobject_cast<QComboBox*>(editor))
    combo->setCurrentText(text);
  else if (auto* line = qobject_cast<QLineEdit*>(editor))
    line->setText(text);
  original_ = text;
}

void TDBGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                   const QModelIndex& index) const {
  commitOk_ = model->setData(index, EditorText(editor), Qt::EditRole);
  if (commitOk_) original_ = EditorText(editor);
}

void TDBGridDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
  if (editor == editor_) editor_ = nullptr;
  QStyledItemDelegate::destroyEditor(editor, index);
}

void TDBGridDelegate::ReloadEditor() {
  if (editor_ && editorIndex_.isValid()) setEditorData(editor_, editorIndex_);
}

void TDBGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
  const QWidget* view = option.widget;
  QStyle* style = view ? view->style() : QApplication::style();
  const bool currentRow = index.row() == grid_->DataLink().CurrentRow();
  if (currentRow && !(option.state & QStyle::State_Selected)) {
    QColor tint = option.palette.color(QPalette::Highlight);
    tint.setAlpha(28);
    painter->fillRect(option.rect, tint);
  }
  const auto* model = static_cast<const TDBGridModel*>(index.model());
  if (model->IsLogical(index)) {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    opt.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, view);
    QStyleOptionViewItem check(opt);
    const int size = style->pixelMetric(QStyle::PM_IndicatorWidth, &opt, view);
    check.rect = QRect(opt.rect.center().x() - size / 2, opt.rect.center().y() - size / 2, size, size);
    check.state =
        (opt.state & ~QStyle::State_HasFocus) |
        (index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off);
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, view);
  } else {
    QStyledItemDelegate::paint(painter, option, index);
  }
  // The ellipsis button of the current cell, while no editor covers it.
  if (HasEllipsis(grid_, index) && index == grid_->currentIndex() && grid_->CanEditData() &&
      !grid_->Columns(index.column()).ReadOnly() && !(editor_ && editorIndex_ == index)) {
    QStyleOptionButton button;
    button.rect = EllipsisRect(option.rect);
    button.state = QStyle::State_Enabled | QStyle::State_Raised;
    button.icon = EllipsisIcon(option.palette.color(QPalette::ButtonText));
    button.iconSize = QSize(14, 14);
    button.palette = option.palette;
    style->drawControl(QStyle::CE_PushButton, &button, painter, view);
  }
  // Lines one pixel wide as filled rectangles: far cheaper than stroking a pen.
  const TDBGridOptions options = grid_->Options();
  if (options & (TDBGridOption::dgColLines | TDBGridOption::dgRowLines)) {
    const QColor line(static_cast<QRgb>(style->styleHint(QStyle::SH_Table_GridLineColor, &option, view)));
    const QRect& r = option.rect;
    if (options & TDBGridOption::dgColLines)
      painter->fillRect(QRect(r.right(), r.top(), 1, r.height()), line);
    if (options & TDBGridOption::dgRowLines)
      painter->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), line);
  }
}

bool TDBGridDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                  const QStyleOptionViewItem& option, const QModelIndex& index) {
  if (!(model->flags(index) & Qt::ItemIsUserCheckable))
    return QStyledItemDelegate::editorEvent(event, model, option, index);
  bool toggle = false;
  switch (event->type()) {
    case QEvent::MouseButtonRelease:
      toggle = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
               option.rect.contains(static_cast<QMouseEvent*>(event)->position().toPoint());
      break;
    case QEvent::MouseButtonDblClick: return true;
    case QEvent::KeyPress: toggle = static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space; break;
    default: return false;
  }
  if (!toggle) return false;
  const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
  if (!model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole))
    grid_->ShowModelError();
  return true;
}

bool TDBGridDelegate::eventFilter(QObject* object, QEvent* event) {
  auto* editor = qobject_cast<QWidget*>(object);
  if (event->type() != QEvent::KeyPress || !editor || editor != editor_)
    return QStyledItemDelegate::eventFilter(object, event);
  auto* key = static_cast<QKeyEvent*>(event);
  const Qt::KeyboardModifiers mods = key->modifiers();
  switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (mods & Qt::ControlModifier) {
        grid_->Post();  // the cell, then the record
      } else {
        grid_->CommitEditor(true);  // Enter ends the cell's edit; the record stays in the edit state
      }
      return true;
    case Qt::Key_Escape: {
      // Escape drops what was typed into the cell; with nothing typed, the record's edits.
      const QString text = EditorText(editor);
      const bool typed = text != original_;
      TField* field = grid_->Columns(editorIndex_.column()).Field();
      emit closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
      if (!typed)
        grid_->CancelRecord();
      else if (field)
        emit grid_->CellTextDropped(field, text);
      return true;
    }
    case Qt::Key_F4:
      if (!HasEllipsis(grid_, editorIndex_)) break;
      emit grid_->EditButtonClick();
      return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
      if (mods & Qt::AltModifier) {
        // Alt+Down opens the pick list, or acts as the ellipsis button.
        if (key->key() != Qt::Key_Down || !HasEllipsis(grid_, editorIndex_)) break;
        emit grid_->EditButtonClick();
        return true;
      }
      grid_->keyPressEvent(key);
      return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      if (grid_->Options() & TDBGridOption::dgTabs) {
        grid_->keyPressEvent(key);
      } else if (grid_->CommitEditor(true)) {
        grid_->focusNextPrevChild(key->key() == Qt::Key_Tab && !(mods & Qt::ShiftModifier));
      }
      return true;
    default: break;
  }
  return QStyledItemDelegate::eventFilter(object, event);
}

}  // namespace pagolin
