// The whole-number limits of the table's fields, and the largest real field,
// behind the run-time errors.
#include "calculator/ErrorHints.h"

#include <cmath>
#include <limits>

#include "Distr/Errors.h"
#include "calculator/FieldParsing.h"

namespace calculator {

namespace {

// The largest magnitude of a real field that every function computes with
// without overflow: its square, and the square of its difference with
// another such number over the smallest variance's root, stay in range.
constexpr long double kLargestSafeReal = 1e2400L;
constexpr char kLargestSafeRealText[] = "1e2400";

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

// The first whole-number field (alone, or with the next field when the two
// count together) beyond the limit of the log's arithmetic.
std::optional<std::string> WholeHint(const Result& result, const FieldTexts& texts) {
  const FunctionAbout& about = AboutFunction(result.function);
  const auto fields = about.fields;
  for (size_t i = 0; i < fields.size(); ++i) {
    const FieldAbout& field = fields[i];
    if (field.most == 0 || ReadsPercentile(about, field, result.mode)) continue;
    int64_t value = WholeValue(texts[field.slot]);
    std::string captions = field.caption;
    const bool together = field.mostWithNext && i + 1 < fields.size();
    if (together) {
      value += WholeValue(texts[fields[i + 1].slot]);
      captions += std::string(" and ") + fields[i + 1].caption;
    }
    if (value <= field.most) continue;
    return captions + ": " + (together ? "together " : "") + "at most " +
           std::to_string(field.most) + ".";
  }
  return std::nullopt;
}

// The real field of the largest magnitude, when it lies beyond the safe one.
std::optional<std::string> RealHint(const Result& result, const FieldTexts& texts) {
  const FunctionAbout& about = AboutFunction(result.function);
  const FieldAbout* largest = nullptr;
  long double largestMagnitude = kLargestSafeReal;
  for (const FieldAbout& field : about.fields) {
    if (field.number != Number::Real || ReadsPercentile(about, field, result.mode)) continue;
    const long double magnitude = Magnitude(texts[field.slot]);
    if (magnitude > largestMagnitude) {
      largest = &field;
      largestMagnitude = magnitude;
    }
  }
  if (largest == nullptr) return std::nullopt;
  return std::string(FieldCaption(about, *largest, result.mode)) + ": at most " +
         kLargestSafeRealText + " in magnitude.";
}

}  // namespace

std::optional<std::string> ErrorHint(const Result& result, const FieldTexts& texts) {
  if (result.outcome != Outcome::Error) return std::nullopt;
  switch (result.error) {
    case ErrorKind::IntOverflow:
      return WholeHint(result, texts);
    case ErrorKind::FloatOverflow:
      return RealHint(result, texts);
    case ErrorKind::None:
    case ErrorKind::Other:
      break;
  }
  return std::nullopt;
}

}  // namespace calculator
