// The details engine against independent values: every row of reference.csv
// (written by make_reference.py with mpmath at 60 digits, from the same binary
// inputs) is one call, whose value must agree to kRelativeTolerance, whose
// integer must be exact, and whose null must come with its note.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "models/Details.h"
#include "models/Engine.h"
#include "models/Models.h"

namespace {

using models::Distribution;
using models::Value;

constexpr long double kRelativeTolerance = 1e-15L;
// The noncentral distributions (rows whose kind starts "noncentral") are
// sums of many central tails, or Boost's, and are held to this.
constexpr long double kNoncentralTolerance = 1e-13L;

struct Row {
  std::string label, function, kind;
  long double a, b, c, x;
  std::string expected;
};

// The row's label stands for it in the test names and messages.
void PrintTo(const Row& r, std::ostream* os) {
  *os << r.label;
}

std::vector<Row> LoadRows() {
  std::vector<Row> rows;
  std::ifstream in(PROBEX_DETAILS_REFERENCE);
  const auto real = [](const std::string& s) { return std::strtold(s.c_str(), nullptr); };
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> f;
    std::stringstream fields(line);
    for (std::string field; std::getline(fields, field, ',');) f.push_back(field);
    if (line[0] == '#' || f.size() != 8) continue;
    rows.push_back({f[0], f[1], f[2], real(f[3]), real(f[4]), real(f[5]), real(f[6]), f[7]});
  }
  return rows;
}

Distribution Of(const Row& r) {
  using namespace models;
  static const std::map<std::string, const Model*> kModels = {
      {"normal", &NormalModel()},
      {"chisquare", &ChiSquareModel()},
      {"t", &TModel()},
      {"f", &FModel()},
      {"binomial", &BinomialModel()},
      {"poisson", &PoissonModel()},
      {"hypergeometric", &HypergeometricModel()},
      {"exponential", &ExponentialModel()},
      {"gamma", &GammaModel()},
      {"beta", &BetaModel()},
      {"uniform", &UniformModel()},
      {"lognormal", &LognormalModel()},
      {"weibull", &WeibullModel()},
      {"cauchy", &CauchyModel()},
      {"logistic", &LogisticModel()},
      {"geometric", &GeometricModel()},
      {"negativebinomial", &NegativeBinomialModel()},
      {"discreteuniform", &DiscreteUniformModel()},
      {"noncentralt", &NoncentralTModel()},
      {"noncentralchisquare", &NoncentralChiSquareModel()},
      {"noncentralf", &NoncentralFModel()}};
  return {kModels.at(r.kind), {r.a, r.b, r.c}};
}

// Every function by its name in the table; the aggregates by their fields.
Value Call(const Row& r) {
  using namespace models;
  using Fn = std::function<Value(const Distribution&, long double)>;
  static const std::map<std::string, Fn> kCalls = {
      {"density", Density},
      {"lower", Lower},
      {"upper", Upper},
      {"two_tailed", [](auto& d, auto x) { return Forward(d, x).twoTailed; }},
      {"x_lower", QuantileLower},
      {"x_upper", QuantileUpper},
      {"central_low", [](auto& d, auto p) { return Inverse(d, p).centralLow; }},
      {"central_high", [](auto& d, auto p) { return Inverse(d, p).centralHigh; }},
      {"below", [](auto& d, auto x) { return DiscreteForwardAt(d, x).below; }},
      {"at_most", AtMost},
      {"point", Point},
      {"at_least", AtLeast},
      {"above", [](auto& d, auto x) { return DiscreteForwardAt(d, x).above; }},
      {"quantile", [](auto& d, auto p) { return DiscreteInv(d, p).quantile; }},
      {"mean", [](auto& d, auto) { return Mean(d); }},
      {"variance", [](auto& d, auto) { return Variance(d); }},
  };
  return kCalls.at(r.function)(Of(r), r.x);
}

bool IsNull(const std::string& expected) {
  return expected.rfind("null", 0) == 0;
}

// "null" or "null:<words of the note>"; otherwise the value to the tolerance.
void ExpectValue(const Value& got, const std::string& expected,
                 long double tolerance = kRelativeTolerance) {
  if (IsNull(expected)) {
    EXPECT_FALSE(got.value.has_value()) << static_cast<double>(got.value.value_or(0));
    EXPECT_FALSE(got.note.empty());
    const std::string words = expected.size() > 5 ? expected.substr(5) : "";
    EXPECT_NE(got.note.find(words), std::string::npos) << "note: " << got.note;
    return;
  }
  ASSERT_TRUE(got.value.has_value()) << got.note;
  const long double want = std::strtold(expected.c_str(), nullptr);
  const long double error = want == 0 ? std::fabs(*got.value) : std::fabs(*got.value / want - 1);
  char text[64];
  std::snprintf(text, sizeof text, "%.21Lg", *got.value);
  EXPECT_LE(error, tolerance) << "got " << text << ", want " << expected << ", relative error "
                              << static_cast<double>(error);
}

