// The one error policy under which the details engine calls Boost.Math.
//
// Domain, pole, overflow, evaluation and rounding errors throw; Guarded
// (Engine.h) catches them around every public call and turns them into a
// value of none with a sentence.  Underflow and denormals are ignored: Boost
// then returns 0 or a denormal, which the engine reports as below the
// extended range wherever the true value is known to be positive.  Reals stay
// long double throughout (no promotion), and the discrete quantiles are never
// taken from Boost (DiscreteQuantile searches the engine's own cumulative
// probabilities), so the rounding of discrete quantiles is left at its default.
#pragma once

#include <boost/math/policies/policy.hpp>

namespace models {

using BoostPolicy = boost::math::policies::policy<
    boost::math::policies::domain_error<boost::math::policies::throw_on_error>,
    boost::math::policies::pole_error<boost::math::policies::throw_on_error>,
    boost::math::policies::overflow_error<boost::math::policies::throw_on_error>,
    boost::math::policies::evaluation_error<boost::math::policies::throw_on_error>,
    boost::math::policies::rounding_error<boost::math::policies::throw_on_error>,
    boost::math::policies::underflow_error<boost::math::policies::ignore_error>,
    boost::math::policies::denorm_error<boost::math::policies::ignore_error>,
    boost::math::policies::promote_float<false>, boost::math::policies::promote_double<false>>;

}  // namespace models
