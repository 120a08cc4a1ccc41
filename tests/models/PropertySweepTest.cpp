// Random sweeps over every distribution of the calculator's table: the
// identities each model's values must keep, at parameters drawn from the
// whole range each field accepts, and the log's digits against the model's
// wherever the log computes its own numbers.
//
// The distributions, their fields and the ranges the fields accept come from
// calculator::Functions(); a case is a set of field texts, read by the
// calculator's own rules (ReadInput) and turned into the model's
// distribution by DistributionOf, so that a new distribution or a changed
// range is swept without a word here.  Each field's value is drawn
// log-uniformly, half the time over everything the field accepts (down to
// 1e-4930 and up to 1e4930 where it has no bound) and half the time over a
// working band of 1e-10 to 1e10, with the ends of a closed range now and
// then; a probability is drawn as p or as 1 - p, its complement as likely to
// be tiny.  The x-value is drawn as the model's quantile of a percentile down
// to 1e-4930 on either side (far in both tails), within the support, or
// anywhere in its field's range.
//
// The properties:
//  - a continuous quantile gives its percentile back, compared in
//    probability space: the tails one quantile step (a few times the model's
//    tolerance, relative) either side of it bracket the percentile, which
//    takes the condition number into account; percentiles down to 1e-4930
//    and up to 1 - 1e-15;
//  - the discrete quantile of a percentile just inside (P(X <= k-1),
//    P(X <= k)] is k, where P(X = k) stands out of P(X <= k);
//  - the two sides add up to 1: P(X < x) + P(X > x), and P(X <= k) +
//    P(X >= k+1);
//  - a discrete point is the step of the smaller cumulative tail, where that
//    difference keeps its digits;
//  - the functions whose log comes from their own arithmetic (ByMethod)
//    print, in forward, inverse and interval mode, the model's values
//    rounded to the digits printed; the places where the log is off in its
//    last digit are listed by their input (kLogExceptions), and no others
//    pass.
//
// Where a model fails, the sweep stays out and names the failing class with
// an input that shows it: kSweepLimits narrows a field's range,
// kKnownFaults leaves out a region of parameters and x-values,
// kQuantileLimits the percentiles, kLogFaults a question of the log.  An
// entry goes when its fault is mended.
//
// Every seed is fixed and every case has its own: a failure names its
// input, and the same input comes back on every run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "calculator/Calculator.h"
#include "calculator/Functions.h"
#include "calculator/ResultDetails.h"
#include "models/Details.h"
#include "models/Engine.h"

namespace {

using calculator::Arguments;
using calculator::FieldAbout;
using calculator::FieldTexts;
using calculator::Function;
using calculator::FunctionAbout;
using calculator::Mode;
using calculator::Role;
using models::Distribution;
using models::Value;

// The magnitudes a field without a bound is drawn from: nearly the whole
// extended range (3.4e-4932 to 1.2e4932).
constexpr long double kTiniest = 1e-4930L;
constexpr long double kHugest = 1e4930L;
// The working band of the other half of the draws.
constexpr long double kBandLow = 1e-10L;
constexpr long double kBandHigh = 1e10L;
// Percentiles of the quantile sweep: down to this on either side, and as
// 1 - q with q down to kNearestToOne.
constexpr long double kNearestToOne = 1e-15L;

// The accuracy each value of the engine aims at (Details.h), and that of
// the noncentral distributions, which are sums of many central terms.
constexpr long double kRelativeTolerance = 1e-15L;
constexpr long double kNoncentralTolerance = 1e-13L;
// A quantile's relative step either side, within which its tail must reach
// the percentile: a few times the quantile's aimed accuracy (the model's
// tolerance).
constexpr long double kQuantileSteps = 4;
// How many times the step inward P(X = k) must exceed.
constexpr long double kPointRoom = 4;
// A point probability below this part of P(X <= k) leaves the discrete
// quantile's boundary to the rounding of the tails: no clear answer.
constexpr long double kDistinctPoint = 1e-12L;
// Roundings of a far tail's logarithm in its error.
constexpr long double kLogarithmRoundings = 4;
// A difference of cumulative values whose condition number passes this
// keeps too few digits to check a point against.
constexpr long double kMostCancellation = 1e6L;
// The log's six decimals: half a unit of the last printed digit.
constexpr long double kHalfLastDigit = 0.5e-6L;
// The log writes at most 18 significant digits (NumberText.h), which for
// x-values from 1e12 on is coarser than the sixth decimal.
constexpr long double kLogSignificant = 1e-18L;

// The log's x-values lie this many standard deviations from the mean.
constexpr long double kNearestDeviations = 1e-3L;
constexpr long double kFarDeviations = 40;
// Cases per distribution and property, by family; together a few thousand
// per property (the discrete ones are quick).
constexpr int kContinuousCases = 160;
constexpr int kDiscreteCases = 500;
constexpr int kLogCasesPerFunction = 400;
// Draws per case before a distribution is given up (its fields' cross rule
// keeps rejecting them).
constexpr int kMostAttempts = 200;
// The least share of the cases a property must check for a distribution,
// lest a sweep that skips everything pass.
constexpr int kLeastCheckedPercent = 25;

// ---------------------------------------------------------------------------
// Random draws, from fixed seeds.  The unit draw is built from the raw bits
// so that the cases are the same with every standard library.
class Random {
 public:
  explicit Random(uint64_t seed) : bits_(seed) {}
  long double Unit() { return static_cast<long double>(bits_() >> 11) * 0x1p-53L; }
  bool OneIn(uint64_t n) { return bits_() % n == 0; }
  int Below(int n) { return static_cast<int>(bits_() % static_cast<uint64_t>(n)); }
  long double LogUniform(long double low, long double high) {
    const long double a = std::log(low), b = std::log(high);
    return std::min(high, std::max(low, std::exp(a + Unit() * (b - a))));
  }

 private:
  std::mt19937_64 bits_;
};

// The draws of case i of a distribution: a seed of its own, so that a case
// comes back alone, whatever the cases before it drew.
Random CaseRandom(uint64_t seed, const FunctionAbout& about, int i) {
  return Random(seed * 1000003 + static_cast<uint64_t>(about.function) * 10007 +
                static_cast<uint64_t>(i));
}

// A magnitude between low and high (0 < low <= high): half the draws over
// all of it, half over its part within the working band.
long double Magnitude(Random& r, long double low, long double high) {
  low = std::max(low, kTiniest);
  high = std::min(high, kHugest);
  if (r.OneIn(2)) {
    const long double bandLow = std::max(low, kBandLow), bandHigh = std::min(high, kBandHigh);
    if (bandLow < bandHigh) return r.LogUniform(bandLow, bandHigh);
  }
  return r.LogUniform(low, high);
}

// A field's text, and what a message shows of it (a complement 1 - q of
// thousands of digits is shown as "1 - q").
struct Drawn {
  std::string text, shown;
};
Drawn Plain(std::string text) {
  return {text, text};
}

std::string Scientific(long double v, int digits) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*Le", digits - 1, v);
  return buffer;
}

// The decimal text of 1 - q for the text of q in (0, 1) as Scientific
// writes it ("d.ddde-N"): with q = m / 10^s, 1 - q = (10^s - m) / 10^s.
std::string ComplementText(const std::string& q) {
  const size_t e = q.find('e');
  std::string digits = q.substr(0, e);
  digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
  const int exponent = std::atoi(q.c_str() + e + 1);  // negative: q < 1
  const size_t places = digits.size() - 1 + static_cast<size_t>(-exponent);
  std::string m = std::string(places - digits.size(), '0') + digits;
  // 10^s - m: the nines' complement of m, plus one.
  for (char& c : m) c = static_cast<char>('9' - (c - '0'));
  for (size_t i = m.size(); i-- > 0;) {
    if (m[i] == '9') {
      m[i] = '0';
      continue;
    }
    ++m[i];
    break;
  }
  return "0." + m;
}

