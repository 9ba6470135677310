#include "ui/pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

#include <array>

namespace morvela {

namespace {

// Every flag is drawn on a 30 x 20 design grid and stretched to the target rectangle.
constexpr qreal kW = 30;
constexpr qreal kH = 20;

void Stripes(QPainter& p, std::initializer_list<QColor> colours, bool vertical) {
  const qreal n = static_cast<qreal>(colours.size());
  qreal i = 0;
  for (const QColor& c : colours) {
    if (vertical) {
      p.fillRect(QRectF(kW * i / n, 0, kW / n, kH), c);
    } else {
      p.fillRect(QRectF(0, kH * i / n, kW, kH / n), c);
    }
    ++i;
  }
}

QPolygonF Star(QPointF centre, qreal outer, qreal inner, qreal rotation_deg) {
  QPolygonF star;
  for (int k = 0; k < 10; ++k) {
    const qreal r = k % 2 ? inner : outer;
    const qreal a = qDegreesToRadians(rotation_deg + 36.0 * k);
    star << QPointF(centre.x() + r * qCos(a), centre.y() + r * qSin(a));
  }
  return star;
}

const QColor kWhite(255, 255, 255);

void Cross(QPainter& p, const QColor& field, const QColor& cross, qreal x, qreal width) {
  p.fillRect(QRectF(0, 0, kW, kH), field);
  p.fillRect(QRectF(x - width / 2, 0, width, kH), cross);
  p.fillRect(QRectF(0, kH / 2 - width / 2, kW, width), cross);
}

void Turkey(QPainter& p) {
  const QColor red(227, 10, 23);
  p.fillRect(QRectF(0, 0, kW, kH), red);
  p.setPen(Qt::NoPen);
  p.setBrush(kWhite);
  p.drawEllipse(QPointF(11, 10), 5.2, 5.2);
  p.setBrush(red);
  p.drawEllipse(QPointF(12.3, 10), 4.2, 4.2);
  p.setBrush(kWhite);
  p.drawPolygon(Star(QPointF(17.2, 10), 2.4, 1.0, 180));
}

void Greece(QPainter& p) {
  const QColor blue(13, 94, 175);
  const qreal stripe = kH / 9;
  for (int i = 0; i < 9; ++i) p.fillRect(QRectF(0, i * stripe, kW, stripe), i % 2 ? kWhite : blue);
  const qreal canton = 5 * stripe;
  p.fillRect(QRectF(0, 0, canton, canton), blue);
  p.fillRect(QRectF(0, 2 * stripe, canton, stripe), kWhite);
  p.fillRect(QRectF(2 * stripe, 0, stripe, canton), kWhite);
}

void Scotland(QPainter& p) {
  p.fillRect(QRectF(0, 0, kW, kH), QColor(0, 94, 184));
  p.setPen(QPen(kWhite, 3.4, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(0, 0), QPointF(kW, kH));
  p.drawLine(QPointF(0, kH), QPointF(kW, 0));
}

void Czech(QPainter& p) {
  Stripes(p, {kWhite, QColor(215, 20, 26)}, false);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(17, 69, 126));
  p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(15, 10), QPointF(0, kH)}));
}

void Portugal(QPainter& p) {
  p.fillRect(QRectF(0, 0, 12, kH), QColor(0, 102, 0));
  p.fillRect(QRectF(12, 0, kW - 12, kH), QColor(255, 0, 0));
  p.setPen(QPen(QColor(255, 204, 0), 1.3));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(12, 10), 4.2, 4.2);
  p.setPen(QPen(kWhite, 0.6));
  p.setBrush(QColor(255, 0, 0));
  p.drawRoundedRect(QRectF(10.2, 7.6, 3.6, 4.6), 0.8, 0.8);
}

void Slovakia(QPainter& p) {
  Stripes(p, {kWhite, QColor(11, 78, 162), QColor(238, 28, 37)}, false);
  QPainterPath shield;
  shield.moveTo(6.5, 3.8);
  shield.lineTo(14.5, 3.8);
  shield.lineTo(14.5, 11.5);
  shield.quadTo(14.5, 15.2, 10.5, 16.8);
  shield.quadTo(6.5, 15.2, 6.5, 11.5);
  shield.closeSubpath();
  p.setPen(QPen(kWhite, 0.9));
  p.setBrush(QColor(238, 28, 37));
  p.drawPath(shield);
  p.setPen(Qt::NoPen);
  p.setBrush(kWhite);
  p.drawRect(QRectF(10, 5.6, 1, 8));
  p.drawRect(QRectF(8.8, 7.2, 3.4, 0.9));
  p.drawRect(QRectF(8.2, 9.2, 4.6, 0.9));
  p.setBrush(QColor(11, 78, 162));
  p.drawEllipse(QPointF(10.5, 14.6), 2.6, 1.5);
}

