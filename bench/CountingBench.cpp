// The counting functions on the typical, large and tail argument sets.
#include <benchmark/benchmark.h>

#include "Distr/Distr.h"
#include "bench/BenchRegistry.h"

namespace {

using bench::ArgumentSet;
using bench::Kind;

[[maybe_unused]] const bool kRegistered = [] {
  bench::RegisterDistr({"LnBinomialCoefficient", "lchoose", Kind::Other}, [](const ArgumentSet& a) {
    for (const auto& c : a.lnBinomial)
      benchmark::DoNotOptimize(Distr::LnBinomialCoefficient(c.n, c.k));
  });
  bench::RegisterDistr({"HypergeometricPoint", "dhyper", Kind::Forward}, [](const ArgumentSet& a) {
    for (const auto& u : a.hypergeometric)
      benchmark::DoNotOptimize(Distr::HypergeometricPoint(u.blue, u.red, u.sample, u.x));
  });
  bench::RegisterDistr(
      {"HypergeometricCumulative", "phyper", Kind::Forward}, [](const ArgumentSet& a) {
        long double lower = 0, point = 0, upper = 0;
        for (const auto& u : a.hypergeometric) {
          Distr::HypergeometricCumulative(u.blue, u.red, u.sample, u.x, lower, point, upper);
          benchmark::DoNotOptimize(lower);
          benchmark::DoNotOptimize(point);
          benchmark::DoNotOptimize(upper);
        }
      });
  return true;
}();

}  // namespace
