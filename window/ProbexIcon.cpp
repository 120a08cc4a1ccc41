#include "window/ProbexIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace window {

QImage ProbexIconImage(int size) {
  QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
  icon.fill(Qt::transparent);
  QPainter painter(&icon);
  painter.setRenderHint(QPainter::Antialiasing);
  // All drawing on a 64-unit square.
  painter.scale(size / 64.0, size / 64.0);

  QLinearGradient square(0, 0, 0, 64);
  square.setColorAt(0.0, QColor(0x2b, 0x5c, 0x9e));
  square.setColorAt(1.0, QColor(0x0d, 0x24, 0x4f));
  painter.setPen(Qt::NoPen);
  painter.setBrush(square);
  painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

  const double baseline = 50;
  const double centre = 32;
  const double sigma = 9;
  const double peak = 34;
  const double tailFrom = centre + 1.282 * sigma;  // the upper 10 %
  QPainterPath curve;
  QPainterPath tail;
  curve.moveTo(7, baseline);
  tail.moveTo(tailFrom, baseline);
  for (double x = 7; x <= 57; x += 0.5) {
    const double z = (x - centre) / sigma;
    const double y = baseline - peak * std::exp(-0.5 * z * z);
    curve.lineTo(x, y);
    if (x >= tailFrom) tail.lineTo(x, y);
  }
  QPainterPath area = curve;
  area.lineTo(57, baseline);
  area.closeSubpath();
  tail.lineTo(57, baseline);
  tail.closeSubpath();
  painter.fillPath(area, QColor(0xff, 0xc8, 0x4a));
  painter.fillPath(tail, QColor(0xd0, 0x3a, 0x2b));
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(0xff, 0xf4, 0xd6), 2.5, Qt::SolidLine, Qt::RoundCap));
  painter.drawPath(curve);
  painter.drawLine(QPointF(7, baseline), QPointF(57, baseline));
  painter.end();
  return icon;
}

QIcon ProbexIcon() {
  QIcon icon;
  for (const int size : kIconSizes) icon.addPixmap(QPixmap::fromImage(ProbexIconImage(size)));
  return icon;
}

}  // namespace window