Drawn ProbabilityField(const FieldAbout& f, Random& r) {
  if (r.OneIn(16)) return Plain(f.lowOpen ? "1" : "0");
  if (r.OneIn(16)) return Plain("1");
  const std::string q = Scientific(Magnitude(r, kTiniest, 0.5L), 1 + r.Below(12));
  if (r.OneIn(2)) return Plain(q);
  return {ComplementText(q), "1 - " + q};
}

// A whole number of [low, high] (low and high whole).
int64_t WholeIn(Random& r, int64_t low, int64_t high) {
  if (r.OneIn(8)) return r.OneIn(2) ? low : high;
  if (low <= 0 && 0 <= high && r.OneIn(8)) return 0;
  if (low > 0)
    return std::min(high, static_cast<int64_t>(std::floor(r.LogUniform(low, high + 1.0L))));
  if (high < 0) return -WholeIn(r, -high, -low);
  const bool negative = low < 0 && (high <= 0 || r.OneIn(2));
  const int64_t most = negative ? -low : high;
  const auto m = static_cast<int64_t>(std::floor(r.LogUniform(1, most + 1.0L)));
  return negative ? -std::min(m, most) : std::min(m, most);
}

int64_t WholeField(const FieldAbout& f, Random& r) {
  int64_t low = static_cast<int64_t>(std::ceil(f.low));
  if (f.lowOpen && low == f.low) ++low;
  return WholeIn(r, low, static_cast<int64_t>(std::floor(f.high)));
}

// A real of the field's range, infinite ends standing for kHugest.
long double RealIn(Random& r, long double low, bool lowOpen, long double high) {
  if (!lowOpen && std::isfinite(low) && r.OneIn(16)) return low;
  if (std::isfinite(high) && r.OneIn(16)) return high;
  if (low <= 0 && 0 <= high && !(lowOpen && low == 0) && r.OneIn(16)) return 0;
  if (low >= 0) return Magnitude(r, std::max(low, kTiniest), high);
  if (high <= 0) return -Magnitude(r, std::max(-high, kTiniest), -low);
  const bool negative = r.OneIn(2);
  return negative ? -Magnitude(r, kTiniest, -low) : Magnitude(r, kTiniest, high);
}

// ---------------------------------------------------------------------------
// Where a model is known to fail, the sweep stays out: each entry narrows
// the range of one field of one distribution (the x-value's too) and names
// the failing class, with an input that shows it.  An entry goes when its
// model is mended.
struct SweepLimit {
  const char* command;
  int slot;
  long double low, high;
  const char* fault;
};
constexpr long double kInf = HUGE_VALL;
constexpr int kComplement = models::kComplementPlace;
using calculator::kEdit1;
using calculator::kEdit2;
using calculator::kEdit3;
using calculator::kEdit4;
constexpr SweepLimit kSweepLimits[] = {
    {"t", kEdit1, 1e-100L, kInf,
     "t below df 1e-150, where df / (df + x^2) underflows at |x| up to 1e2400: the tails are 0 "
     "and 1 (df=1e-300, x=-1e2400: P(X<x) none below the range, about 0.5 true)"},
    {"t", kEdit4, -1e2400L, 1e2400L,
     "t tails from |x| = 1e2466 on, where x^2 overflows: NaN at x=-1e2466 for every df, 0 "
     "beyond (df=3.7e-4, x=-1e4000: P(X<x) none below the range, 0.0165 true)"},
    {"f", kEdit1, 1e-3L, kInf,
     "F with tiny df1: where df1 x underflows the tails are 0 and 1 (df1=9.2e-4610, "
     "df2=2.2e-6, x=3.3e-4932: P(X<x) = 0, about 1 true)"},
    {"f", kEdit2, 1e-3L, 1e7L,
     "F with small df2: P(X<x) as 1 less a tail near 1, off by 5e-19 absolute (df1=7, "
     "df2=1e-8, x=1: 9.343108861353724e-8, 9.3431088614052286e-8 true; df2=1e-20: 5.42e-19, "
     "2.316e-19 true; df2=1e-30: none, 3.47e-29 true); with df2 from 1e8 on QuantileLower(1 - "
     "q) is off by 1e-12 in the tail (df1=14, df2=1e8, q=2.347398768e-10: x = "
     "5.358508908281789, whose P(X>x) is 1.1e-12 above q)"},
    {"f", kEdit4, -kInf, 1e270L,
     "F tails where df1 x overflows: NaN (df1=4, df2=1, x=1e4931) and P(X>x) = 0 beyond "
     "(x=5e4931, about 1e-2466 true); QuantileUpper stops at 8.881133903158873e277 (df1=54, "
     "df2=6, q=1e-900: about 1.7e300 true)"},
    {"gamma", kEdit1, 0, 1e9L,
     "gamma from shape 1e11 on: P(X<x) at the mean and the quantiles 'did not converge' "
     "(shape=1e11, scale=1, x=1e11); at shape 1e10 the far quantiles are off by 6e-15 "
     "(scale=1.00451999597e-694, QuantileLower(3.18879010057661521944e-4809): the tail at it "
     "1.2e-7 below p)"},
    {"gamma", kEdit2, 0, 1e15L,
     "gamma tails where x / scale underflows: 0 (shape=1.1e-5, scale=1.6e4892, x=3.4e-4932: "
     "P(X<x) = 0, 0.78 true)"},
    {"beta", kEdit1, 1e-3L, 1e7L, "beta: see the next entry"},
    {"beta", kEdit2, 1e-3L, 1e7L,
     "beta with a parameter from 1e8 on: quantiles off by 1e-13 (4, 1e8: QuantileUpper(0.08) = "
     "7.034198170180743878580e-8, whose P(X>x) is 0.08000000000003345), wrong from 1e20 (1e20, "
     "1e20: QuantileUpper(7.29e-4) = 0.49999999998513, 0.5 + 1.1e-10 true), 'did not converge' "
     "from 4e11, no answer at all from 1e100 (1e100, 1e100 or 5.56e2853, 1.06e3839: "
     "QuantileUpper(7.29e-4) does not return); below 1e-100 the tails are none or NaN "
     "(4e-4559, 8.2e-967, x=3.9e-7: P(X<x) 'beyond the largest extended real', about 1 true)"},
    {"lognormal", kEdit1, -1e5L, 1e5L, "lognormal: see the next entry"},
    {"lognormal", kEdit2, 1e-4920L, kInf,
     "lognormal where (ln x - mu) / sigma overflows: none, 'x is not a finite number' (mu="
     "7.4e806, sigma=4e-4751, x=1.1e4932: P(X>x) none, 1 true)"},
    {"weibull", kEdit1, 1e-3L, 1e15L,
     "Weibull from shape 1e20 on, next to the scale: P(X<x) none below the range, 1 true, and "
     "P(X>x) 'beyond the largest extended real' (shape=1e20, scale=757.64, x=757.640000000006); "
     "below shape 1e-3 where x / scale overflows P(X>x) = 0 (shape=6.5e-5, scale=1.6e-4, "
     "x=1.1e4932: 0.123 true)"},
    {"weibull", kEdit2, 0, 1e15L,
     "Weibull where x / scale underflows: NaN (shape=1e-3, scale=6.2e2040, x=1e-4284: P(X<x) "
     "'not a finite number', 4.8e-7 true)"},
    {"noncentralt", kEdit1, 2, 1e5L,
     "noncentral t below df 2: tails off by 3.4e-9 (df=1, delta=1e-5, x=2.19e-10: P(X<x) = "
     "0.4999960106469059, 0.499996008942284 true) and, below df 1e-3, sides that add up to 0.84 "
     "(df=1e-4, delta=0.01, x=1e-5); from df 1e6 on tails noisy at 1e-13, not monotone (df=1e7, "
     "delta=0.496: P(X>6.10610382276076) = 1.0110577867628973e-8 < P(X>6.10610382276077) = "
     "1.0110577867630214e-8)"},
    {"noncentralt", kEdit2, -100, 100,
     "noncentral t from |delta| 150 on: the tail below the bulk off by 3e-10 and growing to 5% "
     "(df=1, delta=1000, x=300: P(X<x) = 8.1397e-4, 8.5818e-4 true; df=2, delta=-150, "
     "x=-119.954: P(X>x) 3e-10 off)"},
    {"noncentralt", kEdit4, -1e270L, 1e270L,
     "noncentral t from |x| = 1e2466 on: no answer (df=110, delta=1000: P(X>-1.01e2947) does "
     "not return) or a wrong one (P(X<-1.01e2947) = 1, 0 true); quantiles stop at +-8.88e277 "
     "or do not converge beyond 1e270 (df=1.2, delta=0.0027: QuantileUpper(2.2e-594))"},
    {"noncentralchisquare", kEdit1, 0.5L, kInf,
     "noncentral chi-square below df 0.5: quantiles far off (df=2.9e-3994, lambda=1.1e-4: "
     "QuantileLower(3.1e-1425) = 1.2e-282, where P(X<x) is 0.99)"},
    {"noncentralchisquare", kEdit2, 0, 10,
     "noncentral chi-square from lambda 10 on: lower quantiles 'beyond the largest extended "
     "real' where they are small (df=0.5, lambda=260: QuantileLower(2.6e-187), about 5e-521 "
     "true), as P(X<x) is there (see kKnownFaults)"},
    {"noncentralf", kEdit1, 0.5L, 1e7L, "noncentral F: see the next entry"},
    {"noncentralf", kEdit2, 0.5L, 1e7L,
     "noncentral F with tiny df2: 36 s for one tail, which answers none (df1=17.7203, "
     "df2=1.02928e-393, lambda=5e-3823, x=6.985e-9: P(X<x), about 4.6e-391 true)"},
    {"noncentralf", kEdit3, 1e-4930L, 1e3L,
     "noncentral F with lambda = 0: quantiles fail (df1=8.8, df2=1307311: "
     "QuantileLower(7.2e-85) 'did not converge', 4.0556e-20 at lambda=1e-300; df1=0.87, "
     "df2=4.8: QuantileUpper(3.9e-133) 'beyond the largest extended real', 4.84e55 at "
     "lambda=1e-300); from lambda 1e5 on quantiles far off (df1=1970416, df2=0.5, "
     "lambda=1.7e5: QuantileUpper(6e-24) = 9.3e12, where P(X>x) is 4.5e-4)"},
    {"noncentralf", kEdit4, -kInf, 1e270L, "noncentral F quantiles stop at 8.88e277"},
};

