// The argument sets on which every Distr routine is measured, shared by the
// Distr benchmarks and their R counterparts so that both see the same numbers.
//
//   typical  degrees of freedom 1 to 30, p in 0.9, 0.95, 0.975, 0.99, 0.995
//            (upper tails 0.1 to 0.005), x near the centre
//   large    degrees of freedom 10^3 to 10^6, binomial n to 10^6, Poisson
//            mean to 10^5, hypergeometric urns in the thousands
//   tail     p = 10^-6 (and 1 - 10^-6), x where a tail is 10^-6 or further out
//
// Tail points are found once, when the set is built, by Distr's own inverses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct IntReal {
  int32_t n;
  long double x;
};

struct IntIntReal {
  int32_t a;
  int32_t b;
  long double x;
};

struct IntInt {
  int32_t n;
  int32_t k;
};

struct Urn {
  int32_t blue;
  int32_t red;
  int32_t sample;
  int32_t x;
};

struct ArgumentSet {
  std::vector<int32_t> lnGammaHalf;        // n
  std::vector<IntReal> gammaTail;          // (n, x)
  std::vector<long double> normalTail;     // z
  std::vector<IntReal> chiSquareTail;      // (n, x)
  std::vector<IntReal> poissonTail;        // (k, lambda)
  std::vector<long double> normalInverse;  // upper tail p
  std::vector<IntReal> gammaInverse;       // (n, upper tail p)
  std::vector<IntReal> chiSquareInverse;   // (n, upper tail p)
  std::vector<IntIntReal> betaSeries;      // (u, v, w), u + v < 41, w <= 1/2
  std::vector<IntIntReal> betaHalf;        // (a, b, x)
  std::vector<IntIntReal> fTail;           // (a, b, x)
  std::vector<IntReal> tTail;              // (n, x)
  std::vector<IntIntReal> binomialTail;    // (n, k, p)
  std::vector<IntIntReal> betaInverse;     // (a, b, y), y the lower tail, a <= b
  std::vector<IntIntReal> betaOriented;    // (a, b, y), any order
  std::vector<IntIntReal> fInverse;        // (a, b, upper tail p)
  std::vector<IntReal> tInverse;           // (n, upper tail p)
  std::vector<IntInt> lnBinomial;          // (n, k)
  std::vector<Urn> hypergeometric;         // (B, R, n, x)
};

// "typical", "large" or "tail"; built on first use.
const ArgumentSet& Arguments(const std::string& set);

}  // namespace bench
