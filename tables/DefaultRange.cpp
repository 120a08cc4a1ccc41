// The range a table of values starts with: the bulk of the distribution
// with its parameters, from about its 0.001 quantile to its 0.999 quantile.
//
// One fixed range suits one set of parameters only: -3 to 3 shows a normal
// distribution of variance 100 as sixty rows of 0.000000 and 1.000000, and
// 0 to 10 shows nothing of a binomial distribution with n = 10^9.  The range
// is therefore read off the distribution, through the details engine's
// quantiles, and rounded outward to a step a reader takes in at a glance
// (1, 2 or 5 times a power of ten): the smallest such step that cuts the
// bulk into at most kMostSteps parts, so that the range holds from about
// kMostSteps / 2.5 to kMostSteps + 2 rows.  A discrete distribution steps by
// whole numbers, and a narrow one shows each of its few values.  The ends
// stay inside the support and the x-value's field limits.  Where the
// parameters are invalid, the engine has no quantile, or the bulk is
// narrower than the extended precision resolves there, the table's own
// first range stands.
#include <charconv>
#include <cmath>
#include <optional>
#include <utility>

#include "calculator/QuietReading.h"
#include "calculator/ResultDetails.h"
#include "tables/Tables.h"

namespace tables {

namespace {

using calculator::FieldAbout;
using calculator::FunctionAbout;

// The probability left out beyond each end of the range.
constexpr long double kBulkTail = 0.001L;
// The step is the smallest readable one that cuts the bulk into at most this
// many parts.
constexpr long double kMostSteps = 50;
// The digits of a step's multiples: RangeSteps counts in decimal up to 18
// significant digits, and a range beyond them would step in binary.
constexpr long double kLargestMultiple = 1e17L;
// The leading digits of a readable step, times a power of ten.
constexpr int kStepDigits[] = {1, 2, 5};

RangeTexts TableRange(const FunctionAbout& about) {
  return {about.range.from, about.range.to, about.range.step};
}

// The x-values between the 0.001 and the 0.999 quantile; none where the
// engine has no quantile or one is not finite.
std::optional<std::pair<long double, long double>> Bulk(const models::Distribution& d) {
  const bool discrete = models::IsDiscrete(d);
  const models::Value low =
      discrete ? models::DiscreteQuantile(d, kBulkTail) : models::QuantileLower(d, kBulkTail);
  const models::Value high =
      discrete ? models::DiscreteQuantile(d, 1 - kBulkTail) : models::QuantileUpper(d, kBulkTail);
  if (!low.value || !high.value || !std::isfinite(*low.value) || !std::isfinite(*high.value) ||
      *high.value < *low.value)
    return std::nullopt;
  return std::pair{*low.value, *high.value};
}

// A step of digit * 10^exponent.
struct Step {
  int digit;
  int64_t exponent;
  long double value;
};

// The smallest readable step not below `least` (> 0).
Step ReadableStep(long double least) {
  // From a power below the one that log10 names, whose rounding may be off
  // by one either way.
  for (int64_t exponent = static_cast<int64_t>(std::floor(std::log10(least))) - 1;; ++exponent) {
    const long double power = std::pow(10.0L, static_cast<long double>(exponent));
    for (int digit : kStepDigits)
      if (digit * power >= least) return {digit, exponent, digit * power};
  }
}

// The shortest text that reads back as `value`, with the calculator's "E".
std::string ShortestText(long double value) {
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  std::string text(buffer, end);
  for (char& c : text)
    if (c == 'e') c = 'E';
  return text;
}

// The text of a range end: the multiple of the step, or the limit it passes.
std::string EndText(long double multiple, const Step& step, long double limit, bool beyond,
                    bool discrete) {
  if (!beyond) return DecimalText({static_cast<int64_t>(multiple) * step.digit, step.exponent});
  return discrete ? DecimalText({static_cast<int64_t>(limit), 0}) : ShortestText(limit);
}

}  // namespace

RangeTexts DefaultRange(const FunctionAbout& about, const calculator::Arguments& arguments) {
  const std::optional<models::Distribution> d =
      calculator::DistributionOf(about.function, arguments);
  const FieldAbout* x = about.XField();
  if (!d || x == nullptr || !models::ParameterProblem(*d).empty()) return TableRange(about);
  const std::optional<std::pair<long double, long double>> bulk = Bulk(*d);
  if (!bulk) return TableRange(about);
  const bool discrete = models::IsDiscrete(*d);
  const auto [low, high] = *bulk;
  const long double span = high - low;
  if (!discrete && !(span > 0)) return TableRange(about);
  const Step step = ReadableStep(discrete ? std::max(span / kMostSteps, 1.0L) : span / kMostSteps);
  const long double first = std::floor(low / step.value), last = std::ceil(high / step.value);
  if (std::fabs(first) * step.digit > kLargestMultiple ||
      std::fabs(last) * step.digit > kLargestMultiple || (!discrete && last - first < 1))
    return TableRange(about);
  // The ends inside the support and the x-value's limits.
  const auto [supportLow, supportHigh] = models::Support(*d);
  const long double lowest = std::max(supportLow, x->low);
  const long double highest = std::min(supportHigh, x->high);
  const bool belowLowest = first * step.value<lowest, aboveHighest = last * step.value> highest;
  const long double from = belowLowest ? lowest : first * step.value;
  const long double to = aboveHighest ? highest : last * step.value;
  if (!(from <= to)) return TableRange(about);
  return {EndText(first, step, lowest, belowLowest, discrete),
          EndText(last, step, highest, aboveHighest, discrete),
          DecimalText({step.digit, step.exponent})};
}

RangeTexts DefaultRange(calculator::Function function, const calculator::FieldTexts& texts) {
  const FunctionAbout& about = calculator::AboutFunction(function);
  calculator::Arguments arguments;
  for (const FieldAbout& field : about.fields) {
    if (!field.IsParameter()) continue;
    if (calculator::QuietReadField(field, texts[field.slot], calculator::Mode::Forward,
                                   arguments.value[field.slot]) != nullptr)
      return TableRange(about);
  }
  if (about.together.holds != nullptr && !about.together.holds(arguments)) return TableRange(about);
  return DefaultRange(about, arguments);
}

}  // namespace tables
