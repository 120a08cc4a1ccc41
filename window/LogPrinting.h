// Printing the results log.
//
// The printed size follows the log's font, scaled so that the default log
// font prints about two points below the size at which 72 characters of
// "Courier New" fill the printer's page width.  Text starts at the top-left
// corner of the printable area, in device units, black on the white paper
// whatever the screen's palette; long lines break between characters.
#pragma once

#include <QFont>
#include <QStringList>

class QFontMetrics;
class QPainter;
class QPrinter;

namespace window {

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

// One print job's text: every line of `lines` in order from the top-left
// corner, page after page.  `painter` is active on `printer`.
void PrintLines(QPainter& painter, QPrinter& printer, const QFont& font, const QStringList& lines);

// The pieces that `line` is printed in, one printed line each: as many whole
// characters as fit in `width` (at least one).  An empty line is one empty
// piece.
QStringList BreakCharacterWise(const QString& line, const QFontMetrics& metrics, int width);

}  // namespace window
