// The noncentral t distribution with df > 0 degrees of freedom and
// noncentrality delta: (Z + delta) / sqrt(V / df) with Z standard normal and
// V chi-square of df degrees of freedom.
//
// The density and both tails are integrals over the scale of the
// denominator (below), each tail in its own form (never 1 - the other), at
// every df, delta and x; at x = 0 the tails are Phi(-+delta).  The quantiles
// are refined on these tails (QuantileRefinement.h) from a normal
// approximation.  With delta = 0 the distribution is Student's t, whose
// model answers (TModel.cpp).  Mean delta sqrt(df/2) Gamma((df - 1)/2) /
// Gamma(df/2) for df > 1, the ratio of gamma functions taken as one
// (tgamma_delta_ratio); variance df (1 + delta^2) / (df - 2) - mean^2 for
// df > 2.
#include <algorithm>
#include <array>
#include <boost/math/constants/constants.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/special_functions/erf.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "models/BoostPolicy.h"
#include "models/Families.h"
#include "models/LocationScale.h"
#include "models/Models.h"
#include "models/QuantileRefinement.h"
#include "models/Stirling.h"

namespace models {

namespace {

using StudentsT = boost::math::students_t_distribution<long double, BoostPolicy>;

bool Central(const Parameters& p) {
  return P1(p) == 0;
}

// The mean, for df > 1.
long double MeanOf(const Parameters& p) {
  const long double df = P0(p);
  const long double ratio = boost::math::tgamma_delta_ratio((df - 1) / 2, 0.5L, BoostPolicy());
  return P1(p) * std::sqrt(df / 2) * ratio;
}

// ---- The tails and density as integrals over the scale ----
//
// With S = sqrt(V / df), T < x is Z < x S - delta.  For x != 0 let a = |x|
// and c = delta sign(x) (T against -T for x < 0); then the tail beyond x
// (away from 0) and the one towards 0, and the density, are
//   beyond = E[Phi-bar(a S - c)],  towards = E[Phi(a S - c)],
//   f(x) = E[S phi(a S - c)],
// each an integral of positive terms, with no difference of tails.  Over
// u = ln s, with m = df / 2, the density of S times s is
//   2 m^m e^(2 m u - m e^(2u)) / Gamma(m)
//     = e^(ln(2 sqrt(m / (2 pi))) - StirlingError(m) - m (e^(2u) - 1 - 2u)),
// no difference of large logarithms however large df; each integrand is
// e^L(u) with L unimodal (concave for the tail beyond x and the density),
// smooth, with the double-exponential fall of e^(-m e^(2u)) to the right and
// the fall of e^(df u) (or e^((df + 1) u)) to the left.  The integral runs
// from L's peak outward over panels that double in width, each by
// Gauss-Kronrod's rule, bisected where its Gauss and Kronrod sums differ,
// until what the rest of the line can add is negligible; summed relative to
// the peak, the logarithm of the integral reaches values far below the
// extended range's smallest real before its last exponential.  The panels
// adapt to both of the integrand's scales: the spread of S (1 / sqrt(2 df)
// in u) and the step of Phi across 1 / |delta| in u where a S passes c, the
// far-noncentral regime where T is nearly normal in x S.

constexpr long double kLnRootTwoPi = 0.918938533204672741780329736405617639861L;

// e^v - 1 - v, without the cancellation of its plain form for small |v|.
long double ExpRemainder(long double v) {
  if (std::fabs(v) > 0.5L) return std::expm1(v) - v;
  long double term = v * v / 2, sum = term;
  for (int k = 3; std::fabs(term) > 1e-21L * sum; ++k) {
    term *= v / k;
    sum += term;
  }
  return sum;
}

// The Mills ratio Phi-bar(y) / phi(y) for y >= 0: below 4 from erfc; from 4
// on by Laplace's continued fraction 1/(y + 1/(y + 2/(y + 3/(y + ...)))),
// evaluated backward from 8 + 800/y^2 terms, within 1e-20 there (and a few
// times cheaper than erfc).
long double MillsRatio(long double y) {
  if (y < 4) {
    const long double root2 = boost::math::constants::root_two<long double>();
    const long double rootHalfPi = boost::math::constants::root_half_pi<long double>();
    return boost::math::erfc(y / root2, BoostPolicy()) * rootHalfPi * std::exp(y * y / 2);
  }
  long double r = 0;
  for (int k = 8 + static_cast<int>(800 / (y * y)); k > 0; --k) r = k / (y + r);
  return 1 / (y + r);
}

// ln Phi-bar(y) for every real y.
long double LogUpperNormal(long double y) {
  if (y < 0) return std::log1p(-std::exp(LogUpperNormal(-y)));
  return -y * y / 2 - kLnRootTwoPi + std::log(MillsRatio(y));
}

// The hazard phi(y) / Phi-bar(y) for every real y.
long double Hazard(long double y) {
  if (y >= 0) return 1 / MillsRatio(y);
  return std::exp(-y * y / 2 - kLnRootTwoPi - LogUpperNormal(y));
}

// The density of S at e^u, times e^u, for m = df / 2, is e^(c - m (e^(2u) - 1 - 2u)).
struct ScaleDensity {
  long double m, c;
  explicit ScaleDensity(long double df)
      : m(df / 2),
        c(std::log(2 * m / boost::math::constants::pi<long double>()) / 2 - StirlingError(m)) {}
};

enum class Part { kBeyond, kTowards, kDensity };

// ln of the integrand of a part at u = origin + w, and its slope, as
// functions of w, with a S = e^(w + ln a + origin): no subnormal S for |x|
// near the extended range's largest real, and no rounding of u far from 0 in
// Phi's argument a S - c (at u = -11000, some 1e-15) nor in m e^(2u) (at
// u = 345 with m = 5e-301, some 1e-13): the density of S takes
//   m (e^(2u) - 1 - 2u) = m R(2 origin) + m e^(2 origin) R(2w) + 2 m w (e^(2 origin) - 1),
// R(v) = e^v - 1 - v, the terms of origin once.
struct Integrand {
  Part part;
  long double lnA, c;
  ScaleDensity scale;
  long double origin = 0, lnAs = lnA;
  long double restAt = 0, shape = scale.m, slopeAt = 0;

