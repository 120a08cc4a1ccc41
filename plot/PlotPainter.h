// The one painting routine of the plot, for every target: the pane on the
// screen, the PNG and SVG files, the clipboard image and the printed page.
//
// PaintPlot draws a plot model (PlotModel.h) into a rectangle of a QPainter:
// the title (broken between words, never cut), a row with the labels of the
// x-values, the plot area with the shaded areas, the outline or bars and the
// vertical lines at x, the axes with round ticks (Ticks.h) and, below, the
// legend with each probability as the log prints it.  What belongs to the
// distribution is clipped to the plot area.  Sizes are in the painter's
// logical units with a font given in pixels, so that a device pixel ratio of
// 2 or a scaled printer painter draws the same picture, sharper.
#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <vector>

#include "plot/PlotModel.h"
#include "plot/Ticks.h"

class QPainter;
class QPalette;

namespace plot {

struct PlotStyle {
  QColor background;
  QColor foreground;  // axes, ticks, texts
  QColor outline;     // the density curve, the stepped outline and the bars' edges
  QColor marker;      // the lines at x and the outline of x's bar
  QColor none, lower, upper, both, central;  // fills, by Shade
  QFont font;                                // with a pixel size

  QColor Fill(Shade shade) const;
  // The lines of a hatched area: its fill colour, deeper against the ground.
  QColor Hatch(Shade shade) const;

  // Black on white with a fixed font: files, the clipboard and paper look
  // the same on every desktop.
  static PlotStyle Paper();
  // The desktop's colours (light or dark) and a font, for the pane.
  // `dotsPerInch`: the logical resolution of the screen, to turn points into pixels.
  static PlotStyle Screen(const QPalette& palette, const QFont& font, double dotsPerInch);
};

// Where PaintPlot puts each part inside its rectangle.
struct PlotLayout {
  // The title's lines, as many as it needs to show whole, and their font,
  // smaller (a little below the body's) where they would take much room.
  QRectF title;
  QFont titleFont;
  QRectF markerRow;          // the labels of the x-values and the caption of y
  QRectF area;               // the plot area: everything of the distribution lies inside
  std::vector<Tick> yTicks;  // two or more where the axis has room for their labels
  QRectF legend;             // the legend rows and the note
};

PlotLayout LayoutPlot(const QRectF& rect, const PlotModel& model, const PlotStyle& style);

void PaintPlot(QPainter& painter, const QRectF& rect, const PlotModel& model,
               const PlotStyle& style);

}  // namespace plot
