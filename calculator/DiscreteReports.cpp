// The reports of the discrete distributions and the counting functions.
#include <cmath>

#include "Distr/Checked.h"
#include "Distr/Distr.h"
#include "calculator/Calculator.h"
#include "calculator/NumberText.h"
#include "calculator/ReportLines.h"

namespace calculator {

namespace {

// From this logarithm on a factorial or binomial coefficient is reported as
// its logarithm (n! from n = 400 on); below it e^L stays well inside the
// extended range.
constexpr long double kLogarithmReportFloor = 2000;
// Factorials up to this n are written in full, larger ones in Scientific-20 text.
constexpr int32_t kLargestWholeFactorial = 18;

}  // namespace

void Calculator::BinomialReport() {
  long double p = 0;
  int32_t n = 0, x = 0;
  if (ReadReal(kEdit1, p) && !(p >= 0 && p <= 1)) MarkInvalid(kEdit1);
  if (ReadInteger(kEdit2, n) && n < 1) MarkInvalid(kEdit2);
  ReadInteger(kEdit4, x);
  if (runFailed_) return;

  // U = P(X >= x) and V = P(X >= x + 1), settled outside 1 <= k <= n.
  const long double u = x > n ? 0 : x <= 0 ? 1 : Distr::BinomialTail(n, x, p);
  const long double v = x >= n ? 0 : x < 0 ? 1 : Distr::BinomialTail(n, Distr::Add(x, 1), p);
  const long double lower = 1 - v;
  const long double point = u - v;
  Append("Binomial Distribution, p=" + Fixed6Text(p) + ", n=" + IntegerText(n) + ":",
         DiscreteLine(IntegerText(x), Fixed6Text(lower), Fixed6Text(u), Fixed6Text(point)));
}

void Calculator::PoissonReport() {
  long double lambda = 0;
  int32_t x = 0;
  if (ReadReal(kEdit1, lambda) && !(lambda > 0)) MarkInvalid(kEdit1);
  ReadInteger(kEdit4, x);
  if (runFailed_) return;

  // U = P(X >= x) and V = P(X >= x + 1); both x and x + 1 reach the tail.
  const long double u = x < 0 ? 1 : Distr::PoissonTail(x, lambda);
  const long double v = x < 0 ? 1 : Distr::PoissonTail(Distr::Add(x, 1), lambda);
  const long double lower = 1 - v;
  const long double point = u - v;
  Append("Poisson Distribution, lambda=" + Fixed6Text(lambda) + ":",
         DiscreteLine(IntegerText(x), Fixed6Text(lower), Fixed6Text(u), Fixed6Text(point)));
}

void Calculator::HypergeometricReport() {
  int32_t blue = 0, red = 0, sample = 0, x = 0;
  if (ReadInteger(kEdit1, blue) && blue < 0) MarkInvalid(kEdit1);
  if (ReadInteger(kEdit2, red) && red < 0) MarkInvalid(kEdit2);
  if (ReadInteger(kEdit3, sample) && sample < 0) MarkInvalid(kEdit3);
  if (ReadInteger(kEdit4, x) && x < 0) MarkInvalid(kEdit4);
  if (runFailed_) return;

  long double lower = 0, point = 0, upper = 0;
  Distr::HypergeometricCumulative(blue, red, sample, x, lower, point, upper);
  // This header carries x and, unlike the others, ends without a colon.
  Append("Hypergeometric Distribution, B=" + IntegerText(blue) + ", R=" + IntegerText(red) +
             ", n=" + IntegerText(sample) + ", x=" + IntegerText(x),
         DiscreteLine(IntegerText(x), Fixed6Text(lower), Fixed6Text(upper), Fixed6Text(point)));
}

void Calculator::FactorialReport() {
  int32_t n = 0;
  if (ReadInteger(kEdit1, n) && n < 0) MarkInvalid(kEdit1);
  if (runFailed_) return;

  // ln n! = ln Gamma(n + 1) = LnGammaHalf(2n + 2).
  const long double l = Distr::LnGammaHalf(Distr::Mul(Distr::Add(n, 1), 2));
  if (l >= kLogarithmReportFloor) {
    Append("Logarithm of the Factorial Function, ln(" + IntegerText(n) + "!):",
           "   " + Fixed4Text(l));
  } else {
    const long double value = std::exp(l);
    Append("Factorial Function, " + IntegerText(n) + "!:",
           "   " + (n <= kLargestWholeFactorial ? WholeText(value) : Scientific20Text(value)));
  }
}

void Calculator::BinomialCoefficientReport() {
  int32_t n = 0, k = 0;
  ReadInteger(kEdit1, n);
  ReadInteger(kEdit2, k);
  if (runFailed_) return;

  bool outside = false;
  const long double l = Distr::LnBinomialCoefficient(n, k, outside);
  if (outside) {  // n < 0, k < 0 or k > n: always Edit_1, whichever is at fault
    MarkInvalid(kEdit1);
    return;
  }
  const std::string pair = IntegerText(n) + "," + IntegerText(k);
  if (l >= kLogarithmReportFloor) {
    Append("Logarithm of the Binomial Coefficient, ln(C(" + pair + ")):", "   " + Fixed6Text(l));
  } else {
    Append("Binomial Coefficient, C(" + pair + "):", "   " + WholeText(std::exp(l)));
  }
}

}  // namespace calculator
