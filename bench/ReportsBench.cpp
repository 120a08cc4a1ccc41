// Every report end to end through the model: field texts in, two log lines
// out.  Besides a typical input per report, the costliest accepted inputs
// found on a grid of degrees of freedom up to the limits the mathematics
// accepts (2^30 - 1 for the inverses, whose start value forms 2n - 1; 2^31 - 1
// for the chi-square tail) and percentiles 10^-6 to 1 - 10^-6: the largest
// binomial and Poisson parameters whose whole numbers still fit, x where the
// series are longest, and the hypergeometric report at B = R = n = 10^6,
// x = 5 * 10^5.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/BenchRegistry.h"
#include "calculator/Calculator.h"

namespace {

using calculator::Function;
using calculator::Mode;

struct ReportCase {
  const char* name;
  Function function;
  calculator::Mode mode;
  std::vector<std::string> fields;  // visible fields in order
  double targetMs = bench::kReportTargetMs;
};

// One Compute press; what went wrong, or nothing when it appended its lines.
std::string RunReport(const ReportCase& c) {
  const calculator::FunctionAbout& about = calculator::AboutFunction(c.function);
  calculator::FieldTexts texts;
  size_t next = 0;
  for (const calculator::FieldAbout& field : about.fields)
    if (next < c.fields.size()) texts[field.slot] = c.fields[next++];
  const calculator::Result result = calculator::Compute(c.function, texts, c.mode);
  switch (result.outcome) {
    case calculator::Outcome::Ok:
      return "";
    case calculator::Outcome::Invalid:
      return "an invalid field";
    case calculator::Outcome::Error:
      return result.message;
  }
  return "";
}

std::string Input(const ReportCase& c) {
  std::string text = c.mode == calculator::Mode::Inverse ? "inverse" : "";
  for (const auto& field : c.fields) text += (text.empty() ? "" : " ") + field;
  return text;
}

const ReportCase kCases[] = {
    {"Normal", Function::Normal, Mode::Forward, {"100", "225", "130"}},
    {"NormalInverse", Function::Normal, Mode::Inverse, {"100", "225", "0.95"}},
    {"NormalInverseTail", Function::Normal, Mode::Inverse, {"0", "1", "0.999999"}},
    {"ChiSquare", Function::ChiSquare, Mode::Forward, {"10", "18.307038"}},
    {"ChiSquareHuge", Function::ChiSquare, Mode::Forward, {"2147483647", "2147483647"}},
    {"ChiSquareInverse", Function::ChiSquare, Mode::Inverse, {"10", "0.95"}},
    {"ChiSquareInverseTail", Function::ChiSquare, Mode::Inverse, {"30", "0.999999"}},
    {"ChiSquareInverseHuge", Function::ChiSquare, Mode::Inverse, {"1073741823", "0.95"}},
    {"T", Function::T, Mode::Forward, {"10", "2"}},
    {"THuge", Function::T, Mode::Forward, {"2147483646", "12"}},
    {"TInverse", Function::T, Mode::Inverse, {"10", "0.975"}},
    {"TInverseHuge", Function::T, Mode::Inverse, {"1073741823", "0.975"}},
    {"TInverseHugeTail", Function::T, Mode::Inverse, {"1073741823", "0.999999"}},
    {"TInverseLargeTail", Function::T, Mode::Inverse, {"536870911", "0.000001"}},
    {"F", Function::F, Mode::Forward, {"5", "10", "3.325835"}},
    {"FHuge", Function::F, Mode::Forward, {"1073741822", "1073000000", "0.9999"}},
    {"FInverse", Function::F, Mode::Inverse, {"5", "10", "0.95"}},
    {"FInverseHuge", Function::F, Mode::Inverse, {"1073741823", "1073741823", "0.95"}},
    {"FInverseHugeTail", Function::F, Mode::Inverse, {"300000000", "1073741822", "0.999999"}},
    {"Binomial", Function::Binomial, Mode::Forward, {"0.3", "1000000", "300000"}},
    {"BinomialHuge", Function::Binomial, Mode::Forward, {"0.5", "1073741822", "536870911"}},
    {"Poisson", Function::Poisson, Mode::Forward, {"100000", "100000"}},
    {"PoissonHuge", Function::Poisson, Mode::Forward, {"1073000000", "1073000000"}},
    {"Hypergeometric", Function::Hypergeometric, Mode::Forward, {"10", "15", "8", "3"}},
    {"HypergeometricMillion",
     Function::Hypergeometric,
     Mode::Forward,
     {"1000000", "1000000", "1000000", "500000"},
     bench::kHypergeometricTargetMs},
    {"HypergeometricMillionWhole",
     Function::Hypergeometric,
     Mode::Forward,
     {"1000000", "1000000", "1000000", "1000000"},
     bench::kHypergeometricTargetMs},
    {"Factorial", Function::Factorial, Mode::Forward, {"1000"}},
    {"BinomialCoefficient", Function::BinomialCoefficient, Mode::Forward, {"5000", "2500"}},
};

[[maybe_unused]] const bool kRegistered = [] {
  for (const auto& c : kCases) {
    bench::RegisterReport({c.name, Input(c), c.targetMs}, [&c] { return RunReport(c); });
  }
  return true;
}();

}  // namespace
