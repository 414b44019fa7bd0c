// TFlowLayout: lays its items out left to right in their preferred sizes and starts a new row
// when the next one would not fit, so that a strip of controls stays whole in a narrow window.
#pragma once

#include <QLayout>
#include <QList>

namespace pagolin {

class TFlowLayout : public QLayout {
 public:
  explicit TFlowLayout(QWidget* parent = nullptr, int spacing = 6);
  ~TFlowLayout() override;

  void addItem(QLayoutItem* item) override;
  int count() const override { return static_cast<int>(items_.size()); }
  QLayoutItem* itemAt(int index) const override { return items_.value(index); }
  QLayoutItem* takeAt(int index) override;
  Qt::Orientations expandingDirections() const override { return {}; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;
  QSize minimumSize() const override;
  QSize sizeHint() const override;
  void setGeometry(const QRect& rect) override;

 private:
  // Places the items in rect (only measures when place is false); returns the height used.
  int DoLayout(const QRect& rect, bool place) const;

  QList<QLayoutItem*> items_;
};

}  // namespace pagolin
