// Random sweeps over every distribution of the calculator's table: the
// identities each model's values must keep, at parameters drawn from the
// whole range each field accepts, and the log's six decimals against the
// model's wherever the log computes its own numbers.
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
// be tiny.  The x-value is drawn half the time as the model's quantile of a
// percentile down to 1e-4930 on either side (far in both tails) and half the
// time anywhere in its field's range.
//
// The properties:
//  - a quantile gives its percentile back: the tail at the continuous
//    quantile, compared in probability space (the quantile's own rounding
//    moves the tail by its condition number, which the comparison takes
//    from the tails one relative step either side of the quantile); the
//    discrete quantile of P(X <= k) is k where P(X = k) is not negligible
//    beside P(X <= k);
//  - the two tails add up to 1: P(X < x) + P(X > x), and P(X <= k) +
//    P(X >= k + 1);
//  - a discrete point is the difference of its cumulative values, on the
//    smaller tail's side, where that difference keeps its digits;
//  - the functions whose log comes from their own arithmetic (ByMethod)
//    print, in every mode, the model's values rounded to six decimals;
//    the places where the log's arithmetic is off in its last digit are
//    listed by their input (kLogExceptions) and no others pass.
//
// Every seed is fixed: a failure names its input, and the same input comes
// back on every run.
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
// A difference of cumulative values whose condition number passes this
// keeps too few digits to check a point against.
constexpr long double kMostCancellation = 1e6L;
// The log's six decimals: half a unit of the last printed digit.
constexpr long double kHalfLastDigit = 0.5e-6L;
// The log writes at most 18 significant digits (NumberText.h), which for
// x-values from 1e12 on is coarser than the sixth decimal.
constexpr long double kLogSignificant = 1e-18L;

