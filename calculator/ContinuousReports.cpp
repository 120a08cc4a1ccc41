// The reports of the four continuous distributions: forward (tails at an
// x-value) and inverse (the x-values whose lower and upper tails are p).
#include <cmath>

#include "Distr/Distr.h"
#include "calculator/Calculator.h"
#include "calculator/NumberText.h"
#include "calculator/ReportLines.h"

namespace calculator {

std::string TailLine(const std::string& a, const std::string& pa, const std::string& b,
                     const std::string& pb) {
  return "   P(X<" + a + ")=" + pa + "      P(X>" + b + ")=" + pb;
}

std::string DiscreteLine(const std::string& x, const std::string& lower, const std::string& upper,
                         const std::string& point) {
  return "   P(X<=" + x + ")=" + lower + "      P(X>=" + x + ")=" + upper + "      P(X=" + x +
         ")=" + point;
}

namespace {

bool IsPercentile(long double p) {
  return p >= kLowestPercentile && p <= kHighestPercentile;
}

}  // namespace

bool Calculator::ReadPointOrPercentile(long double& w) {
  if (!ReadReal(kEdit4, w)) return false;
  if (inverseChecked_ && !IsPercentile(w)) {
    MarkInvalid(kEdit4);
    return false;
  }
  return true;
}

void Calculator::AppendTailsOrPoints(const std::string& header, long double w,
                                     const std::function<long double(long double)>& upperTail,
                                     const std::function<long double(long double)>& upperPoint) {
  if (!inverseChecked_) {
    // The lower and upper tail at the x-value w.
    const long double upper = upperTail(w);
    const long double lower = 1 - upper;
    Append(header, TailLine(Fixed6Text(w), Fixed6Text(lower), Fixed6Text(w), Fixed6Text(upper)));
  } else {
    // A has the lower tail p, B the upper tail p.
    const long double p = w;
    const long double a = upperPoint(1 - p);
    const long double b = upperPoint(p);
    Append(header, TailLine(Fixed6Text(a), Fixed6Text(p), Fixed6Text(b), Fixed6Text(p)));
  }
}

void Calculator::NormalReport() {
  long double mean = 0, variance = 0, w = 0;
  ReadReal(kEdit1, mean);
  if (ReadReal(kEdit2, variance) && variance < kSmallestVariance) MarkInvalid(kEdit2);
  ReadPointOrPercentile(w);
  if (runFailed_) return;

  AppendTailsOrPoints(
      "Normal Distribution, mean=" + Fixed6Text(mean) + ", variance=" + Fixed6Text(variance) + ":",
      w,
      [&](long double x) {
        const long double z = (x - mean) / std::sqrt(variance);
        return Distr::NormalTail(z);
      },
      [&](long double q) { return std::sqrt(variance) * Distr::NormalTailInverse(q) + mean; });
}

void Calculator::DegreesOfFreedomReport(const char* name, UpperTail tail, UpperPoint point) {
  int32_t n = 0;
  long double w = 0;
  if (ReadInteger(kEdit1, n) && n < 1) MarkInvalid(kEdit1);
  ReadPointOrPercentile(w);
  if (runFailed_) return;

  AppendTailsOrPoints(
      std::string(name) + ", degrees of freedom=" + IntegerText(n) + ":", w,
      [n, tail](long double x) { return tail(n, x); },
      [n, point](long double q) { return point(n, q); });
}

void Calculator::ChiSquareReport() {
  DegreesOfFreedomReport("Chi Square Distribution", Distr::ChiSquareTail,
                         Distr::ChiSquareTailInverse);
}

void Calculator::TReport() {
  DegreesOfFreedomReport("t Distribution", Distr::TTail, Distr::TTailInverse);
}

void Calculator::FReport() {
  int32_t m = 0, n = 0;  // numerator and denominator degrees of freedom
  long double w = 0;
  if (ReadInteger(kEdit1, m) && m < 1) MarkInvalid(kEdit1);
  if (ReadInteger(kEdit2, n) && n < 1) MarkInvalid(kEdit2);
  ReadPointOrPercentile(w);
  if (runFailed_) return;

  AppendTailsOrPoints(
      "F Distribution, (1) degrees of freedom=" + IntegerText(m) +
          ", (2) degrees of freedom=" + IntegerText(n) + ":",
      w, [m, n](long double x) { return Distr::FTail(m, n, x); },
      [m, n](long double q) { return Distr::FTailInverse(m, n, q); });
}

}  // namespace calculator