  Integrand CenteredAt(long double u) const {
    Integrand f = *this;
    f.origin = u, f.lnAs = u + lnA;
    f.restAt = scale.m * ExpRemainder(2 * u);
    f.shape = scale.m * std::exp(2 * u);
    f.slopeAt = 2 * scale.m * std::expm1(2 * u);
    return f;
  }
  // ln of the density of S at e^u, times e^u, and its slope df (1 - e^(2u)).
  long double Scale(long double w) const {
    return scale.c - (restAt + shape * ExpRemainder(2 * w) + w * slopeAt);
  }
  long double ScaleSlope(long double w) const {
    return -(slopeAt + 2 * shape * std::expm1(2 * w));
  }
  long double operator()(long double w) const {
    const long double y = std::exp(w + lnAs) - c;
    switch (part) {
      case Part::kBeyond:
        return LogUpperNormal(y) + Scale(w);
      case Part::kTowards:
        return LogUpperNormal(-y) + Scale(w);
      case Part::kDensity:
        break;
    }
    return -y * y / 2 - kLnRootTwoPi + (origin + w) + Scale(w);
  }
  long double Slope(long double w) const {
    const long double as = std::exp(w + lnAs), y = as - c;
    // a S h, 0 where the hazard h is (no infinity times 0 for a S overflowing).
    const auto pull = [as](long double h) { return h == 0 ? 0 : as * h; };
    switch (part) {
      case Part::kBeyond:
        return ScaleSlope(w) - pull(Hazard(y));
      case Part::kTowards:
        return ScaleSlope(w) + pull(Hazard(-y));
      case Part::kDensity:
        break;
    }
    return ScaleSlope(w) + 1 - y * as;
  }
};

// Bisections of the peak at most, and the bracket's width that ends them.
constexpr int kPeakBisections = 200;
constexpr long double kPeakPrecision = 1e-12L;
// The panels: the first this fraction of the peak's width, at most
// kMostPanels on either side of it, and a panel is bisected at most
// kDeepestSplit times over.
constexpr long double kFirstPanel = 0.5L;
constexpr int kMostPanels = 4000;
// Phi's step where a S passes c > 1 is some 1 / c wide in u: the panels
// about it start within kStepReach of those widths.
constexpr long double kStepReach = 8;
constexpr int kDeepestSplit = 24;
// A panel whose Gauss and Kronrod sums differ by less than this fraction of
// the sum so far, or than their rounding, is done; the walk ends where the
// rest of the line (its integrand falling at least as fast as at the panel's
// end) adds less than kPanelTolerance.  The rounding of a panel's sum is
// kPanelRounding of it, more where f - top is a difference of large
// logarithms (some epsilons of |top|) or where a S - c is a difference of
// two numbers near c (Phi's argument then off by some epsilons of c,
// 1e-15 relative for the integrand at c = 1000).
constexpr long double kPanelTolerance = 1e-21L;
constexpr long double kPanelRounding = 1e-16L;
constexpr long double kTopRounding = 16 * std::numeric_limits<long double>::epsilon();
constexpr long double kStepRounding = 64 * std::numeric_limits<long double>::epsilon();
// Bisections of panels at most, for one integral.
constexpr int kPanelBudget = 20000;

// The 15-point Kronrod rule and its 7-point Gauss rule, on [-1, 1]: nodes
// from the outermost in; the Gauss nodes are the odd ones.
constexpr std::array<long double, 8> kKronrodNodes = {
    0.991455371120812639206854697526329L, 0.949107912342758524526189684047851L,
    0.864864423359769072789712788640926L, 0.741531185599394439863864773280788L,
    0.586087235467691130294144845693013L, 0.405845151377397166906606412076961L,
    0.207784955007898467600689403773245L, 0.0L};
constexpr std::array<long double, 8> kKronrodWeights = {
    0.022935322010529224963732008058970L, 0.063092092629978553290700663189204L,
    0.104790010322250183839876322541518L, 0.140653259715525918745189590510238L,
    0.169004726639267902826583426598550L, 0.190350578064785409913256402421014L,
    0.204432940075298892414161999234649L, 0.209482141084727828012999174891714L};
constexpr std::array<long double, 4> kGaussWeights = {
    0.129484966168869693270611432679082L, 0.279705391489276667901467771423780L,
    0.381830050505118944950369775488975L, 0.417959183673469387755102040816327L};

// The peak of L (where its slope turns negative) and the width there,
// 1 / sqrt(-L'').
struct Peak {
  long double u, width;
};

Peak PeakOf(const Integrand& f) {
  long double low = -1, high = 1;
  while (f.Slope(low) <= 0 && low > -0x1p20L) low *= 2;
  while (f.Slope(high) > 0 && high < 0x1p20L) high *= 2;
  for (int i = 0; i < kPeakBisections && high - low > kPeakPrecision * (1 + std::fabs(low)); ++i) {
    const long double mid = (low + high) / 2;
    (f.Slope(mid) > 0 ? low : high) = mid;
  }
  const long double u = (low + high) / 2;
  long double width = 1;
  for (long double d : {1e-3L, 0.0L}) {
    if (d == 0) d = width / 16;
    const long double curvature = (f.Slope(u - d) - f.Slope(u + d)) / (2 * d);
    if (curvature > 0 && std::isfinite(curvature)) width = std::min(1 / std::sqrt(curvature), 1.0L);
  }
  return {u, width};
}

// The integral of e^(f(u) - top) over [from, to] by Gauss-Kronrod, bisected
// until its Gauss and Kronrod sums agree within tolerance, or within the
// rounding of f - top (some units of |top| times the epsilon), or until the
// budget of panels is spent.
long double Panel(const Integrand& f, long double top, long double from, long double to,
                  long double tolerance, int& budget, int depth = 0) {
  const long double half = (to - from) / 2, mid = from + half;
  long double kronrod = 0, gauss = 0;
  for (int i = 0; i < 8; ++i) {
    const long double x = kKronrodNodes[i] * half;
    const long double v = i == 7 ? std::exp(f(mid) - top)
                                 : std::exp(f(mid - x) - top) + std::exp(f(mid + x) - top);
    kronrod += kKronrodWeights[i] * v;
    if (i % 2 == 1) gauss += kGaussWeights[i / 2] * v;
  }
  kronrod *= half, gauss *= half;
  const long double gap = std::fabs(kronrod - gauss);
  const long double rounding =
      std::max({kPanelRounding, kTopRounding * std::fabs(top), kStepRounding * std::fabs(f.c)});
  if (!(gap > tolerance && gap > rounding * kronrod) || depth >= kDeepestSplit || --budget < 0)
    return kronrod;
  return Panel(f, top, from, mid, tolerance, budget, depth + 1) +
         Panel(f, top, mid, to, tolerance, budget, depth + 1);
}

// Where a S is below kFlat / (1 + |c|) and m s^2 below kSmallShape, far left
// of the peak for small df, a tail's integrand is Phi-bar(-+c) times the
// density of S to within 1e-20: the rest of the line to the left is that
// normal tail times P(S < s), the incomplete gamma function P(m, m s^2) from
// its series (the walk would otherwise cross some 50 / df in u).
constexpr long double kFlat = 1e-20L;
constexpr long double kSmallShape = 1e-3L;

// ln P(m, z) for z = e^lnZ < 1, from z^m e^-z / Gamma(m + 1) sum_k z^k / ((m + 1) ... (m + k)).
long double LogLowerGammaSmall(long double m, long double lnZ) {
  const long double z = std::exp(lnZ);
  long double term = 1, sum = 1;
  for (int k = 1; term > 1e-21L * sum; ++k) {
    term *= z / (m + k);
    sum += term;
  }
  return m * lnZ - z - std::lgamma(m + 1) + std::log(sum);
}

// What the line left of u adds to a tail, relative to e^top, where that is
// flat (else none).
std::optional<long double> FlatRest(const Integrand& f, long double w, long double top) {
  const long double lnZ = std::log(f.scale.m) + 2 * (f.origin + w), z = std::exp(lnZ);
  if (f.part == Part::kDensity || !(std::exp(w + f.lnAs) * (1 + std::fabs(f.c)) < kFlat) ||
      !(z < kSmallShape))
    return std::nullopt;
  const long double start = LogUpperNormal(f.part == Part::kBeyond ? -f.c : f.c);
  return std::exp(start + LogLowerGammaSmall(f.scale.m, lnZ) - top);
}

// The least slope of L left of u, by which the walk bounds the rest of the
// line: L' itself where L is concave (the tail beyond x); for the tail
// towards 0 and the density, whose slope falls to df (df + 1) far left, the
// slope of the density of S (plus 1), which L' exceeds there.
long double LeftFall(const Integrand& f, long double w) {
  if (f.part == Part::kBeyond) return f.Slope(w);
  return std::max(f.ScaleSlope(w) + (f.part == Part::kDensity ? 1 : 0), 0.0L);
}

// ln of the integral of e^f over the real line.
long double LogIntegral(const Integrand& centred) {
  const Peak peak = PeakOf(centred);
  const Integrand f = centred.CenteredAt(peak.u);
  const long double top = f(0);
  // The step of Phi where a S passes c > 0 starts a panel of its own.
  const long double step = f.c > 0 && f.part != Part::kDensity ? std::log(f.c) - f.lnAs : NAN;
  long double sum = 0;
  int budget = kPanelBudget;
  bool open[2] = {true, true};
  const long double stepWidth = 1 / std::max(f.c, 1.0L);
  long double inner[2] = {0, 0};
  long double size[2] = {kFirstPanel * peak.width, kFirstPanel * peak.width};
  for (int k = 0; k < kMostPanels && (open[0] || open[1]); ++k) {
    for (int side : {0, 1}) {
      if (!open[side]) continue;
      const long double dir = side == 0 ? 1 : -1;
      long double outer = inner[side] + dir * size[side];
      size[side] *= 2;
      if ((step - inner[side]) * (step - outer) < 0) {
        // Up to the step's reach, then to the step, then panels from the
        // step's width on: a panel wider than the step could miss it.
        const long double reach = step - dir * kStepReach * stepWidth;
        outer = (reach - inner[side]) * dir > 0 ? reach : step;
        if (outer == step) size[side] = std::min(size[side], kFirstPanel * stepWidth);
      }
      sum += std::fabs(Panel(f, top, std::min(inner[side], outer), std::max(inner[side], outer),
                             kPanelTolerance * std::max(sum, peak.width), budget));
      inner[side] = outer;
      if (side == 1) {
        if (const auto rest = FlatRest(f, outer, top)) {
          sum += *rest;
          open[side] = false;
          continue;
        }
      }
      const long double here = f(outer) - top, slope = f.Slope(outer);
      const long double rest = std::exp(here) / std::fabs(side == 0 ? slope : LeftFall(f, outer));
      open[side] = !(here == -std::numeric_limits<long double>::infinity() ||
                     (rest < kPanelTolerance * sum && dir * slope < 0)) &&
                   std::isfinite(outer);
    }
  }
  return top + std::log(sum);
}

long double LogPart(Part part, long double df, long double a, long double c) {
  return LogIntegral(Integrand{part, std::log(a), c, ScaleDensity(df)});
}

class NoncentralT final : public ContinuousModel {
 public:
  std::span<const ParameterAbout> ParameterNames() const override {
    static constexpr ParameterAbout kNames[] = {{"df"}, {"delta"}};
    return kNames;
  }
  bool Symmetric() const override { return false; }
  bool NearNormal(const Parameters&) const override { return false; }

