#include "gui/pages/animate.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace pagolin {
namespace {

void DrawFolder(QPainter& p, const QRectF& r) {
  QPainterPath tab;
  tab.addRoundedRect(QRectF(r.left(), r.top() - 5, r.width() * 0.42, 10), 2, 2);
  p.setPen(QPen(QColor(0xB8, 0x86, 0x1B), 1));
  p.setBrush(QColor(0xE8, 0xB4, 0x3A));
  p.drawPath(tab);
  p.setBrush(QColor(0xF2, 0xC9, 0x4E));
  p.drawRoundedRect(r, 3, 3);
}

}  // namespace

TAnimate::TAnimate(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Animate1"));
  setMinimumSize(sizeHint());
  timer_.setInterval(60);
  connect(&timer_, &QTimer::timeout, this, [this] {
    frame_ = (frame_ + 1) % kFrames;
    update();
  });
}

void TAnimate::SetActive(bool active) {
  active_ = active;
  UpdateClock();
}

void TAnimate::UpdateClock() {
  if (active_ && isVisible())
    timer_.start();
  else
    timer_.stop();
}

void TAnimate::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  UpdateClock();
}

void TAnimate::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  UpdateClock();
}

void TAnimate::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal w = width(), h = height();
  const QRectF from(16, h - 34, 52, 30), to(w - 68, h - 34, 52, 30);
  DrawFolder(p, from);
  DrawFolder(p, to);
  // The sheet travels on an arc from folder to folder.
  const qreal t = static_cast<qreal>(frame_) / (kFrames - 1);
  const qreal x = from.center().x() + t * (to.center().x() - from.center().x()) - 8;
  const qreal y = from.top() - 4 - std::sin(t * M_PI) * (h - 36);
  p.save();
  p.translate(x + 8, y + 10);
  p.rotate(std::sin(t * M_PI * 2) * 12);
  p.setPen(QPen(QColor(0x5B, 0x66, 0x70), 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(-8, -10, 16, 20));
  p.setPen(QPen(QColor(0x8A, 0x96, 0xA3), 1));
  for (int i = 0; i < 4; ++i) p.drawLine(QPointF(-5, -6 + i * 4), QPointF(5 - (i == 3 ? 4 : 0), -6 + i * 4));
  p.restore();
}

}  // namespace pagolin
