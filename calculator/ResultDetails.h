// The details of a result: every value of a computation accurately, from the
// distribution's model (models/Details.h), beside the log's six-decimal lines.
//
// The details are computed afresh from the parsed parameters, for the
// decimals typed, after the log's lines are done, and never feed back into
// them.  Where the log rounds a tiny value to 0.000000 or 1.000000, or where
// the nine first functions' own arithmetic loses digits at extreme
// parameters, the remarks say so in sentences for the details pane.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "calculator/Calculator.h"
#include "models/Details.h"

namespace calculator {

using DetailValues =
    std::variant<std::monostate, models::ContinuousForward, models::ContinuousInverse,
                 models::DiscreteForward, models::DiscreteInverse, models::IntervalValues,
                 models::Counting>;

struct ResultDetails {
  DetailValues values;
  // The distribution's moments; none for the counting functions.
  std::optional<models::Value> mean, variance;
  // Sentences for a user: where the log's printed digits hide or differ from
  // the accurate value.
  std::vector<std::string> remarks;
};

// The engine's distribution of a function with its parsed fields (by slot);
// none for the counting functions.
std::optional<models::Distribution> DistributionOf(Function function, const Arguments& arguments);

// Where a forward value of a distribution is taken: for one that moves with
// a location parameter, where the decimals typed give x - location, the
// same distribution at location 0 and that difference (its far tails
// depend on those digits: x = 1e20 + 1 at location 1e20 is 1 from it);
// otherwise d at x.  `place` is the location's place among the
// parameters when it was moved, -1 otherwise.
struct LocatedAt {
  models::Distribution d;
  long double x;
  int place = -1;
};
LocatedAt Located(const FunctionAbout& about, const Arguments& arguments, models::Distribution d,
                  long double x);

// The decimals typed for a discrete quantile: the percentile and the
// probability parameter, as exact fractions.
models::Typed TypedOf(const FunctionAbout& about, const Arguments& arguments);

// The details of an ok result (forward or inverse); empty values otherwise.
ResultDetails DetailsOf(const Result& result);

// The details of a result whose log computation failed (a run-time error)
// after every field was read: the engine may still have every value, as
// for t with 1 degree of freedom at x = 1e3700, whose tail is about
// 1e-3700.  Empty values where the fields were not read.
ResultDetails DetailsOfError(const Result& result);

// The quantile of a discrete distribution for the percentile p in the
// x-value's field: the smallest x with P(X <= x) >= p (the JSON output's
// discrete inverse).
ResultDetails QuantileDetails(Function function, const Arguments& arguments);

}  // namespace calculator
