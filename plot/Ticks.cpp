// Round tick values for an axis and their labels.
#include "plot/Ticks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace plot {

namespace {

// The multiples of a power of ten that a step may be, smallest first.
constexpr long double kStepMultiples[] = {1, 2, 5};
// The steps that give a range its two ticks when `most` allows fewer,
// largest first, a factor of 2 at most between neighbours: the step found
// is at least half the largest that gives two.
constexpr long double kPairMultiples[] = {5, 2.5L, 2, 1};
// How far from whole a step's first digits may lie and still count as whole.
constexpr long double kWholeDigits = 1e-9L;
// Labels of smaller magnitude than this are written in fixed notation as
// long as the step needs no more decimals than kMostFixedDecimals.
constexpr long double kFixedLimit = 1e7L;
constexpr int kMostFixedDecimals = 6;
// The significant digits a long double can carry.
constexpr int kMostDigits = 18;

// How many multiples of `step` lie in [low, high].
long double TickCount(long double low, long double high, long double step) {
  return std::floor(high / step) - std::ceil(low / step) + 1;
}

// The smallest round step (1, 2 or 5 times a power of ten) that puts at most
// `most` ticks into [low, high].
long double RoundStep(long double low, long double high, int most) {
  // Ten times smaller than any step that could do: the search starts there.
  int exponent = static_cast<int>(std::floor(std::log10((high - low) / most))) - 1;
  for (;; ++exponent) {
    const long double power = std::pow(10.0L, static_cast<long double>(exponent));
    for (long double multiple : kStepMultiples)
      if (TickCount(low, high, multiple * power) <= most) return multiple * power;
  }
}

// The largest step of kPairMultiples that puts at least two ticks into
// [low, high], or 0 when none does within the precision of the long doubles.
long double PairStep(long double low, long double high) {
  int exponent = static_cast<int>(std::floor(std::log10(high - low)));
  for (int tries = 0; tries < 2; ++tries, --exponent) {
    const long double power = std::pow(10.0L, static_cast<long double>(exponent));
    for (long double multiple : kPairMultiples)
      if (TickCount(low, high, multiple * power) >= 2) return multiple * power;
  }
  return 0;
}

// The power of ten of a step's last digit: 0 for 5, -1 for 2.5.
int LastDigitExponent(long double step) {
  int exponent = static_cast<int>(std::floor(std::log10(step)));
  const long double digits = step / std::pow(10.0L, static_cast<long double>(exponent));
  if (std::fabs(digits - std::round(digits)) > kWholeDigits) --exponent;
  return exponent;
}

// "1.073750e+09" -> "1.07375e9": no trailing zeros, no plus sign and no
// leading zeros in the exponent.
QString TidyScientific(const char* text) {
  QString s = QString::fromLatin1(text);
  const qsizetype e = s.indexOf(QLatin1Char('e'));
  QString mantissa = s.left(e);
  QString exponent = s.mid(e + 1);
  if (mantissa.contains(QLatin1Char('.'))) {
    while (mantissa.endsWith(QLatin1Char('0'))) mantissa.chop(1);
    if (mantissa.endsWith(QLatin1Char('.'))) mantissa.chop(1);
  }
  const bool negative = exponent.startsWith(QLatin1Char('-'));
  if (negative || exponent.startsWith(QLatin1Char('+'))) exponent.remove(0, 1);
  while (exponent.size() > 1 && exponent.startsWith(QLatin1Char('0'))) exponent.remove(0, 1);
  return mantissa + QLatin1Char('e') + (negative ? QStringLiteral("-") : QString()) + exponent;
}

}  // namespace

QString TickLabel(long double value, long double step) {
  if (value == 0) return QStringLiteral("0");  // also -0
  const int stepExponent = LastDigitExponent(step);
  char text[64];
  if (std::fabs(value) < kFixedLimit && stepExponent >= -kMostFixedDecimals) {
    std::snprintf(text, sizeof text, "%.*Lf", std::max(0, -stepExponent), value);
    return QString::fromLatin1(text);
  }
  const int valueExponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
  const int digits = std::clamp(valueExponent - stepExponent, 0, kMostDigits);
  std::snprintf(text, sizeof text, "%.*Le", digits, value);
  return TidyScientific(text);
}

std::vector<Tick> RoundTicks(long double low, long double high, int most, bool whole) {
  std::vector<Tick> ticks;
  const long double span = high - low;
  if (!std::isfinite(low) || !std::isfinite(high) || !(span > 0) || !std::isfinite(span) ||
      most < 1)
    return ticks;
  long double step = RoundStep(low, high, most);
  if (const long double pair = PairStep(low, high); TickCount(low, high, step) < 2 && pair > 0)
    step = pair;
  if (whole && step < 1) step = 1;
  const long double first = std::ceil(low / step);
  const long double last = std::floor(high / step);
  // A step below the spacing of the long doubles near `low` gives no ticks
  // that could be told apart.
  if (!(last - first < std::max(most, 2)) || first + 1 == first) return ticks;
  for (long double i = first; i <= last; ++i) {
    const long double value = i * step;
    ticks.push_back({value, static_cast<double>((value - low) / span), TickLabel(value, step)});
  }
  return ticks;
}

}  // namespace plot
