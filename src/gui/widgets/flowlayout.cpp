#include "gui/widgets/flowlayout.h"

#include <QWidget>
#include <algorithm>

namespace pagolin {

TFlowLayout::TFlowLayout(QWidget* parent, int spacing) : QLayout(parent) {
  setContentsMargins(0, 0, 0, 0);
  setSpacing(spacing);
}

TFlowLayout::~TFlowLayout() {
  while (QLayoutItem* item = takeAt(0)) delete item;
}

void TFlowLayout::addItem(QLayoutItem* item) { items_.append(item); }

QLayoutItem* TFlowLayout::takeAt(int index) {
  return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

int TFlowLayout::heightForWidth(int width) const { return DoLayout(QRect(0, 0, width, 0), false); }

QSize TFlowLayout::minimumSize() const {
  // As narrow as the widest item; as high as one row.
  QSize size;
  for (const QLayoutItem* item : items_) size = size.expandedTo(item->minimumSize());
  const QMargins m = contentsMargins();
  return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

QSize TFlowLayout::sizeHint() const {
  // Everything in one row.
  int width = 0, height = 0;
  for (const QLayoutItem* item : items_) {
    if (item->isEmpty()) continue;
    width += (width ? spacing() : 0) + item->sizeHint().width();
    height = std::max(height, item->sizeHint().height());
  }
  const QMargins m = contentsMargins();
  return {width + m.left() + m.right(), height + m.top() + m.bottom()};
}

void TFlowLayout::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  DoLayout(rect, true);
}

int TFlowLayout::DoLayout(const QRect& rect, bool place) const {
  const QRect area = rect.marginsRemoved(contentsMargins());
  // Rows are measured first so that every item of a row is centred on the row's height.
  struct Row {
    QList<QLayoutItem*> items;
    int height = 0;
  };
  QList<Row> rows(1);
  int x = area.x();
  for (QLayoutItem* item : items_) {
    if (item->isEmpty()) continue;
    const QSize hint = item->sizeHint();
    if (x > area.x() && x + hint.width() > area.right() + 1) {
      rows.append(Row());
      x = area.x();
    }
    rows.last().items.append(item);
    rows.last().height = std::max(rows.last().height, hint.height());
    x += hint.width() + spacing();
  }
  int y = area.y();
  for (const Row& row : rows) {
    x = area.x();
    for (QLayoutItem* item : row.items) {
      const QSize hint = item->sizeHint();
      if (place) item->setGeometry(QRect(QPoint(x, y + (row.height - hint.height()) / 2), hint));
      x += hint.width() + spacing();
    }
    y += row.height + spacing();
  }
  const QMargins m = contentsMargins();
  return y - spacing() - area.y() + m.top() + m.bottom();
}

}  // namespace pagolin
