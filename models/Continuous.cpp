// The continuous family (Families.h) and the public functions that only a
// continuous distribution answers: the density, both tails and both
// quantiles, each guarded (Engine.h) and handed to the model.  The
// mathematics of each distribution is in its model's file.
#include <cmath>
#include <string>

#include "models/Families.h"

namespace models {

Value ContinuousModel::Density(const Parameters& p, long double x) const {
  if (!std::isfinite(x)) return Value::None(std::string("x is ") + kNotFinite);
  return DensityAt(p, x);
}

Value ContinuousModel::Lower(const Parameters& p, long double x) const {
  if (!std::isfinite(x)) return Value::None(std::string("x is ") + kNotFinite);
  return LowerAt(p, x);
}

Value ContinuousModel::Upper(const Parameters& p, long double x) const {
  if (!std::isfinite(x)) return Value::None(std::string("x is ") + kNotFinite);
  return UpperAt(p, x);
}

Value ContinuousModel::QuantileLower(const Parameters& p, long double q) const {
  if (!(q > 0 && q < 1)) return Value::None(kProbabilityRange);
  return Finite(LowerQuantile(p, q));
}

Value ContinuousModel::QuantileUpper(const Parameters& p, long double q) const {
  if (!(q > 0 && q < 1)) return Value::None(kProbabilityRange);
  return Finite(UpperQuantile(p, q));
}

Value ContinuousModel::Point(const Parameters&, long double) const {
  return Value::None(kNotDiscrete);
}

Value ContinuousModel::AtMost(const Parameters&, long double) const {
  return Value::None(kNotDiscrete);
}

Value ContinuousModel::AtLeast(const Parameters&, long double) const {
  return Value::None(kNotDiscrete);
}

Value ContinuousModel::Quantile(const Parameters&, long double) const {
  return Value::None(kNotDiscrete);
}

std::optional<DiscreteSplit> ContinuousModel::ShortSums(const Parameters&, long double) const {
  return std::nullopt;
}

Interval QuantileInterval(const Model& m, const Parameters& p, long double q) {
  // P(X < a) = P(X > b) = (1 - q) / 2, near 1/2 only where a and b lie in
  // the middle of the distribution, far from 0.
  const Distribution d{&m, p};
  const long double outside = (1 - q) / 2;
  const bool inRange = q > 0 && q < 1;
  return {inRange ? models::QuantileLower(d, outside) : Value::None(kProbabilityRange),
          inRange ? models::QuantileUpper(d, outside) : Value::None(kProbabilityRange)};
}

Value DensityAtZero(long double df, long double atTwo) {
  if (df < 2) return Value::None("infinite at x = 0");
  return Value::Of(df == 2 ? atTwo : 0);
}

Value Density(const Distribution& d, long double x) {
  return Guarded(d, [&] { return d.model->Density(d.parameters, x); });
}

Value Lower(const Distribution& d, long double x) {
  return Guarded(d, [&] { return d.model->Lower(d.parameters, x); });
}

Value Upper(const Distribution& d, long double x) {
  return Guarded(d, [&] { return d.model->Upper(d.parameters, x); });
}

Value QuantileLower(const Distribution& d, long double p) {
  return Guarded(d, [&] { return d.model->QuantileLower(d.parameters, p); });
}

Value QuantileUpper(const Distribution& d, long double q) {
  return Guarded(d, [&] { return d.model->QuantileUpper(d.parameters, q); });
}

}  // namespace models