  std::string Problem(const Parameters& p) const override {
    return EitherProblem(DegreesProblem(P0(p), "the degrees of freedom"),
                         FiniteProblem(P1(p), "the noncentrality"));
  }
  std::pair<long double, long double> Support(const Parameters&) const override {
    const long double inf = std::numeric_limits<long double>::infinity();
    return {-inf, inf};
  }
  Value Mean(const Parameters& p) const override {
    if (P0(p) <= 1) return Value::None("undefined for 1 or fewer degrees of freedom");
    return Finite(MeanOf(p));
  }
  Value Variance(const Parameters& p) const override {
    const long double df = P0(p), delta = P1(p);
    if (df <= 1) return Value::None("undefined for 1 or fewer degrees of freedom");
    if (df <= 2) return Value::None("infinite for 2 or fewer degrees of freedom");
    const long double mean = MeanOf(p);
    return Finite(df * (1 + delta * delta) / (df - 2) - mean * mean);
  }
  long double RoughMedian(const Parameters& p) const override { return P1(p); }

  Interval CentralInterval(const Parameters& p, long double q) const override {
    if (Central(p)) return TModel().CentralInterval(p, q);
    return QuantileInterval(*this, p, q);
  }

 protected:
  Value DensityAt(const Parameters& p, long double x) const override {
    if (Central(p)) return TModel().Density(p, x);
    return Positive(std::exp(LogPart(Part::kDensity, P0(p), std::fabs(x), Signed(p, x))));
  }
  Value LowerAt(const Parameters& p, long double x) const override {
    if (Central(p)) return TModel().Lower(p, x);
    if (x == 0) return Positive(NormalUpper(P1(p)));
    const Part part = x < 0 ? Part::kBeyond : Part::kTowards;
    return Positive(std::exp(LogPart(part, P0(p), std::fabs(x), Signed(p, x))));
  }
  Value UpperAt(const Parameters& p, long double x) const override {
    if (Central(p)) return TModel().Upper(p, x);
    if (x == 0) return Positive(NormalUpper(-P1(p)));
    const Part part = x > 0 ? Part::kBeyond : Part::kTowards;
    return Positive(std::exp(LogPart(part, P0(p), std::fabs(x), Signed(p, x))));
  }
  // P(T < x) = q: below 0 where q < P(T < 0), the tail beyond -|x| of
  // noncentrality -delta; above it the tail towards 0 of delta.
  long double LowerQuantile(const Parameters& p, long double q) const override {
    if (Central(p)) return quantile(StudentsT(P0(p)), q);
    const long double atZero = NormalUpper(P1(p));
    if (q == atZero) return 0;
    return q < atZero ? -Solve(P0(p), -P1(p), q, Part::kBeyond)
                      : Solve(P0(p), P1(p), q, Part::kTowards);
  }
  long double UpperQuantile(const Parameters& p, long double q) const override {
    if (Central(p)) return quantile(complement(StudentsT(P0(p)), q));
    const long double atZero = NormalUpper(-P1(p));
    if (q == atZero) return 0;
    return q < atZero ? Solve(P0(p), P1(p), q, Part::kBeyond)
                      : -Solve(P0(p), -P1(p), q, Part::kTowards);
  }

