// The hypergeometric distribution: X, the number of blue balls in a sample of
// n drawn without replacement from an urn of B blue and R red (N = B + R),
// each count a whole number below 2^32.
//
// Up to kBoostUrnLimit balls Boost.Math's distribution answers, from its
// table of factorials, and the point probability is taken from that table
// directly.  Above it Boost factorises into primes (exact, but
// tens of microseconds for every point probability, and a cdf adds
// many) and then falls back on Lanczos sums that lose relative accuracy with
// N, so the probabilities are computed here: the point probability by Loader's saddle-point form
// with p = n/N (held to 31 bits),
//   P(X = x) = b(x; B, p) b(n - x; R, p) / b(n; N, p),  b(x; m, p) = C(m, x) p^x q^(m-x)
// (Stirling.h), where the powers of p and q cancel exactly in the quotient,
// so that the rounding of p costs nothing, and with p so held the means
// m p of the terms are exact; the tails are sums of these
// points (TermSums.h) with the ratio
//   P(X = j + 1) / P(X = j) = (B - j)(n - j) / ((j + 1)(R - n + j + 1)),
// and the quantile walks from its first guess one point at a time.  Mean
// n B/N, variance n (B/N) (R/N) (N - n)/(N - 1).
#include <array>
#include <boost/math/distributions/hypergeometric.hpp>
#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "models/BoostPolicy.h"
#include "models/ExactTails.h"
#include "models/Families.h"
#include "models/Models.h"
#include "models/Stirling.h"
#include "models/TermSums.h"

namespace models {

namespace {

using HypergeometricDistribution =
    boost::math::hypergeometric_distribution<long double, BoostPolicy>;

// Boost's largest tabulated factorial in extended precision: 170! (the
// table holds more digits than double's, but no more entries).
constexpr long double kBoostUrnLimit = boost::math::max_factorial<long double>::value;
constexpr unsigned kTabledFactorials = boost::math::max_factorial<long double>::value + 1;
// The largest count of an urn: counts stay below 2^32, as Boost's unsigned
// hypergeometric arguments do.
constexpr long double kUrnCountLimit = 4294967296.0L;  // 2^32
// The held proportion n / N is a multiple of 1 / kProportionScale.
constexpr long double kProportionScale = 2147483648.0L;  // 2^31

class Urn {
 public:
  explicit Urn(const Parameters& p)
      : blue_(P0(p)),
        red_(P1(p)),
        n_(P2(p)),
        total_(P0(p) + P1(p)),
        p_(HeldProportion(n_, total_)),
        q_(1 - p_) {}

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

  // n / N to 31 bits, and at least 2^-31 from 0 and 1: then p, q = 1 - p
  // and their products with the counts (below 2^33) are exact, so that the
  // mean of each term's binomial, m p, carries no rounding into its deviance
  // (which would cost |m p - x| units of 1e-19 in a far tail).
  static long double HeldProportion(long double n, long double total) {
    const long double scaled = std::round(n / total * kProportionScale);
    return std::fmin(std::fmax(scaled, 1), kProportionScale - 1) / kProportionScale;
  }

  long double blue_, red_, n_, total_, p_, q_;
};

class Hypergeometric final : public DiscreteModel {
 public:
  std::span<const ParameterAbout> ParameterNames() const override {
    static constexpr ParameterAbout kNames[] = {{"blue"}, {"red"}, {"sample"}};
    return kNames;
  }
  bool Symmetric() const override { return false; }

  std::string Problem(const Parameters& p) const override {
    const char* names[] = {"the number of blue balls", "the number of red balls", "the sample"};
    for (int i = 0; i < 3; ++i) {
      const long double c = p[i];
      if (!IsWhole(c) || c < 0 || c >= kUrnCountLimit)
        return std::string(names[i]) + " must be a whole number from 0 to 4294967295";
    }
    if (P2(p) > P0(p) + P1(p)) return "the sample is larger than the urn (blue + red balls)";
    return "";
  }
  std::pair<long double, long double> Support(const Parameters& p) const override {
    return {std::fmax(0, P2(p) - P1(p)), std::fmin(P2(p), P0(p))};
  }
  Value Mean(const Parameters& p) const override {
    const long double blue = P0(p), n = P2(p), total = blue + P1(p);
    return Value::Of(n == 0 ? 0 : n * (blue / total));
  }
  Value Variance(const Parameters& p) const override {
    const long double blue = P0(p), red = P1(p), n = P2(p), total = blue + red;
    if (n == 0 || total <= 1) return Value::Of(0);
    return Value::Of(n * (blue / total) * (red / total) * ((total - n) / (total - 1)));
  }
  long double RoughMedian(const Parameters& p) const override {
    return P2(p) * P0(p) / (P0(p) + P1(p));
  }

 protected:
  std::optional<long double> PointMass(const Parameters&) const override { return std::nullopt; }
  long double PointInside(const Parameters& p, long double k) const override {
    const Urn u(p);
    return u.ByBoost() ? pdf(u.Boost(), static_cast<unsigned>(k)) : u.Point(k);
  }
  long double AtMostInside(const Parameters& p, long double k) const override {
    const Urn u(p);
    return u.ByBoost() ? cdf(u.Boost(), static_cast<unsigned>(k)) : SummedAtMost(u, k);
  }
  long double AboveInside(const Parameters& p, long double k) const override {
    const Urn u(p);
    return u.ByBoost() ? cdf(complement(u.Boost(), static_cast<unsigned>(k))) : SummedAbove(u, k);
  }

  Shape QuantileShape(const Parameters& p) const override {
    const long double b = P0(p), N = P0(p) + P1(p), n = P2(p);
    const long double sd = std::sqrt(n * (b / N) * (P1(p) / N) * ((N - n) / (N - 1)));
    const long double skew = (N - 2 * b) * std::sqrt(N - 1) * (N - 2 * n) /
                             (std::sqrt(n * b * P1(p) * (N - n)) * (N - 2));
    return {n * b / N, sd, std::isfinite(skew) ? skew : 0};
  }
  std::string QuantileProblem(const Parameters&) const override { return ""; }
  // Beyond Boost's range a tail is a long sum.
  bool WalksQuantile(const Parameters& p) const override { return !Urn(p).ByBoost(); }
  long double SearchedTail(const Parameters& p, long double k, bool above) const override {
    return above ? AboveInside(p, k) : AtMostInside(p, k);
  }
  std::optional<int> CompareAtMost(const Parameters& p, long double k, ExactRatio& q,
                                   const Ratio&) const override {
    return CompareUrnAtMost(P0(p), P1(p), P2(p), k, q);
  }

  // With B = R, X and n - X alike: for n odd P(X <= (n - 1)/2) = 1/2; with
  // N = 2n, X and B - X (the blue balls left in the urn) alike: for B odd
  // P(X <= (B - 1)/2) = 1/2.
  std::optional<long double> HalfPoint(const Parameters& p, const Ratio&) const override {
    const long double blue = P0(p), red = P1(p), n = P2(p);
    if (blue == red && std::fmod(n, 2) == 1) return (n - 1) / 2;
    if (blue + red == 2 * n && std::fmod(blue, 2) == 1) return (blue - 1) / 2;
    return std::nullopt;
  }

  // An urn's tails are sums of points at any size: one sum gives all three.
  std::optional<DiscreteSplit> SplitAt(const Parameters& p, long double x) const override {
    return SplitAround(Urn(p), x);
  }
};

constinit const Hypergeometric kHypergeometric{};

}  // namespace

const Model& HypergeometricModel() {
  return kHypergeometric;
}

}  // namespace models
