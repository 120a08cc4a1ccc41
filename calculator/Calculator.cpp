#include "calculator/Calculator.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>

#include "Distr/Errors.h"
#include "Distr/FloatCheck.h"
#include "calculator/DecimalComplement.h"
#include "calculator/FieldParsing.h"
#include "calculator/Reports.h"

namespace calculator {

namespace {

constexpr const char* kPercentileRule = "a probability from 0.000001 to 0.999999";
constexpr const char* kBoundRule = "a number greater than A";
constexpr const char* kWholeBoundRule = "a whole number greater than A";
constexpr const char* kAnyPercentileRule = "a probability greater than 0 and less than 1";

bool InRange(const FieldAbout& field, long double v) {
  const bool aboveLow = field.lowOpen ? v > field.low : v >= field.low;
  return aboveLow && v <= field.high;
}

// The text without the blanks, tabs and line ends around it, as a number
// pasted from a spreadsheet or a terminal comes ("130\n", " 225 ").
std::string_view Trimmed(std::string_view text) {
  constexpr std::string_view kAround = " \t\r\n";
  const std::size_t first = text.find_first_not_of(kAround);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kAround) - first + 1);
}

// A whole number in exponent form ("1e9", "2.5E3"): its value, when it is
// whole and an int32.  A decimal point alone ("10.0") stays invalid, and a
// power of ten beyond the extended range is no whole number here (the
// field's rule, not an overflow).
std::optional<int32_t> WholeReal(std::string_view text) {
  if (text.find_first_of("eE") == std::string_view::npos) return std::nullopt;
  try {
    const RealParse parsed = ParseReal(text);
    if (!parsed.Valid() || !(parsed.value >= INT32_MIN && parsed.value <= INT32_MAX) ||
        parsed.value != std::floor(parsed.value))
      return std::nullopt;
    return static_cast<int32_t>(parsed.value);
  } catch (const Distr::ERunTimeError&) {
    return std::nullopt;
  }
}

// Degrees of freedom: a whole number from 1 to `high` (written as one, in
// exponent form or with decimals that are all 0), or another number above 0
// up to `most`.
const char* ReadDegrees(const FieldAbout& field, std::string_view text, long double& value) {
  const IntegerParse whole = ParseInteger(text);
  if (whole.Valid()) {
    value = whole.value;
  } else {
    const RealParse parsed = ParseReal(text);
    if (!parsed.Valid()) return field.rule;
    value = parsed.value;
  }
  if (value == std::floor(value) && value >= 1 && value <= field.high) return nullptr;
  return value > field.low && value <= static_cast<long double>(field.most) ? nullptr : field.rule;
}

// Why a text broke its field's rule, where the text itself says: nothing
// but blanks, or a decimal comma where a decimal point reads.
const char* WhyBroken(const FieldAbout& field, std::string_view text, Mode mode, bool root) {
  text = Trimmed(text);
  if (text.empty()) return "the field is empty";
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos || text.find(',', comma + 1) != std::string_view::npos)
    return nullptr;
  std::string pointed(text);
  pointed[comma] = '.';
  long double unused = 0;
  try {
    return ReadField(field, pointed, mode, unused, root) ? nullptr : "use a decimal point";
  } catch (const Distr::ERunTimeError&) {
    return nullptr;
  }
}

}  // namespace

std::string FieldFault::Message() const {
  return why ? rule + " (" + why + ")" : rule;
}