 private:
  // c = delta sign(x), the noncentrality of sign(x) T.
  static long double Signed(const Parameters& p, long double x) { return x < 0 ? -P1(p) : P1(p); }
  // Phi-bar(y).
  static long double NormalUpper(long double y) {
    const long double root2 = boost::math::constants::root_two<long double>();
    return boost::math::erfc(y / root2, BoostPolicy()) / 2;
  }
  // The a > 0 where the part (a tail) of noncentrality c is q.
  static long double Solve(long double df, long double c, long double q, Part part) {
    return BracketedQuantile(
        Guess(df, c, q, part == Part::kBeyond), q, part == Part::kBeyond,
        [&](long double a) { return LogPart(part, df, a, c); },
        [&](long double a) { return LogPart(Part::kDensity, df, a, c); });
  }
  // The first guess: T near normal in (T (1 - 1/(4 df)) - c) / sqrt(1 + T^2 / (2 df)),
  // that ratio solved for T at the normal quantile; where it has no
  // positive solution, |c| or 1.
  static long double Guess(long double df, long double c, long double q, bool beyond) {
    const long double root2 = boost::math::constants::root_two<long double>();
    const long double z = root2 * boost::math::erfc_inv(2 * q, BoostPolicy()) * (beyond ? 1 : -1);
    const long double k = 1 - 1 / (4 * df), a = k * k - z * z / (2 * df);
    const long double d = k * k + (c * c - z * z) / (2 * df);
    const long double fallback = std::max(std::fabs(c), 1.0L);
    if (!(a > 0 && d >= 0)) return fallback;
    const long double t = (k * c + z * std::sqrt(d)) / a;
    return t > 0 && std::isfinite(t) ? t : fallback;
  }
};

constinit const NoncentralT kNoncentralT{};

}  // namespace

const Model& NoncentralTModel() {
  return kNoncentralT;
}

}  // namespace models