// The field as the sweep draws it: its range narrowed by the limits.
FieldAbout Swept(const FunctionAbout& about, FieldAbout f) {
  for (const SweepLimit& limit : kSweepLimits) {
    if (limit.command != std::string_view(about.commandName) || limit.slot != f.slot) continue;
    if (limit.low > f.low) f.low = limit.low, f.lowOpen = false;
    f.high = std::min(f.high, limit.high);
  }
  return f;
}

bool WithinLimits(const FunctionAbout& about, const Arguments& arguments) {
  for (const FieldAbout& f : about.fields) {
    const FieldAbout swept = Swept(about, f);
    const long double v = arguments.value[f.slot];
    if (v < swept.low || v > swept.high) return false;
  }
  return true;
}

Drawn FieldText(const FieldAbout& f, Random& r, bool wholeDegrees) {
  if (f.role == Role::Probability) return ProbabilityField(f, r);
  const bool whole = f.number == calculator::Number::Whole ||
                     (f.number == calculator::Number::Degrees && (wholeDegrees || r.OneIn(2)));
  if (whole) return Plain(std::to_string(WholeField(f, r)));
  return Plain(Scientific(RealIn(r, f.low, f.lowOpen, f.high), 1 + r.Below(12)));
}

// ---------------------------------------------------------------------------
// A case: a distribution of the table with its fields' texts, read as the
// calculator reads them, and an x-value.
struct Case {
  const FunctionAbout* about = nullptr;
  FieldTexts texts;
  std::array<std::string, calculator::kSlotCount> shown;
  Arguments arguments;
  Distribution d;
  long double x = 0;
};

// Where a model fails for some x-values only, the sweep leaves out the
// cases of that region: the parameters are the model's, in the order of its
// fields.
enum Property : unsigned {
  kSides = 1,
  kPointStep = 2,
  kQuantiles = 4,
  kLog = 8,
  kEveryProperty = 15,
};
struct KnownFault {
  const char* command;
  unsigned properties;
  bool (*holds)(const models::Parameters& p, long double x);
  const char* fault;
};
const KnownFault kKnownFaults[] = {
    {"chisquare", kEveryProperty,
     [](const models::Parameters& p, long double x) { return p[0] > 3500 && x < p[0] / 2; },
     "chi-square from df 3510 on (Gamma(df/2) overflows): P(X<x) below the extended range is "
     "none with the note 'beyond the largest extended real' (df=3534, x=1e-10)"},
    {"gamma", kEveryProperty,
     [](const models::Parameters& p, long double x) { return p[0] > 1750 && x / p[1] < p[0] / 2; },
     "gamma from shape 1755 on: P(X<x) below the extended range is none with the note 'beyond "
     "the largest extended real' (shape=1e7, scale=1, x=1e-10)"},
    {"noncentralchisquare", kEveryProperty,
     [](const models::Parameters& p, long double x) {
       return (p[0] > 500 || p[1] > 1) && x < (p[0] + p[1]) / 4;
     },
     "noncentral chi-square below its bulk: P(X<x) none, 'beyond the largest extended real', "
     "where it is far inside the range (df=6, lambda=57, x=1e-200: about 8.7e-615 true; "
     "df=0.5, lambda=260, x=1e-50: about 1e-69; df=3, lambda=10, x=1e-1000: about 5.6e-1504), "
     "and where it is below the range, from df 850 on (df=850, lambda=0.94, x=3.1e-10)"},
    {"poisson", kEveryProperty,
     [](const models::Parameters& p, long double x) { return p[0] < 1e-9L && x > 1700; },
     "Poisson below lambda 5e-10 from x = 1800 on: P(X<=x) and P(X>=x+1) none, 'beyond the "
     "largest extended real' (lambda=1e-10, x=10000: 1 and below the range true)"},
    {"binomial", kQuantiles,
     [](const models::Parameters& p, long double) {
       return p[kComplement] != 0 && p[1] * std::fabs((1 - p[0]) / p[kComplement] - 1) > 1e-16L;
     },
     "binomial: DiscreteQuantile takes 1 - p from p, the tails from the complement given (p "
     "read from 0.99999994736193635 with the complement 5.263806365e-8, n=17: P(X<=0) = "
     "1.828514392835101e-124, but DiscreteQuantile(1.8285143928350938e-124) = 1)"},
    {"geometric", kQuantiles,
     [](const models::Parameters& p, long double) { return (1 - p[0]) / p[0] > 1e17L; },
     "geometric below p 1e-17: DiscreteQuantile is none, 'beyond the whole numbers that "
     "extended reals hold exactly (2^64)', however small the quantile (p=3.8978e-39: "
     "DiscreteQuantile(3.8977999999999844e-39), 0 true)"},
    {"negativebinomial", kQuantiles,
     [](const models::Parameters& p, long double) { return p[0] * (1 - p[1]) / p[1] > 1e17L; },
     "negative binomial: as geometric (r=1, p=9.2e-156: DiscreteQuantile(1.84e-155), 1 true)"},
    {"negativebinomial", kPointStep,
     [](const models::Parameters& p, long double x) {
       return p[kComplement] != 0 &&
              (p[0] + x / p[kComplement]) * std::fabs(1 - p[1] - p[kComplement]) > 1e-16L;
     },
     "negative binomial: P(X=x) from p, the tails from the complement given (r=232208, p "
     "typed as 1 - 1.8511406979e-357: P(X=0) = 0.99999999999994965, 1 - 4.3e-352 true)"},
};

