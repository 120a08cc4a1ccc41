// The noncentral chi-square, F and t distributions as Poisson mixtures.
//
// A mixture sum_j w_j T_j runs over a ladder of central tails T_j at shapes
// s + j, whose neighbours differ by one power term t_j:
//   lower_{j+1} = lower_j - t_j,   upper_{j+1} = upper_j + t_j,
// and t_{j+1} is t_j times a simple ratio.  Only the rung at the mode of the
// weights is computed afresh; the sums run outwards from it in both
// directions, each ending when the weight left beyond it (a geometric bound
// from the ratio of consecutive weights) times the largest tail that weight
// can meet is negligible against the sum so far.  Both tails are sums of
// positive terms, so that each keeps its relative accuracy deep into the tail.
//
// Noncentral t, for x >= 0 (Lenth, AS 243, after Guenther), with m = delta^2/2
// and u = x^2 / (x^2 + df):
//   P(T <= x) = Phi(-delta) + 1/2 sum_j [p_j I_u(j + 1/2, df/2) + q_j I_u(j + 1, df/2)],
//   p_j = e^-m m^j / j!,  q_j = sign(delta) e^-m m^(j+1/2) / Gamma(j + 3/2),
// and P(T > x) the same with the complements of I and without Phi(-delta).
// For delta < 0 the q-sum subtracts: P(T > x) for x >= 0, the tail on the far
// side of zero from delta, would be a difference with only absolute accuracy,
// and is integrated instead (OppositeTTail).  Negative x is the mirror:
// T(delta) < x exactly when T(-delta) > -x.
#include "Distr/Noncentral.h"

#include <cmath>
#include <limits>

#include "Distr/RealShapes.h"
#include "Distr/RealShapesCore.h"
#include "Distr/RootSearch.h"

namespace Distr {

namespace {

// A mixture's sum in one direction ends when the rest is bounded by this
// relative to the sum.
constexpr long double kMixtureTolerance = 1e-21L;
// A guard on the rungs summed in one direction; the bound ends the sums far
// sooner (about 10 sqrt(lambda) rungs for a tail of 1e-30).
constexpr long kMaxRungs = 200000000;
// The polish of a quantile starts from this many tolerances of its scale
// either side of the root found there.
constexpr long double kPolishMargin = 16;
// A weight below the normal extended reals ends a sum: its terms are
// negligible, and a subnormal weight times a ratio above 1/2 would round back
// to itself for ever (and slowly: the x87 unit takes microcode for them).
constexpr long double kSmallestWeight = std::numeric_limits<long double>::min();
// The first bracketing step of a quantile in ln x or asinh x.
constexpr long double kFirstQuantileStep = 0.1L;
// Quantiles in ln x stay within the normal extended reals, in asinh x within
// the finite ones.
constexpr long double kLowestLogX = -11355.1L;  // ln of the smallest normal
constexpr long double kHighestLogX = 11350;     // e^t overflows above 11356.5

// OppositeTTail: the normal hazard from erfc below this z, from its continued
// fraction (this deep) above; the peak's bisection steps; nodes per width of
// the integrand's peak, and at most this many on either side.
constexpr long double kHazardSwitch = 5;
constexpr int kHazardDepth = 60;
constexpr int kPeakSearchSteps = 32;
constexpr long double kNodesPerWidth = 4;
constexpr int kMaxNodes = 100000;
// Away from its peak the integrand falls double-exponentially within about a
// unit of u, and is analytic in a strip of half-width about pi/4: spacing the
// nodes at most this far keeps the rule's error near exp(-2 pi (pi/4) 16).
constexpr long double kWidestSpacing = 0.0625L;
constexpr long double kPi = 3.141592653589793238462643383279502884L;
constexpr long double kSqrt2 = 1.414213562373095048801688724209698079L;
constexpr long double kSqrt2OverPi = 0.797884560802865355879892119868763737L;

inline void RequireNoncentrality(long double lambda) {
  if (!(lambda >= 0) || std::isinf(lambda)) throw EDomainError();
}

// Central tails at the shapes s + j, j = 0, 1, ...: lower_j falls and
// upper_j rises with j by the step t_j.
class Ladder {
 public:
  virtual ~Ladder() = default;
  virtual Tails At(long double j) const = 0;
  virtual long double Step(long double j) const = 0;
  // t_{j+1} / t_j.
  virtual long double StepRatio(long double j) const = 0;
};

// P(s + j, x) and Q(s + j, x): t_j = x^(s+j) e^-x / Gamma(s + j + 1).
class GammaLadder final : public Ladder {
 public:
  GammaLadder(long double shape, long double x) : shape_(shape), x_(x) {}
  Tails At(long double j) const override { return GammaTails(shape_ + j, x_); }
  long double Step(long double j) const override { return GammaPowerTerm(shape_ + j, x_); }
  long double StepRatio(long double j) const override { return x_ / (shape_ + j + 1); }

