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

bool IsPercentile(long double p) { return p >= kLowestPercentile && p <= kHighestPercentile; }

}  // namespace

void Calculator::NormalReport() {
  long double mean = 0, variance = 0, w = 0;
  ReadReal(kEdit1, mean);
  if (ReadReal(kEdit2, variance) && variance < kSmallestVariance) MarkInvalid(kEdit2);
  if (ReadReal(kEdit4, w) && inverseChecked_ && !IsPercentile(w)) MarkInvalid(kEdit4);
  if (runFailed_) return;

  const std::string header =
      "Normal Distribution, mean=" + Fixed6Text(mean) + ", variance=" + Fixed6Text(variance) + ":";
  if (!inverseChecked_) {
    const long double z = (w - mean) / std::sqrt(variance);
    const long double upper = Distr::NormalTail(z);
    const long double lower = 1 - upper;
    Append(header, TailLine(Fixed6Text(w), Fixed6Text(lower), Fixed6Text(w), Fixed6Text(upper)));
  } else {
    const long double p = w;
    const long double a = std::sqrt(variance) * Distr::NormalTailInverse(1 - p) + mean;
    const long double b = std::sqrt(variance) * Distr::NormalTailInverse(p) + mean;
    Append(header, TailLine(Fixed6Text(a), Fixed6Text(p), Fixed6Text(b), Fixed6Text(p)));
  }
}

void Calculator::ChiSquareReport() {
  int32_t n = 0;
  long double w = 0;
  if (ReadInteger(kEdit1, n) && n < 1) MarkInvalid(kEdit1);
  if (ReadReal(kEdit4, w) && inverseChecked_ && !IsPercentile(w)) MarkInvalid(kEdit4);
  if (runFailed_) return;

  const std::string header = "Chi Square Distribution, degrees of freedom=" + IntegerText(n) + ":";
  if (!inverseChecked_) {
    const long double upper = Distr::ChiSquareTail(n, w);
    const long double lower = 1 - upper;
    Append(header, TailLine(Fixed6Text(w), Fixed6Text(lower), Fixed6Text(w), Fixed6Text(upper)));
  } else {
    const long double p = w;
    const long double a = Distr::ChiSquareTailInverse(n, 1 - p);
    const long double b = Distr::ChiSquareTailInverse(n, p);
    Append(header, TailLine(Fixed6Text(a), Fixed6Text(p), Fixed6Text(b), Fixed6Text(p)));
  }
}

void Calculator::TReport() {
  int32_t n = 0;
  long double w = 0;
  if (ReadInteger(kEdit1, n) && n < 1) MarkInvalid(kEdit1);
  if (ReadReal(kEdit4, w) && inverseChecked_ && !IsPercentile(w)) MarkInvalid(kEdit4);
  if (runFailed_) return;

  const std::string header = "t Distribution, degrees of freedom=" + IntegerText(n) + ":";
  if (!inverseChecked_) {
    const long double upper = Distr::TTail(n, w);
    const long double lower = 1 - upper;
    Append(header, TailLine(Fixed6Text(w), Fixed6Text(lower), Fixed6Text(w), Fixed6Text(upper)));
  } else {
    const long double p = w;
    const long double a = Distr::TTailInverse(n, 1 - p);
    const long double b = Distr::TTailInverse(n, p);
    Append(header, TailLine(Fixed6Text(a), Fixed6Text(p), Fixed6Text(b), Fixed6Text(p)));
  }
}

void Calculator::FReport() {
  int32_t m = 0, n = 0;  // numerator and denominator degrees of freedom
  long double w = 0;
  if (ReadInteger(kEdit1, m) && m < 1) MarkInvalid(kEdit1);
  if (ReadInteger(kEdit2, n) && n < 1) MarkInvalid(kEdit2);
  if (ReadReal(kEdit4, w) && inverseChecked_ && !IsPercentile(w)) MarkInvalid(kEdit4);
  if (runFailed_) return;

  const std::string header = "F Distribution, (1) degrees of freedom=" + IntegerText(m) +
                             ", (2) degrees of freedom=" + IntegerText(n) + ":";
  if (!inverseChecked_) {
    const long double upper = Distr::FTail(m, n, w);
    const long double lower = 1 - upper;
    Append(header, TailLine(Fixed6Text(w), Fixed6Text(lower), Fixed6Text(w), Fixed6Text(upper)));
  } else {
    const long double p = w;
    const long double a = Distr::FTailInverse(m, n, 1 - p);
    const long double b = Distr::FTailInverse(m, n, p);
    Append(header, TailLine(Fixed6Text(a), Fixed6Text(p), Fixed6Text(b), Fixed6Text(p)));
  }
}

}  // namespace calculator