bool InKnownFault(const FunctionAbout& about, const Distribution& d, long double x,
                  Property property) {
  for (const KnownFault& k : kKnownFaults)
    if ((k.properties & property) != 0 && k.command == std::string_view(about.commandName) &&
        k.holds(d.parameters, x))
      return true;
  return false;
}

std::string Describe(const Case& c) {
  std::ostringstream out;
  out << c.about->commandName;
  for (const FieldAbout& f : c.about->fields)
    out << ' ' << (f.parameter ? f.parameter : "x") << '=' << c.shown[f.slot];
  return out.str();
}

// The fields read by the calculator's rules; none when a text breaks one.
std::optional<Arguments> Read(const FunctionAbout& about, const FieldTexts& texts) {
  try {
    calculator::ParsedInput input = calculator::ReadInput(about.function, texts, Mode::Forward);
    if (!input.faults.empty()) return std::nullopt;
    return input.arguments;
  } catch (...) {
    return std::nullopt;
  }
}

// Where a model's quantiles fail at small percentiles, the sweep's
// percentiles stay above them; where they are less accurate than the
// model's tolerance, the quantile step widens.
struct QuantileLimit {
  const char* command;
  long double lowest;        // the smallest percentile p swept
  long double nearestToOne;  // the smallest q of the percentiles 1 - q swept
  long double steps;         // the quantile's step, in the model's tolerance
  const char* fault;
};
constexpr QuantileLimit kQuantileLimits[] = {
    {"f", 1e-30L, kNearestToOne, kQuantileSteps,
     "F quantiles below about 1e-30 unreliable (df1=12.6, df2=11.953203: QuantileUpper at "
     "3.4e-163 'beyond the largest'; df1=5, df2=10: at 3.3e-298 1.7556e3619, about 1.0e60 "
     "true; F(0.3, 3) QuantileUpper(1e-34) 'beyond the largest', about 1.06e23 true)"},
    {"beta", 1e-19L, kNearestToOne, 100,
     "beta quantiles below 1e-19 'did not converge' (0.49, 2.06: QuantileUpper(1e-20), 1 - "
     "1e-10 true; 2.3, 0.05: QuantileLower(1e-20)) or are far off (6, 0.039: "
     "QuantileLower(1e-300) = 2.1e-4190, about 2.3e-50 true); above it they miss by 1e-14 "
     "(9, 334.38: QuantileUpper(0.0207518052908510887701) has P(X>x) 1.5e-13 off)"},
    {"noncentralt", 1e-250L, 1e-4L, kQuantileSteps,
     "noncentral t quantiles beyond about 1e270 'did not converge'; those of 1 - q come from "
     "P(X<x) near 1, off by some 4e-19 absolute: 1e-10 relative in q (df=5120, delta=0, "
     "q=1.8e-10)"},
    {"noncentralchisquare", 1e-300L, 1e-4L, kQuantileSteps,
     "noncentral chi-square QuantileUpper below 1e-3000 far off (df=1, lambda=2: at 1e-3500 "
     "26860, where P(X>x) is below the range; about 16450 true); quantiles of 1 - q as the "
     "noncentral t's (df=14, lambda=5e-435, q=8.4e-15: 1.6e-10 off)"},
    {"noncentralf", 1e-30L, 1e-4L, kQuantileSteps,
     "noncentral F: as the noncentral chi-square (df1=1, df2=1, lambda=1000: "
     "QuantileLower(1 - 1.6e-6) has P(X>x) 2.4e-13 off); a negligible lambda is the F "
     "distribution, with its quantiles below 1e-30 (df1=5, df2=1190730, lambda=7e-3239: "
     "QuantileLower(3.5e-127) 'did not converge')"},
};

const QuantileLimit* QuantileLimitOf(const FunctionAbout& about) {
  for (const QuantileLimit& limit : kQuantileLimits)
    if (limit.command == std::string_view(about.commandName)) return &limit;
  return nullptr;
}
long double LowestPercentile(const FunctionAbout& about) {
  const QuantileLimit* limit = QuantileLimitOf(about);
  return limit ? limit->lowest : kTiniest;
}
long double NearestToOne(const FunctionAbout& about) {
  const QuantileLimit* limit = QuantileLimitOf(about);
  return limit ? limit->nearestToOne : kNearestToOne;
}
long double QuantileSteps(const FunctionAbout& about) {
  const QuantileLimit* limit = QuantileLimitOf(about);
  return limit ? limit->steps : kQuantileSteps;
}

// A percentile of the lower half, log-uniform down to the lowest swept.
long double Percentile(Random& r, const FunctionAbout& about) {
  return Magnitude(r, LowestPercentile(about), 0.5L);
}

// An x-value of a continuous distribution: a quantile far out or anywhere.
long double ContinuousX(const FunctionAbout& about, const Distribution& d, const FieldAbout& f,
                        Random& r) {
  if (r.OneIn(2)) {
    const long double p = Percentile(r, about);
    const Value x = r.OneIn(2) ? models::QuantileLower(d, p) : models::QuantileUpper(d, p);
    if (x.value && *x.value >= f.low && *x.value <= f.high) return *x.value;
  }
  return RealIn(r, f.low, f.lowOpen, f.high);
}

// An x-value of a discrete distribution, within its field's whole numbers:
// a quantile, a whole number of the support (log-uniformly above its first),
// an end of the support or its neighbour, or anywhere.
long double DiscreteX(const FunctionAbout& about, const Distribution& d, const FieldAbout& f,
                      Random& r) {
  const auto clamp = [&](long double k) { return std::min(f.high, std::max(f.low, k)); };
  const auto [first, last] = models::Support(d);
  const int way = r.Below(8);
  if (way < 4) {
    const long double p = Percentile(r, about);
    const Value k = models::DiscreteQuantile(d, r.OneIn(2) ? p : 1 - p);
    if (k.value) return clamp(*k.value);
  }
  const long double from = clamp(first), to = clamp(last);
  if (way < 6 && from < to)
    return from + static_cast<long double>(WholeIn(r, 0, static_cast<int64_t>(to - from)));
  const long double end = r.OneIn(2) ? first : last;
  if (way < 7 && std::isfinite(end)) return clamp(end + r.Below(3) - 1);
  return static_cast<long double>(WholeField(f, r));
}

// An x-value placed by the distribution's mean and standard deviation
// (closed forms, which do not move with the models' quantile searches):
// log-uniformly up to kFarDeviations of them either side; anywhere in the
// field's range where the moments are none, and now and then.
long double MomentX(const FunctionAbout& about, const Distribution& d, const FieldAbout& f,
                    Random& r) {
  const Value mean = models::Mean(d), variance = models::Variance(d);
  long double x = RealIn(r, f.low, f.lowOpen, f.high);
  if (mean.value && variance.value && std::isfinite(*variance.value) && !r.OneIn(4)) {
    const long double z = r.LogUniform(kNearestDeviations, kFarDeviations);
    x = *mean.value + (r.OneIn(2) ? -z : z) * std::sqrt(*variance.value);
  }
  x = std::min(f.high, std::max(f.low, x));
  return about.family == calculator::Family::Discrete ? std::round(x) : x;
}

