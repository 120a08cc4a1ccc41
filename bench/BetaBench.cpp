// The beta family on the typical, large and tail argument sets.
#include <benchmark/benchmark.h>

#include "Distr/Distr.h"
#include "bench/BenchRegistry.h"

namespace {

using bench::ArgumentSet;
using bench::Kind;

[[maybe_unused]] const bool kRegistered = [] {
  bench::RegisterDistr({"BetaSeries", "pbeta", Kind::Forward}, [](const ArgumentSet& a) {
    for (const auto& c : a.betaSeries) benchmark::DoNotOptimize(Distr::BetaSeries(c.a, c.b, c.x));
  });
  bench::RegisterDistr({"BetaHalf", "pbeta", Kind::Forward}, [](const ArgumentSet& a) {
    for (const auto& c : a.betaHalf) benchmark::DoNotOptimize(Distr::BetaHalf(c.a, c.b, c.x));
  });
  bench::RegisterDistr({"FTail", "pf", Kind::Forward}, [](const ArgumentSet& a) {
    for (const auto& c : a.fTail) benchmark::DoNotOptimize(Distr::FTail(c.a, c.b, c.x));
  });
  bench::RegisterDistr({"TTail", "pt", Kind::Forward}, [](const ArgumentSet& a) {
    for (const auto& c : a.tTail) benchmark::DoNotOptimize(Distr::TTail(c.n, c.x));
  });
  bench::RegisterDistr({"BinomialTail", "pbinom", Kind::Forward}, [](const ArgumentSet& a) {
    for (const auto& c : a.binomialTail)
      benchmark::DoNotOptimize(Distr::BinomialTail(c.a, c.b, c.x));
  });
  bench::RegisterDistr({"BetaHalfInverse", "qbeta", Kind::Inverse}, [](const ArgumentSet& a) {
    for (const auto& c : a.betaInverse)
      benchmark::DoNotOptimize(Distr::BetaHalfInverse(c.a, c.b, c.x));
  });
  bench::RegisterDistr({"BetaHalfInverseOriented", "qbeta", Kind::Inverse},
                       [](const ArgumentSet& a) {
                         for (const auto& c : a.betaOriented)
                           benchmark::DoNotOptimize(Distr::BetaHalfInverseOriented(c.a, c.b, c.x));
                       });
  bench::RegisterDistr({"FTailInverse", "qf", Kind::Inverse}, [](const ArgumentSet& a) {
    for (const auto& c : a.fInverse) benchmark::DoNotOptimize(Distr::FTailInverse(c.a, c.b, c.x));
  });
  bench::RegisterDistr({"TTailInverse", "qt", Kind::Inverse}, [](const ArgumentSet& a) {
    for (const auto& c : a.tInverse) benchmark::DoNotOptimize(Distr::TTailInverse(c.n, c.x));
  });
  return true;
}();

}  // namespace
