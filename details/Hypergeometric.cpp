// Hypergeometric probabilities: X, the number of blue balls in a sample of n
// drawn without replacement from an urn of B blue and R red (N = B + R).
//
// Up to kBoostUrnLimit balls Boost.Math's distribution answers, from its
// table of factorials, and the point probability is taken from that table
// directly.  Above it Boost factorises into primes (exact, but
// tens of microseconds for every point probability, and a cdf adds
// many) and then falls back on Lanczos sums that lose relative accuracy with
// N, so the probabilities are computed here: the point probability by Loader's saddle-point form
// with p = n/N,
//   P(X = x) = b(x; B, p) b(n - x; R, p) / b(n; N, p),  b(x; m, p) = C(m, x) p^x q^(m-x)
// (Stirling.h), where the powers of p and q cancel exactly in the quotient,
// so that the rounding of p costs nothing; the tails are sums of these
// points (TermSums.h) with the ratio
//   P(X = j + 1) / P(X = j) = (B - j)(n - j) / ((j + 1)(R - n + j + 1)).
#include <array>
#include <boost/math/distributions/hypergeometric.hpp>
#include <cmath>

#include "details/BoostPolicy.h"
#include "details/Engine.h"
#include "details/Stirling.h"
#include "details/TermSums.h"

namespace details {

namespace {

using HypergeometricDistribution =
    boost::math::hypergeometric_distribution<long double, BoostPolicy>;

// Boost's largest tabulated factorial in extended precision: 170! (the
// table holds more digits than double's, but no more entries).
constexpr long double kBoostUrnLimit = boost::math::max_factorial<long double>::value;
constexpr unsigned kTabledFactorials = boost::math::max_factorial<long double>::value + 1;

class Urn {
 public:
  explicit Urn(const Distribution& d)
      : blue_(P0(d)),
        red_(P1(d)),
        n_(P2(d)),
        total_(P0(d) + P1(d)),
        p_(n_ / total_),
        q_((total_ - n_) / total_) {}

  bool ByBoost() const { return total_ <= kBoostUrnLimit; }
  HypergeometricDistribution Boost() const {
    return HypergeometricDistribution(static_cast<unsigned>(blue_), static_cast<unsigned>(n_),
                                      static_cast<unsigned>(total_));
  }

  long double Point(long double x) const {
    if (ByBoost()) return TabledPoint(x);
    return BinomialTerm(x, blue_, p_, q_) * BinomialTerm(n_ - x, red_, p_, q_) /
           BinomialTerm(n_, total_, p_, q_);
  }
  long double Up(long double j) const {
    return (blue_ - j) * (n_ - j) / ((j + 1) * (red_ - n_ + j + 1));
  }
  long double Down(long double j) const {
    return j * (red_ - n_ + j) / ((n_ - j + 1) * (blue_ - j + 1));
  }
  long double Lowest() const { return std::fmax(0, n_ - red_); }
  long double Highest() const { return std::fmin(n_, blue_); }
  long double Mode() const { return std::floor((n_ + 1) * (blue_ + 1) / (total_ + 2)); }

 private:
  // C(B, x) C(R, n - x) / C(N, n) from Boost's table of factorials, each
  // coefficient m! / k! / (m - k)!, below 10^51: nine roundings in all.
  static long double Choose(long double m, long double k) {
    // Copied once: Boost's function holds its table as a local constexpr
    // array, which the compiler may build afresh at every call.
    static const auto table = [] {
      std::array<long double, kTabledFactorials> t{};
      for (unsigned i = 0; i < kTabledFactorials; ++i)
        t[i] = boost::math::unchecked_factorial<long double>(i);
      return t;
    }();
    const auto factorial = [](long double v) { return table[static_cast<size_t>(v)]; };
    return factorial(m) / factorial(k) / factorial(m - k);
  }
  long double TabledPoint(long double x) const {
    return Choose(blue_, x) * Choose(red_, n_ - x) / Choose(total_, n_);
  }

  long double blue_, red_, n_, total_, p_, q_;
};

}  // namespace

bool HypergeometricByBoost(const Distribution& d) {
  return Urn(d).ByBoost();
}

long double HypergeometricPoint(const Distribution& d, long double k) {
  const Urn u(d);
  return u.ByBoost() ? pdf(u.Boost(), static_cast<unsigned>(k)) : u.Point(k);
}

long double HypergeometricAtMost(const Distribution& d, long double k) {
  const Urn u(d);
  return u.ByBoost() ? cdf(u.Boost(), static_cast<unsigned>(k)) : SummedAtMost(u, k);
}

long double HypergeometricAbove(const Distribution& d, long double k) {
  const Urn u(d);
  return u.ByBoost() ? cdf(complement(u.Boost(), static_cast<unsigned>(k))) : SummedAbove(u, k);
}

DiscreteSplit HypergeometricAround(const Distribution& d, long double x) {
  return SplitAround(Urn(d), x);
}

}  // namespace details