// A case of the distribution, or none when its cross rule rejected every
// draw.  The log's cases (kLog) take whole degrees of freedom, which the
// log's own arithmetic answers, and their x-values from the moments.
std::optional<Case> DrawCase(const FunctionAbout& about, Random& r, Property property) {
  const bool wholeDegrees = property == kLog;
  const FieldAbout* xField = about.XField();
  for (int attempt = 0; attempt < kMostAttempts; ++attempt) {
    Case c;
    c.about = &about;
    for (const FieldAbout& field : about.fields) {
      const FieldAbout f = Swept(about, field);
      const Drawn drawn = f.role == Role::XValue ? Plain("0") : FieldText(f, r, wholeDegrees);
      c.texts[f.slot] = drawn.text;
      c.shown[f.slot] = drawn.shown;
    }
    const std::optional<Arguments> parameters = Read(about, c.texts);
    if (!parameters) continue;
    c.d = *calculator::DistributionOf(about.function, *parameters);
    const FieldAbout swept = Swept(about, *xField);
    const long double x = property == kLog ? MomentX(about, c.d, swept, r)
                          : about.family == calculator::Family::Discrete
                              ? DiscreteX(about, c.d, swept, r)
                              : ContinuousX(about, c.d, swept, r);
    c.texts[xField->slot] = c.shown[xField->slot] = about.family == calculator::Family::Discrete
                                                        ? std::to_string(static_cast<int64_t>(x))
                                                        : Scientific(x, 21);
    const std::optional<Arguments> all = Read(about, c.texts);
    if (!all || !WithinLimits(about, *all) ||
        InKnownFault(about, c.d, all->value[xField->slot], property))
      continue;
    c.arguments = *all;
    c.x = all->value[xField->slot];
    return c;
  }
  return std::nullopt;
}

// The distributions of the table, in its order.
std::vector<const FunctionAbout*> Distributions() {
  std::vector<const FunctionAbout*> out;
  for (const FunctionAbout& about : calculator::Functions())
    if (about.model != nullptr) out.push_back(&about);
  return out;
}

// The model's tolerance: the noncentral distributions' (by their command
// names, as the reference rows name them) or every other's.
long double ToleranceOf(const FunctionAbout& about) {
  return std::string(about.commandName).rfind("noncentral", 0) == 0 ? kNoncentralTolerance
                                                                    : kRelativeTolerance;
}

// A value for the identities: a tail below the extended range counts as 0;
// any other none is a fault, reported by the caller with its note.
std::optional<long double> Number(const Value& v) {
  if (v.value) return *v.value;
  if (v.BelowRange()) return 0.0L;
  return std::nullopt;
}

// How many cases a property checked and skipped, per distribution, so that
// a sweep whose every case was skipped fails.
struct Tally {
  int checked = 0, drawn = 0;
};
void ExpectEnoughChecked(const std::map<std::string, Tally>& tallies) {
  for (const FunctionAbout* about : Distributions()) {
    const auto it = tallies.find(about->commandName);
    const Tally t = it == tallies.end() ? Tally{} : it->second;
    EXPECT_GE(t.checked * 100, t.drawn * kLeastCheckedPercent)
        << about->commandName << ": " << t.checked << " of " << t.drawn << " cases checked";
    EXPECT_GT(t.drawn, 0) << about->commandName << ": no case drawn";
  }
}

std::string Text(long double v) {
  return Scientific(v, 21);
}

// Whether target lies between a and b, each widened by the relative
// tolerance.
bool Brackets(long double target, long double a, long double b, long double tolerance) {
  return std::min(a, b) * (1 - tolerance) <= target && target <= std::max(a, b) * (1 + tolerance);
}

// A continuous tail, Lower or Upper.
using Tail = Value (*)(const Distribution&, long double);

// The size of the numbers a quantile is made of: its own, and those of the
// bulk (the quartiles), which a quantile near 0 is the difference of.
long double BulkScale(const Distribution& d) {
  long double scale = 0;
  for (const long double p : {0.25L, 0.75L})
    if (const Value q = models::QuantileLower(d, p); q.value && std::isfinite(*q.value))
      scale = std::max(scale, std::fabs(*q.value));
  return scale;
}

// The x-values whose tails a quantile is checked with: the x-value's range
// as swept.
struct Span {
  long double low, high;
};
Span XSpan(const FunctionAbout& about) {
  const FieldAbout f = Swept(about, *about.XField());
  return {std::max(f.low, -LDBL_MAX), std::min(f.high, LDBL_MAX)};
}

// Why the quantile x of the percentile `target` of `tail` is wrong; empty
// when the tail one quantile step either side of x brackets the target.  A
// quantile beyond the span (or none, beyond the extended range) must be
// left there by the tails at the span's ends; one below the smallest
// extended real (or 0 in its place) by the tails at +-LDBL_MIN.
std::string QuantileFault(const Distribution& d, Tail tail, long double target, const Value& x,
                          long double bulk, long double tolerance, long double relativeStep,
                          Span span) {
  const auto at = [&](long double v) { return Number(tail(d, v)); };
  const auto bracket = [&](long double a, long double b) -> std::optional<bool> {
    const std::optional<long double> ta = at(a), tb = at(b);
    if (!ta || !tb) return std::nullopt;
    return Brackets(target, *ta, *tb, tolerance);
  };
  const auto show = [&](long double v) {
    const std::optional<long double> t = at(v);
    return "the tail at " + Text(v) + " is " + (t ? Text(*t) : std::string("none"));
  };
  const bool beyond =
      x.value ? *x.value < span.low || *x.value > span.high : x.note == models::kAboveRange;
  const bool below = x.value ? std::fabs(*x.value) < LDBL_MIN : x.BelowRange();
  if (!x.value && !beyond && !below) return "no quantile: " + x.note;
  const std::string where = x.value ? "x = " + Text(*x.value) : "none (" + x.note + ")";
  if (beyond) {
    const std::optional<long double> ta = at(span.low), tb = at(span.high);
    if (ta && tb && !Brackets(target, *ta, *tb, -tolerance)) return {};
    return where + " beyond the span, though " + show(span.low) + " and " + show(span.high);
  }
  if (below) {
    if (bracket(-LDBL_MIN, LDBL_MIN).value_or(false)) return {};
    return where + " below the range, though " + show(-LDBL_MIN) + " and " + show(LDBL_MIN);
  }
  const long double step = relativeStep * (std::fabs(*x.value) + bulk);
  if (bracket(*x.value - step, *x.value + step).value_or(false)) return {};
  const std::optional<long double> there = at(*x.value);
  return where + " has the tail " + Text(there.value_or(NAN)) + " (relative " +
         Text(there.value_or(NAN) / target - 1) + "); " + show(*x.value - step) + ", " +
         show(*x.value + step);
}

struct QuantileCheck {
  const char* call;
  Value (*quantile)(const Distribution&, long double);
  Tail tail;
  bool nearOne;  // the percentile is 1 - q, and the tail checked the other one
};
constexpr QuantileCheck kQuantileChecks[] = {
    {"QuantileLower(p)", models::QuantileLower, models::Lower, false},
    {"QuantileUpper(p)", models::QuantileUpper, models::Upper, false},
    {"QuantileLower(1 - q)", models::QuantileLower, models::Upper, true},
    {"QuantileUpper(1 - q)", models::QuantileUpper, models::Lower, true},
};

