#include "window/ComputeGlyph.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

namespace window {

namespace {

constexpr int kGlyphSize = 16;

// The curve exp(-t^2 / 2) over t in [-3, 3], drawn in a 16 x 16 box with a
// one-pixel base line; the area right of t = 1 is shaded.
QPixmap DrawGlyph(const QPalette& palette, qreal devicePixelRatio) {
  const int side = qRound(kGlyphSize * devicePixelRatio);
  QPixmap pixmap(side, side);
  pixmap.setDevicePixelRatio(devicePixelRatio);
  pixmap.fill(Qt::transparent);

  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal left = 0.5, right = kGlyphSize - 0.5, base = kGlyphSize - 1.5, top = 2.0;
  const auto x = [&](qreal t) { return left + (t + 3) / 6 * (right - left); };
  const auto y = [&](qreal t) { return base - std::exp(-t * t / 2) * (base - top); };

  QPainterPath curve;
  curve.moveTo(x(-3), y(-3));
  QPainterPath tail;
  tail.moveTo(x(1), base);
  for (int i = -30; i <= 30; ++i) {
    const qreal t = i / 10.0;
    curve.lineTo(x(t), y(t));
    if (t >= 1) tail.lineTo(x(t), y(t));
  }
  tail.lineTo(x(3), base);
  tail.closeSubpath();

  const QColor ink = palette.color(QPalette::Active, QPalette::ButtonText);
  painter.fillPath(tail, palette.color(QPalette::Active, QPalette::Highlight));
  painter.setPen(QPen(ink, 1.2));
  painter.drawPath(curve);
  painter.setPen(QPen(ink, 1.0));
  painter.drawLine(QPointF(left, base + 0.5), QPointF(right, base + 0.5));
  return pixmap;
}

}  // namespace

QIcon ComputeGlyph(const QPalette& palette) {
  QIcon icon;
  icon.addPixmap(DrawGlyph(palette, 1));
  icon.addPixmap(DrawGlyph(palette, 2));
  return icon;
}

}  // namespace window
