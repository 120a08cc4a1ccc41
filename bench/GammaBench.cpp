// The gamma family on the typical, large and tail argument sets.
#include <benchmark/benchmark.h>

#include "Distr/Distr.h"
#include "bench/BenchRegistry.h"

namespace {

using bench::ArgumentSet;
using bench::Kind;

[[maybe_unused]] const bool kRegistered = [] {
  bench::RegisterDistr({"LnGammaHalf", "lgammafn", Kind::Other}, [](const ArgumentSet& a) {
    for (int32_t n : a.lnGammaHalf) benchmark::DoNotOptimize(Distr::LnGammaHalf(n));
  });
  bench::RegisterDistr({"GammaTail", "pgamma", Kind::Forward}, [](const ArgumentSet& a) {
    for (const auto& c : a.gammaTail) benchmark::DoNotOptimize(Distr::GammaTail(c.n, c.x));
  });
  bench::RegisterDistr({"NormalTail", "pnorm", Kind::Forward}, [](const ArgumentSet& a) {
    for (long double z : a.normalTail) benchmark::DoNotOptimize(Distr::NormalTail(z));
  });
  bench::RegisterDistr({"ChiSquareTail", "pchisq", Kind::Forward}, [](const ArgumentSet& a) {
    for (const auto& c : a.chiSquareTail) benchmark::DoNotOptimize(Distr::ChiSquareTail(c.n, c.x));
  });
  bench::RegisterDistr({"PoissonTail", "ppois", Kind::Forward}, [](const ArgumentSet& a) {
    for (const auto& c : a.poissonTail) benchmark::DoNotOptimize(Distr::PoissonTail(c.n, c.x));
  });
  bench::RegisterDistr({"NormalTailInverse", "qnorm", Kind::Inverse}, [](const ArgumentSet& a) {
    for (long double p : a.normalInverse) benchmark::DoNotOptimize(Distr::NormalTailInverse(p));
  });
  bench::RegisterDistr({"GammaTailInverse", "qgamma", Kind::Inverse}, [](const ArgumentSet& a) {
    for (const auto& c : a.gammaInverse)
      benchmark::DoNotOptimize(Distr::GammaTailInverse(c.n, c.x));
  });
  bench::RegisterDistr({"ChiSquareTailInverse", "qchisq", Kind::Inverse}, [](const ArgumentSet& a) {
    for (const auto& c : a.chiSquareInverse)
      benchmark::DoNotOptimize(Distr::ChiSquareTailInverse(c.n, c.x));
  });
  return true;
}();

}  // namespace