// The continuous quantiles of one case, each at a fresh percentile.
bool CheckContinuousQuantiles(const Case& c, Random& r) {
  const long double tolerance = ToleranceOf(*c.about);
  const long double bulk = BulkScale(c.d);
  const long double step = QuantileSteps(*c.about) * tolerance;
  const Span span = XSpan(*c.about);
  for (const QuantileCheck& check : kQuantileChecks) {
    const long double small =
        check.nearOne ? Magnitude(r, NearestToOne(*c.about), 0.5L) : Percentile(r, *c.about);
    const long double p = check.nearOne ? 1 - small : small;
    const long double target = check.nearOne ? 1 - p : p;  // exact
    const std::string fault =
        QuantileFault(c.d, check.tail, target, check.quantile(c.d, p), bulk, tolerance, step, span);
    EXPECT_TRUE(fault.empty()) << Describe(c) << ": " << check.call << " at p = " << Text(p) << ": "
                               << fault;
  }
  return true;
}

// The discrete quantile of a percentile just inside (P(X <= k - 1),
// P(X <= k)] is k, where P(X = k) stands out of that interval.  The
// percentile is P(X <= k) moved inward by a few roundings (on the side of
// the smaller tail, 1 - P(X > k) above the median), so that the rounding of
// the tails themselves does not decide the answer.
bool CheckDiscreteQuantile(const Case& c) {
  const long double margin = kQuantileSteps * ToleranceOf(*c.about);
  const Value point = models::Point(c.d, c.x), atMost = models::AtMost(c.d, c.x);
  const Value above = models::AtLeast(c.d, c.x + 1);
  if (!point.value || !atMost.value || !Number(above)) return false;
  const bool lowSide = *atMost.value <= 0.5L;
  // Above the median P(X <= k) is near 1 and holds its tolerance of 1.
  const long double shift = margin * (lowSide ? *atMost.value : 1);
  const long double p = lowSide ? *atMost.value - shift : 1 - *Number(above) - shift;
  const long double room = lowSide ? *atMost.value : *Number(above);
  if (!(p > 0 && p < 1) || !(*point.value > kDistinctPoint * room + kPointRoom * shift))
    return false;
  const Value k = models::DiscreteQuantile(c.d, p);
  EXPECT_TRUE(k.value && *k.value == c.x)
      << Describe(c) << ": DiscreteQuantile(" << Text(p) << ") is "
      << (k.value ? Text(*k.value) : k.note) << ", though P(X <= x) = " << Text(*atMost.value)
      << " and P(X = x) = " << Text(*point.value);
  return true;
}

// A none that is no tail below the extended range is a fault of its own.
bool Known(const Case& c, const char* call, const Value& v) {
  EXPECT_TRUE(Number(v).has_value()) << Describe(c) << ": " << call << " is none: " << v.note;
  return Number(v).has_value();
}

// The two sides at x add up to 1.
bool CheckSides(const Case& c) {
  const bool discrete = c.about->family == calculator::Family::Discrete;
  const Value below = discrete ? models::AtMost(c.d, c.x) : models::Lower(c.d, c.x);
  const Value above = discrete ? models::AtLeast(c.d, c.x + 1) : models::Upper(c.d, c.x);
  if (!Known(c, "the lower side", below) || !Known(c, "the upper side", above)) return false;
  const long double sum = *Number(below) + *Number(above);
  EXPECT_LE(std::fabs(sum - 1), 2 * ToleranceOf(*c.about))
      << Describe(c) << ": the sides " << Text(*Number(below)) << " and " << Text(*Number(above))
      << " add up to 1 + " << Text(sum - 1);
  return true;
}

// The error a tail v may have: the model's tolerance, and in a far tail the
// rounding of its logarithm (Details.h: for parameters of 10^4 and more,
// tails below 1e-2000 come near 1e-15 from that alone).
long double TailError(long double v, long double tolerance) {
  if (!(v > 0)) return 0;
  return v * (tolerance + kLogarithmRoundings * std::fabs(std::log(v)) * LDBL_EPSILON);
}

// P(X = k) is the step of the smaller tail at k, where that difference of
// two tails keeps its digits.
bool CheckPoint(const Case& c) {
  const Value atMost = models::AtMost(c.d, c.x), point = models::Point(c.d, c.x);
  if (!Known(c, "P(X <= x)", atMost) || !Known(c, "P(X = x)", point)) return false;
  const bool lowSide = *Number(atMost) <= 0.5L;
  const Value outer = lowSide ? atMost : models::AtLeast(c.d, c.x);
  const Value inner = lowSide ? models::AtMost(c.d, c.x - 1) : models::AtLeast(c.d, c.x + 1);
  if (!Known(c, "the outer tail", outer) || !Known(c, "the inner tail", inner)) return false;
  const long double a = *Number(outer), b = *Number(inner), step = a - b;
  if (!(step > 0) || (a + b) / step > kMostCancellation) return false;
  const long double tolerance = ToleranceOf(*c.about);
  const long double error =
      TailError(a, tolerance) + TailError(b, tolerance) + TailError(*Number(point), tolerance);
  // A tail below the extended range counts as 0, and may be up to LDBL_MIN.
  EXPECT_LE(std::fabs(*Number(point) - step), error + LDBL_MIN)
      << Describe(c) << ": P(X = x) = " << Text(*Number(point)) << ", the tails differ by "
      << Text(step) << " (" << Text(a) << " - " << Text(b) << ")";
  return true;
}

// Runs check over the cases of every distribution of the family
// (both when none), each distribution from its own seed.
template <class Check>
void Sweep(uint64_t seed, Property property, std::optional<calculator::Family> family,
           Check check) {
  std::map<std::string, Tally> tallies;
  for (const FunctionAbout* about : Distributions()) {
    if (family && about->family != *family) continue;
    Tally& t = tallies[about->commandName];
    const int cases =
        about->family == calculator::Family::Discrete ? kDiscreteCases : kContinuousCases;
    for (int i = 0; i < cases; ++i) {
      Random r = CaseRandom(seed, *about, i);
      const std::optional<Case> c = DrawCase(*about, r, property);
      ASSERT_TRUE(c) << about->commandName << ": no draw kept its fields' rules";
      ++t.drawn;
      t.checked += check(*c, r);
    }
  }
  for (const FunctionAbout* about : Distributions())
    if (family && about->family != *family) tallies[about->commandName] = {1, 1};
  ExpectEnoughChecked(tallies);
}

TEST(PropertySweep, ContinuousQuantileGivesItsPercentileBack) {
  Sweep(1001, kQuantiles, calculator::Family::Continuous,
        [](const Case& c, Random& r) { return CheckContinuousQuantiles(c, r); });
}

TEST(PropertySweep, DiscreteQuantileOfTheCumulativeGivesItsX) {
  Sweep(2002, kQuantiles, calculator::Family::Discrete,
        [](const Case& c, Random&) { return CheckDiscreteQuantile(c); });
}

TEST(PropertySweep, TheTwoSidesAddUpToOne) {
  Sweep(3003, kSides, std::nullopt, [](const Case& c, Random&) { return CheckSides(c); });
}

TEST(PropertySweep, PointIsTheStepOfTheCumulative) {
  Sweep(4004, kPointStep, calculator::Family::Discrete,
        [](const Case& c, Random&) { return CheckPoint(c); });
}

// ---------------------------------------------------------------------------
// The log's six decimals against the model's values, for the functions whose
// log comes from their own arithmetic (ByMethod): forward, inverse and
// interval reports of cases with whole degrees of freedom.

// A place where the log's arithmetic is off in its last printed digit: the
// input as the failure names it, the log's text and the model's value
// rounded to six decimals.  The log keeps its digits; every other
// disagreement fails.
struct LogException {
  const char* input;
  const char* logText;
  const char* modelText;
};
constexpr LogException kLogExceptions[] = {
    {"t inverse df=3064976 p=1e-06: x of P(X<x)=p", "-4.753434", "-4.753433"},
    {"t inverse df=3064976 p=1e-06: x of P(X>x)=p", "4.753434", "4.753433"},
    {"t interval df=252226174 a=-6.44888317892892221899e-02 b=-1.42876749176663331505e-09: "
     "inside",
     "0.025710", "0.025709"},
    {"t interval df=252226174 a=-6.44888317892892221899e-02 b=-1.42876749176663331505e-09: "
     "outside",
     "0.974290", "0.974291"},
};

