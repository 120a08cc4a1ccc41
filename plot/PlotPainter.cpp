// The one painting routine of the plot.
#include "plot/PlotPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "plot/Ticks.h"

namespace plot {

namespace {

// The fixed face and pixel size of files, the clipboard and paper.
constexpr const char* kPaperFamily = "DejaVu Sans";
constexpr int kPaperFontPixels = 13;
constexpr double kPointsPerInch = 72;
constexpr double kTitleGrowth = 1.15;  // the title's font against the body's
// The smallest the title's font gets where room is short, against the body's.
constexpr double kLeastTitleScale = 0.85;
// Below this lightness (0..255) a background counts as dark.
constexpr int kDarkBelow = 128;

// Spaces, as fractions of the body font's line height.
constexpr double kPad = 0.5;           // around everything
constexpr double kTickLength = 0.3;    // the tick marks
constexpr double kLegendGap = 1.2;     // between two legend entries
constexpr double kSwatch = 0.7;        // a legend entry's colour square
constexpr double kSwatchGap = 0.3;     // between the square and its text
constexpr double kYTickSpacing = 2.5;  // the least distance of two y ticks
constexpr double kXTickGap = 1.5;      // the least gap between two x tick labels

// Line widths in logical pixels.
constexpr double kAxisWidth = 1;
constexpr double kOutlineWidth = 1.5;
constexpr double kMarkerWidth = 1.5;
constexpr double kBarEdgeWidth = 0.75;
constexpr double kOutlinedBarWidth = 2;
// Bars narrower than this (logical pixels) are drawn without gaps or edges.
constexpr double kNarrowBar = 4;
constexpr double kBarGap = 0.15;  // each side's share of a wide bar's slot left empty
// Hatching: the distance of its lines (of the line height), their width and
// how much deeper their colour is than the fill (Qt's darker/lighter factor).
constexpr double kHatchSpacing = 0.45;
constexpr double kHatchWidth = 1.25;
constexpr int kHatchDepth = 140;
// At most this many ticks are tried on the x-axis before the labels are measured.
constexpr int kMostXTicks = 12;

// Where a position of the model lands in the plot area.
struct Frame {
  QRectF area;
  double X(double at) const { return area.left() + at * area.width(); }
  double Y(double up) const { return area.bottom() - up * area.height(); }
};

QFont TitleFont(const QFont& body, int pixels) {
  QFont font = body;
  font.setBold(true);
  font.setPixelSize(std::max(1, pixels));
  return font;
}

// The title breaks between words onto as many lines as it needs.
constexpr int kTitleFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
// The share of the height that the title's lines may take before its font
// shrinks.
constexpr double kMostTitleShare = 0.25;

double TitleHeight(const QString& title, const QFont& font, double width) {
  const QFontMetricsF metrics(font);
  // A height that any number of lines fits in: the wrapping alone decides.
  const double unbounded = metrics.height() * (title.size() + 1);
  return std::max(
      metrics.height(),
      metrics.boundingRect(QRectF(0, 0, width, unbounded), kTitleFlags, title).height());
}

// The title's font: bold, kTitleGrowth times the body's size, and smaller,
// down to kLeastTitleScale of it, while its lines would take more than
// kMostTitleShare of `height`.  The title shows whole at any size.
QFont FitTitleFont(const QString& title, const QFont& body, double width, double height) {
  const int least = std::max(1, static_cast<int>(std::lround(body.pixelSize() * kLeastTitleScale)));
  int pixels = std::max(least, static_cast<int>(std::lround(body.pixelSize() * kTitleGrowth)));
  while (pixels > least &&
         TitleHeight(title, TitleFont(body, pixels), width) > height * kMostTitleShare)
    --pixels;
  return TitleFont(body, pixels);
}

double LegendEntryWidth(const LegendEntry& entry, const QFontMetricsF& metrics) {
  return metrics.height() * (kSwatch + kSwatchGap) + metrics.horizontalAdvance(entry.text);
}

// The legend's entries row by row, as many to a row as fit in `width`.
std::vector<std::vector<size_t>> LegendRows(const PlotModel& model, const QFontMetricsF& metrics,
                                            double width) {
  std::vector<std::vector<size_t>> rows;
  double used = 0;
  for (size_t i = 0; i < model.legend.size(); ++i) {
    const double w = LegendEntryWidth(model.legend[i], metrics);
    const double gap = metrics.height() * kLegendGap;
    if (rows.empty() || used + gap + w > width) {
      rows.push_back({i});
      used = w;
    } else {
      rows.back().push_back(i);
      used += gap + w;
    }
  }
  return rows;
}

std::vector<Tick> YTicks(const PlotModel& model, const QRectF& area, const QFontMetricsF& metrics) {
  const int most =
      std::max(2, static_cast<int>(area.height() / (metrics.height() * kYTickSpacing)));
  return RoundTicks(model.y.low, model.y.high, most, model.y.whole);
}

// The most ticks whose labels fit side by side under the area.
std::vector<Tick> XTicks(const PlotModel& model, const QRectF& area, const QFontMetricsF& metrics) {
  for (int most = kMostXTicks; most >= 2; --most) {
    std::vector<Tick> ticks = RoundTicks(model.x.low, model.x.high, most, model.x.whole);
    double widest = 0;
    for (const Tick& tick : ticks) widest = std::max(widest, metrics.horizontalAdvance(tick.label));
    const double needed =
        static_cast<double>(ticks.size()) * (widest + metrics.height() * kXTickGap);
    if (needed <= area.width() || most == 2) return ticks;
  }
  return {};
}

// The outline's height at a position: where a step rises or falls there,
// the height just right of it (`fromRight`) or just left of it.
double HeightAt(const std::vector<QPointF>& outline, double at, bool fromRight) {
  const auto byX = [](const QPointF& p, double x) { return p.x() < x; };
  const auto xBy = [](double x, const QPointF& p) { return x < p.x(); };
  if (fromRight) {
    auto it = std::upper_bound(outline.begin(), outline.end(), at, xBy);
    if (it == outline.begin()) return it->y();
    if (it == outline.end() || std::prev(it)->x() == at) return std::prev(it)->y();
    const QPointF a = *std::prev(it), b = *it;
    return a.y() + (b.y() - a.y()) * (at - a.x()) / (b.x() - a.x());
  }
  auto it = std::lower_bound(outline.begin(), outline.end(), at, byX);
  if (it == outline.end()) return outline.back().y();
  if (it == outline.begin() || it->x() == at) return it->y();
  const QPointF a = *std::prev(it), b = *it;
  return a.y() + (b.y() - a.y()) * (at - a.x()) / (b.x() - a.x());
}

// The region under the outline from `from` to `to`.
QPolygonF AreaPolygon(const std::vector<QPointF>& outline, const Area& area, const Frame& frame) {
  QPolygonF polygon;
  polygon << QPointF(frame.X(area.from), frame.Y(0))
          << QPointF(frame.X(area.from), frame.Y(HeightAt(outline, area.from, true)));
  for (const QPointF& p : outline)
    if (p.x() > area.from && p.x() < area.to) polygon << QPointF(frame.X(p.x()), frame.Y(p.y()));
  polygon << QPointF(frame.X(area.to), frame.Y(HeightAt(outline, area.to, false)))
          << QPointF(frame.X(area.to), frame.Y(0));
  return polygon;
}

// Vertical lines from `bottom` up to top(x), every `spacing` pixels from
// `left` to `right`, over whatever is painted there.  Drawn to their ends,
// not clipped: SVG files keep no clipping.
template <class Top>
void PaintHatch(QPainter& painter, double left, double right, double bottom, Top top,
                const QColor& colour, double spacing) {
  painter.setPen(QPen(colour, kHatchWidth, Qt::SolidLine, Qt::FlatCap));
  // On a grid of the whole painting, so that neighbouring hatches line up.
  for (double x = std::ceil(left / spacing) * spacing; x <= right; x += spacing)
    painter.drawLine(QPointF(x, bottom), QPointF(x, top(x)));
}

// The outline cut at the top of the plot area: heights above it come down
// to it, with the points where the outline crosses it added.  The painter's
// clipping is not enough, since SVG files keep none.
std::vector<QPointF> UnderTop(const std::vector<QPointF>& outline) {
  std::vector<QPointF> cut;
  for (size_t i = 0; i < outline.size(); ++i) {
    const QPointF& b = outline[i];
    if (i > 0 && (outline[i - 1].y() > 1) != (b.y() > 1)) {
      const QPointF& a = outline[i - 1];
      cut.emplace_back(a.x() + (b.x() - a.x()) * (1 - a.y()) / (b.y() - a.y()), 1.0);
    }
    cut.emplace_back(b.x(), std::min(b.y(), 1.0));
  }
  return cut;
}

// The outline as a path that leaves out what runs along the top of the
// area (the outline was above it: a pole).
QPainterPath OutlinePath(const std::vector<QPointF>& outline, const Frame& frame) {
  QPainterPath path;
  for (size_t i = 0; i < outline.size(); ++i) {
    const QPointF p(frame.X(outline[i].x()), frame.Y(outline[i].y()));
    const bool alongTop = i > 0 && outline[i].y() == 1 && outline[i - 1].y() == 1;
    if (i == 0 || alongTop)
      path.moveTo(p);
    else
      path.lineTo(p);
  }
  return path;
}

void PaintAreasAndOutline(QPainter& painter, const PlotModel& model, const PlotStyle& style,
                          const Frame& frame) {
  if (model.outline.empty()) return;
  const std::vector<QPointF> outline = UnderTop(model.outline);
  painter.save();
  // The fills' edges lie under the outline, the lines at x and the axis:
  // filled without antialiasing, they cost a fraction.
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(Qt::NoPen);
  for (const Area& area : model.areas) {
    if (!(area.to > area.from) || area.hatched) continue;
    painter.setBrush(style.Fill(area.shade));
    painter.drawPolygon(AreaPolygon(outline, area, frame));
  }
  painter.restore();
  const double spacing = QFontMetricsF(style.font).height() * kHatchSpacing;
  for (const Area& area : model.areas)
    if (area.to > area.from && area.hatched)
      PaintHatch(
          painter, frame.X(area.from), frame.X(area.to), frame.Y(0),
          [&](double x) {
            return frame.Y(HeightAt(outline, (x - frame.area.left()) / frame.area.width(), true));
          },
          style.Hatch(area.shade), spacing);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(style.outline, kOutlineWidth, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
  painter.drawPath(OutlinePath(outline, frame));
}

QRectF BarRect(const Bar& bar, const Frame& frame) {
  const double left = frame.X(bar.from), right = frame.X(bar.to);
  const double slot = right - left;
  const double inset = slot >= kNarrowBar ? slot * kBarGap : 0;
  return QRectF(QPointF(left + inset, frame.Y(bar.height)), QPointF(right - inset, frame.Y(0)));
}

void PaintBars(QPainter& painter, const PlotModel& model, const PlotStyle& style,
               const Frame& frame) {
  for (const Bar& bar : model.bars) {
    const QRectF rect = BarRect(bar, frame);
    painter.setBrush(style.Fill(bar.shade));
    if (rect.width() >= kNarrowBar)
      painter.setPen(QPen(style.outline, kBarEdgeWidth));
    else
      painter.setPen(Qt::NoPen);
    painter.drawRect(rect);
  }
  painter.setBrush(Qt::NoBrush);
  painter.setPen(
      QPen(style.marker, kOutlinedBarWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  for (const Bar& bar : model.bars)
    if (bar.outlined) painter.drawRect(BarRect(bar, frame));
}

void PaintMarkerLines(QPainter& painter, const PlotModel& model, const PlotStyle& style,
                      const Frame& frame) {
  painter.setPen(QPen(style.marker, kMarkerWidth, Qt::SolidLine, Qt::FlatCap));
  for (const Marker& marker : model.markers)
    if (marker.line && marker.beyond == 0)
      painter.drawLine(QPointF(frame.X(marker.at), frame.area.top()),
                       QPointF(frame.X(marker.at), frame.area.bottom()));
}

// Everything of the distribution, clipped to the plot area.
void PaintData(QPainter& painter, const PlotModel& model, const PlotStyle& style,
               const Frame& frame) {
  painter.save();
  painter.setClipRect(frame.area, Qt::IntersectClip);
  if (model.drawing == Drawing::Bars)
    PaintBars(painter, model, style, frame);
  else
    PaintAreasAndOutline(painter, model, style, frame);
  PaintMarkerLines(painter, model, style, frame);
  painter.restore();
}

void PaintAxes(QPainter& painter, const PlotModel& model, const PlotStyle& style,
               const Frame& frame, const QRectF& rect, const std::vector<Tick>& yTicks) {
  const QFontMetricsF metrics(style.font);
  const double tick = metrics.height() * kTickLength;
  const QRectF& area = frame.area;
  painter.setFont(style.font);
  painter.setPen(QPen(style.foreground, kAxisWidth, Qt::SolidLine, Qt::FlatCap));
  painter.drawLine(area.bottomLeft(), area.topLeft());
  painter.drawLine(area.bottomLeft(), area.bottomRight());
  for (const Tick& t : yTicks) {
    const double y = frame.Y(t.at);
    painter.drawLine(QPointF(area.left() - tick, y), QPointF(area.left(), y));
    const QRectF box(rect.left(), y - metrics.height() / 2, area.left() - tick * 2 - rect.left(),
                     metrics.height());
    painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, t.label);
  }
  for (const Tick& t : XTicks(model, area, metrics)) {
    const double x = frame.X(t.at);
    painter.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + tick));
    const double w = metrics.horizontalAdvance(t.label);
    const double left = std::clamp(x - w / 2, rect.left(), rect.right() - w);
    painter.drawText(QRectF(left, area.bottom() + tick, w, metrics.height()), Qt::AlignCenter,
                     t.label);
  }
}

// The labels of the x-values above the plot area, left to right without
// overlapping, with an arrow where x lies beyond the range shown.
void PaintMarkerLabels(QPainter& painter, const PlotModel& model, const PlotStyle& style,
                       const Frame& frame, const QRectF& row) {
  const QFontMetricsF metrics(style.font);
  const double gap = metrics.height() * kPad;
  struct Placed {
    double left, width;
    QString text;
  };
  std::vector<Placed> placed;
  for (const Marker& m : model.markers) {
    const QString text = m.beyond < 0   ? QStringLiteral("\u2190 ") + m.label
                         : m.beyond > 0 ? m.label + QStringLiteral(" \u2192")
                                        : m.label;
    const double w = metrics.horizontalAdvance(text);
    const double left = m.beyond < 0   ? frame.area.left()
                        : m.beyond > 0 ? frame.area.right() - w
                                       : frame.X(m.at) - w / 2;
    placed.push_back({left, w, text});
  }
  std::sort(placed.begin(), placed.end(),
            [](const Placed& a, const Placed& b) { return a.left < b.left; });
  // The caption of y comes first in the row.
  const double start =
      model.y.caption.isEmpty()
          ? frame.area.left()
          : std::max(frame.area.left(),
                     row.left() + metrics.horizontalAdvance(model.y.caption) + gap);
  double next = start;
  for (Placed& p : placed) {
    p.left = std::max(p.left, next);
    next = p.left + p.width + gap;
  }
  // Pushed past the right end: move the row back as far as the caption allows.
  if (!placed.empty()) {
    const double excess = placed.back().left + placed.back().width - frame.area.right();
    const double room = placed.front().left - start;
    for (Placed& p : placed) p.left -= std::clamp(excess, 0.0, std::max(room, 0.0));
  }
  painter.setFont(style.font);
  painter.setPen(style.foreground);
  if (!model.y.caption.isEmpty())
    painter.drawText(row, Qt::AlignLeft | Qt::AlignVCenter, model.y.caption);
  for (const Placed& p : placed)
    painter.drawText(QRectF(p.left, row.top(), p.width, row.height()), Qt::AlignCenter, p.text);
}

void PaintLegend(QPainter& painter, const PlotModel& model, const PlotStyle& style,
                 const QRectF& legend) {
  const QFontMetricsF metrics(style.font);
  const double line = metrics.height();
  painter.setFont(style.font);
  double y = legend.top();
  for (const auto& row : LegendRows(model, metrics, legend.width())) {
    double x = legend.left();
    for (size_t i : row) {
      const LegendEntry& entry = model.legend[i];
      const double side = line * kSwatch;
      const QRectF swatch(x, y + (line - side) / 2, side, side);
      if (entry.hatched) {
        PaintHatch(
            painter, swatch.left(), swatch.right(), swatch.bottom(),
            [&](double) { return swatch.top(); }, style.Hatch(entry.shade), line * kHatchSpacing);
        painter.setBrush(Qt::NoBrush);
      } else {
        painter.setBrush(style.Fill(entry.shade));
      }
      painter.setPen(QPen(style.outline, kBarEdgeWidth));
      painter.drawRect(swatch);
      x += line * (kSwatch + kSwatchGap);
      painter.setPen(style.foreground);
      const double w = metrics.horizontalAdvance(entry.text);
      painter.drawText(QRectF(x, y, w, line), Qt::AlignLeft | Qt::AlignVCenter, entry.text);
      x += w + line * kLegendGap;
    }
    y += line;
  }
  if (!model.note.isEmpty()) {
    painter.setPen(style.foreground);
    painter.drawText(QRectF(legend.left(), y, legend.width(), line),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(model.note, Qt::ElideRight, legend.width()));
  }
}

// The title, and the message in the middle of what is left below it.
void PaintMessage(QPainter& painter, const QRectF& rect, const PlotModel& model,
                  const PlotStyle& style) {
  painter.setPen(style.foreground);
  const double pad = QFontMetricsF(style.font).height() * kPad;
  QRectF inner = rect.adjusted(pad, pad, -pad, -pad);
  if (!model.title.isEmpty()) {
    const QFont title = FitTitleFont(model.title, style.font, inner.width(), inner.height());
    painter.setFont(title);
    painter.drawText(inner, kTitleFlags, model.title);
    inner.setTop(inner.top() + TitleHeight(model.title, title, inner.width()));
  }
  painter.setFont(style.font);
  painter.drawText(inner, Qt::AlignCenter | Qt::TextWordWrap, model.message);
}

// Whole logical pixels, so that the axes fall on pixel edges.
QRectF Snapped(const QRectF& r) {
  return QRectF(QPointF(std::round(r.left()), std::round(r.top())),
                QPointF(std::round(r.right()), std::round(r.bottom())));
}

}  // namespace

QColor PlotStyle::Fill(Shade shade) const {
  switch (shade) {
    case Shade::None:
      return none;
    case Shade::Lower:
      return lower;
    case Shade::Upper:
      return upper;
    case Shade::Both:
      return both;
    case Shade::Central:
      return central;
  }
  return none;
}

QColor PlotStyle::Hatch(Shade shade) const {
  const QColor fill = Fill(shade);
  return background.lightness() < kDarkBelow ? fill.lighter(kHatchDepth) : fill.darker(kHatchDepth);
}

PlotStyle PlotStyle::Paper() {
  QFont font(QString::fromLatin1(kPaperFamily));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(kPaperFontPixels);
  // The same glyphs on every desktop and offscreen: no hinting or subpixel
  // colours that a platform would choose for its screen.
  font.setHintingPreference(QFont::PreferVerticalHinting);
  font.setStyleStrategy(QFont::NoSubpixelAntialias);
  return {Qt::white,
          Qt::black,
          QColor(0x1f, 0x3b, 0x73),
          QColor(0xc0, 0x10, 0x10),
          QColor(0xcc, 0xcc, 0xcc),
          QColor(0x7f, 0xb2, 0xe5),
          QColor(0xf5, 0xb0, 0x62),
          QColor(0xb9, 0x9a, 0xd9),
          QColor(0x8f, 0xcc, 0x7a),
          font};
}

PlotStyle PlotStyle::Screen(const QPalette& palette, const QFont& font, double dotsPerInch) {
  PlotStyle style = Paper();
  style.font = font;
  if (font.pixelSize() <= 0)
    style.font.setPixelSize(std::max(
        1, static_cast<int>(std::lround(font.pointSizeF() * dotsPerInch / kPointsPerInch))));
  style.background = palette.color(QPalette::Base);
  style.foreground = palette.color(QPalette::Text);
  if (style.background.lightness() < kDarkBelow) {
    // On a dark ground: deeper fills, and light lines that stand out.
    style.outline = QColor(0xa8, 0xc8, 0xff);
    style.marker = QColor(0xff, 0x6e, 0x6e);
    style.none = QColor(0x5a, 0x5a, 0x5a);
    style.lower = QColor(0x2f, 0x62, 0x9c);
    style.upper = QColor(0xa8, 0x62, 0x1e);
    style.both = QColor(0x6c, 0x4f, 0x9e);
    style.central = QColor(0x3f, 0x7f, 0x30);
  }
  return style;
}

PlotLayout LayoutPlot(const QRectF& rect, const PlotModel& model, const PlotStyle& style) {
  const QFontMetricsF metrics(style.font);
  const double line = metrics.height();
  const double pad = line * kPad;
  const double width = std::max(0.0, rect.width() - 2 * pad);
  PlotLayout layout;
  double top = rect.top() + pad;
  layout.titleFont = FitTitleFont(model.title, style.font, width, rect.height());
  layout.title =
      QRectF(rect.left() + pad, top, width, TitleHeight(model.title, layout.titleFont, width));
  top = layout.title.bottom();
  layout.markerRow = QRectF(rect.left() + pad, top, width, line);
  top = layout.markerRow.bottom() + pad / 2;

  const double legendHeight =
      line * (static_cast<double>(LegendRows(model, metrics, width).size()) +
              (model.note.isEmpty() ? 0 : 1));
  layout.legend =
      QRectF(rect.left() + pad, rect.bottom() - pad - legendHeight, width, legendHeight);
  const double bottom = layout.legend.top() - pad / 2 - line * (1 + kTickLength);

  // The left margin holds the y labels, which depend on the area's height.
  QRectF area(rect.left(), top, rect.width(), std::max(0.0, bottom - top));
  layout.yTicks = YTicks(model, area, metrics);
  double widest = 0;
  for (const Tick& t : layout.yTicks) widest = std::max(widest, metrics.horizontalAdvance(t.label));
  const double left = rect.left() + pad + widest + line * kTickLength * 2;
  // Room on the right for half of the last x label.
  const double right = rect.right() - pad - metrics.horizontalAdvance(QStringLiteral("0000"));
  area.setLeft(left);
  area.setRight(std::max(left, right));
  layout.area = Snapped(area);
  return layout;
}

void PaintPlot(QPainter& painter, const QRectF& rect, const PlotModel& model,
               const PlotStyle& style) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.fillRect(rect, style.background);
  if (!model.HasPicture()) {
    PaintMessage(painter, rect, model, style);
    painter.restore();
    return;
  }
  const PlotLayout layout = LayoutPlot(rect, model, style);
  painter.setPen(style.foreground);
  painter.setFont(layout.titleFont);
  painter.drawText(layout.title, kTitleFlags, model.title);
  const Frame frame{layout.area};
  if (layout.area.width() > 0 && layout.area.height() > 0) {
    PaintData(painter, model, style, frame);
    PaintAxes(painter, model, style, frame, rect, layout.yTicks);
    PaintMarkerLabels(painter, model, style, frame, layout.markerRow);
  }
  PaintLegend(painter, model, style, layout.legend);
  painter.restore();
}

}  // namespace plot
