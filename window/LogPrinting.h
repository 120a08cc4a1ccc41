// Printing the results log.
//
// The printed size follows the log's font, scaled so that the default log
// font prints about two points below the size at which 72 characters of
// "Courier New" fill the width between the page's margins.  Every page opens
// with a title line (the program, date and time), then a blank line and the
// log's lines from the left margin, and closes with "Page n of N" centred
// at the bottom margin; black on the white paper whatever the screen's
// palette.  Long lines break between characters.  The plot, when it is
// printed, takes a page of its own after the log's, counted in N: below the
// title line, as wide as the page and as tall as the printable page's short
// side is of its long side (landscape on any paper, cut to the room above
// the page number), its texts at kPlotPrintPoints.
#pragma once

#include <QFont>
#include <QStringList>

class QFontMetrics;
class QPainter;
class QPrinter;

namespace window {

class TPlotPane;

// The 72 characters whose width in "Courier New" measures the page.
inline constexpr char kMeasuringText[] =
    "qwertyuiopasdfghjklzxcvbnm-+*/--()--QWERTYUIOPASDFGHJKLZXCVBNM1234567890";

// The printer's font for measuring: "Courier New", regular, `points` in size.
QFont MeasuringFont(int points);

// S: starting from 1 point, the first size in whole points at which the
// measuring text is at least as wide as the printer's page width.
int MeasuringSize(const QPrinter& printer);

// The print scale F = B / 10 with the base size B = S - 2 for S > 2, else 1.
long double PrintScale(int measuringSize);

// The log's font as the printer draws it: its family and style, the size
// round(points of `logFont` x `scale`), ties to even.  A size outside the
// signed 32-bit range raises EWindowError "Range check error".
QFont PrintFont(const QFont& logFont, long double scale);

// The margins a new printer starts with, on every side; Page Setup changes them.
inline constexpr double kDefaultMarginMillimetres = 20;

// The size of the plot's body texts on paper.
inline constexpr double kPlotPrintPoints = 10;

// One print job: `title` and the page number on every page, every line of
// `lines` in order, page after page, and then, when `plot` is given, its
// picture on a page of its own.  `painter` is active on `printer`.
void PrintLines(QPainter& painter, QPrinter& printer, const QFont& font, const QStringList& lines,
                const QString& title, const TPlotPane* plot = nullptr);

// "Page 2 of 3".
QString PageNumberText(int page, int pages);

// The pieces that `line` is printed in, one printed line each: as many whole
// characters as fit in `width` (at least one).  An empty line is one empty
// piece.
QStringList BreakCharacterWise(const QString& line, const QFontMetrics& metrics, int width);

}  // namespace window
