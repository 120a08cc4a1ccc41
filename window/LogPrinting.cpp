#include "window/LogPrinting.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QTextBoundaryFinder>
#include <climits>
#include <cmath>

#include "window/Errors.h"

namespace window {

namespace {

// The measuring loop ends here even when the font engine measures nothing.
constexpr int kLargestMeasuringSize = 4096;
// Space between two printed lines, in device units.
constexpr int kLineGap = 2;

// The size of `font` in points.  A font given in pixels (the log's default)
// counts in whole points, as a font dialog states it.
long double PointsOf(const QFont& font) {
  if (font.pointSizeF() > 0) return font.pointSizeF();
  return std::round(static_cast<long double>(QFontInfo(font).pointSizeF()));
}

}  // namespace

QFont MeasuringFont(int points) {
  QFont font(QStringLiteral("Courier New"));
  // Where "Courier New" is missing, another fixed-pitch face takes its place.
  font.setStyleHint(QFont::TypeWriter);
  font.setPointSize(points);
  return font;
}

int MeasuringSize(const QPrinter& printer) {
  const QString text = QString::fromLatin1(kMeasuringText);
  int size = 1;
  while (size < kLargestMeasuringSize &&
         QFontMetricsF(MeasuringFont(size), &printer).horizontalAdvance(text) < printer.width())
    ++size;
  return size;
}

long double PrintScale(int measuringSize) {
  const int base = measuringSize > 2 ? measuringSize - 2 : 1;
  return static_cast<long double>(base) / 10;
}

QFont PrintFont(const QFont& logFont, long double scale) {
  const long double size = std::nearbyint(PointsOf(logFont) * scale);  // ties to even
  if (!(size >= INT_MIN && size <= INT_MAX)) throw EWindowError("Range check error");
  QFont font = logFont;
  // A size that rounds to 0 would make Qt keep the old one.
  font.setPointSize(std::max(1, static_cast<int>(size)));
  return font;
}

QStringList BreakCharacterWise(const QString& line, const QFontMetrics& metrics, int width) {
  if (line.isEmpty()) return {QString()};
  // Characters as the reader sees them: a base letter with its combining
  // marks, or a surrogate pair, is never split.
  QList<qsizetype> bounds;
  QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, line);
  for (qsizetype b = finder.toNextBoundary(); b != -1; b = finder.toNextBoundary()) bounds << b;
  // bounds[0] is the end of the first character; the start is 0.
  bounds.prepend(0);
  const qsizetype last = bounds.size() - 1;

  QStringList pieces;
  qsizetype from = 0;
  while (from < last) {
    const auto fits = [&](qsizetype to) {
      return metrics.horizontalAdvance(line.mid(bounds[from], bounds[to] - bounds[from])) <= width;
    };
    // The longest run that fits, found by doubling and then halving; one
    // character goes on its own line even when it is too wide.
    qsizetype good = from + 1;
    qsizetype step = 1;
    while (good + step <= last && fits(good + step)) {
      good += step;
      step *= 2;
    }
    qsizetype bad = std::min(good + step, last + 1);
    while (bad - good > 1) {
      const qsizetype middle = good + (bad - good) / 2;
      if (fits(middle))
        good = middle;
      else
        bad = middle;
    }
    pieces << line.mid(bounds[from], bounds[good] - bounds[from]);
    from = good;
  }
  return pieces;
}

void PrintLines(QPainter& painter, QPrinter& printer, const QFont& font, const QStringList& lines) {
  painter.setFont(font);
  // Paper is white whatever the screen's colours.
  painter.setPen(Qt::black);
  const QFontMetrics metrics = painter.fontMetrics();
  const int pageWidth = printer.width();
  const int pageHeight = printer.height();

  int y = 0;
  // A new page is started only when there is something to put on it, so a
  // job never ends with an empty sheet.
  bool newPagePending = false;
  for (const QString& line : lines) {
    for (const QString& piece : BreakCharacterWise(line, metrics, pageWidth)) {
      if (newPagePending) {
        printer.newPage();
        y = 0;
        newPagePending = false;
      }
      // An empty line has no height of its own: it advances by the font's
      // character height, and only the page's end starts a new page.
      int lineHeight = 0;
      if (piece.isEmpty()) {
        y += metrics.height();
      } else {
        painter.drawText(0, y + metrics.ascent(), piece);
        lineHeight = metrics.height() + kLineGap;
        y += lineHeight;
      }
      if (y > pageHeight - 2 * lineHeight) newPagePending = true;
    }
  }
}

}  // namespace window
