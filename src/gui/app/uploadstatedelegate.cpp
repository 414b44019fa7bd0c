#include "gui/app/uploadstatedelegate.h"

#include <QPainter>

namespace pagolin {

void TUploadStateDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  QStyledItemDelegate::paint(painter, option, index);
  const QString state = index.data(kPublishStateRole).toString();
  if (state.isEmpty()) return;
  painter->save();
  QColor colour = option.palette.color(QPalette::PlaceholderText);  // published: nothing to do
  if (state == QStringLiteral("changed")) colour = QColor(0xB0, 0x5A, 0x00);
  if (state == QStringLiteral("new")) colour = QColor(0x1F, 0x5F, 0xB0);
  if (option.state & QStyle::State_Selected) colour = option.palette.color(QPalette::HighlightedText);
  painter->setPen(colour);
  painter->drawText(option.rect.adjusted(0, 0, -8, 0), Qt::AlignRight | Qt::AlignVCenter, state);
  painter->restore();
}

}  // namespace pagolin
