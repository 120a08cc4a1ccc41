// Every distribution of the function table at the texts its fields start
// with, one Compute press and the details the panes then show: the forward
// report at the default x-value, and where the table offers one the
// inverse at the default percentile.  A forward report with its details must
// keep within kForwardTargetMs, an inverse within kInverseTargetMs; the
// noncentral distributions, whose tails are Poisson mixtures of central
// ones, within kMixtureTargetMs.  A forward report whose real fields are
// typed as decimals that binary cannot hold (every default with a last digit
// 1 added, "Typed") pays one more evaluation for each such field, to take
// the details to the decimals typed; it keeps within the same targets.  New
// distributions in the table are measured without a line here.
#include <string>
#include <string_view>
#include <variant>

#include "bench/BenchRegistry.h"
#include "calculator/Calculator.h"
#include "calculator/ResultDetails.h"

namespace {

using calculator::FunctionAbout;
using calculator::Mode;

constexpr double kForwardTargetMs = 0.05;
constexpr double kInverseTargetMs = 0.2;
constexpr double kMixtureTargetMs = 1;

bool IsMixture(const FunctionAbout& about) {
  return std::string_view(about.commandName).starts_with("noncentral");
}

calculator::FieldTexts DefaultTexts(const FunctionAbout& about, Mode mode) {
  calculator::FieldTexts texts;
  for (const calculator::FieldAbout& field : about.fields)
    texts[field.slot] = calculator::FieldDefault(about, field, mode);
  return texts;
}

// The defaults with a last decimal digit 1 added to every field that is not
// a whole number: 2 becomes 2.1, 0.5 becomes 0.51.
calculator::FieldTexts TypedTexts(const FunctionAbout& about, Mode mode) {
  calculator::FieldTexts texts = DefaultTexts(about, mode);
  for (const calculator::FieldAbout& field : about.fields)
    if (field.number != calculator::Number::Whole)
      texts[field.slot] += texts[field.slot].find('.') == std::string::npos ? ".1" : "1";
  return texts;
}

std::string Input(const FunctionAbout& about, Mode mode, bool typed) {
  const calculator::FieldTexts texts = typed ? TypedTexts(about, mode) : DefaultTexts(about, mode);
  std::string text = mode == Mode::Inverse ? "inverse" : "";
  for (const calculator::FieldAbout& field : about.fields)
    text += (text.empty() ? "" : " ") + texts[field.slot];
  return text;
}

// One Compute press and its details; what went wrong, or nothing.
std::string RunReport(const FunctionAbout& about, Mode mode, bool typed) {
  const calculator::Result result = calculator::Compute(
      about.function, typed ? TypedTexts(about, mode) : DefaultTexts(about, mode), mode);
  if (!result.Ok()) return "the default texts give no result";
  const calculator::ResultDetails details = calculator::DetailsOf(result);
  return std::holds_alternative<std::monostate>(details.values) ? "no details" : "";
}

void Register(const FunctionAbout& about, Mode mode, double targetMs, bool typed = false) {
  const std::string name = std::string("Every/") + about.commandName +
                           (mode == Mode::Inverse ? "Inverse" : "") + (typed ? "Typed" : "");
  bench::RegisterReport(
      {name, Input(about, mode, typed), IsMixture(about) ? kMixtureTargetMs : targetMs},
      [&about, mode, typed] { return RunReport(about, mode, typed); });
}

[[maybe_unused]] const bool kRegistered = [] {
  for (const FunctionAbout& about : calculator::Functions()) {
    if (about.family == calculator::Family::Counting) continue;
    Register(about, Mode::Forward, kForwardTargetMs);
    Register(about, Mode::Forward, kForwardTargetMs, true);
    if (about.HasInverse()) Register(about, Mode::Inverse, kInverseTargetMs);
  }
  return true;
}();

}  // namespace
