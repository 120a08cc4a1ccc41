// Round tick values for an axis and their labels.
//
// Ticks step by 1, 2 or 5 times a power of ten, the smallest such step that
// keeps their number within what the caller has room for; where that step
// leaves a single tick, the largest step of 1, 2, 2.5 or 5 times a power of
// ten that gives two, so that an axis never shows only one value.  Values
// are long doubles, like the axes of the plot model, so that any range a
// distribution can span gets ticks; a label shows as many digits as the step
// needs and no more ("0.25", "1200", "1.07375e9").
#pragma once

#include <QString>
#include <vector>

namespace plot {

struct Tick {
  long double value;
  double at;  // (value - low) / (high - low)
  QString label;
};

// The ticks within [low, high], at most `most` of them but at least two
// where the range holds two (and at least one step of 1 when `whole`).
// None when the range is empty or not finite.
std::vector<Tick> RoundTicks(long double low, long double high, int most, bool whole);

// The text of a tick value on an axis whose ticks are `step` apart.
QString TickLabel(long double value, long double step);

}  // namespace plot
