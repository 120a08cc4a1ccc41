// The details engine: every value the details pane shows for one report
// (forward or inverse aggregate, mean and variance; for the counting
// functions the exact integer and log10), beside the report cases of
// ReportsBench.cpp.  A typical case must stay within kDetailsTypicalTargetMs,
// tens of microseconds like the log lines themselves; the largest parameters
// the calculator accepts within kDetailsExtremeTargetMs.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/BenchRegistry.h"
#include "models/Details.h"
#include "models/Models.h"

namespace {

using models::Distribution;

constexpr double kDetailsTypicalTargetMs = 0.1;
constexpr double kDetailsExtremeTargetMs = bench::kReportTargetMs;

enum class Mode { Forward, Inverse, Factorial, BinomialCoefficient };

struct DetailsCase {
  const char* name;
  const char* input;
  Distribution d;
  Mode mode;
  long double x;  // x, p, or n; k in d.parameters[0] for the binomial coefficient
  double targetMs = kDetailsTypicalTargetMs;
};

// A missing value where every case here has one.
std::string Missing(const models::Value& v) {
  return v.value ? "" : v.note;
}

std::string Details(const DetailsCase& c) {
  std::string fault = Missing(models::Mean(c.d)) + Missing(models::Variance(c.d));
  switch (c.mode) {
    case Mode::Forward:
      if (models::IsDiscrete(c.d)) return fault + Missing(models::DiscreteForwardAt(c.d, c.x).point);
      return fault + Missing(models::Forward(c.d, c.x).twoTailed);
    case Mode::Inverse:
      if (models::IsDiscrete(c.d)) return fault + Missing(models::DiscreteInv(c.d, c.x).quantile);
      return fault + Missing(models::Inverse(c.d, c.x).centralHigh);
    case Mode::Factorial:
      return Missing(models::Factorial(c.x).log10);
    case Mode::BinomialCoefficient:
      return Missing(models::BinomialCoefficient(c.x, c.d.parameters[0]).log10);
  }
  return "";
}

constexpr long double kMaxInt = 2147483647.0L;
const double kExtreme = kDetailsExtremeTargetMs;

const DetailsCase kCases[] = {
    {"DetailsNormal", "100 225 130", {&models::NormalModel(), {100, 225, 0}}, Mode::Forward, 130},
    {"DetailsNormalInverse",
     "inverse 100 225 0.95",
     {&models::NormalModel(), {100, 225, 0}},
     Mode::Inverse,
     0.95L},
    {"DetailsChiSquare",
     "10 18.307038",
     {&models::ChiSquareModel(), {10, 0, 0}},
     Mode::Forward,
     18.307038L},
    {"DetailsChiSquareInverse",
     "inverse 10 0.95",
     {&models::ChiSquareModel(), {10, 0, 0}},
     Mode::Inverse,
     0.95L},
    {"DetailsT", "10 2", {&models::TModel(), {10, 0, 0}}, Mode::Forward, 2},
    {"DetailsTInverse",
     "inverse 10 0.975",
     {&models::TModel(), {10, 0, 0}},
     Mode::Inverse,
     0.975L},
    {"DetailsF", "5 10 3.325835", {&models::FModel(), {5, 10, 0}}, Mode::Forward, 3.325835L},
    {"DetailsFInverse",
     "inverse 5 10 0.95",
     {&models::FModel(), {5, 10, 0}},
     Mode::Inverse,
     0.95L},
    {"DetailsBinomial", "0.3 10 3", {&models::BinomialModel(), {0.3L, 10, 0}}, Mode::Forward, 3},
    {"DetailsPoisson", "2.5 3", {&models::PoissonModel(), {2.5L, 0, 0}}, Mode::Forward, 3},
    {"DetailsHypergeometric",
     "10 15 8 3",
     {&models::HypergeometricModel(), {10, 15, 8}},
     Mode::Forward,
     3},
    {"DetailsFactorial", "1000", {}, Mode::Factorial, 1000},
    {"DetailsBinomialCoefficient",
     "5000 2500",
     {&models::NormalModel(), {2500, 0, 0}},
     Mode::BinomialCoefficient,
     5000},
    // The largest parameters.
    {"DetailsChiSquareHuge",
     "2147483647 2147483647",
     {&models::ChiSquareModel(), {kMaxInt, 0, 0}},
     Mode::Forward,
     kMaxInt,
     kExtreme},
    {"DetailsChiSquareInverseHuge",
     "inverse 1073741823 0.999999",
     {&models::ChiSquareModel(), {1073741823, 0, 0}},
     Mode::Inverse,
     0.999999L,
     kExtreme},
    {"DetailsTInverseHuge",
     "inverse 1073741823 0.999999",
     {&models::TModel(), {1073741823, 0, 0}},
     Mode::Inverse,
     0.999999L,
     kExtreme},
    {"DetailsFInverseHuge",
     "inverse 1073741823 1073741823 0.999999",
     {&models::FModel(), {1073741823, 1073741823, 0}},
     Mode::Inverse,
     0.999999L,
     kExtreme},
    {"DetailsBinomialHuge",
     "0.5 1000000000 500000000",
     {&models::BinomialModel(), {0.5L, 1e9L, 0}},
     Mode::Forward,
     5e8L,
     kExtreme},
    {"DetailsBinomialQuantileHuge",
     "0.5 1000000000 p 0.999999",
     {&models::BinomialModel(), {0.5L, 1e9L, 0}},
     Mode::Inverse,
     0.999999L,
     kExtreme},
    {"DetailsPoissonHuge",
     "100000000 100000000",
     {&models::PoissonModel(), {1e8L, 0, 0}},
     Mode::Forward,
     1e8L,
     kExtreme},
    {"DetailsPoissonQuantileHuge",
     "100000000 p 0.5",
     {&models::PoissonModel(), {1e8L, 0, 0}},
     Mode::Inverse,
     0.5L,
     kExtreme},
    {"DetailsHypergeometricHuge",
     "2147483647 2147483647 2147483647 1073741823",
     {&models::HypergeometricModel(), {kMaxInt, kMaxInt, kMaxInt}},
     Mode::Forward,
     1073741823,
     kExtreme},
    {"DetailsFactorialHuge", "2147483647", {}, Mode::Factorial, kMaxInt, kExtreme},
    // The discrete quantile at its extremes: the median of the largest urn (a
    // walk from the guess, then the symmetry's boundary), a percentile near 1
    // read on the upper tail, a median at its boundary P(X <= 15000) = 1/2,
    // the geometric past int32 and the negative binomial at its largest mean.
    {"DetailsHypergeometricQuantileHuge",
     "2147483647 2147483647 2147483647 p 0.5",
     {&models::HypergeometricModel(), {kMaxInt, kMaxInt, kMaxInt}},
     Mode::Inverse,
     0.5L,
     kExtreme},
    {"DetailsNegativeBinomialQuantileNearOne",
     "40 0.01 p 0.999999999999999",
     {&models::NegativeBinomialModel(), {40, 0.01L, 0}},
     Mode::Inverse,
     0.999999999999999L,
     kExtreme},
    {"DetailsBinomialMedianBoundary",
     "0.5 30001 p 0.5",
     {&models::BinomialModel(), {0.5L, 30001, 0}},
     Mode::Inverse,
     0.5L,
     kExtreme},
    {"DetailsGeometricQuantileHuge",
     "0.000000000001 p 0.5",
     {&models::GeometricModel(), {1e-12L, 0, 0}},
     Mode::Inverse,
     0.5L,
     kExtreme},
    {"DetailsNegativeBinomialQuantileHuge",
     "2147483647 0.000001 p 0.999999",
     {&models::NegativeBinomialModel(), {kMaxInt, 1e-6L, 0}},
     Mode::Inverse,
     0.999999L,
     kExtreme},
};

[[maybe_unused]] const bool kRegistered = [] {
  for (const auto& c : kCases)
    bench::RegisterReport({c.name, c.input, c.targetMs}, [&c] { return Details(c); });
  return true;
}();

}  // namespace
