// The standard normal tail at an argument given to more than extended
// precision, for the models whose far tails are normal ones in disguise
// (NormalModel.cpp, where it is computed; the lognormal, and the gamma and
// beta tails at large parameters, Incomplete.h).
#pragma once

#include "models/ExtendedPair.h"

namespace models {

// erfc(hi + lo) / 2: Boost's erfc at hi, corrected to first order in lo.
// Far out the relative error of the tail is about 2 u^2 times the relative
// error of u, so a pair keeps it to that of erfc itself down to the bottom
// of the range.
long double HalfErfc(const ExtendedPair& u);

}  // namespace models