void Switzerland(QPainter& p) {
  p.fillRect(QRectF(0, 0, kW, kH), QColor(218, 41, 28));
  p.fillRect(QRectF(9.5, 8, 11, 4), kWhite);
  p.fillRect(QRectF(13, 4.5, 4, 11), kWhite);
}

void Paint(QPainter& p, int flag) {
  switch (flag) {
    case 0:  // Austria
      return Stripes(p, {QColor(200, 16, 46), kWhite, QColor(200, 16, 46)}, false);
    case 1:  // Belgium
      return Stripes(p, {QColor(0, 0, 0), QColor(253, 218, 36), QColor(239, 51, 64)}, true);
    case 2:
      return Czech(p);
    case 3:  // England
      return Cross(p, kWhite, QColor(206, 17, 36), kW / 2, 4);
    case 4:  // France
      return Stripes(p, {QColor(0, 85, 164), kWhite, QColor(239, 65, 53)}, true);
    case 5:  // Germany
      return Stripes(p, {QColor(0, 0, 0), QColor(221, 0, 0), QColor(255, 206, 0)}, false);
    case 6:  // Italy
      return Stripes(p, {QColor(0, 146, 70), kWhite, QColor(206, 43, 55)}, true);
    case 7:  // Netherlands
      return Stripes(p, {QColor(174, 28, 40), kWhite, QColor(33, 70, 139)}, false);
    case 8:
      return Portugal(p);
    case 9:
      return Scotland(p);
    case 10: {  // Spain: the yellow band twice as high as each red one
      p.fillRect(QRectF(0, 0, kW, kH), QColor(170, 21, 27));
      p.fillRect(QRectF(0, 5, kW, 10), QColor(241, 191, 0));
      return;
    }
    case 11:
      return Turkey(p);
    case 12:
      return Greece(p);
    case 13:  // Russia
      return Stripes(p, {kWhite, QColor(0, 57, 166), QColor(213, 43, 30)}, false);
    case 14:
      return Slovakia(p);
    case 15:
      return Switzerland(p);
    case 16:  // Denmark: the Nordic cross stands nearer the hoist
      return Cross(p, QColor(200, 16, 46), kWhite, 10.5, 3);
    case 17:  // Poland
      return Stripes(p, {kWhite, QColor(220, 20, 60)}, false);
    case 18:  // Romania
      return Stripes(p, {QColor(0, 43, 127), QColor(252, 209, 22), QColor(206, 17, 38)}, true);
    case 19:  // Ukraine
      return Stripes(p, {QColor(0, 87, 183), QColor(255, 215, 0)}, false);
    default:
      p.fillRect(QRectF(0, 0, kW, kH), QColor(200, 200, 200));
  }
}

qreal DeviceRatio() {
  return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

// A transparent square picture of `size` logical pixels, drawn by `draw` on a 24 x 24 grid.
template <typename Draw>
QPixmap Drawn(int size, Draw draw) {
  const qreal ratio = DeviceRatio();
  QPixmap pm(qCeil(size * ratio), qCeil(size * ratio));
  pm.setDevicePixelRatio(ratio);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 24.0, size / 24.0);
  draw(p);
  return pm;
}

void Globe(QPainter& p) {
  const QColor ocean(40, 110, 180);
  p.setPen(Qt::NoPen);
  p.setBrush(ocean);
  p.drawEllipse(QPointF(12, 12), 10, 10);
  p.setPen(QPen(QColor(235, 245, 255), 1.3));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(12, 12), 4.2, 10);
  p.drawLine(QPointF(12, 2), QPointF(12, 22));
  p.drawLine(QPointF(2, 12), QPointF(22, 12));
  p.drawLine(QPointF(3.6, 7), QPointF(20.4, 7));
  p.drawLine(QPointF(3.6, 17), QPointF(20.4, 17));
  p.setPen(QPen(ocean.darker(140), 1.2));
  p.drawEllipse(QPointF(12, 12), 10, 10);
}

