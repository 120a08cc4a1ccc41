// The reports of the four continuous distributions: forward (tails at an
// x-value) and inverse (the x-values whose lower and upper tails are p).
#include <cmath>

#include "Distr/Distr.h"
#include "calculator/NumberText.h"
#include "calculator/ReportLines.h"
#include "calculator/Reports.h"

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

namespace reports {

namespace {

// Forward: the lower and upper tail at the x-value w.  Inverse: A has the
// lower tail p = w, B the upper tail p.
template <class UpperTail, class UpperPoint>
Values TailsOrPoints(long double w, bool inverse, UpperTail upperTail, UpperPoint upperPoint) {
  if (!inverse) {
    const long double upper = upperTail(w);
    const long double lower = 1 - upper;
    return TailsAt{w, lower, upper};
  }
  const long double p = w;
  const long double a = upperPoint(1 - p);
  const long double b = upperPoint(p);
  return PointsOf{p, a, b};
}

// The result line of either mode.
std::string TailsOrPointsLine(const Values& v) {
  if (const auto* t = std::get_if<TailsAt>(&v))
    return TailLine(Fixed6Text(t->x), ProbabilityText(t->lower), Fixed6Text(t->x),
                    ProbabilityText(t->upper));
  const auto& p = std::get<PointsOf>(v);
  return TailLine(Fixed6Text(p.xLower), Fixed6Text(p.p), Fixed6Text(p.xUpper), Fixed6Text(p.p));
}

}  // namespace

Values EvaluateNormal(const Arguments& a, bool inverse) {
  const long double mean = a.value[kEdit1];
  const long double variance = a.value[kEdit2];
  return TailsOrPoints(
      a.value[kEdit4], inverse,
      [&](long double x) {
        const long double z = (x - mean) / std::sqrt(variance);
        return Distr::NormalTail(z);
      },
      [&](long double q) { return std::sqrt(variance) * Distr::NormalTailInverse(q) + mean; });
}

LogLines FormatNormal(const Arguments& a, const Values& v) {
  return {"Normal Distribution, mean=" + Fixed6Text(a.value[kEdit1]) +
              ", variance=" + Fixed6Text(a.value[kEdit2]) + ":",
          TailsOrPointsLine(v)};
}

Values EvaluateChiSquare(const Arguments& a, bool inverse) {
  const int32_t n = a.Whole(kEdit1);
  return TailsOrPoints(
      a.value[kEdit4], inverse, [n](long double x) { return Distr::ChiSquareTail(n, x); },
      [n](long double q) { return Distr::ChiSquareTailInverse(n, q); });
}

LogLines FormatChiSquare(const Arguments& a, const Values& v) {
  return {"Chi Square Distribution, degrees of freedom=" + IntegerText(a.Whole(kEdit1)) + ":",
          TailsOrPointsLine(v)};
}

Values EvaluateT(const Arguments& a, bool inverse) {
  const int32_t n = a.Whole(kEdit1);
  return TailsOrPoints(
      a.value[kEdit4], inverse, [n](long double x) { return Distr::TTail(n, x); },
      [n](long double q) { return Distr::TTailInverse(n, q); });
}

LogLines FormatT(const Arguments& a, const Values& v) {
  return {"t Distribution, degrees of freedom=" + IntegerText(a.Whole(kEdit1)) + ":",
          TailsOrPointsLine(v)};
}

Values EvaluateF(const Arguments& a, bool inverse) {
  const int32_t m = a.Whole(kEdit1);  // numerator degrees of freedom
  const int32_t n = a.Whole(kEdit2);  // denominator degrees of freedom
  return TailsOrPoints(
      a.value[kEdit4], inverse, [m, n](long double x) { return Distr::FTail(m, n, x); },
      [m, n](long double q) { return Distr::FTailInverse(m, n, q); });
}

LogLines FormatF(const Arguments& a, const Values& v) {
  return {"F Distribution, (1) degrees of freedom=" + IntegerText(a.Whole(kEdit1)) +
              ", (2) degrees of freedom=" + IntegerText(a.Whole(kEdit2)) + ":",
          TailsOrPointsLine(v)};
}

}  // namespace reports

}  // namespace calculator
