// The quantiles of the discrete distributions: for each p the smallest x
// with P(X<=x) >= p, where P(X<=x) is the log's own number at x.
//
// The log's P(X<=x) never falls as x grows, so the quantile is found by a
// search over the whole numbers of the support: from a start near the
// answer, steps that double until they pass p bracket it, and halving the
// bracket ends at it.  Each step is one computation of the log (for the
// hypergeometric distribution a sum over the support), so a good start
// matters more than the search.
#include <algorithm>
#include <cmath>
#include <map>

#include "calculator/NumberText.h"
#include "tables/Planning.h"

namespace tables {

namespace {

using calculator::Function;

// A computation of the log that failed, ending the search.
struct SearchFailure {
  std::string message;
};

// The smallest and largest x of the support, the largest no more than the
// log's arithmetic takes for the x-value (the Poisson tail at x + 1 works
// with whole numbers a little above 2(x + 1), which must stay 32-bit); none
// for parameters outside the distribution's domain.
std::optional<std::pair<int64_t, int64_t>> Support(const calculator::FunctionAbout& about,
                                                   const models::Distribution& d) {
  auto [low, high] = models::Support(d);
  if (const calculator::FieldAbout* x = about.XField(); x != nullptr && x->most > 0)
    high = std::min<long double>(high, static_cast<long double>(x->most));
  if (!(low <= high)) return std::nullopt;
  return std::pair{static_cast<int64_t>(low), static_cast<int64_t>(high)};
}

// The log's P(X<=x), remembered per x for the one search.
class Cumulative {
 public:
  Cumulative(Function function, calculator::FieldTexts texts, int xIndex)
      : function_(function), texts_(std::move(texts)), xIndex_(xIndex) {}

  long double At(int64_t x) {
    if (const auto known = known_.find(x); known != known_.end()) return known->second;
    texts_[xIndex_] = std::to_string(x);
    const Logged log = Log(function_, texts_, calculator::Mode::Forward);
    if (!log.Ok()) throw SearchFailure{log.failure};
    return known_[x] = std::get<calculator::DiscreteAt>(log.values).atMost;
  }

 private:
  Function function_;
  calculator::FieldTexts texts_;
  int xIndex_;
  std::map<int64_t, long double> known_;
};

// The smallest x in [low, high] with F(x) >= p, searched from `start`; none
// when even F(high) < p.
std::optional<int64_t> SmallestAtLeast(Cumulative& f, long double p, int64_t low, int64_t high,
                                       int64_t start) {
  int64_t below = low - 1;  // F(below) < p, taking F(low - 1) = 0
  int64_t above;            // F(above) >= p
  int64_t x = std::clamp(start, low, high);
  if (f.At(x) >= p) {
    above = x;
    for (int64_t step = 1; above > low; step *= 2) {
      const int64_t next = std::max(low, above - step);
      if (f.At(next) < p) {
        below = next;
        break;
      }
      above = next;
    }
  } else {
    below = x;
    for (int64_t step = 1;; step *= 2) {
      if (below == high) return std::nullopt;
      const int64_t next = std::min(high, below + step);
      if (f.At(next) >= p) {
        above = next;
        break;
      }
      below = next;
    }
  }
  while (above - below > 1) {
    const int64_t middle = below + (above - below) / 2;
    (f.At(middle) >= p ? above : below) = middle;
  }
  return above;
}

}  // namespace

Row Plan::QuantileRow(std::size_t row) const {
  const Entry& p = down_[row];
  // The details engine's quantile is the start; the log's P(X<=x) decides.
  const models::Distribution distribution = DistributionOf(request_.function, values_);
  const auto support = Support(calculator::AboutFunction(request_.function), distribution);
  if (!support) {
    const Cell outside = FailedCell(models::ParameterProblem(distribution));
    return {{p.text}, outside, outside};
  }
  const auto [low, high] = *support;
  const models::Value guess = models::DiscreteQuantile(distribution, p.value);
  const models::Value mean = models::Mean(distribution);
  long double start = guess.value ? *guess.value : mean.value.value_or(0);
  if (!std::isfinite(start)) start = static_cast<long double>(low);
  start = std::clamp<long double>(start, low, high);
  Cumulative f(request_.function, request_.texts, xIndex_);
  try {
    const auto x = SmallestAtLeast(f, p.value, low, high, std::llround(start));
    if (!x) {
      const Cell beyond = FailedCell("above " + std::to_string(high));
      return {{p.text}, beyond, beyond};
    }
    const int digits = Digits(2);
    return {
        {p.text},
        {std::to_string(*x)},
        digits > 0 ? DetailsCell(models::AtMost(distribution, *x), digits) : NumberCell(f.At(*x))};
  } catch (const SearchFailure& failure) {
    return {{p.text}, FailedCell(failure.message), FailedCell(failure.message)};
  }
}

}  // namespace tables