// One number of a log line, its label, and the model's value for it with
// the model's own error bound (absolute); none where the model has none.
struct Printed {
  std::string label, text;
  std::optional<long double> model;
  long double error = 0;
};

std::string SixDecimals(long double v) {
  char buffer[80];
  std::snprintf(buffer, sizeof buffer, "%.6Lf", v);
  return buffer;
}

// Half a unit of the last digit of a number text: of the sixth decimal in
// the fixed form, of the last significant digit in the scientific form
// ("-1.5E+0468", which the log writes from 2^120 on).
long double HalfLastDigit(const std::string& text) {
  const size_t e = text.find_first_of("Ee");
  if (e == std::string::npos) return kHalfLastDigit;
  const size_t point = text.find('.');
  const long double decimals = point < e ? static_cast<long double>(e - point - 1) : 0;
  // The short scientific form keeps its two digits from a mantissa of
  // [1, 16), so that 1.05e1587 prints "1.0E+1587": a whole unit.
  return std::pow(10.0L, std::strtold(text.c_str() + e + 1, nullptr) - decimals);
}

// Whether the text is the model's value, or one within its error, rounded
// to the digits printed (at most 18 significant ones, where the log stops).
bool Agrees(const Printed& p) {
  if (!p.model) return true;  // nothing to compare with
  if (p.text == "null") return false;
  const long double printed = std::strtold(p.text.c_str(), nullptr);
  return std::fabs(printed - *p.model) <=
         HalfLastDigit(p.text) + p.error + kLogSignificant * std::fabs(*p.model);
}

Printed Probability(const char* label, const std::string& text, const Value& v,
                    long double tolerance) {
  const std::optional<long double> model = Number(v);
  return {label, text, model, model ? tolerance * *model : 0};
}

// The numbers of a result line, by the line's kind.
std::vector<std::string> Groups(const std::string& line, const char* pattern) {
  std::smatch m;
  if (!std::regex_match(line, m, std::regex(pattern))) return {};
  std::vector<std::string> groups;
  for (size_t i = 1; i < m.size(); ++i) groups.push_back(m[i]);
  return groups;
}
// A number's text starts with a blank for its sign in the scientific form
// (" 9.3E+1874").
const char* const kTailsLine = R"(   P\(X< ?(\S+)\)=(\S+)      P\(X> ?(\S+)\)=(\S+))";
const char* const kDiscreteLine =
    R"(   P\(X<=\S+\)=(\S+)      P\(X>=\S+\)=(\S+)      P\(X=\S+\)=(\S+))";
const char* const kQuantileLine = R"(   x=(-?\d+): .*)";
const char* const kIntervalLine =
    R"(   P\( ?\S+<=?X<=? ?\S+\)=(\S+)      P\(X< ?\S+ or X> ?\S+\)=(\S+))";

// The log's numbers of a result beside the model's; empty where the line
// does not read as its kind (which then fails).
std::vector<Printed> PrintedOf(const calculator::Result& result, const Distribution& d,
                               long double tolerance) {
  const std::string& line = result.lines[1];
  const FunctionAbout& about = calculator::AboutFunction(result.function);
  const long double step = QuantileSteps(about) * tolerance;
  if (const auto* t = std::get_if<calculator::TailsAt>(&result.values)) {
    const std::vector<std::string> g = Groups(line, kTailsLine);
    if (g.size() != 4) return {};
    return {Probability("P(X<x)", g[1], models::Lower(d, t->x), tolerance),
            Probability("P(X>x)", g[3], models::Upper(d, t->x), tolerance)};
  }
  if (const auto* p = std::get_if<calculator::PointsOf>(&result.values)) {
    const std::vector<std::string> g = Groups(line, kTailsLine);
    if (g.size() != 4) return {};
    const Value a = models::QuantileLower(d, p->p), b = models::QuantileUpper(d, p->p);
    return {{"x of P(X<x)=p", g[0], a.value, step * std::fabs(a.value.value_or(0))},
            {"x of P(X>x)=p", g[2], b.value, step * std::fabs(b.value.value_or(0))}};
  }
  if (const auto* k = std::get_if<calculator::DiscreteAt>(&result.values)) {
    const std::vector<std::string> g = Groups(line, kDiscreteLine);
    if (g.size() != 3) return {};
    return {Probability("P(X<=x)", g[0], models::AtMost(d, k->x), tolerance),
            Probability("P(X>=x)", g[1], models::AtLeast(d, k->x), tolerance),
            Probability("P(X=x)", g[2], models::Point(d, k->x), tolerance)};
  }
  if (const auto* q = std::get_if<calculator::QuantileAt>(&result.values)) {
    const std::vector<std::string> g = Groups(line, kQuantileLine);
    if (g.size() != 1) return {};
    const Value k = models::DiscreteQuantile(d, q->p, calculator::TypedOf(about, result.arguments));
    Printed printed{"quantile", g[0], k.value, 0};
    // At a boundary, P(X <= k) = p within the tails' error, either answer
    // is the rounding's.
    const long double printedK = std::strtold(g[0].c_str(), nullptr);
    if (k.value && printedK != *k.value) {
      const Value at = models::AtMost(d, std::min(printedK, *k.value));
      if (at.value && std::fabs(*at.value - q->p) <= step * q->p) printed.model = printedK;
    }
    return {printed};
  }
  const auto interval = [&](long double a, long double b) -> std::vector<Printed> {
    const std::vector<std::string> g = Groups(line, kIntervalLine);
    if (g.size() != 2) return {};
    const models::IntervalValues v = models::Between(d, a, b);
    Printed inside = Probability("inside", g[0], v.between, tolerance);
    // Between answers none for the inside where both outer tails are below
    // the extended range (normal 0, 1 between -200 and 200), where it is 1:
    // left out of the sweep until mended.
    if (!v.between.value && v.outside.BelowRange()) inside.model.reset();
    return {inside, Probability("outside", g[1], v.outside, tolerance)};
  };
  if (const auto* i = std::get_if<calculator::Between>(&result.values)) return interval(i->a, i->b);
  if (const auto* w = std::get_if<calculator::WholeBetween>(&result.values))
    return interval(w->a, w->b);
  return {};
}

// The input of one report as a failure names it: the command, the mode and
// every field's text.
std::string DescribeInput(const Case& c, Mode mode, const FieldTexts& texts) {
  std::ostringstream out;
  out << c.about->commandName
      << (mode == Mode::Inverse    ? " inverse"
          : mode == Mode::Interval ? " interval"
                                   : "");
  for (const FieldAbout& f : calculator::FieldsIn(*c.about, mode)) {
    const bool drawn = f.IsParameter();
    const char* name = f.parameter              ? f.parameter
                       : f.role == Role::Bound  ? "b"
                       : mode == Mode::Interval ? "a"
                       : mode == Mode::Inverse  ? "p"
                                                : "x";
    out << ' ' << name << '=' << (drawn ? c.shown[f.slot] : texts[f.slot]);
  }
  return out.str();
}

// A percentile the log's inverse accepts: p or 1 - p, p log-uniform from
// kLowestPercentile to 1/2.
std::string PercentileText(Random& r) {
  const std::string q =
      Scientific(Magnitude(r, calculator::kLowestPercentile, 0.5L), 1 + r.Below(10));
  return r.OneIn(2) ? q : ComplementText(q);
}

