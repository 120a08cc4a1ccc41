#include "bench/ArgumentSets.h"

#include <cmath>
#include <stdexcept>

#include "Distr/Distr.h"

namespace bench {

namespace {

// The upper tails of the typical percentiles 0.9 ... 0.995.
const long double kTypicalUpper[] = {0.1L, 0.05L, 0.025L, 0.01L, 0.005L};
const long double kTailP = 0.000001L;
const long double kTailPs[] = {0.000001L, 0.999999L};
const int32_t kTypicalPairs[] = {1, 2, 3, 5, 10, 20, 30};
const int32_t kLargeDf[] = {1000, 10000, 100000, 1000000};

// BetaHalfInverse is called with the smaller parameter first (by
// BetaHalfInverseOriented, its only caller); the oriented routine takes both orders.
void AddBetaInverse(ArgumentSet& s, const IntIntReal& c) {
  if (c.a <= c.b) s.betaInverse.push_back(c);
  s.betaOriented.push_back(c);
}

ArgumentSet Typical() {
  ArgumentSet s;
  for (int32_t n = 1; n <= 60; ++n) s.lnGammaHalf.push_back(n);
  for (int32_t n = 1; n <= 30; ++n) {
    s.gammaTail.push_back({n, n / 2.0L});
    s.chiSquareTail.push_back({n, static_cast<long double>(n)});
    s.poissonTail.push_back({n, static_cast<long double>(n)});
    s.tTail.push_back({n, 1});
    s.binomialTail.push_back({n, (n + 1) / 2, 0.5L});
    s.lnBinomial.push_back({n, n / 2});
    s.lnBinomial.push_back({n, n / 3});
    s.hypergeometric.push_back({n, n, n, n / 2});
    for (long double p : kTypicalUpper) {
      s.gammaInverse.push_back({n, p});
      s.chiSquareInverse.push_back({n, p});
      s.tInverse.push_back({n, p});
    }
  }
  for (long double p : kTypicalUpper) {
    s.normalTail.push_back(Distr::NormalTailInverse(p));
    s.normalTail.push_back(-Distr::NormalTailInverse(p));
    s.normalInverse.push_back(p);
    s.normalInverse.push_back(1 - p);
  }
  s.normalTail.push_back(0);
  for (int32_t a : kTypicalPairs) {
    for (int32_t b : kTypicalPairs) {
      const long double mean = static_cast<long double>(a) / (a + b);
      if (a + b < 41) s.betaSeries.push_back({a, b, mean <= 0.5L ? mean : 0.5L});
      s.betaHalf.push_back({a, b, mean});
      s.fTail.push_back({a, b, 1});
      for (long double p : kTypicalUpper) {
        AddBetaInverse(s, {a, b, 1 - p});
        s.fInverse.push_back({a, b, p});
      }
    }
  }
  return s;
}

ArgumentSet Large() {
  ArgumentSet s;
  for (int32_t n : kLargeDf) {
    s.lnGammaHalf.push_back(n);
    s.lnGammaHalf.push_back(n + 1);
    const long double h = n / 2.0L;
    s.gammaTail.push_back({n, h});
    s.gammaTail.push_back({n, h + std::sqrt(h)});
    s.chiSquareTail.push_back({n, static_cast<long double>(n)});
    s.chiSquareTail.push_back({n, n + std::sqrt(2.0L * n)});
    s.tTail.push_back({n, 1});
    s.tTail.push_back({n, 2});
    s.binomialTail.push_back({n, static_cast<int32_t>(0.3 * n), 0.3L});
    s.lnBinomial.push_back({n, n / 2});
    s.lnBinomial.push_back({n, n / 3});
    for (long double p : kTypicalUpper) {
      s.gammaInverse.push_back({n, p});
      s.chiSquareInverse.push_back({n, p});
      s.tInverse.push_back({n, p});
    }
    for (int32_t b : kLargeDf) {
      const long double mean = static_cast<long double>(n) / (static_cast<long double>(n) + b);
      s.betaHalf.push_back({n, b, mean});
      s.fTail.push_back({n, b, 1});
      for (long double p : kTypicalUpper) {
        AddBetaInverse(s, {n, b, 1 - p});
        s.fInverse.push_back({n, b, p});
      }
    }
  }
  for (int32_t lambda : {1000, 10000, 100000}) {
    s.poissonTail.push_back({lambda, static_cast<long double>(lambda)});
    s.poissonTail.push_back(
        {lambda + static_cast<int32_t>(std::sqrt(lambda)), static_cast<long double>(lambda)});
  }
  for (long double z : {2.5L, 3.0L, 3.5L, 4.0L, 5.0L, 6.0L}) {
    s.normalTail.push_back(z);
    s.normalTail.push_back(-z);
  }
  for (long double p : {0.001L, 0.0001L, 0.00001L}) {
    s.normalInverse.push_back(p);
    s.normalInverse.push_back(1 - p);
  }
  // The power series only runs below a parameter sum of 41: its largest cases.
  const IntIntReal series[] = {{20, 20, 0.5L}, {19, 21, 0.475L}, {10, 30, 0.25L},
                               {30, 10, 0.5L}, {1, 39, 0.025L},  {39, 1, 0.5L}};
  for (const auto& c : series) s.betaSeries.push_back(c);
  for (int32_t blue : {1000, 3000, 5000}) {
    for (int32_t red : {1000, 3000, 5000}) {
      const int32_t sample = 1000;
      s.hypergeometric.push_back(
          {blue, red, sample,
           static_cast<int32_t>(static_cast<int64_t>(sample) * blue / (blue + red))});
    }
  }
  return s;
}

ArgumentSet Tail() {
  ArgumentSet s;
  for (int32_t n : {100000000, 1000000000, 2147483647}) s.lnGammaHalf.push_back(n);
  for (int32_t n = 1; n <= 30; ++n) {
    for (long double p : kTailPs) {
      s.gammaTail.push_back({n, Distr::GammaTailInverse(n, p)});
      s.chiSquareTail.push_back({n, Distr::ChiSquareTailInverse(n, p)});
      s.gammaInverse.push_back({n, p});
      s.chiSquareInverse.push_back({n, p});
      s.tInverse.push_back({n, p});
      s.tTail.push_back({n, Distr::TTailInverse(n, p)});
    }
    s.poissonTail.push_back(
        {n + static_cast<int32_t>(std::ceil(6 * std::sqrt(n))) + 5, static_cast<long double>(n)});
  }
  const long double z = Distr::NormalTailInverse(kTailP);
  for (long double far : {z, 6.0L, 8.0L, 9.2L, 12.0L, 40.0L}) {
    s.normalTail.push_back(far);
    s.normalTail.push_back(-far);
  }
  for (long double p : kTailPs) s.normalInverse.push_back(p);
  for (int32_t a : kTypicalPairs) {
    for (int32_t b : kTypicalPairs) {
      const long double w = Distr::BetaHalfInverseOriented(a, b, kTailP);
      if (a + b < 41 && w <= 0.5L) s.betaSeries.push_back({a, b, w});
      for (long double p : kTailPs) {
        s.betaHalf.push_back({a, b, Distr::BetaHalfInverseOriented(a, b, p)});
        s.fTail.push_back({a, b, Distr::FTailInverse(a, b, p)});
        AddBetaInverse(s, {a, b, p});
        s.fInverse.push_back({a, b, p});
      }
    }
  }
  for (int32_t n : {10, 30, 100, 1000, 10000}) {
    const long double mean = 0.3L * n;
    const auto k = static_cast<int32_t>(mean + 5 * std::sqrt(mean * 0.7L)) + 1;
    s.binomialTail.push_back({n, k < n ? k : n, 0.3L});
  }
  for (int32_t n : {10000000, 100000000, 1000000000}) {
    s.lnBinomial.push_back({n, 1});
    s.lnBinomial.push_back({n, n / 2});
  }
  for (int32_t x : {400, 600, 650}) s.hypergeometric.push_back({1000, 1000, 1000, x});
  return s;
}

}  // namespace

const ArgumentSet& Arguments(const std::string& set) {
  static const ArgumentSet typical = Typical();
  static const ArgumentSet large = Large();
  static const ArgumentSet tail = Tail();
  if (set == "typical") return typical;
  if (set == "large") return large;
  if (set == "tail") return tail;
  throw std::invalid_argument("no argument set " + set);
}

}  // namespace bench
