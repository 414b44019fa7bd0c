// Paints an item of the upload list with the publish state of its file at the right edge
// ("published", "changed" or "new"), kept in the item's data under kPublishStateRole.
#pragma once

#include <QStyledItemDelegate>

namespace pagolin {

class TUploadStateDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  static constexpr int kPublishStateRole = Qt::UserRole + 1;
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace pagolin