// ParseReal may raise EOverflow, which ends the computation.
const char* ReadField(const FieldAbout& field, std::string_view text, Mode mode, long double& value,
                      bool root) {
  text = Trimmed(text);
  if (root && field.root != nullptr) {
    const RealParse parsed = ParseReal(text);
    // A root whose square leaves the extended range has no value.
    if (!parsed.Valid() || !(parsed.value >= field.root->low) ||
        !std::isfinite(parsed.value * parsed.value))
      return field.root->rule;
    value = parsed.value * parsed.value;
    return nullptr;
  }
  const bool percentile = mode == Mode::Inverse && field.role == Role::XValue;
  if (field.number == Number::Whole && !percentile) {
    const IntegerParse parsed = ParseInteger(text);
    if (parsed.Valid()) {
      value = parsed.value;
    } else if (const std::optional<int32_t> whole = WholeReal(text)) {
      value = *whole;
    } else {
      return field.rule;
    }
    return InRange(field, value) ? nullptr : field.rule;
  }
  if (field.number == Number::Degrees && !percentile) return ReadDegrees(field, text, value);
  const RealParse parsed = ParseReal(text);
  if (percentile && field.anyPercentile) {
    if (!parsed.Valid()) return kAnyPercentileRule;
    value = parsed.value;
    // Below 1 as typed though nearer 1 than the extended reals below it:
    // the largest of them, its complement taken from the digits.
    if (value == 1 && DecimalComplement(text).value_or(0) > 0)
      value = std::nextafter(1.0L, 0.0L);
    return value > 0 && value < 1 ? nullptr : kAnyPercentileRule;
  }
  if (percentile) {
    if (!parsed.Valid()) return kPercentileRule;
    value = parsed.value;
    return value >= kLowestPercentile && value <= kHighestPercentile ? nullptr : kPercentileRule;
  }
  if (!parsed.Valid()) return field.rule;
  value = parsed.value;
  return InRange(field, value) ? nullptr : field.rule;
}

namespace {

std::vector<Parameter> NamedParameters(const FunctionAbout& about, const Arguments& arguments) {
  std::vector<Parameter> parameters;
  for (const FieldAbout& field : about.fields) {
    if (!field.IsParameter()) continue;
    parameters.push_back(
        {field.parameter, arguments.value[field.slot], field.IsWhole(arguments.value[field.slot])});
  }
  return parameters;
}

// The residual of field's value: for a probability above 1/2, that of
// its complement, as a change to the probability (the engine takes the
// smaller of p and 1 - p as the one it holds exactly).
long double Residual(const FieldAbout& field, const std::string& text, const Arguments& arguments) {
  const long double value = arguments.value[field.slot];
  const long double complement = arguments.complement[field.slot];
  if (field.role == Role::Probability && value > 0.5L && complement > 0)
    return -DecimalResidual(text, complement, true).value_or(0);
  return DecimalResidual(text, value).value_or(0);
}

}  // namespace

ParsedInput ReadInput(Function function, const FieldTexts& texts, Mode mode, Readings readings) {
  const FunctionAbout& about = AboutFunction(function);
  ParsedInput input;
  for (const FieldAbout& field : FieldsIn(about, mode)) {
    const int i = field.slot;
    if (field.role == Role::XValue) input.xField = i;
    if (const char* rule =
            ReadField(field, texts[i], mode, input.arguments.value[i], readings.Root(i)))
      input.faults.push_back({i, rule, WhyBroken(field, texts[i], mode, readings.Root(i))});
    else if (field.role == Role::Probability ||
             (field.role == Role::XValue && mode == Mode::Inverse)) {
      input.arguments.complement[i] = DecimalComplement(texts[i]).value_or(0);
      input.arguments.typed[i] = DecimalRatio(texts[i]).value_or(models::Ratio{});
    }
    if (mode != Mode::Inverse && !readings.Root(i))
      input.arguments.residual[i] = Residual(field, texts[i], input.arguments);
  }
  // x - location on the digits typed, for the details of a forward report.
  const FieldAbout* location = about.LocationField();
  if (input.faults.empty() && mode == Mode::Forward && input.xField && location != nullptr)
    input.arguments.fromLocation = DecimalDifference(texts[*input.xField], texts[location->slot]);
  const CrossRule& together = about.together;
  if (input.faults.empty() && together.holds != nullptr && !together.holds(input.arguments))
    input.faults.push_back({together.slot, together.rule});
  if (input.faults.empty() && mode == Mode::Interval && input.xField &&
      !(input.arguments.value[*input.xField] < input.arguments.value[about.BoundSlot()]))
    input.faults.push_back({about.BoundSlot(),
                            about.XField()->number == Number::Whole ? kWholeBoundRule : kBoundRule});
  if (input.faults.empty()) input.parameters = NamedParameters(about, input.arguments);
  return input;
}

