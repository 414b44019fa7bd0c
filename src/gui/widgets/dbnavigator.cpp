#include "gui/widgets/dbnavigator.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <exception>

#include "core/platform/hooks.h"
#include "gui/components/hinttracker.h"

namespace pagolin {

namespace {

const char* ButtonName(TNavigateBtn button) {
  static const char* const names[] = {"nbFirst",  "nbPrior", "nbNext", "nbLast",   "nbInsert",
                                      "nbDelete", "nbEdit",  "nbPost", "nbCancel", "nbRefresh"};
  return names[static_cast<size_t>(button)];
}

// The button's picture, drawn so it stays sharp at any scale.
QIcon Glyph(TNavigateBtn button) {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor ink(0x30, 0x30, 0x30);
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  auto triangle = [&p](QPointF a, QPointF b, QPointF c) { p.drawPolygon(QPolygonF({a, b, c})); };
  switch (button) {
    case TNavigateBtn::nbFirst:
      p.drawRect(QRectF(8, 9, 3, 14));
      triangle({22, 9}, {22, 23}, {12, 16});
      break;
    case TNavigateBtn::nbPrior: triangle({20, 9}, {20, 23}, {11, 16}); break;
    case TNavigateBtn::nbNext: triangle({12, 9}, {12, 23}, {21, 16}); break;
    case TNavigateBtn::nbLast:
      triangle({10, 9}, {10, 23}, {20, 16});
      p.drawRect(QRectF(21, 9, 3, 14));
      break;
    case TNavigateBtn::nbInsert:
      p.drawRect(QRectF(14.5, 8, 3, 16));
      p.drawRect(QRectF(8, 14.5, 16, 3));
      break;
    case TNavigateBtn::nbDelete: p.drawRect(QRectF(8, 14.5, 16, 3)); break;
    case TNavigateBtn::nbEdit: triangle({9, 21}, {23, 21}, {16, 11}); break;
    case TNavigateBtn::nbPost: {
      p.setPen(QPen(QColor(0x1e, 0x7d, 0x32), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(Qt::NoBrush);
      p.drawPolyline(QPolygonF({QPointF(8, 16.5), QPointF(13.5, 22), QPointF(24, 10)}));
      break;
    }
    case TNavigateBtn::nbCancel:
      p.setPen(QPen(QColor(0xb7, 0x1c, 0x1c), 3.2, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(10, 10), QPointF(22, 22));
      p.drawLine(QPointF(22, 10), QPointF(10, 22));
      break;
    case TNavigateBtn::nbRefresh: {
      p.setPen(QPen(ink, 2.6, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(9, 9, 14, 14), 90 * 16, 270 * 16);
      p.setPen(Qt::NoPen);
      p.setBrush(ink);
      triangle({15, 5.5}, {15, 12.5}, {20.5, 9});
      break;
    }
  }
  return QIcon(pm);
}

}  // namespace

TDBNavigator::TDBNavigator(QWidget* parent) : QWidget(parent) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);  // the buttons side by side, as wide as they are
  for (TNavigateBtn b : kAllNavigateBtns) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(ButtonName(b)));
    button->setIcon(Glyph(b));
    button->setIconSize(QSize(16, 16));
    button->setFixedSize(25, 25);
    button->setFocusPolicy(Qt::NoFocus);  // a click leaves the focus (and its pending text) where it is
    layout->addWidget(button);
    buttons_[static_cast<size_t>(b)] = button;
    connect(button, &QToolButton::clicked, this, [this, b] { BtnClick(b); });
    SetHint(b, QString());
  }
  UpdateButtons();
}

void TDBNavigator::SetDataSource(TDataSource* source) {
  link_.Connect(
      source, [this](TDataEvent, const TField*) { UpdateButtons(); }, [this] { UpdateButtons(); });
  UpdateButtons();
}

void TDBNavigator::SetVisibleButtons(const std::set<TNavigateBtn>& visible) {
  for (TNavigateBtn b : kAllNavigateBtns) Button(b)->setVisible(visible.count(b) != 0);
}

void TDBNavigator::SetHint(TNavigateBtn button, const QString& hint) {
  pagolin::SetHint(Button(button), hint.isEmpty() ? QString::fromLatin1(DefaultNavigatorHint(button)) : hint);
}

QString TDBNavigator::Hint(TNavigateBtn button) const { return HintOf(Button(button)); }

void TDBNavigator::UpdateButtons() {
  const TTable* table = link_.Source() ? link_.Source()->DataSet() : nullptr;
  for (TNavigateBtn b : kAllNavigateBtns) Button(b)->setEnabled(NavigatorButtonEnabled(table, b));
}

void TDBNavigator::BtnClick(TNavigateBtn button) {
  TTable* table = link_.Source() ? link_.Source()->DataSet() : nullptr;
  if (!table || !NavigatorButtonEnabled(table, button)) return;
  try {
    NavigatorButtonClick(*table, button, confirmDelete_);
  } catch (const std::exception& e) {
    ShowError(e.what());
    return;
  }
  emit Click(button);
}

}  // namespace pagolin
