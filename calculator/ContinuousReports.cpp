// The reports of the four continuous distributions whose digits are their
// own arithmetic's: forward (tails at an x-value) and inverse (the x-values
// whose lower and upper tails are p); and the lines of every distribution's
// report.
#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "Distr/Distr.h"
#include "calculator/NumberText.h"
#include "calculator/ReportLines.h"
#include "calculator/Reports.h"

namespace calculator {

namespace {

// A scientific text of RealText is its significant digits and eight more
// characters (sign, point, "E", sign of the exponent, four digits); a
// quantile's check shows six to eighteen of them.
constexpr int kScientificFrame = 8;
constexpr int kFewestCheckDigits = 6;
constexpr int kMostCheckDigits = 18;
// Whole numbers below this are written with all their digits (2^63).
constexpr long double kInt64Range = 9223372036854775808.0L;

}  // namespace

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

// A number of a line: "null" where the model left none.
std::string Probability(long double v) {
  return std::isnan(v) ? "null" : ProbabilityText(v);
}
std::string Fixed6(long double v, ShortForm form) {
  return std::isnan(v) ? "null" : Fixed6Text(v, form);
}
// A whole number of any size: its digits within int64, the short
// scientific text beyond.
std::string Whole(long double v) {
  if (std::isnan(v)) return "null";
  if (std::fabs(v) < kInt64Range) return std::to_string(static_cast<int64_t>(v));
  const std::string text = WholeText(v);
  return text.substr(text.find_first_not_of(' '));
}

// The three numbers of a quantile's check, P(X<=x) >= p > P(X<=x-1), in
// texts that show it: six decimals where their rounding keeps both
// relations, otherwise the scientific text with the fewest significant
// digits (six at least) that does (p = 1e-100 is no 0.000000, and
// 0.9999999999 no 1.000000).
std::array<std::string, 3> CheckTexts(const QuantileAt& q) {
  const auto holds = [&q](const std::array<std::string, 3>& t) {
    const long double p = std::strtold(t[0].c_str(), nullptr);
    return std::strtold(t[1].c_str(), nullptr) >= p && std::strtold(t[2].c_str(), nullptr) < p;
  };
  std::array<std::string, 3> texts{Fixed6Text(q.p), Probability(q.atMost),
                                   Probability(q.atMostBelow)};
  if (holds(texts) || std::isnan(q.atMost) || std::isnan(q.atMostBelow)) return texts;
  const auto scientific = [](long double v, int digits) {
    const std::string text = RealText(v, kScientificFrame + digits, -1);
    return text.substr(text.find_first_not_of(' '));
  };
  for (int digits = kFewestCheckDigits;; ++digits) {
    texts = {scientific(q.p, digits), scientific(q.atMost, digits),
             scientific(q.atMostBelow, digits)};
    if (holds(texts) || digits == kMostCheckDigits) return texts;
  }
}

std::string IntervalLine(const std::string& a, const std::string& b, const char* within,
                         long double inside, long double outside) {
  return "   P(" + a + within + b + ")=" + Probability(inside) + "      P(X<" + a + " or X>" + b +
         ")=" + Probability(outside);
}

// The result line of each kind of numbers; every kind must have one.
struct LineOf {
  ShortForm form;

  std::string operator()(std::monostate) const { return {}; }
  std::string operator()(const TailsAt& t) const {
    return TailLine(Fixed6(t.x, form), Probability(t.lower), Fixed6(t.x, form),
                    Probability(t.upper));
  }
  std::string operator()(const PointsOf& p) const {
    return TailLine(Fixed6(p.xLower, form), Fixed6Text(p.p), Fixed6(p.xUpper, form),
                    Fixed6Text(p.p));
  }
  std::string operator()(const DiscreteAt& d) const {
    const std::string x = IntegerText(d.x);
    return DiscreteLine(x, Probability(d.atMost), Probability(d.atLeast), Probability(d.point));
  }
  std::string operator()(const QuantileAt& q) const {
    const auto [p, atMost, below] = CheckTexts(q);
    return "   x=" + Whole(q.x) + ": P(X<=" + Whole(q.x) + ")=" + atMost + ">=" + p + ", P(X<=" +
           Whole(q.x - 1) + ")=" + below + "<" + p;
  }
  std::string operator()(const Between& i) const {
    return IntervalLine(Fixed6(i.a, form), Fixed6(i.b, form), "<X<", i.inside, i.outside);
  }
  std::string operator()(const WholeBetween& i) const {
    return IntervalLine(IntegerText(i.a), IntegerText(i.b), "<=X<=", i.inside, i.outside);
  }
  // The counting functions write their own lines.
  std::string operator()(const CountingValue&) const { return {}; }
};

}  // namespace

