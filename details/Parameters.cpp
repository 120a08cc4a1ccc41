// Values and their notes, the domains of the parameters, and the notes of
// the exceptions that Guarded catches.
#include <boost/math/policies/error_handling.hpp>
#include <cfloat>
#include <cmath>
#include <utility>

#include "details/Engine.h"

namespace details {

namespace {

// The largest count of an urn: counts stay below 2^32, as Boost's unsigned
// hypergeometric arguments do.
constexpr long double kUrnCountLimit = 4294967296.0L;  // 2^32

bool Whole(long double v) {
  return IsWhole(v);
}

std::string DegreesProblem(long double df, const char* name) {
  if (std::isfinite(df) && df > 0) return "";
  return std::string(name) + " must be a positive finite number";
}

std::string UrnProblem(const Distribution& d) {
  const char* names[] = {"the number of blue balls", "the number of red balls", "the sample"};
  for (int i = 0; i < 3; ++i) {
    const long double c = d.parameters[i];
    if (!Whole(c) || c < 0 || c >= kUrnCountLimit)
      return std::string(names[i]) + " must be a whole number from 0 to 4294967295";
  }
  if (P2(d) > P0(d) + P1(d)) return "the sample is larger than the urn (blue + red balls)";
  return "";
}

}  // namespace

Value Value::Of(long double v) {
  return Value{v, ""};
}
Value Value::None(std::string why) {
  return Value{std::nullopt, std::move(why)};
}

bool IsDiscrete(Kind kind) {
  return kind == Kind::Binomial || kind == Kind::Poisson || kind == Kind::Hypergeometric;
}

std::string ParameterProblem(const Distribution& d) {
  switch (d.kind) {
    case Kind::Normal:
      if (!std::isfinite(P0(d))) return "the mean must be a finite number";
      if (!(std::isfinite(P1(d)) && P1(d) > 0))
        return "the variance must be a positive finite number";
      return "";
    case Kind::ChiSquare:
    case Kind::T:
      return DegreesProblem(P0(d), "the degrees of freedom");
    case Kind::F: {
      const std::string problem = DegreesProblem(P0(d), "the numerator degrees of freedom");
      return problem.empty() ? DegreesProblem(P1(d), "the denominator degrees of freedom")
                             : problem;
    }
    case Kind::Binomial:
      if (!(P0(d) >= 0 && P0(d) <= 1)) return "p must lie between 0 and 1";
      if (!Whole(P1(d)) || P1(d) < 0 || P1(d) >= kExactWholeLimit)
        return "n must be a whole number from 0 to 2^64 - 1";
      return "";
    case Kind::Poisson:
      if (!(std::isfinite(P0(d)) && P0(d) > 0)) return "lambda must be a positive finite number";
      return "";
    case Kind::Hypergeometric:
      return UrnProblem(d);
  }
  return "unknown distribution";
}

std::string NoteOfException() {
  try {
    throw;
  } catch (const NoValue& e) {
    return e.what();
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

}  // namespace details
