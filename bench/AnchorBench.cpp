// R's standalone math library (Debian's r-mathlib) on the same argument sets,
// as the anchor column of the summary.  Upper tails are asked for directly
// (lower_tail = 0), never as 1 minus the lower one; P(X >= k) of the discrete
// distributions is the upper tail at k - 1.  R works in double, so each
// argument is rounded to double once, outside the timed loop's arithmetic.
#include <benchmark/benchmark.h>

#define MATHLIB_STANDALONE 1
#include <Rmath.h>

#include "bench/BenchRegistry.h"

namespace {

using bench::ArgumentSet;

constexpr int kLower = 1;
constexpr int kUpper = 0;
constexpr int kNotLog = 0;

double D(long double x) {
  return static_cast<double>(x);
}

[[maybe_unused]] const bool kRegistered = [] {
  bench::RegisterAnchor("LnGammaHalf", [](const ArgumentSet& a) {
    for (int32_t n : a.lnGammaHalf) benchmark::DoNotOptimize(lgammafn(n / 2.0));
  });
  bench::RegisterAnchor("GammaTail", [](const ArgumentSet& a) {
    for (const auto& c : a.gammaTail)
      benchmark::DoNotOptimize(pgamma(D(c.x), c.n / 2.0, 1, kUpper, kNotLog));
  });
  bench::RegisterAnchor("NormalTail", [](const ArgumentSet& a) {
    for (long double z : a.normalTail) benchmark::DoNotOptimize(pnorm(D(z), 0, 1, kUpper, kNotLog));
  });
  bench::RegisterAnchor("ChiSquareTail", [](const ArgumentSet& a) {
    for (const auto& c : a.chiSquareTail)
      benchmark::DoNotOptimize(pchisq(D(c.x), c.n, kUpper, kNotLog));
  });
  bench::RegisterAnchor("PoissonTail", [](const ArgumentSet& a) {
    for (const auto& c : a.poissonTail)
      benchmark::DoNotOptimize(ppois(c.n - 1.0, D(c.x), kUpper, kNotLog));
  });
  bench::RegisterAnchor("NormalTailInverse", [](const ArgumentSet& a) {
    for (long double p : a.normalInverse)
      benchmark::DoNotOptimize(qnorm(D(p), 0, 1, kUpper, kNotLog));
  });
  bench::RegisterAnchor("GammaTailInverse", [](const ArgumentSet& a) {
    for (const auto& c : a.gammaInverse)
      benchmark::DoNotOptimize(qgamma(D(c.x), c.n / 2.0, 1, kUpper, kNotLog));
  });
  bench::RegisterAnchor("ChiSquareTailInverse", [](const ArgumentSet& a) {
    for (const auto& c : a.chiSquareInverse)
      benchmark::DoNotOptimize(qchisq(D(c.x), c.n, kUpper, kNotLog));
  });
  bench::RegisterAnchor("BetaSeries", [](const ArgumentSet& a) {
    for (const auto& c : a.betaSeries)
      benchmark::DoNotOptimize(pbeta(D(c.x), c.a / 2.0, c.b / 2.0, kLower, kNotLog));
  });
  bench::RegisterAnchor("BetaHalf", [](const ArgumentSet& a) {
    for (const auto& c : a.betaHalf)
      benchmark::DoNotOptimize(pbeta(D(c.x), c.a / 2.0, c.b / 2.0, kLower, kNotLog));
  });
  bench::RegisterAnchor("FTail", [](const ArgumentSet& a) {
    for (const auto& c : a.fTail) benchmark::DoNotOptimize(pf(D(c.x), c.a, c.b, kUpper, kNotLog));
  });
  bench::RegisterAnchor("TTail", [](const ArgumentSet& a) {
    for (const auto& c : a.tTail) benchmark::DoNotOptimize(pt(D(c.x), c.n, kUpper, kNotLog));
  });
  bench::RegisterAnchor("BinomialTail", [](const ArgumentSet& a) {
    for (const auto& c : a.binomialTail)
      benchmark::DoNotOptimize(pbinom(c.b - 1.0, c.a, D(c.x), kUpper, kNotLog));
  });
  bench::RegisterAnchor("BetaHalfInverse", [](const ArgumentSet& a) {
    for (const auto& c : a.betaInverse)
      benchmark::DoNotOptimize(qbeta(D(c.x), c.a / 2.0, c.b / 2.0, kLower, kNotLog));
  });
  bench::RegisterAnchor("BetaHalfInverseOriented", [](const ArgumentSet& a) {
    for (const auto& c : a.betaOriented)
      benchmark::DoNotOptimize(qbeta(D(c.x), c.a / 2.0, c.b / 2.0, kLower, kNotLog));
  });
  bench::RegisterAnchor("FTailInverse", [](const ArgumentSet& a) {
    for (const auto& c : a.fInverse)
      benchmark::DoNotOptimize(qf(D(c.x), c.a, c.b, kUpper, kNotLog));
  });
  bench::RegisterAnchor("TTailInverse", [](const ArgumentSet& a) {
    for (const auto& c : a.tInverse) benchmark::DoNotOptimize(qt(D(c.x), c.n, kUpper, kNotLog));
  });
  bench::RegisterAnchor("LnBinomialCoefficient", [](const ArgumentSet& a) {
    for (const auto& c : a.lnBinomial) benchmark::DoNotOptimize(lchoose(c.n, c.k));
  });
  bench::RegisterAnchor("HypergeometricPoint", [](const ArgumentSet& a) {
    for (const auto& u : a.hypergeometric)
      benchmark::DoNotOptimize(dhyper(u.x, u.blue, u.red, u.sample, kNotLog));
  });
  // The three numbers of HypergeometricCumulative: P(X <= x), P(X = x), P(X >= x).
  bench::RegisterAnchor("HypergeometricCumulative", [](const ArgumentSet& a) {
    for (const auto& u : a.hypergeometric) {
      benchmark::DoNotOptimize(phyper(u.x, u.blue, u.red, u.sample, kLower, kNotLog));
      benchmark::DoNotOptimize(dhyper(u.x, u.blue, u.red, u.sample, kNotLog));
      benchmark::DoNotOptimize(phyper(u.x - 1.0, u.blue, u.red, u.sample, kUpper, kNotLog));
    }
  });
  return true;
}();

}  // namespace
