// The gamma family on typical, large and tail arguments.
#include <benchmark/benchmark.h>

#include "Distr/Distr.h"

namespace {

void BM_ChiSquareTailTypical(benchmark::State& state) {
  for (auto _ : state) {
    for (int32_t n = 1; n <= 30; ++n) benchmark::DoNotOptimize(Distr::ChiSquareTail(n, n + 0.5L));
  }
}
BENCHMARK(BM_ChiSquareTailTypical);

void BM_ChiSquareTailInverseTypical(benchmark::State& state) {
  const long double ps[] = {0.9L, 0.95L, 0.975L, 0.99L, 0.995L};
  for (auto _ : state) {
    for (int32_t n = 1; n <= 30; ++n)
      for (long double p : ps) benchmark::DoNotOptimize(Distr::ChiSquareTailInverse(n, p));
  }
}
BENCHMARK(BM_ChiSquareTailInverseTypical);

void BM_ChiSquareTailInverseHuge(benchmark::State& state) {
  const auto n = static_cast<int32_t>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(Distr::ChiSquareTailInverse(n, 0.05L));
}
BENCHMARK(BM_ChiSquareTailInverseHuge)->Arg(1000000)->Arg(1000000000)->Arg(1073741823)
    ->Unit(benchmark::kMillisecond);

void BM_NormalTailInverseTail(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Distr::NormalTailInverse(0.000001L));
}
BENCHMARK(BM_NormalTailInverseTail);

}  // namespace
