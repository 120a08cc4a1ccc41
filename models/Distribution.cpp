// What every distribution answers through its model, whatever its family:
// the domain of its parameters, its support, mean and variance; and the
// values and notes of every public call, with the notes of the exceptions
// that Guarded catches.
#include <boost/math/policies/error_handling.hpp>
#include <cfloat>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <utility>

#include "models/Engine.h"

namespace models {

Value Value::Of(long double v) {
  return Value{v, ""};
}
Value Value::None(std::string why) {
  return Value{std::nullopt, std::move(why)};
}

bool Value::BelowRange() const {
  return !value && note == kBelowRange;
}

bool IsDiscrete(const Distribution& d) {
  return d.model != nullptr && d.model->Discrete();
}

std::string ParameterProblem(const Distribution& d) {
  if (d.model == nullptr) return kNoModel;
  return d.model->Problem(d.parameters);
}

std::pair<long double, long double> Support(const Distribution& d) {
  constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();
  if (!ParameterProblem(d).empty()) return {kNaN, kNaN};
  return d.model->Support(d.parameters);
}

Value Mean(const Distribution& d) {
  return Guarded(d, [&] { return d.model->Mean(d.parameters); });
}

Value Variance(const Distribution& d) {
  return Guarded(d, [&] { return d.model->Variance(d.parameters); });
}

std::string NoteOfException() {
  try {
    throw;
  } catch (const std::domain_error&) {
    return kDomain;
  } catch (const std::overflow_error&) {
    return kAboveRange;
  } catch (const boost::math::evaluation_error&) {
    return kNoConvergence;
  } catch (const boost::math::rounding_error&) {
    return "too large to round to a whole number";
  } catch (const std::exception& e) {
    return std::string("the computation failed: ") + e.what();
  } catch (...) {
    return "the computation failed";
  }
}

Value Positive(long double v) {
  if (std::isnan(v)) return Value::None(kNotFinite);
  if (v < LDBL_MIN) return Value::None(kBelowRange);
  if (std::isinf(v)) return Value::None(kAboveRange);
  return Value::Of(v);
}

Value Finite(long double v) {
  if (std::isnan(v)) return Value::None(kNotFinite);
  if (std::isinf(v)) return Value::None(kAboveRange);
  return Value::Of(v);
}

}  // namespace models