namespace {

// The kind of a run-time error, for the readers that explain it.
ErrorKind KindOf(const Distr::ERunTimeError& error) {
  if (dynamic_cast<const Distr::EIntOverflow*>(&error)) return ErrorKind::IntOverflow;
  if (dynamic_cast<const Distr::EOverflow*>(&error)) return ErrorKind::FloatOverflow;
  return ErrorKind::Other;
}

}  // namespace

namespace {

// The interval of a function with its own arithmetic, which has no value
// where a bound's tail leaves the extended range in its arithmetic
// (normal 0 1 between 38 and 1e4000): there the model's, whose tails hold
// what the range holds.  A whole-number overflow stays an error, which the
// hints explain.
Values IntervalByMethod(const FunctionAbout& about, const Arguments& arguments) {
  try {
    Distr::FloatScope scope;
    Values values = reports::Interval(about, arguments);
    Distr::FloatScope::Check();
    return values;
  } catch (const Distr::EIntOverflow&) {
    throw;
  } catch (const Distr::ERunTimeError&) {
    return reports::ModelValues(about, arguments, Mode::Interval);
  }
}

}  // namespace

Result Compute(Function function, const FieldTexts& texts, Mode mode, Readings readings) {
  const FunctionAbout& about = AboutFunction(function);
  Result result;
  result.function = function;
  result.mode = about.modes.Has(mode) ? mode : Mode::Forward;
  result.readings = readings;
  try {
    Distr::FloatScope scope;
    ParsedInput input = ReadInput(function, texts, result.mode, readings);
    result.faults = std::move(input.faults);
    if (!result.faults.empty()) {
      result.outcome = Outcome::Invalid;
      return result;
    }
    result.parameters = std::move(input.parameters);
    result.arguments = input.arguments;
    const Arguments& arguments = result.arguments;
    result.byMethod = about.ByMethod(arguments);
    if (!result.byMethod)
      result.values = reports::ModelValues(about, arguments, result.mode);
    else if (result.mode == Mode::Interval)
      result.values = IntervalByMethod(about, arguments);
    else if (result.mode == Mode::Inverse && about.family == Family::Discrete)
      result.values = reports::DiscreteQuantile(about, arguments);
    else
      result.values = about.evaluate(arguments, result.mode);
    if (std::holds_alternative<std::monostate>(result.values)) {
      // Each field is valid but together they leave the domain, which the
      // cross rule should have caught: its field is marked.
      result.outcome = Outcome::Invalid;
      result.faults.push_back({about.together.slot, about.together.rule});
      return result;
    }
    result.lines = about.format(about, arguments, result.values);
    // Every number is computed and written: a pending floating-point error
    // is raised now, before anything reaches the log.
    Distr::FloatScope::Check();
  } catch (const Distr::ERunTimeError& error) {
    result.outcome = Outcome::Error;
    result.message = error.what();
    result.error = KindOf(error);
    result.values = std::monostate{};
    result.lines = {};
  }
  return result;
}

FieldTexts DefaultTexts(Function function, Mode mode) {
  const FunctionAbout& about = AboutFunction(function);
  FieldTexts texts;
  for (const FieldAbout& field : about.fields) texts[field.slot] = FieldDefault(about, field, mode);
  return texts;
}

std::string ErrorBoxText(std::string_view message) {
  std::string text(message);
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

}  // namespace calculator
