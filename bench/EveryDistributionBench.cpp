// Every distribution of the function table at the texts its fields start
// with, one Compute press and the details the panes then show: the forward
// report at the default x-value, and where the table offers one the
// inverse at the default percentile.  A forward report with its details must
// keep within kForwardTargetMs, an inverse within kInverseTargetMs; the
// noncentral distributions, whose tails are Poisson mixtures of central
// ones, within kMixtureTargetMs.  New distributions in the table are
// measured without a line here.
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

std::string Input(const FunctionAbout& about, Mode mode) {
  const calculator::FieldTexts texts = DefaultTexts(about, mode);
  std::string text = mode == Mode::Inverse ? "inverse" : "";
  for (const calculator::FieldAbout& field : about.fields)
    text += (text.empty() ? "" : " ") + texts[field.slot];
  return text;
}

// One Compute press and its details; what went wrong, or nothing.
std::string RunReport(const FunctionAbout& about, Mode mode) {
  const calculator::Result result =
      calculator::Compute(about.function, DefaultTexts(about, mode), mode);
  if (!result.Ok()) return "the default texts give no result";
  const calculator::ResultDetails details = calculator::DetailsOf(result);
  return std::holds_alternative<std::monostate>(details.values) ? "no details" : "";
}

void Register(const FunctionAbout& about, Mode mode, double targetMs) {
  const std::string name =
      std::string("Every/") + about.commandName + (mode == Mode::Inverse ? "Inverse" : "");
  bench::RegisterReport({name, Input(about, mode), IsMixture(about) ? kMixtureTargetMs : targetMs},
                        [&about, mode] { return RunReport(about, mode); });
}

[[maybe_unused]] const bool kRegistered = [] {
  for (const FunctionAbout& about : calculator::Functions()) {
    if (about.family == calculator::Family::Counting) continue;
    Register(about, Mode::Forward, kForwardTargetMs);
    if (about.HasInverse()) Register(about, Mode::Inverse, kInverseTargetMs);
  }
  return true;
}();

}  // namespace
