#include "calculator/DetailsText.h"

#include <cmath>
#include <cstdio>

#include "calculator/NumberText.h"
#include "calculator/Overloaded.h"

namespace calculator {

namespace {

constexpr long double kSmallestFixed = 1e-4L;
constexpr long double kLargestFixed = 1e10L;
constexpr int kSignificant = 10;

std::string ValueText(const models::Value& v) {
  return v.value ? TenDigitText(*v.value) : "none: " + v.note;
}

void Add(std::vector<DetailRow>& rows, std::string label, const models::Value& v) {
  rows.push_back({std::move(label), ValueText(v)});
}

// The x-value as the log writes it, without trailing zeros: "130", "1.96".
std::string Short(long double x) {
  return TenDigitText(x);
}

void ContinuousForwardRows(const models::ContinuousForward& f, std::vector<DetailRow>& rows) {
  const std::string x = Short(f.x);
  Add(rows, "P(X<" + x + ")", f.lower);
  Add(rows, "P(X>" + x + ")", f.upper);
  Add(rows, "Two-tailed p", f.twoTailed);
  Add(rows, "Density f(" + x + ")", f.density);
}

void ContinuousInverseRows(const models::ContinuousInverse& i, std::vector<DetailRow>& rows) {
  const std::string p = Short(i.p);
  Add(rows, "x with P(X<x)=" + p, i.xLower);
  Add(rows, "x with P(X>x)=" + p, i.xUpper);
  if (i.centralLow.value && i.centralHigh.value)
    rows.push_back({"Central " + p + " interval", "[" + TenDigitText(*i.centralLow.value) + ", " +
                                                      TenDigitText(*i.centralHigh.value) + "]"});
  else
    rows.push_back({"Central " + p + " interval",
                    "none: " + (i.centralLow.value ? i.centralHigh.note : i.centralLow.note)});
}

void DiscreteRows(const models::DiscreteForward& d, std::vector<DetailRow>& rows) {
  const std::string x = Short(d.x);
  Add(rows, "P(X<" + x + ")", d.below);
  Add(rows, "P(X<=" + x + ")", d.atMost);
  Add(rows, "P(X=" + x + ")", d.point);
  Add(rows, "P(X>=" + x + ")", d.atLeast);
  Add(rows, "P(X>" + x + ")", d.above);
}

void IntervalRows(const models::IntervalValues& v, std::vector<DetailRow>& rows) {
  const std::string a = Short(v.a), b = Short(v.b);
  Add(rows, v.discrete ? "P(" + a + "<=X<=" + b + ")" : "P(" + a + "<X<" + b + ")", v.between);
  Add(rows, "P(X<" + a + " or X>" + b + ")", v.outside);
}

void QuantileRows(const models::DiscreteInverse& q, std::vector<DetailRow>& rows) {
  Add(rows, "Smallest x with P(X<=x)>=" + Short(q.p), q.quantile);
}

void CountingRows(const models::Counting& c, std::vector<DetailRow>& rows) {
  rows.push_back({"Exact value", c.exact ? *c.exact : "none: " + c.note});
  Add(rows, "log10", c.log10);
}

}  // namespace

std::string TenDigitText(long double value) {
  if (!std::isfinite(value)) return value > 0 ? "infinity" : value < 0 ? "-infinity" : "NaN";
  if (value == 0) return "0";
  char text[64];
  const long double a = std::fabs(value);
  if (a >= kSmallestFixed && a < kLargestFixed) {
    std::snprintf(text, sizeof text, "%.*Lg", kSignificant, value);
  } else {
    std::snprintf(text, sizeof text, "%.*Le", kSignificant - 1, value);
  }
  return text;
}

std::vector<DetailRow> DetailRows(const ResultDetails& details) {
  std::vector<DetailRow> rows;
  std::visit(Overloaded{[](std::monostate) {},
                        [&](const models::ContinuousForward& f) { ContinuousForwardRows(f, rows); },
                        [&](const models::ContinuousInverse& i) { ContinuousInverseRows(i, rows); },
                        [&](const models::DiscreteForward& d) { DiscreteRows(d, rows); },
                        [&](const models::DiscreteInverse& q) { QuantileRows(q, rows); },
                        [&](const models::IntervalValues& v) { IntervalRows(v, rows); },
                        [&](const models::Counting& c) { CountingRows(c, rows); }},
             details.values);
  if (details.mean) Add(rows, "Mean", *details.mean);
  if (details.variance) {
    const models::Value& v = *details.variance;
    rows.push_back(
        {"Standard deviation", v.value ? TenDigitText(std::sqrt(*v.value)) : "none: " + v.note});
  }
  return rows;
}

}  // namespace calculator