void Gear(QPainter& p) {
  const QColor metal(105, 110, 120);
  QPainterPath gear;
  constexpr int kTeeth = 8;
  for (int k = 0; k < kTeeth * 4; ++k) {
    // Each tooth: two points on the outer radius, two on the root radius.
    const qreal r = (k % 4 == 1 || k % 4 == 2) ? 10.5 : 7.8;
    const qreal a = qDegreesToRadians(360.0 * k / (kTeeth * 4) - 360.0 / (kTeeth * 8));
    const QPointF pt(12 + r * qCos(a), 12 + r * qSin(a));
    if (k == 0) {
      gear.moveTo(pt);
    } else {
      gear.lineTo(pt);
    }
  }
  gear.closeSubpath();
  gear.addEllipse(QPointF(12, 12), 3.4, 3.4);
  gear.setFillRule(Qt::OddEvenFill);
  p.setPen(QPen(metal.darker(130), 0.8));
  p.setBrush(metal);
  p.drawPath(gear);
}

void CircularArrow(QPainter& p) {
  const QColor green(40, 140, 60);
  p.setPen(QPen(green, 3, Qt::SolidLine, Qt::FlatCap));
  p.setBrush(Qt::NoBrush);
  const QRectF ring(4, 4, 16, 16);
  p.drawArc(ring, 100 * 16, 290 * 16);
  // The arrow head at the arc's end (angle 30 degrees, going counter-clockwise).
  p.setPen(Qt::NoPen);
  p.setBrush(green);
  const qreal a = qDegreesToRadians(30.0);
  const QPointF end(12 + 8 * qCos(a), 12 - 8 * qSin(a));
  p.drawPolygon(
      QPolygonF({end + QPointF(-4.6, -2.2), end + QPointF(3.6, -3.4), end + QPointF(1.2, 4.6)}));
}

}  // namespace

void DrawFlag(QPainter& painter, const QRectF& rect, int flag) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(rect.topLeft());
  painter.scale(rect.width() / kW, rect.height() / kH);
  painter.setClipRect(QRectF(0, 0, kW, kH));
  Paint(painter, flag);
  painter.restore();
  painter.save();
  painter.setPen(QPen(QColor(0, 0, 0, 70), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));
  painter.restore();
}

QPixmap FlagPixmap(int flag, int width, int height) {
  const qreal ratio = DeviceRatio();
  QPixmap pm(qCeil(width * ratio), qCeil(height * ratio));
  pm.setDevicePixelRatio(ratio);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  DrawFlag(p, QRectF(0, 0, width, height), flag);
  return pm;
}

QIcon ToolButtonIcon(ToolIcon which) {
  QIcon icon;
  for (int size : {24, 32}) {
    switch (which) {
      case ToolIcon::kWebPage:
        icon.addPixmap(Drawn(size, Globe));
        break;
      case ToolIcon::kSettings:
        icon.addPixmap(Drawn(size, Gear));
        break;
      case ToolIcon::kUpdate:
        icon.addPixmap(Drawn(size, CircularArrow));
        break;
    }
  }
  return icon;
}

QPixmap EmblemPixmap(int size) {
  return Drawn(size, [](QPainter& p) {
    p.setPen(QPen(QColor(30, 30, 30), 1.2));
    p.setBrush(kWhite);
    p.drawEllipse(QPointF(12, 12), 10.5, 10.5);
    // The centre pentagon and the five patches at the rim.
    p.setBrush(QColor(30, 30, 30));
    p.setPen(Qt::NoPen);
    QPolygonF pentagon;
    for (int k = 0; k < 5; ++k) {
      const qreal a = qDegreesToRadians(-90.0 + 72.0 * k);
      pentagon << QPointF(12 + 4.2 * qCos(a), 12 + 4.2 * qSin(a));
    }
    p.drawPolygon(pentagon);
    for (int k = 0; k < 5; ++k) {
      const qreal a = qDegreesToRadians(-90.0 + 72.0 * k);
      const QPointF c(12 + 9.2 * qCos(a), 12 + 9.2 * qSin(a));
      p.drawEllipse(c, 2.2, 2.2);
    }
    p.setPen(QPen(QColor(30, 30, 30), 0.9));
    for (int k = 0; k < 5; ++k) {
      const qreal a = qDegreesToRadians(-90.0 + 72.0 * k);
      p.drawLine(QPointF(12 + 4.2 * qCos(a), 12 + 4.2 * qSin(a)),
                 QPointF(12 + 8 * qCos(a), 12 + 8 * qSin(a)));
    }
  });
}

}  // namespace morvela
