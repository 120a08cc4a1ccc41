// The table of whole-number limits, and the largest real field, behind the
// run-time errors.
#include "calculator/ErrorHints.h"

#include <cmath>
#include <limits>

#include "Distr/Errors.h"
#include "calculator/FieldParsing.h"

namespace calculator {

namespace {

// A whole-number field (or the sum of two) beyond which a function's
// arithmetic on int32 overflows: the tails of chi-square, t and F double
// their degrees of freedom, the counting functions work with 2(n + 1) and
// the Poisson tail with 2(x + 2).
struct WholeLimit {
  Function function;
  int field;
  int plusField;  // -1, or a field whose value counts together with `field`
  int64_t most;
};

constexpr int kNone = -1;
constexpr int64_t kMostDegrees = 1073741823;  // 2^30 - 1
constexpr int64_t kMostCount = 1073741822;    // 2(n + 1) <= 2^31 - 1
constexpr int64_t kMostPoissonX = 1073741821;

// The largest magnitude of a real field that every function computes with
// without overflow: its square, and the square of its difference with
// another such number over the smallest variance's root, stay in range.
constexpr long double kLargestSafeReal = 1e2400L;
constexpr char kLargestSafeRealText[] = "1e2400";

constexpr WholeLimit kWholeLimits[] = {
    {Function::ChiSquare, kEdit1, kNone, kMostDegrees},
    {Function::T, kEdit1, kNone, kMostDegrees},
    {Function::F, kEdit1, kNone, kMostDegrees},
    {Function::F, kEdit2, kNone, kMostDegrees},
    {Function::Binomial, kEdit2, kNone, kMostCount},
    {Function::Poisson, kEdit4, kNone, kMostPoissonX},
    {Function::Hypergeometric, kEdit1, kEdit2, kMostCount},
    {Function::Factorial, kEdit1, kNone, kMostCount},
    {Function::BinomialCoefficient, kEdit1, kNone, kMostCount},
};

const std::string& IntOverflowMessage() {
  static const std::string message = Distr::EIntOverflow().what();
  return message;
}

const std::string& FloatOverflowMessage() {
  static const std::string message = Distr::EOverflow().what();
  return message;
}

int64_t WholeValue(const std::string& text) {
  return ParseInteger(text).value;
}

// The magnitude of a real field's text; infinity for a text whose number
// lies beyond the extended range.
long double Magnitude(const std::string& text) {
  try {
    return std::fabs(ParseReal(text).value);
  } catch (const Distr::ERunTimeError&) {
    return std::numeric_limits<long double>::infinity();
  }
}

std::optional<std::string> WholeHint(const Result& result, const FieldTexts& texts) {
  const FunctionAbout& about = AboutFunction(result.function);
  for (const WholeLimit& limit : kWholeLimits) {
    if (limit.function != result.function) continue;
    int64_t value = WholeValue(texts[limit.field]);
    std::string fields = about.fields[limit.field].caption;
    if (limit.plusField != kNone) {
      value += WholeValue(texts[limit.plusField]);
      fields += std::string(" and ") + about.fields[limit.plusField].caption;
    }
    if (value <= limit.most) continue;
    const char* together = limit.plusField != kNone ? "together " : "";
    return fields + ": " + together + "at most " + std::to_string(limit.most) + ".";
  }
  return std::nullopt;
}

// The real field of the largest magnitude, when it lies beyond the safe one.
std::optional<std::string> RealHint(const Result& result, const FieldTexts& texts) {
  const FunctionAbout& about = AboutFunction(result.function);
  int largest = kNone;
  long double largestMagnitude = kLargestSafeReal;
  for (int i = 0; i < kFieldCount; ++i) {
    const FieldKind kind = about.fields[i].kind;
    const bool real = kind == FieldKind::Real || (kind == FieldKind::Point && !result.inverse);
    if (!real) continue;
    const long double magnitude = Magnitude(texts[i]);
    if (magnitude > largestMagnitude) {
      largest = i;
      largestMagnitude = magnitude;
    }
  }
  if (largest == kNone) return std::nullopt;
  return std::string(FieldCaption(about, largest, result.inverse)) + ": at most " +
         kLargestSafeRealText + " in magnitude.";
}

}  // namespace

std::optional<std::string> ErrorHint(const Result& result, const FieldTexts& texts) {
  if (result.outcome != Outcome::Error) return std::nullopt;
  if (result.message == IntOverflowMessage()) return WholeHint(result, texts);
  if (result.message == FloatOverflowMessage()) return RealHint(result, texts);
  return std::nullopt;
}

}  // namespace calculator
