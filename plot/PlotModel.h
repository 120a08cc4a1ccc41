// The picture of one result: what to draw, before anything is drawn.
//
// A plot model is computed once per result (BuildPlotModel) from the
// details engine: the range of x that shows the bulk of the distribution and
// the x-values of the report, the density sampled across it (continuous) or
// the point probabilities (discrete: one bar per value, or a stepped outline
// when the range holds too many values for bars), the shaded areas of the
// tails and the texts of the title and the legend.  Painting (PlotPainter.h)
// reads the model only; it computes nothing of the distribution, so a redraw
// at any size costs a few polygons and texts.
//
// Positions are fractions of the plot area: across, 0 at x.low and 1 at
// x.high; up, 0 on the axis and 1 at y.high.  The axes keep their values as
// long doubles, so a range near 10^4000 or a density near 10^-3000 still
// gives finite fractions and honest tick labels.
#pragma once

#include <QPointF>
#include <QString>
#include <vector>

#include "calculator/Calculator.h"

namespace plot {

// What a shaded area or a bar stands for; the style gives each its colour.
// Both: counted in the lower and the upper probability alike (the bar of x).
enum class Shade { None, Lower, Upper, Both, Central };

enum class Drawing {
  Nothing,  // a message instead of a picture
  Curve,    // a continuous density
  Bars,     // one bar per value of a discrete distribution
  Steps,    // a stepped outline of a discrete distribution with too many values for bars
};

struct Axis {
  long double low = 0, high = 1;
  bool whole = false;  // ticks only at whole numbers
  QString caption;     // "density", "P(X=k)"
};

// The region under the outline between two positions across, filled, or
// hatched over what lies below it (the second of two overlapping tails).
struct Area {
  double from, to;
  Shade shade;
  bool hatched = false;
};

// One value k of a discrete distribution: the bar spans [k - 1/2, k + 1/2].
struct Bar {
  double from, to, height;
  Shade shade;
  bool outlined;  // the bar of x
};

// An x-value of the report.  Outside the range shown, `at` is the edge and
// `beyond` says on which side x lies (-1 left, +1 right).
struct Marker {
  double at;
  int beyond;
  bool line;  // a vertical line at x (a discrete x in bars is outlined instead)
  QString label;
};

// A legend entry: the colour of what it labels and its text.
struct LegendEntry {
  Shade shade;
  QString text;  // "P(X<130.000000)=0.977250", as the log prints it
  bool hatched = false;
};

struct PlotModel {
  Drawing drawing = Drawing::Nothing;
  QString title;
  QString message;  // Nothing: why there is no picture
  Axis x, y;
  // Curve and Steps: the outline, left to right (Steps has two points per step).
  std::vector<QPointF> outline;
  std::vector<Area> areas;
  std::vector<Bar> bars;
  std::vector<Marker> markers;
  std::vector<LegendEntry> legend;
  QString note;  // what the picture leaves out, e.g. probability beyond the range shown

  bool HasPicture() const { return drawing != Drawing::Nothing; }
};

// Continuous inverse: shade the tail of probability p below the lower x-value
// and above the upper one, or the interval between the two x-values.
enum class InverseShading { Tails, Central };

// The model of a result.  Counting functions, invalid input and run-time
// errors give a model with nothing to draw and a message.
PlotModel BuildPlotModel(const calculator::Result& result,
                         InverseShading shading = InverseShading::Tails);

// The picture in words, for a screen reader: the title, then the legend's
// texts and the note, or the message when there is nothing to draw.
QString DescribePlot(const PlotModel& model);

}  // namespace plot
