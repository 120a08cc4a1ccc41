// The two families of models (Model.h): what every continuous and every
// discrete distribution does alike, with the operations that differ left to
// each model, pure virtual.
//
// ContinuousModel turns away a non-finite x and a probability outside (0, 1),
// and answers the discrete operations with kNotDiscrete; a model gives its
// density, both tails and both quantiles, the tails each computed directly
// (never as one minus the other).
//
// DiscreteModel reduces every discrete operation to whole k inside the
// support (Discrete.cpp): below or above it a tail is 0 or 1, and a support
// of one value or a point mass is certain.  A model gives its point
// probability and its tails there, its shape for the quantile's first
// guess (or the guess itself), the fast tails the quantile search bisects
// on, and its short sums; the continuous operations are answered with
// kNotContinuous.
#pragma once

#include <optional>
#include <string>

#include "models/Engine.h"

namespace models {

class ContinuousModel : public Model {
 public:
  bool Discrete() const final { return false; }

  Value Density(const Parameters& p, long double x) const final;
  Value Lower(const Parameters& p, long double x) const final;
  Value Upper(const Parameters& p, long double x) const final;
  Value QuantileLower(const Parameters& p, long double q) const final;
  Value QuantileUpper(const Parameters& p, long double q) const final;

  Value Point(const Parameters& p, long double k) const final;
  Value AtMost(const Parameters& p, long double k) const final;
  Value AtLeast(const Parameters& p, long double k) const final;
  Value Quantile(const Parameters& p, long double q) const final;
  std::optional<DiscreteSplit> ShortSums(const Parameters& p, long double x) const final;

 protected:
  // For finite x: the density, P(X < x) and P(X > x).
  virtual Value DensityAt(const Parameters& p, long double x) const = 0;
  virtual Value LowerAt(const Parameters& p, long double x) const = 0;
  virtual Value UpperAt(const Parameters& p, long double x) const = 0;
  // For 0 < q < 1: the x with P(X < x) = q and the x with P(X > x) = q.
  virtual long double LowerQuantile(const Parameters& p, long double q) const = 0;
  virtual long double UpperQuantile(const Parameters& p, long double q) const = 0;
};

// The central interval of probability q between the quantiles of
// (1 - q) / 2, each taken (and guarded) by itself.
Interval QuantileInterval(const Model& m, const Parameters& p, long double q);

// The central interval [centre - w, centre + w] of a distribution symmetric
// about centre, with w = halfWidth() for 0 < q < 1, guarded.
template <class HalfWidth>
Interval SymmetricInterval(const Model& m, const Parameters& p, long double q, long double centre,
                           HalfWidth&& halfWidth) {
  const Value w = Guarded(Distribution{&m, p}, [&]() -> Value {
    if (!(q > 0 && q < 1)) return Value::None(kProbabilityRange);
    return Finite(halfWidth());
  });
  return {w.value ? Finite(centre - *w.value) : w, w.value ? Finite(centre + *w.value) : w};
}

// The density at x = 0 of chi-square and F, whose numerator degrees of
// freedom df decide: infinite below 2, atTwo at 2, zero above.
Value DensityAtZero(long double df, long double atTwo);

// The last arguments and their value, per thread: a forward report asks for
// the density and a tail at the same point, which share the saddle-point
// term, the costliest part of either.  Keyed on the first two parameters.
template <class Term>
struct LastOf {
  long double p0 = 0, p1 = 0, x = 0;
  std::optional<Term> value;
  bool filled = false;

  template <class Compute>
  const std::optional<Term>& Get(const Parameters& p, long double at, Compute&& compute) {
    if (!(filled && p0 == P0(p) && p1 == P1(p) && x == at)) {
      value = compute();
      p0 = P0(p), p1 = P1(p), x = at, filled = true;
    }
    return value;
  }
};

// Mean, standard deviation and skewness, for the discrete quantile's first
// guess (Cornish-Fisher).
struct Shape {
  long double mean, sd, skew;
};

struct ExactRatio;  // ExactTails.h

class DiscreteModel : public Model {
 public:
  bool Discrete() const final { return true; }
  bool NearNormal(const Parameters&) const final { return false; }

  Value Point(const Parameters& p, long double k) const final;
  Value AtMost(const Parameters& p, long double k) const final;
  Value AtLeast(const Parameters& p, long double k) const final;
  Value Quantile(const Parameters& p, long double q) const final;
  // The quantile for the decimals typed (Details.h), where they are given.
  Value TypedQuantile(const Parameters& p, long double q, const Typed& typed) const;
  std::optional<DiscreteSplit> ShortSums(const Parameters& p, long double x) const final;

  Value Density(const Parameters& p, long double x) const final;
  Value Lower(const Parameters& p, long double x) const final;
  Value Upper(const Parameters& p, long double x) const final;
  Value QuantileLower(const Parameters& p, long double q) const final;
  Value QuantileUpper(const Parameters& p, long double q) const final;
  Interval CentralInterval(const Parameters& p, long double q) const final;

 protected:
  // The single value of a degenerate distribution that the support does not
  // show (a binomial with p = 0 or 1); none otherwise.
  virtual std::optional<long double> PointMass(const Parameters& p) const = 0;
  // P(X = k), P(X <= k) and P(X > k) for whole k with lo <= k < hi (k <= hi
  // for the point), [lo, hi] the support.
  virtual long double PointInside(const Parameters& p, long double k) const = 0;
  virtual long double AtMostInside(const Parameters& p, long double k) const = 0;
  virtual long double AboveInside(const Parameters& p, long double k) const = 0;

  virtual Shape QuantileShape(const Parameters& p) const = 0;
  // The quantile's first guess for 0 < q < 1, complement = 1 - q: by
  // default Cornish-Fisher's on QuantileShape; a model whose quantile has a
  // closed form gives that.
  virtual long double QuantileGuess(const Parameters& p, long double q,
                                    long double complement) const;
  // Why the quantile is not searched for p; empty when it is.
  virtual std::string QuantileProblem(const Parameters& p) const = 0;
  // Whether the quantile walks from its guess one point at a time (where a
  // tail is a long sum) instead of bisecting on SearchedTail.
  virtual bool WalksQuantile(const Parameters& p) const = 0;
  // P(X > k) when above, else P(X <= k), for lo <= k < hi, as the search
  // bisects on it: fast, and it may be off by 1e-12 relative (the answer is
  // then checked on AboveInside or AtMostInside).
  virtual long double SearchedTail(const Parameters& p, long double k, bool above) const = 0;
  // The sign of P(X <= k) - q in exact arithmetic, for lo <= k < hi, where
  // the distribution's tails are fractions of integers of a workable size
  // (ExactTails.h), with the model's probability parameter as typed where
  // given; none otherwise (a Poisson tail never equals a q).
  virtual std::optional<int> CompareAtMost(const Parameters& p, long double k, ExactRatio& q,
                                           const Ratio& probability) const = 0;

  // The k with P(X <= k) = 1/2 exactly, by a symmetry of the distribution,
  // where it has one (a binomial with p = 1/2 and n odd), with the
  // probability parameter as typed where given; none otherwise.  It decides
  // the median's boundary where the exact sums would be too long.
  virtual std::optional<long double> HalfPoint(const Parameters&, const Ratio&) const {
    return std::nullopt;
  }

  // The point and both strict tails at whole x strictly inside the support
  // from one sum, where that sum is short; none otherwise.
  virtual std::optional<DiscreteSplit> SplitAt(const Parameters& p, long double x) const = 0;
};

}  // namespace models