// Cases per distribution and property; together a few thousand per property.
constexpr int kCasesPerModel = 160;
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
  if (low > 0) return static_cast<int64_t>(std::floor(r.LogUniform(low, high + 1.0L)));
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
using calculator::kEdit1;
using calculator::kEdit2;
using calculator::kEdit3;
using calculator::kEdit4;
constexpr SweepLimit kSweepLimits[] = {
    {"beta", kEdit1, 1e-3L, 1e7L, "beta"},
    {"beta", kEdit2, 1e-3L, 1e7L, "beta"},
    {"lognormal", kEdit1, -1e5L, 1e5L, "lognormal z overflow"},
    {"lognormal", kEdit2, 1e-4920L, kInf, "lognormal z overflow"},
    {"weibull", kEdit1, 1e-3L, 1e15L, "weibull huge shape"},
    {"weibull", kEdit2, 0, 1e15L, "weibull x/scale underflow NaN"},
    {"gamma", kEdit1, 0, 1e9L, "gamma shape >= 1e11: no convergence (tail at the mean, quantiles)"},
    {"gamma", kEdit2, 0, 1e15L, "gamma x/scale underflow"},
    {"noncentralchisquare", kEdit1, 0.5L, kInf, "ncx tiny df"},
    {"noncentralchisquare", kEdit2, 0, 10, "ncx lower tail none"},
    {"noncentralf", kEdit1, 0.5L, 1e7L, "ncf"},
    {"noncentralf", kEdit2, 0.5L, 1e7L, "ncf"},
    {"noncentralf", kEdit3, 0, 10, "ncf"},
    {"noncentralf", kEdit4, -kInf, 1e270L, "ncf"},
    {"noncentralt", kEdit1, 2, 1e5L, "noncentral t small df sides"},
    {"noncentralt", kEdit2, -150, 150, "noncentral t |delta| > 200"},
    {"noncentralt", kEdit4, -1e270L, 1e270L, "noncentral t x^2 overflow hang; capped quantile"},
    {"t", kEdit1, 1e-100L, kInf, "t tiny df: df/(df + x^2) underflows"},
    {"t", kEdit4, -1e2400L, 1e2400L,
     "t tails at |x| from about 1e2466 on, where x^2 overflows: NaN at x = -1e2466, and 0 "
     "beyond it for every df (t df=3.7e-4, x=-1e4000: P(X<x) is none, 0.0165 true)"},
    {"f", kEdit1, 1e-3L, kInf, "F with tiny df1"},
    {"f", kEdit2, 1e-3L, 1e7L, "F with tiny df2; QuantileLower(1-q) at df2 >= 1e8"},
    {"f", kEdit4, -kInf, 1e270L, "F QuantileUpper capped at 8.88e277; tails at x*df1 overflow"},
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
    {"chisquare", kEveryProperty, [](const models::Parameters& p, long double x) { return p[0] > 3500 && x < p[0] / 2; },
     "chi-square lower tail below the extended range at df above 3509 (Gamma(df/2) overflows): "
     "none with the note 'beyond the largest extended real' (df=3534, x=1e-10)"},
    {"noncentralchisquare", kEveryProperty, [](const models::Parameters& p, long double x) { return (p[0] > 3500 || p[1] > 1) && x < (p[0] + p[1]) / 4; },
     "ncx lower tail below range note"},
    {"binomial", kQuantiles, [](const models::Parameters& p, long double) { return p[5] != 0 && p[1] * std::fabs((1 - p[0]) / p[5] - 1) > 1e-16L; },
     "binomial DiscreteQuantile ignores the complement"},
    {"geometric", kQuantiles, [](const models::Parameters& p, long double) { return (1 - p[0]) / p[0] > 1e17L; },
     "geometric quantile beyond 2^64"},
    {"negativebinomial", kQuantiles, [](const models::Parameters& p, long double) { return p[0] * (1 - p[1]) / p[1] > 1e17L; },
     "negbin quantile beyond 2^64"},
    {"negativebinomial", kPointStep, [](const models::Parameters& p, long double) { return p[5] != 0 && p[0] * std::fabs(1 - p[1] - p[5]) > 1e-16L; },
     "negbin point ignores the complement"},
    {"poisson", kEveryProperty, [](const models::Parameters& p, long double x) { return p[0] < 1e-9L && x > 1700; },
     "poisson tails none beyond the largest at tiny lambda, x >= 1800"},
    {"gamma", kEveryProperty, [](const models::Parameters& p, long double x) { return p[0] > 1750 && x / p[1] < p[0] / 2; },
     "gamma lower tail below the extended range at shape above 1754: none with the note "
     "'beyond the largest extended real'"},
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

// Where a model's quantile fails below some percentile, the sweep's
// percentiles stay above it.
struct PercentileFloor {
  const char* command;
  long double lowest;        // the smallest percentile p swept
  long double nearestToOne;  // the smallest q of the percentiles 1 - q swept
  const char* fault;
};
constexpr PercentileFloor kPercentileFloors[] = {
    {"beta", 1e-19L, kNearestToOne, "beta quantiles at small percentiles"},
    {"noncentralt", 1e-250L, 1e-6L, "noncentral t quantile of 1 - q"},
    {"noncentralf", 1e-300L, 1e-6L, "ncf"},
    {"noncentralchisquare", 1e-300L, 1e-6L, "noncentral chi-square quantile of 1 - q"},
};

const PercentileFloor* FloorOf(const FunctionAbout& about) {
  for (const PercentileFloor& floor : kPercentileFloors)
    if (floor.command == std::string_view(about.commandName)) return &floor;
  return nullptr;
}
long double LowestPercentile(const FunctionAbout& about) {
  const PercentileFloor* floor = FloorOf(about);
  return floor ? floor->lowest : kTiniest;
}
long double NearestToOne(const FunctionAbout& about) {
  const PercentileFloor* floor = FloorOf(about);
  return floor ? floor->nearestToOne : kNearestToOne;
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

// A case of the distribution, or none when its cross rule rejected every
// draw.  wholeDegrees: degrees of freedom whole, for the log's arithmetic.
std::optional<Case> DrawCase(const FunctionAbout& about, Random& r, Property property,
                             bool wholeDegrees = false) {
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
    const long double x = about.family == calculator::Family::Discrete
                              ? DiscreteX(about, c.d, swept, r)
                              : ContinuousX(about, c.d, swept, r);
    c.texts[xField->slot] = c.shown[xField->slot] =
        about.family == calculator::Family::Discrete ? std::to_string(static_cast<int64_t>(x))
                                                     : Scientific(x, 21);
    const std::optional<Arguments> all = Read(about, c.texts);
    if (!all || !WithinLimits(about, *all) || InKnownFault(about, c.d, all->value[xField->slot], property))
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

}  // namespace

namespace {

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
                          long double bulk, long double tolerance, Span span) {
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
  const bool beyond = x.value ? *x.value < span.low || *x.value > span.high
                              : x.note == models::kAboveRange;
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
  const long double step = kQuantileSteps * tolerance * (std::fabs(*x.value) + bulk);
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
  const Span span = XSpan(*c.about);
  for (const QuantileCheck& check : kQuantileChecks) {
    const long double small =
        check.nearOne ? Magnitude(r, NearestToOne(*c.about), 0.5L) : Percentile(r, *c.about);
    const long double p = check.nearOne ? 1 - small : small;
    const long double target = check.nearOne ? 1 - p : p;  // exact
    const std::string fault =
        QuantileFault(c.d, check.tail, target, check.quantile(c.d, p), bulk, tolerance, span);
    EXPECT_TRUE(fault.empty()) << Describe(c) << ": " << check.call << " at p = " << Text(p)
                               << ": " << fault;
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
  const long double tolerance = ToleranceOf(*c.about) * (1 + (a + b) / step);
  EXPECT_LE(std::fabs(*Number(point) - step), tolerance * step)
      << Describe(c) << ": P(X = x) = " << Text(*Number(point)) << ", the tails differ by "
      << Text(step) << " (" << Text(a) << " - " << Text(b) << ")";
  return true;
}

// Runs check over kCasesPerModel cases of every distribution of the family
// (both when none), each distribution from its own seed.
template <class Check>
void Sweep(uint64_t seed, Property property, std::optional<calculator::Family> family,
           Check check) {
  std::map<std::string, Tally> tallies;
  for (const FunctionAbout* about : Distributions()) {
    if (family && about->family != *family) continue;
    Tally& t = tallies[about->commandName];
    for (int i = 0; i < kCasesPerModel; ++i) {
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

}  // namespace