// The result line of every distribution's report, by its numbers: the
// tails at x, the x-values of a percentile, or the discrete probabilities.
std::string ResultLine(const Values& v, ShortForm form) {
  return std::visit(LineOf{form}, v);
}

namespace reports {

namespace {

// Forward: the lower and upper tail at the x-value w.  Inverse: A has the
// lower tail p = w, B the upper tail p.
template <class UpperTail, class UpperPoint>
Values TailsOrPoints(long double w, Mode mode, UpperTail upperTail, UpperPoint upperPoint) {
  if (mode == Mode::Forward) {
    const long double upper = upperTail(w);
    const long double lower = 1 - upper;
    return TailsAt{w, lower, upper};
  }
  const long double p = w;
  const long double a = upperPoint(1 - p);
  const long double b = upperPoint(p);
  return PointsOf{p, a, b};
}

}  // namespace

LogLines FormatDistribution(const FunctionAbout& about, const Arguments& a, const Values& v) {
  // The header of an interval or a quantile names the parameters only,
  // whatever the x-value's field holds.
  const bool parametersOnly = std::holds_alternative<Between>(v) ||
                              std::holds_alternative<WholeBetween>(v) ||
                              std::holds_alternative<QuantileAt>(v);
  // The nine first functions' own arithmetic keeps its texts; a model's
  // numbers are written correctly rounded.
  const ShortForm form = about.ByMethod(a) ? ShortForm::Cut : ShortForm::Rounded;
  return {parametersOnly ? HeaderTitle(about, a, form) + ":" : HeaderLine(about, a, form),
          ResultLine(v, form)};
}

LogLines FormatWithoutNegativeZero(const FunctionAbout& about, const Arguments& a,
                                   const Values& v) {
  LogLines lines = FormatDistribution(about, a, v);
  static constexpr std::string_view kNegativeZero = "-0.000000";
  for (std::string& line : lines)
    for (size_t at = line.find(kNegativeZero); at != std::string::npos;
         at = line.find(kNegativeZero, at)) {
      const size_t end = at + kNegativeZero.size();
      if (end < line.size() && std::isdigit(static_cast<unsigned char>(line[end]))) {
        at = end;
        continue;
      }
      line.erase(at, 1);
    }
  return lines;
}

Values EvaluateNormal(const Arguments& a, Mode mode) {
  const long double mean = a.value[kEdit1];
  const long double variance = a.value[kEdit2];
  return TailsOrPoints(
      a.value[kEdit4], mode,
      [&](long double x) {
        const long double z = (x - mean) / std::sqrt(variance);
        return Distr::NormalTail(z);
      },
      [&](long double q) { return std::sqrt(variance) * Distr::NormalTailInverse(q) + mean; });
}

Values EvaluateChiSquare(const Arguments& a, Mode mode) {
  const int32_t n = a.Whole(kEdit1);
  return TailsOrPoints(
      a.value[kEdit4], mode, [n](long double x) { return Distr::ChiSquareTail(n, x); },
      [n](long double q) { return Distr::ChiSquareTailInverse(n, q); });
}

Values EvaluateT(const Arguments& a, Mode mode) {
  const int32_t n = a.Whole(kEdit1);
  return TailsOrPoints(
      a.value[kEdit4], mode, [n](long double x) { return Distr::TTail(n, x); },
      [n](long double q) { return Distr::TTailInverse(n, q); });
}

Values EvaluateF(const Arguments& a, Mode mode) {
  const int32_t m = a.Whole(kEdit1);  // numerator degrees of freedom
  const int32_t n = a.Whole(kEdit2);  // denominator degrees of freedom
  return TailsOrPoints(
      a.value[kEdit4], mode, [m, n](long double x) { return Distr::FTail(m, n, x); },
      [m, n](long double q) { return Distr::FTailInverse(m, n, q); });
}

}  // namespace reports

}  // namespace calculator
