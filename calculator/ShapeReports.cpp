// The reports of the distributions with real parameters: forward, the two
// tails at x (each computed by its own route) or the three probabilities of
// a discrete distribution at a whole x; inverse, the x-values of a
// percentile p, which may be any probability between 0 and 1.
#include "Distr/Closed.h"
#include "Distr/NegativeBinomial.h"
#include "Distr/Noncentral.h"
#include "Distr/RealDegrees.h"
#include "Distr/RealShapes.h"
#include "calculator/Reports.h"

namespace calculator::reports {

namespace {

using Distr::Tail;
using Distr::Tails;

// Forward: the tails at the x-value w.  Inverse: xLower with P(X<xLower) = w
// and xUpper with P(X>xUpper) = w.
template <class TailsOf, class QuantileOf>
Values TailsOrPoints(long double w, Mode mode, TailsOf tails, QuantileOf quantile) {
  if (mode == Mode::Forward) {
    const Tails t = tails(w);
    return TailsAt{w, t.lower, t.upper};
  }
  return PointsOf{w, quantile(w, Tail::Lower), quantile(w, Tail::Upper)};
}

// The discrete probabilities at the whole x of the last field (the
// quantile and the interval are asked of these, Questions.cpp).
template <class At>
Values PointsAt(const Arguments& a, At at) {
  const int32_t x = a.Whole(kEdit4);
  const Distr::DiscreteTails t = at(x);
  return DiscreteAt{x, t.atMost, t.atLeast, t.point};
}

}  // namespace

Values RealChiSquare(const Arguments& a, Mode mode) {
  const long double df = a.value[kEdit1];
  return TailsOrPoints(
      a.value[kEdit4], mode, [&](long double x) { return Distr::ChiSquareTailsReal(df, x); },
      [&](long double p, Tail t) { return Distr::ChiSquareQuantileReal(df, p, t); });
}

Values RealT(const Arguments& a, Mode mode) {
  const long double df = a.value[kEdit1];
  return TailsOrPoints(
      a.value[kEdit4], mode, [&](long double x) { return Distr::TTailsReal(df, x); },
      [&](long double p, Tail t) { return Distr::TQuantileReal(df, p, t); });
}

Values RealF(const Arguments& a, Mode mode) {
  const long double df1 = a.value[kEdit1];
  const long double df2 = a.value[kEdit2];
  return TailsOrPoints(
      a.value[kEdit4], mode, [&](long double x) { return Distr::FTailsReal(df1, df2, x); },
      [&](long double p, Tail t) { return Distr::FQuantileReal(df1, df2, p, t); });
}

Values EvaluateExponential(const Arguments& a, Mode mode) {
  const long double rate = a.value[kEdit1];
  return TailsOrPoints(
      a.value[kEdit4], mode, [&](long double x) { return Distr::ExponentialTails(rate, x); },
      [&](long double p, Tail t) { return Distr::ExponentialQuantile(rate, p, t); });
}

Values EvaluateGamma(const Arguments& a, Mode mode) {
  const long double shape = a.value[kEdit1];
  const long double scale = a.value[kEdit2];
  return TailsOrPoints(
      a.value[kEdit4], mode, [&](long double x) { return Distr::GammaTails(shape, x / scale); },
      [&](long double p, Tail t) { return scale * Distr::GammaQuantile(shape, p, t); });
}

Values EvaluateBeta(const Arguments& a, Mode mode) {
  const long double alpha = a.value[kEdit1];
  const long double beta = a.value[kEdit2];
  return TailsOrPoints(
      a.value[kEdit4], mode,
      [&](long double x) {
        if (x <= 0) return Tails{0, 1};
        if (x >= 1) return Tails{1, 0};
        return Distr::BetaTails(alpha, beta, x);
      },
      [&](long double p, Tail t) { return Distr::BetaQuantile(alpha, beta, p, t); });
}

Values EvaluateUniform(const Arguments& a, Mode mode) {
  const long double lowEnd = a.value[kEdit1];
  const long double highEnd = a.value[kEdit2];
  return TailsOrPoints(
      a.value[kEdit4], mode, [&](long double x) { return Distr::UniformTails(lowEnd, highEnd, x); },
      [&](long double p, Tail t) { return Distr::UniformQuantile(lowEnd, highEnd, p, t); });
}

Values EvaluateLognormal(const Arguments& a, Mode mode) {
  const long double mu = a.value[kEdit1];
  const long double sigma = a.value[kEdit2];
  return TailsOrPoints(
      a.value[kEdit4], mode, [&](long double x) { return Distr::LognormalTails(mu, sigma, x); },
      [&](long double p, Tail t) { return Distr::LognormalQuantile(mu, sigma, p, t); });
}

Values EvaluateWeibull(const Arguments& a, Mode mode) {
  const long double shape = a.value[kEdit1];
  const long double scale = a.value[kEdit2];
  return TailsOrPoints(
      a.value[kEdit4], mode, [&](long double x) { return Distr::WeibullTails(shape, scale, x); },
      [&](long double p, Tail t) { return Distr::WeibullQuantile(shape, scale, p, t); });
}

Values EvaluateCauchy(const Arguments& a, Mode mode) {
  const long double location = a.value[kEdit1];
  const long double scale = a.value[kEdit2];
  return TailsOrPoints(
      a.value[kEdit4], mode, [&](long double x) { return Distr::CauchyTails(location, scale, x); },
      [&](long double p, Tail t) { return Distr::CauchyQuantile(location, scale, p, t); });
}

Values EvaluateLogistic(const Arguments& a, Mode mode) {
  const long double location = a.value[kEdit1];
  const long double scale = a.value[kEdit2];
  return TailsOrPoints(
      a.value[kEdit4], mode,
      [&](long double x) { return Distr::LogisticTails(location, scale, x); },
      [&](long double p, Tail t) { return Distr::LogisticQuantile(location, scale, p, t); });
}

Values EvaluateNoncentralT(const Arguments& a, Mode mode) {
  const long double df = a.value[kEdit1];
  const long double delta = a.value[kEdit2];
  return TailsOrPoints(
      a.value[kEdit4], mode, [&](long double x) { return Distr::NoncentralTTails(df, delta, x); },
      [&](long double p, Tail t) { return Distr::NoncentralTQuantile(df, delta, p, t); });
}

Values EvaluateNoncentralChiSquare(const Arguments& a, Mode mode) {
  const long double df = a.value[kEdit1];
  const long double lambda = a.value[kEdit2];
  return TailsOrPoints(
      a.value[kEdit4], mode,
      [&](long double x) { return Distr::NoncentralChiSquareTails(df, lambda, x); },
      [&](long double p, Tail t) { return Distr::NoncentralChiSquareQuantile(df, lambda, p, t); });
}

Values EvaluateNoncentralF(const Arguments& a, Mode mode) {
  const long double df1 = a.value[kEdit1];
  const long double df2 = a.value[kEdit2];
  const long double lambda = a.value[kEdit3];
  return TailsOrPoints(
      a.value[kEdit4], mode,
      [&](long double x) { return Distr::NoncentralFTails(df1, df2, lambda, x); },
      [&](long double p, Tail t) { return Distr::NoncentralFQuantile(df1, df2, lambda, p, t); });
}

Values EvaluateGeometric(const Arguments& a, Mode) {
  const long double p = a.value[kEdit1];
  return PointsAt(a, [&](int32_t k) { return Distr::GeometricAt(p, k); });
}

Values EvaluateNegativeBinomial(const Arguments& a, Mode) {
  const int32_t r = a.Whole(kEdit1);
  const long double p = a.value[kEdit2];
  return PointsAt(a, [&](int32_t k) { return Distr::NegativeBinomialAt(r, p, k); });
}

Values EvaluateDiscreteUniform(const Arguments& a, Mode) {
  const int32_t lowest = a.Whole(kEdit1);
  const int32_t highest = a.Whole(kEdit2);
  return PointsAt(a, [&](int32_t k) { return Distr::DiscreteUniformAt(lowest, highest, k); });
}

}  // namespace calculator::reports
