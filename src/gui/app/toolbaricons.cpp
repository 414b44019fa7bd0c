#include "gui/app/toolbaricons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

namespace pagolin {

namespace {

// The theme's names, the standard name first.
QStringList ThemeNames(TToolBarIcon icon) {
  switch (icon) {
    case TToolBarIcon::tiBuild: return {QStringLiteral("view-refresh")};
    case TToolBarIcon::tiPublish: return {QStringLiteral("go-up")};
    case TToolBarIcon::tiBrowser:
      return {QStringLiteral("internet-web-browser"), QStringLiteral("web-browser")};
    case TToolBarIcon::tiSettings: return {QStringLiteral("preferences-system"), QStringLiteral("configure")};
    case TToolBarIcon::tiSendNews: return {QStringLiteral("mail-send")};
    case TToolBarIcon::tiHelp: return {QStringLiteral("help-contents"), QStringLiteral("help-browser")};
  }
  return {};
}

const QColor kBlue(0x1c, 0x64, 0xc4);
const QColor kInk(0x3c, 0x3c, 0x3c);

// Two arrows chasing each other round: pages made anew.
void DrawBuild(QPainter& p) {
  p.setPen(QPen(kBlue, 5, Qt::SolidLine, Qt::FlatCap));
  p.drawArc(QRectF(10, 10, 28, 28), 30 * 16, 150 * 16);
  p.drawArc(QRectF(10, 10, 28, 28), 210 * 16, 150 * 16);
  p.setPen(Qt::NoPen);
  p.setBrush(kBlue);
  p.drawPolygon(QPolygonF({QPointF(37, 9), QPointF(38, 22), QPointF(26, 17)}));
  p.drawPolygon(QPolygonF({QPointF(11, 39), QPointF(10, 26), QPointF(22, 31)}));
}

// An arrow up out of a tray: files go up to the server.
void DrawPublish(QPainter& p) {
  p.setPen(QPen(kInk, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(QPolygonF({QPointF(8, 30), QPointF(8, 40), QPointF(40, 40), QPointF(40, 30)}));
  p.setPen(Qt::NoPen);
  p.setBrush(kBlue);
  p.drawPolygon(QPolygonF({QPointF(24, 5), QPointF(37, 19), QPointF(29, 19), QPointF(29, 34), QPointF(19, 34),
                           QPointF(19, 19), QPointF(11, 19)}));
}

// A globe: a page on the web.
void DrawBrowser(QPainter& p) {
  p.setBrush(QColor(0xd6, 0xe8, 0xfa));
  p.setPen(QPen(kBlue, 3));
  const QRectF globe(6, 6, 36, 36);
  p.drawEllipse(globe);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kBlue, 2));
  p.drawEllipse(QRectF(16, 6, 16, 36));
  p.drawLine(QPointF(24, 6), QPointF(24, 42));
  p.drawLine(QPointF(6, 24), QPointF(42, 24));
  p.drawLine(QPointF(10, 15), QPointF(38, 15));
  p.drawLine(QPointF(10, 33), QPointF(38, 33));
}

// A gear wheel: settings.
void DrawSettings(QPainter& p) {
  QPainterPath gear;
  const QPointF c(24, 24);
  constexpr int kTeeth = 8;
  for (int i = 0; i < kTeeth * 4; ++i) {
    const double a = i * M_PI / (kTeeth * 2);
    const double r = (i % 4 == 0 || i % 4 == 1) ? 20 : 14;
    const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
    i == 0 ? gear.moveTo(pt) : gear.lineTo(pt);
  }
  gear.closeSubpath();
  gear.addEllipse(c, 6, 6);
  gear.setFillRule(Qt::OddEvenFill);
  p.setPen(QPen(kInk, 1.5));
  p.setBrush(QColor(0x8a, 0x8f, 0x98));
  p.drawPath(gear);
}

// A letter on its way: postings sent.
void DrawSendNews(QPainter& p) {
  p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(QColor(0xfa, 0xf6, 0xe4));
  p.drawRect(QRectF(4, 12, 30, 22));
  p.drawPolyline(QPolygonF({QPointF(4, 12), QPointF(19, 25), QPointF(34, 12)}));
  p.setPen(Qt::NoPen);
  p.setBrush(kBlue);
  p.drawPolygon(QPolygonF({QPointF(46, 32), QPointF(36, 24), QPointF(36, 29), QPointF(26, 29),
                           QPointF(26, 35), QPointF(36, 35), QPointF(36, 40)}));
}

// A question mark in a blue disc: help.
void DrawHelp(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(kBlue);
  p.drawEllipse(QRectF(4, 4, 40, 40));
  QFont font(QStringLiteral("Sans"));
  font.setPixelSize(30);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(4, 4, 40, 40), Qt::AlignCenter, QStringLiteral("?"));
}

}  // namespace

QIcon OwnToolBarIcon(TToolBarIcon icon) {
  QPixmap pm(48, 48);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  switch (icon) {
    case TToolBarIcon::tiBuild: DrawBuild(p); break;
    case TToolBarIcon::tiPublish: DrawPublish(p); break;
    case TToolBarIcon::tiBrowser: DrawBrowser(p); break;
    case TToolBarIcon::tiSettings: DrawSettings(p); break;
    case TToolBarIcon::tiSendNews: DrawSendNews(p); break;
    case TToolBarIcon::tiHelp: DrawHelp(p); break;
  }
  return QIcon(pm);
}

QIcon ToolBarIcon(TToolBarIcon icon) {
  for (const QString& name : ThemeNames(icon))
    if (QIcon::hasThemeIcon(name)) return QIcon::fromTheme(name);
  return OwnToolBarIcon(icon);
}

}  // namespace pagolin