 private:
  long double shape_, x_;
};

// I_x(a + j, b) and its complement, y = 1 - x:
// t_j = x^(a+j) y^b / ((a + j) B(a + j, b)), t_{j+1} / t_j = x (a + j + b) / (a + j + 1).
class BetaLadder final : public Ladder {
 public:
  BetaLadder(long double a, long double b, long double x, long double y)
      : a_(a), b_(b), x_(x), y_(y) {}
  Tails At(long double j) const override { return BetaTailsOf(a_ + j, b_, x_, y_); }
  long double Step(long double j) const override {
    const long double a = a_ + j;
    return BetaPowerTerm(a, b_, x_, y_) / a;
  }
  long double StepRatio(long double j) const override {
    const long double a = a_ + j;
    return x_ * (a + b_) / (a + 1);
  }

 private:
  long double a_, b_, x_, y_;
};

// Both tails of sum_{j>=0} w_j T_j with w_j = e^-m m^(c+j) / Gamma(c+j+1)
// (the Poisson probabilities for c = 0).
Tails PoissonMixture(const Ladder& ladder, long double c, long double m) {
  const long double mode = m > c ? std::floor(m - c) : 0;
  const Tails first = ladder.At(mode);
  const long double firstWeight = GammaPowerTerm(c + mode, m);
  const long double firstStep = ladder.Step(mode);
  long double lower = firstWeight * first.lower, upper = firstWeight * first.upper;
  // The largest lower tail on the ladder, at its foot, bounds what the rungs
  // below the mode can add to the lower sum.
  const long double lowerCeiling = mode > 0 ? ladder.At(0).lower : first.lower;

  // Upwards: lower_j falls (the rest is at most lower_j times the weight
  // left), upper_j rises (at most 1 times it).
  long double w = firstWeight, t = firstStep, low = first.lower, up = first.upper;
  for (long k = 1; k <= kMaxRungs && w >= kSmallestWeight; ++k) {
    const long double j = mode + k;
    w = w * m / (c + j);
    low = low - t;
    if (low < 0) low = 0;
    up = up + t;
    if (up > 1) up = 1;
    t = t * ladder.StepRatio(j - 1);
    lower = lower + w * low;
    upper = upper + w * up;
    const long double r = m / (c + j + 1);  // w_{j+1} / w_j < 1 past the mode
    const long double rest = w * r / (1 - r);
    if (rest * low <= kMixtureTolerance * lower && rest <= kMixtureTolerance * upper) break;
  }

  // Downwards: the other way round, lower_j rising at most to lowerCeiling.
  w = firstWeight, t = firstStep, low = first.lower, up = first.upper;
  for (long double j = mode - 1; j >= 0 && w >= kSmallestWeight; j = j - 1) {
    w = w * (c + j + 1) / m;
    t = t / ladder.StepRatio(j);
    low = low + t;
    if (low > 1) low = 1;
    up = up - t;
    if (up < 0) up = 0;
    lower = lower + w * low;
    upper = upper + w * up;
    const long double r = (c + j) / m;  // w_{j-1} / w_j < 1 below the mode
    const long double rest = w * r / (1 - r);
    if (rest * lowerCeiling <= kMixtureTolerance * lower &&
        rest * up <= kMixtureTolerance * upper) {
      break;
    }
  }
  return Clamped({lower, upper});
}

// u = z / (1 + z) and v = 1 / (1 + z) for z = scale * x >= 0, without
// forming z where it would overflow.
void RatioArguments(long double scale, long double x, long double& u, long double& v) {
  if (x > 1 / scale) {
    const long double s = 1 / scale / x;
    u = 1 / (1 + s);
    v = s / (1 + s);
  } else {
    const long double z = scale * x;
    u = z / (1 + z);
    v = 1 / (1 + z);
  }
}

// The hazard phi(z) / Phibar(z) of the standard normal, to about 1e-12 (it
// places the nodes of OppositeTTail, not its values): from erfc for z < 5,
// from the continued fraction z + 1/(z + 2/(z + 3/(z + ...))) above.
long double NormalHazard(long double z) {
  if (z < kHazardSwitch) {
    return kSqrt2OverPi * std::exp(-z * z / 2) / std::erfc(z / kSqrt2);
  }
  long double t = z;
  for (int k = kHazardDepth; k >= 1; --k) t = z + k / t;
  return t;
}

// P(T > x) for x >= 0 and T the t with df degrees of freedom and
// noncentrality -d < 0: the tail on the far side of zero from the mean, as
//   integral over s > 0 of Phibar(x s + d) f_S(s) ds,  S = sqrt(chi2_df / df),
// by the trapezoidal rule in u = ln s.  The integrand is log-concave in u;
// its peak u* is where the log's derivative
//   -x e^u R(x e^u + d) + df (1 - e^2u)   (R the normal hazard)
// vanishes, found by bisection (to far less than a node's spacing: where the
// nodes sit does not change the rule's accuracy, only which rounding errors
// it makes), and the nodes are spaced a quarter of the width
// 1/sqrt(-phi''(u*)) apart (at most kWidestSpacing), so that the rule's
// error (about exp(-2 pi^2 16), 1e-137) is far below rounding.  With a = df/2,
//   s f_S(s) = sqrt(df / pi) exp(-ln Gamma*(a) - a D(s^2)),  D(r) = r - 1 - ln r.
long double OppositeTTail(long double df, long double d, long double x) {
  auto slope = [&](long double u) {
    const long double e = std::exp(u);
    return -x * e * NormalHazard(x * e + d) - df * std::expm1(2 * u);
  };
  long double lo = -1, hi = 0;
  for (int i = 0; i < kPeakSearchSteps && !(slope(lo) > 0); ++i) {
    hi = lo;
    lo = 2 * lo;
  }
  for (int i = 0; i < kPeakSearchSteps; ++i) {
    const long double mid = (lo + hi) / 2;
    if (slope(mid) > 0) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  const long double peak = (lo + hi) / 2;
  const long double e = std::exp(peak), z = x * e + d, r = NormalHazard(z);
  const long double curvature = x * e * r + x * x * e * e * r * (r - z) + 2 * df * e * e;
  const long double spacing = 1 / std::sqrt(curvature) / kNodesPerWidth;
  const long double h = spacing < kWidestSpacing ? spacing : kWidestSpacing;
  const long double a = df / 2;
  const long double scale = std::sqrt(df / kPi) * std::exp(-LnGammaStar(a));
  auto integrand = [&](long double u) {
    const long double s2 = std::exp(2 * u);
    const long double density = scale * std::exp(-a * LogExcess(std::expm1(2 * u), s2));
    return std::erfc((x * std::exp(u) + d) / kSqrt2) / 2 * density;
  };
  long double sum = integrand(peak);
  // Rightwards the integrand falls like exp(-df s^2 / 2).  Leftwards, once
  // x s and s^2 are negligible, it is Phibar(d) times a constant times
  // e^(df u): a geometric series of ratio e^(-df h), added in closed form
  // (for df well below 1 it would take millions of nodes).
  const long double ratio = std::exp(-df * h);
  for (int k = 1; k <= kMaxNodes; ++k) {
    const long double value = integrand(peak + k * h);
    sum = sum + value;
    if (value <= kMixtureTolerance * sum) break;
  }
  for (int k = 1; k <= kMaxNodes; ++k) {
    const long double u = peak - k * h;
    const long double value = integrand(u);
    const long double s = std::exp(u);
    if (x * s * NormalHazard(d) <= kMixtureTolerance && a * s * s <= kMixtureTolerance) {
      sum = sum + value / (1 - ratio);
      break;
    }
    sum = sum + value;
    if (value <= kMixtureTolerance * (1 - ratio) * sum) break;
  }
  return sum * h;
}

// The t tails for x >= 0.
Tails NonnegativeTTails(long double df, long double delta, long double x) {
  const long double m = delta * delta / 2;
  // Phi(-delta) and Phi(delta) from P(|Z| < |delta|) = P(1/2, delta^2/2).
  const Tails normal = GammaTails(0.5L, m);
  const long double belowZero = delta >= 0 ? normal.upper / 2 : 0.5L + normal.lower / 2;
  const long double aboveZero = delta >= 0 ? 0.5L + normal.lower / 2 : normal.upper / 2;
  if (x == 0) return {belowZero, aboveZero};
  if (std::isinf(x)) return {1, 0};
  // u = x^2 / (x^2 + df) and v = df / (x^2 + df), without forming x^2 where
  // it would overflow.
  long double u, v;
  if (x > std::sqrt(df)) {
    const long double s = (df / x) / x;
    u = 1 / (1 + s);
    v = s / (1 + s);
  } else {
    const long double z = (x / df) * x;
    u = z / (1 + z);
    v = 1 / (1 + z);
  }
  const Tails even = PoissonMixture(BetaLadder(0.5L, df / 2, u, v), 0, m);
  Tails odd{0, 0};
  if (delta != 0) odd = PoissonMixture(BetaLadder(1, df / 2, u, v), 0.5L, m);
  const long double sign = delta < 0 ? -1 : 1;
  const long double lower = belowZero + (even.lower + sign * odd.lower) / 2;
  const long double upper = delta < 0 ? OppositeTTail(df, -delta, x) : (even.upper + odd.upper) / 2;
  return Clamped({lower, upper});
}

// The x, on the scale x = map(t), with the tail of the smaller target
// q = min(p, 1 - p) equal to q: Illinois steps on g = ln(tail) - ln q, its
// sign turned for the upper tail so that g increases in t.
template <class TailsAt, class Map>
long double SolveForTail(TailsAt tailsAt, Map map, long double p, Tail tail, long double t0,
                         long double lo, long double hi) {
  const bool lower = (tail == Tail::Lower) == (p <= 0.5L);
  const long double q = p <= 0.5L ? p : 1 - p;
  const long double lnQ = std::log(q);
  auto direct = [&](long double x) -> Probe {
    const Tails tails = tailsAt(x);
    const long double value = lower ? tails.lower : tails.upper;
    if (!(value > 0)) return {lower ? -INFINITY : INFINITY, 0};
    const long double difference = std::log(value) - lnQ;
    return {lower ? difference : -difference, 0};
  };
  auto g = [&](long double t) { return direct(map(t)); };
  if (t0 < lo || t0 > hi || std::isnan(t0)) t0 = (lo + hi) / 2;
  const long double t = IllinoisInBracket(g, t0, kFirstQuantileStep, lo, hi);
  // map(t) is a few units in the last place of t off; polish on x itself.
  const long double margin = kPolishMargin * RootTolerance(t);
  const long double below = t - margin > lo ? t - margin : lo;
  const long double above = t + margin < hi ? t + margin : hi;
  return PolishedRoot(direct, map(below), map(t), map(above));
}

long double ExpOf(long double t) {
  return std::exp(t);
}
long double SinhOf(long double t) {
  return std::sinh(t);
}

// ln of a positive start, or of the smallest normal extended real.
long double LogStart(long double x) {
  return x > std::numeric_limits<long double>::min() && std::isfinite(x) ? std::log(x)
                                                                         : kLowestLogX / 2;
}

}  // namespace

Tails NoncentralChiSquareTails(long double df, long double lambda, long double x) {
  RequireShape(df);
  RequireNoncentrality(lambda);
  RequireArgument(x);
  FloatScope scope;
  if (!(x > 0)) return {0, 1};
  if (std::isinf(x)) return {1, 0};
  return scope.Done(PoissonMixture(GammaLadder(df / 2, x / 2), 0, lambda / 2));
}

Tails NoncentralFTails(long double df1, long double df2, long double lambda, long double x) {
  RequireShape(df1);
  RequireShape(df2);
  RequireNoncentrality(lambda);
  RequireArgument(x);
  FloatScope scope;
  if (!(x > 0)) return {0, 1};
  if (std::isinf(x)) return {1, 0};
  long double u, v;
  RatioArguments(df1 / df2, x, u, v);
  return scope.Done(PoissonMixture(BetaLadder(df1 / 2, df2 / 2, u, v), 0, lambda / 2));
}

Tails NoncentralTTails(long double df, long double delta, long double x) {
  RequireShape(df);
  if (!std::isfinite(delta)) throw EDomainError();
  RequireArgument(x);
  FloatScope scope;
  if (x < 0) {
    const Tails mirrored = NonnegativeTTails(df, -delta, -x);
    return scope.Done(Tails{mirrored.upper, mirrored.lower});
  }
  return scope.Done(NonnegativeTTails(df, delta, x));
}

long double NoncentralChiSquareQuantile(long double df, long double lambda, long double p,
                                        Tail tail) {
  RequireShape(df);
  RequireNoncentrality(lambda);
  RequireProbability(p);
  FloatScope scope;
  auto tailsAt = [&](long double x) { return NoncentralChiSquareTails(df, lambda, x); };
  const bool lower = (tail == Tail::Lower) == (p <= 0.5L);
  const long double q = p <= 0.5L ? p : 1 - p;
  const Tails edge = tailsAt(std::numeric_limits<long double>::min());
  if (lower ? edge.lower >= q : edge.upper <= q) {
    return scope.Done(0.0L);
  }
  // Start from Patnaik's approximation, c chi-square with h degrees of freedom.
  const long double c = (df + 2 * lambda) / (df + lambda);
  const long double h = (df + lambda) * ((df + lambda) / (df + 2 * lambda));
  const long double start = c * 2 * GammaQuantile(h / 2, p, tail);
  return scope.Done(
      SolveForTail(tailsAt, ExpOf, p, tail, LogStart(start), kLowestLogX, kHighestLogX));
}

long double NoncentralFQuantile(long double df1, long double df2, long double lambda, long double p,
                                Tail tail) {
  RequireShape(df1);
  RequireShape(df2);
  RequireNoncentrality(lambda);
  RequireProbability(p);
  FloatScope scope;
  auto tailsAt = [&](long double x) { return NoncentralFTails(df1, df2, lambda, x); };
  const bool lower = (tail == Tail::Lower) == (p <= 0.5L);
  const long double q = p <= 0.5L ? p : 1 - p;
  const Tails edge = tailsAt(std::numeric_limits<long double>::min());
  if (lower ? edge.lower >= q : edge.upper <= q) {
    return scope.Done(0.0L);
  }
  // Start from Patnaik's numerator: F ~ c h / df1 times a central F(h, df2).
  const long double c = (df1 + 2 * lambda) / (df1 + lambda);
  const long double h = (df1 + lambda) * ((df1 + lambda) / (df1 + 2 * lambda));
  const long double u = BetaQuantile(h / 2, df2 / 2, p, tail);
  const long double start = u < 1 ? c * df2 / df1 * (u / (1 - u)) : 0;
  return scope.Done(
      SolveForTail(tailsAt, ExpOf, p, tail, LogStart(start), kLowestLogX, kHighestLogX));
}

long double NoncentralTQuantile(long double df, long double delta, long double p, Tail tail) {
  RequireShape(df);
  if (!std::isfinite(delta)) throw EDomainError();
  RequireProbability(p);
  FloatScope scope;
  auto tailsAt = [&](long double x) { return NoncentralTTails(df, delta, x); };
  // Start from the normal with the mean and variance of T to first order in 1/df.
  const long double z = RoughNormalQuantile(p <= 0.5L ? p : 1 - p);
  const long double side = (tail == Tail::Lower) == (p <= 0.5L) ? z : -z;
  const long double start = delta + side * std::sqrt(1 + delta * delta / (2 * df));
  return scope.Done(
      SolveForTail(tailsAt, SinhOf, p, tail, std::asinh(start), -kHighestLogX, kHighestLogX));
}

}  // namespace Distr
