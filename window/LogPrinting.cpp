#include "window/LogPrinting.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "window/Errors.h"
#include "window/PlotPane.h"

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

QString PageNumberText(int page, int pages) {
  return QStringLiteral("Page %1 of %2").arg(page).arg(pages);
}

namespace {

struct PrintedPiece {
  int y;  // top of the piece, from the top of the body
  QString text;
};
using PrintedPage = std::vector<PrintedPiece>;

// The pieces of the log, page by page, in a body of `bodyHeight` device
// units.  A line advances by the text height plus kLineGap (an empty line by
// the character height); once the position lies below the body height less
// twice the advance just made, the next piece starts a new page.  A page is
// started only for something to put on it, so a job never ends with an
// empty sheet; an empty log is one page.
std::vector<PrintedPage> Paginate(const QStringList& lines, const QFontMetrics& metrics, int width,
                                  int bodyHeight) {
  std::vector<PrintedPage> pages(1);
  int y = 0;
  bool newPagePending = false;
  for (const QString& line : lines) {
    for (const QString& piece : BreakCharacterWise(line, metrics, width)) {
      if (newPagePending) {
        pages.emplace_back();
        y = 0;
        newPagePending = false;
      }
      int lineHeight = 0;
      if (piece.isEmpty()) {
        y += metrics.height();
      } else {
        pages.back().push_back({y, piece});
        lineHeight = metrics.height() + kLineGap;
        y += lineHeight;
      }
      if (y > bodyHeight - 2 * lineHeight) newPagePending = true;
    }
  }
  return pages;
}

}  // namespace

namespace {

// The page's frame: the title line at the top and "Page n of N" at the foot.
void PrintFrame(QPainter& painter, const QPrinter& printer, const QString& title, int page,
                int pages) {
  const QFontMetrics metrics = painter.fontMetrics();
  painter.drawText(0, metrics.ascent(), title);
  painter.drawText(QRect(0, printer.height() - metrics.height(), printer.width(), metrics.height()),
                   Qt::AlignHCenter | Qt::AlignBottom, PageNumberText(page, pages));
}

// The plot's rectangle on a page whose body runs from `top` to `bottom`:
// the page's width, and the printable page's proportions turned landscape.
QRectF PlotRect(const QPrinter& printer, int top, int bottom) {
  const double width = printer.width();
  const double shorter = std::min(printer.width(), printer.height());
  const double longer = std::max(printer.width(), printer.height());
  const double height = longer > 0 ? width * shorter / longer : 0;
  return QRectF(0, top, width, std::max(0.0, std::min(height, static_cast<double>(bottom - top))));
}

}  // namespace

void PrintLines(QPainter& painter, QPrinter& printer, const QFont& font, const QStringList& lines,
                const QString& title, const TPlotPane* plot) {
  painter.setFont(font);
  // Paper is white whatever the screen's colours.
  painter.setPen(Qt::black);
  const QFontMetrics metrics = painter.fontMetrics();
  const int pageWidth = printer.width();
  const int pageHeight = printer.height();
  // The title and the page number each take a line and a blank line.
  const int advance = metrics.height() + kLineGap;
  const int bodyTop = 2 * advance;
  const int bodyHeight = std::max(advance, pageHeight - 4 * advance);

  const std::vector<PrintedPage> pages = Paginate(lines, metrics, pageWidth, bodyHeight);
  const int total = static_cast<int>(pages.size()) + (plot ? 1 : 0);
  for (size_t page = 0; page < pages.size(); ++page) {
    if (page > 0) printer.newPage();
    PrintFrame(painter, printer, title, static_cast<int>(page) + 1, total);
    for (const PrintedPiece& piece : pages[page])
      painter.drawText(0, bodyTop + piece.y + metrics.ascent(), piece.text);
  }
  if (!plot) return;
  printer.newPage();
  PrintFrame(painter, printer, title, total, total);
  plot->PaintOnPage(painter, PlotRect(printer, bodyTop, bodyTop + bodyHeight), kPlotPrintPoints);
}

}  // namespace window