// The texts of a case in each mode: the x-value, a percentile, or the
// x-value and a second one as the bounds (in order).
std::optional<FieldTexts> TextsIn(const Case& c, Mode mode, Random& r) {
  FieldTexts texts = c.texts;
  const FieldAbout& x = *c.about->XField();
  if (mode == Mode::Inverse) texts[x.slot] = PercentileText(r);
  if (mode != Mode::Interval) return texts;
  const bool discrete = c.about->family == calculator::Family::Discrete;
  long double b = MomentX(*c.about, c.d, Swept(*c.about, x), r);
  long double a = c.x;
  if (a == b) return std::nullopt;
  if (b < a) std::swap(a, b);
  const auto text = [&](long double v) {
    return discrete ? std::to_string(static_cast<int64_t>(v)) : Scientific(v, 21);
  };
  texts[x.slot] = text(a);
  texts[c.about->BoundSlot()] = text(b);
  return texts;
}

// Where the log's own arithmetic is off by more than its last digit, or
// takes long, the sweep leaves out the reports of that question: the
// command, the mode and the region, by the model's distribution and the
// fields as read (the percentile in inverse mode).
struct LogFault {
  const char* command;
  Mode mode;
  bool (*holds)(const Distribution& d, const Arguments& a);
  const char* fault;
};
const LogFault kLogFaults[] = {
    {"hypergeometric", Mode::Inverse,
     [](const Distribution& d, const Arguments& a) {
       return models::DiscreteQuantile(d, a.value[kEdit4]).value == models::Support(d).first;
     },
     "the log's urn quantile, where it is the support's first value, searches below 0, where "
     "the urn's P(X<=x) is no 0: negative answers (B=3, R=1848, n=583, p=9.61409402e-03: "
     "x=-686, 0 true; B=0, R=1, n=0, p=8.38557e-05: x=-1)"},
    {"hypergeometric", Mode::Inverse,
     [](const Distribution& d, const Arguments&) { return d.parameters[2] > 1e5L; },
     "not a fault: the log's urn quantile sums its way, up to 4 s for a sample of 1e7"},
    {"poisson", Mode::Inverse,
     [](const Distribution& d, const Arguments&) { return d.parameters[0] > 1e7L; },
     "not a fault: the log's Poisson quantile takes 0.25 s from lambda 1e8 on"},
    {"binomial", Mode::Inverse,
     [](const Distribution& d, const Arguments&) { return d.parameters[1] > 1e7L; },
     "not a fault: the log's binomial quantile takes 0.2 s from n = 1e8 on"},
    {"t", Mode::Inverse,
     [](const Distribution& d, const Arguments&) { return d.parameters[0] > 1e7L; },
     "the log's t quantile from df 5e7 on: up to 14 units of the last digit off (df=1048045395, "
     "p=0.999996: 4.465170 for P(X<x)=p, 4.465184 true)"},
    {"chisquare", Mode::Inverse,
     [](const Distribution& d, const Arguments&) { return d.parameters[0] > 1e7L; },
     "the log's chi-square quantile from df 1e8 on: up to 20 units of the last digit off "
     "(df=1073010179, p=0.9999: 1073182471.584214 for P(X<x)=p, 1073182471.584194 true)"},
    {"f", Mode::Inverse,
     [](const Distribution& d, const Arguments&) {
       return d.parameters[0] > 1e6L || d.parameters[1] > 1e6L ||
              (d.parameters[1] <= 2 && d.parameters[0] > 1e4L);
     },
     "the log's F quantile: with df2 1 or 2 and df1 from 1e5 on far off (df1=951180908, df2=1, "
     "p=7.6651e-06: 10835388116.075373 for P(X>x)=p, 10835388127.938911 true; df1=111364, "
     "df2=1, p=5e-05: 31 units); with a df from 1e6 on up to 16 units off (df1=1, df2=1e7, "
     "p=1e-6: 23.928141 for P(X>x)=p, 23.928157 true)"},
};

// Whether the report lies in a region the log sweep leaves out.
bool InLogFault(const FunctionAbout& about, Mode mode, const FieldTexts& texts) {
  try {
    const calculator::ParsedInput input = calculator::ReadInput(about.function, texts, mode);
    if (!input.faults.empty()) return false;
    const Distribution d = *calculator::DistributionOf(about.function, input.arguments);
    for (const LogFault& f : kLogFaults)
      if (f.mode == mode && f.command == std::string_view(about.commandName) &&
          f.holds(d, input.arguments))
        return true;
  } catch (...) {
  }
  return false;
}

struct LogSweep {
  std::map<std::string, Tally> tallies;
  std::vector<bool> used = std::vector<bool>(std::size(kLogExceptions));
};

// Compares every number of the report of one case in one mode; counts the
// case as checked where the log answered.
bool CheckLogReport(const Case& c, Mode mode, Random& r, LogSweep& sweep) {
  const std::optional<FieldTexts> texts = TextsIn(c, mode, r);
  if (!texts || InLogFault(*c.about, mode, *texts)) return false;
  const calculator::Result result = calculator::Compute(c.about->function, *texts, mode);
  if (!result.Ok() || !result.byMethod) return false;
  const Distribution d = *calculator::DistributionOf(c.about->function, result.arguments);
  const std::vector<Printed> printed = PrintedOf(result, d, ToleranceOf(*c.about));
  const std::string input = DescribeInput(c, mode, *texts);
  EXPECT_FALSE(printed.empty()) << input << ": the line \"" << result.lines[1]
                                << "\" does not read as its kind";
  for (const Printed& p : printed) {
    if (Agrees(p)) continue;
    const std::string where = input + ": " + p.label;
    const auto known = std::find_if(
        std::begin(kLogExceptions), std::end(kLogExceptions),
        [&](const LogException& e) { return where == e.input && p.text == e.logText; });
    if (known != std::end(kLogExceptions)) {
      sweep.used[static_cast<size_t>(known - std::begin(kLogExceptions))] = true;
      continue;
    }
    const long double units =
        std::fabs(std::strtold(p.text.c_str(), nullptr) - *p.model) / (2 * HalfLastDigit(p.text));
    ADD_FAILURE() << "the log differs from the model by " << static_cast<double>(units)
                  << " units of its last digit:\n    {\"" << where << "\", \"" << p.text << "\", \""
                  << SixDecimals(*p.model) << "\"},\n  model " << Text(*p.model) << ", line \""
                  << result.lines[1] << "\"";
  }
  return true;
}

TEST(PropertySweep, TheLogPrintsTheModelsValuesToSixDecimals) {
  LogSweep sweep;
  for (const FunctionAbout* about : Distributions()) {
    if (about->evaluate == nullptr) continue;
    Tally& t = sweep.tallies[about->commandName];
    for (int i = 0; i < kLogCasesPerFunction; ++i) {
      Random r = CaseRandom(5005, *about, i);
      const std::optional<Case> c = DrawCase(*about, r, kLog);
      ASSERT_TRUE(c) << about->commandName << ": no draw kept its fields' rules";
      if (!about->ByMethod(c->arguments)) continue;
      for (const Mode mode : {Mode::Forward, Mode::Inverse, Mode::Interval}) {
        ++t.drawn;
        t.checked += CheckLogReport(*c, mode, r, sweep);
      }
    }
  }
  for (const FunctionAbout* about : Distributions())
    if (about->evaluate == nullptr) sweep.tallies[about->commandName] = {1, 1};
  ExpectEnoughChecked(sweep.tallies);
  for (size_t i = 0; i < std::size(kLogExceptions); ++i)
    EXPECT_TRUE(sweep.used[i]) << "the log no longer differs at " << kLogExceptions[i].input
                               << ": the exception may go";
}

}  // namespace
