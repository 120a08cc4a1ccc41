// The reports of the discrete distributions and the counting functions.
#include <cmath>

#include "Distr/Checked.h"
#include "Distr/Distr.h"
#include "Distr/Errors.h"
#include "calculator/NumberText.h"
#include "calculator/ReportLines.h"
#include "calculator/Reports.h"

namespace calculator::reports {

namespace {

// From this logarithm on a factorial or binomial coefficient is reported as
// its logarithm (n! from n = 400 on); below it e^L stays well inside the
// extended range.
constexpr long double kLogarithmReportFloor = 2000;
// Factorials up to this n are written in full, larger ones in Scientific-20 text.
constexpr int32_t kLargestWholeFactorial = 18;

// The counting functions' value, or its logarithm from the floor on.
CountingValue Counted(long double l) {
  if (l >= kLogarithmReportFloor) return {l, std::nullopt};
  return {l, std::exp(l)};
}

}  // namespace

Values EvaluateBinomial(const Arguments& a, Mode) {
  const long double p = a.value[kEdit1];
  const int32_t n = a.Whole(kEdit2);
  const int32_t x = a.Whole(kEdit4);
  // U = P(X >= x) and V = P(X >= x + 1), settled outside 1 <= k <= n.
  const long double u = x > n ? 0 : x <= 0 ? 1 : Distr::BinomialTail(n, x, p);
  const long double v = x >= n ? 0 : x < 0 ? 1 : Distr::BinomialTail(n, Distr::Add(x, 1), p);
  const long double lower = 1 - v;
  const long double point = u - v;
  return DiscreteAt{x, lower, u, point};
}

Values EvaluatePoisson(const Arguments& a, Mode) {
  const long double lambda = a.value[kEdit1];
  const int32_t x = a.Whole(kEdit4);
  // U = P(X >= x) and V = P(X >= x + 1); both x and x + 1 reach the tail.
  const long double u = x < 0 ? 1 : Distr::PoissonTail(x, lambda);
  const long double v = x < 0 ? 1 : Distr::PoissonTail(Distr::Add(x, 1), lambda);
  const long double lower = 1 - v;
  const long double point = u - v;
  return DiscreteAt{x, lower, u, point};
}

Values EvaluateHypergeometric(const Arguments& a, Mode) {
  const int32_t x = a.Whole(kEdit4);
  long double lower = 0, point = 0, upper = 0;
  Distr::HypergeometricCumulative(a.Whole(kEdit1), a.Whole(kEdit2), a.Whole(kEdit3), x, lower,
                                  point, upper);
  return DiscreteAt{x, lower, upper, point};
}

Values EvaluateFactorial(const Arguments& a, Mode) {
  const int32_t n = a.Whole(kEdit1);
  // ln n! = ln Gamma(n + 1) = LnGammaHalf(2n + 2).
  return Counted(Distr::LnGammaHalf(Distr::Mul(Distr::Add(n, 1), 2)));
}

LogLines FormatFactorial(const FunctionAbout&, const Arguments& a, const Values& v) {
  const int32_t n = a.Whole(kEdit1);
  const auto& c = std::get<CountingValue>(v);
  if (!c.value)
    return {"Logarithm of the Factorial Function, ln(" + IntegerText(n) + "!):",
            "   " + Fixed4Text(c.ln)};
  return {"Factorial Function, " + IntegerText(n) + "!:",
          "   " + (n <= kLargestWholeFactorial ? WholeText(*c.value) : Scientific20Text(*c.value))};
}

Values EvaluateBinomialCoefficient(const Arguments& a, Mode) {
  try {
    return Counted(Distr::LnBinomialCoefficient(a.Whole(kEdit1), a.Whole(kEdit2)));
  } catch (const Distr::EDomainError&) {
    return std::monostate{};  // n < 0, k < 0 or k > n
  }
}

LogLines FormatBinomialCoefficient(const FunctionAbout&, const Arguments& a, const Values& v) {
  const std::string pair = IntegerText(a.Whole(kEdit1)) + "," + IntegerText(a.Whole(kEdit2));
  const auto& c = std::get<CountingValue>(v);
  if (!c.value)
    return {"Logarithm of the Binomial Coefficient, ln(C(" + pair + ")):",
            "   " + Fixed6Text(c.ln)};
  return {"Binomial Coefficient, C(" + pair + "):", "   " + WholeText(*c.value)};
}

}  // namespace calculator::reports