// An exact integer as its digits, or, when long, "D<count>:<first 30>:<last 30>".
std::string Abridged(const std::string& digits) {
  if (digits.size() <= 60) return digits;
  return "D" + std::to_string(digits.size()) + ":" + digits.substr(0, 30) + ":" +
         digits.substr(digits.size() - 30);
}

void ExpectCounting(const Row& r) {
  const bool factorial = r.function.rfind("factorial", 0) == 0;
  const models::Counting c =
      factorial ? models::Factorial(r.a) : models::BinomialCoefficient(r.a, r.b);
  if (r.function.find("log10") != std::string::npos) return ExpectValue(c.log10, r.expected);
  if (IsNull(r.expected)) return ExpectValue(Value::None(c.note), r.expected);
  ASSERT_TRUE(c.exact.has_value()) << c.note;
  EXPECT_EQ(Abridged(*c.exact), r.expected);
}

class Reference : public ::testing::TestWithParam<Row> {};

TEST_P(Reference, AgreesWithTheIndependentValue) {
  const Row& r = GetParam();
  if (r.kind == "count") return ExpectCounting(r);
  const bool noncentral = r.kind.rfind("noncentral", 0) == 0;
  ExpectValue(Call(r), r.expected, noncentral ? kNoncentralTolerance : kRelativeTolerance);
}

INSTANTIATE_TEST_SUITE_P(Rows, Reference, ::testing::ValuesIn(LoadRows()),
                         [](const ::testing::TestParamInfo<Row>& info) {
                           return info.param.label;
                         });

// The whole-number test takes a shortcut through double below 2^53.
TEST(Engine, WholeNumbersOnBothSidesOfTheShortcut) {
  const std::pair<long double, bool> rows[] = {
      {0, true},
      {-3, true},
      {0.5L, false},
      {1e-30L, false},
      {0x1p53L - 1, true},
      {0x1p53L + 1, true},
      {0x1p53L + 0.5L, false},
      {1e30L, true},
      {9007199254740991.5L, false},
      {INFINITY, false},
      {NAN, false},
  };
  for (const auto& [v, whole] : rows)
    EXPECT_EQ(models::IsWhole(v), whole) << static_cast<double>(v);
}

// A distribution without a model gets a note from every call.
TEST(Engine, ADistributionWithoutAModelGetsNotes) {
  const Distribution none{};
  const models::ContinuousForward f = models::Forward(none, 1);
  const models::ContinuousInverse i = models::Inverse(none, 0.5L);
  const models::DiscreteForward k = models::DiscreteForwardAt(none, 1);
  for (const Value& v :
       {f.lower, f.upper, f.density, f.twoTailed, i.xLower, i.xUpper, i.centralLow, i.centralHigh,
        k.below, k.atMost, k.point, k.atLeast, k.above, models::DiscreteInv(none, 0.5L).quantile,
        models::Mean(none), models::Variance(none)}) {
    EXPECT_FALSE(v.value.has_value());
    EXPECT_EQ(v.note, models::kNoModel);
  }
  EXPECT_FALSE(models::IsDiscrete(none));
  EXPECT_TRUE(std::isnan(models::Support(none).first));
}

// Flags raised inside the engine (an underflow far out, an infinite density,
// an exact integer of thousands of digits) never reach the caller, whose own
// flags stay as they were.
TEST(Environment, TheCallersFlagsStayAsTheyWere) {
  for (const int before : {0, FE_INEXACT, FE_UNDERFLOW | FE_DIVBYZERO}) {
    std::feclearexcept(FE_ALL_EXCEPT);
    std::feraiseexcept(before);
    models::Upper({&models::NormalModel(), {0, 1}}, 160);
    models::Density({&models::ChiSquareModel(), {1}}, 0);
    models::AtMost({&models::PoissonModel(), {1e4000L}}, 3);
    models::Forward({&models::TModel(), {3}}, 1e30L);  // nested holds
    models::DiscreteForwardAt({&models::BinomialModel(), {0.5L, 4000}}, 1);
    models::Factorial(3000);
    EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), before);
  }
}

}  // namespace
