#include "calculator/ResultDetails.h"

#include <cmath>
#include <cstdint>

#include "calculator/NumberText.h"
#include "calculator/Overloaded.h"

namespace calculator {

namespace {

// "9.865876450e-10": ten significant digits in scientific notation.
std::string Scientific10(long double v) {
  char text[48];
  std::snprintf(text, sizeof text, "%.9Le", v);
  return text;
}

// A value printed as 1.000000, with its digits: near 1 they are in the
// complement, "1 - 2.058151846e-09"; a complement below the extended range
// has none to show ("1.000000000e+00" would contradict "not exactly 1").
std::string NearOne(long double v, const models::Value& complement) {
  if (complement.value && *complement.value > 0) return "1 - " + Scientific10(*complement.value);
  if (!complement.value) return "1 minus less than 3.4e-4932";
  return Scientific10(v);
}

// A six-decimal text with the sign of a zero dropped: -0.000000 and
// 0.000000 are one value.
std::string WithoutSignOfZero(std::string text) {
  if (text == "-0.000000") text.erase(0, 1);
  return text;
}

// The log's whole-number text (a factorial or binomial coefficient written
// in full) against the exact digits: the log keeps about 18 significant
// digits and writes the rest as its arithmetic leaves them.
void CompareWhole(const Result& result, const models::Counting& exact,
                  std::vector<std::string>& remarks) {
  const std::string& line = result.lines[1];
  const std::size_t first = line.find_first_not_of(' ');
  if (first == std::string::npos || !exact.exact) return;
  const std::string printed = line.substr(first);
  if (printed.find_first_not_of("0123456789") != std::string::npos || printed == *exact.exact)
    return;
  // The header names the value: "Binomial Coefficient, C(68,34):".
  const std::string& header = result.lines[0];
  const std::size_t comma = header.rfind(", ");
  std::string name = comma == std::string::npos ? header : header.substr(comma + 2);
  if (!name.empty() && name.back() == ':') name.pop_back();
  remarks.push_back(name + " is " + *exact.exact + "; the log printed " + printed +
                    ", exact to about 18 significant digits.");
}

// Most values need no words: the accurate value and the log's lie well
// inside one interval of six-decimal rounding, and so print alike.  The
// margin, a thousandth of a unit of the sixth decimal, is far above the
// errors of the scaling here (in double: 1e-10 of a unit for a probability,
// 1e-4 below the limit for x-values) and of the number texts.  Texts from
// 0.000000 down, which have words of their own or a sign, and from `limit`
// units up (1.000000 for a probability) are left to the full check.  In
// double, truncated by the processor's own conversion: the extended floor
// switches the x87 rounding mode, which costs more than the rest.
constexpr double kRoundingMargin = 1e-3;
constexpr double kProbabilityUnits = 1e6;  // 1.000000
constexpr double kPointUnits = 1e12;       // x-values below 10^6

bool SurelySameText(long double accurate, long double printed, double limit) {
  const double a = static_cast<double>(accurate) * 1e6 + 0.5;
  const double b = static_cast<double>(printed) * 1e6 + 0.5;
  if (!(a >= 1 && a < limit && b >= 1 && b < limit)) return false;
  const auto unit = static_cast<int64_t>(a);  // a >= 1: truncation is floor
  if (unit != static_cast<int64_t>(b)) return false;
  const double low = static_cast<double>(unit);
  return std::fmin(a, b) - low > kRoundingMargin && low + 1 - std::fmax(a, b) > kRoundingMargin;
}

// Where the remarks go, and whether they say where the log's digits differ
// from the accurate ones: only for a log of its function's own arithmetic,
// as a model-backed log prints the model's values (the details refine them
// for the decimals typed, by far less than the log's last digit).
struct Remarks {
  std::vector<std::string>& lines;
  bool differences;
};

// Compares a probability as the log printed it with the accurate one; the
// value's name, as "P(X<1.500000)", is built only for a remark.  The value
// is exactly 1 only where its complement, the probability of every other
// outcome, is exactly 0: a value within 2^-65 of 1 is 1 in the extended
// format, but the log's 1.000000 still hides that it is not.
template <class Name>
void Compare(Name&& name, long double logValue, const models::Value& accurate,
             const models::Value& complement, Remarks remarks) {
  if (!accurate.value || SurelySameText(*accurate.value, logValue, kProbabilityUnits)) return;
  const long double v = *accurate.value;
  const std::string printed = ProbabilityText(logValue);
  const std::string rounded = ProbabilityText(v);
  const bool one = complement.value && *complement.value == 0;
  const bool hidden = (printed == "0.000000" && v != 0) || (printed == "1.000000" && !one);
  if (hidden && rounded == printed) {
    const std::string exact = printed == "1.000000" ? NearOne(v, complement) : Scientific10(v);
    remarks.lines.push_back(name() + " is " + exact + ", not exactly " +
                            (printed == "0.000000" ? "0" : "1") +
                            ": the log rounds it to six decimals.");
  } else if (rounded != printed && remarks.differences) {
    remarks.lines.push_back(name() + ": the log printed " + printed + "; the accurate value is " +
                            rounded + " (" + Scientific10(v) + ").");
  }
}

void CompareTails(const TailsAt& log, const models::ContinuousForward& d, Remarks remarks) {
  const auto named = [&](const char* relation) {
    return [&log, relation] { return "P(X" + std::string(relation) + Fixed6Text(log.x) + ")"; };
  };
  Compare(named("<"), log.lower, d.lower, d.upper, remarks);
  Compare(named(">"), log.upper, d.upper, d.lower, remarks);
}

void ComparePoints(const PointsOf& log, const models::ContinuousInverse& d, Remarks remarks) {
  const auto compare = [&](const char* name, long double printed, const models::Value& v) {
    if (remarks.differences && v.value && !SurelySameText(*v.value, printed, kPointUnits) &&
        WithoutSignOfZero(Fixed6Text(*v.value)) != WithoutSignOfZero(Fixed6Text(printed)))
      remarks.lines.push_back(std::string(name) + ": the log printed " + Fixed6Text(printed) +
                        "; the accurate value is " + Fixed6Text(*v.value) + ".");
  };
  compare("x with P(X<x) = p", log.xLower, d.xLower);
  compare("x with P(X>x) = p", log.xUpper, d.xUpper);
}

void CompareDiscrete(const DiscreteAt& log, const models::DiscreteForward& d, Remarks remarks) {
  const auto named = [&](const char* relation) {
    return [&log, relation] { return "P(X" + std::string(relation) + IntegerText(log.x) + ")"; };
  };
  Compare(named("<="), log.atMost, d.atMost, d.above, remarks);
  Compare(named(">="), log.atLeast, d.atLeast, d.below, remarks);
  const bool outsideZero = d.below.value && d.above.value && *d.below.value + *d.above.value == 0;
  Compare(named("="), log.point, d.point, outsideZero ? models::Value::Of(0) : models::Value{},
          remarks);
}

void AddMoments(const models::Distribution& d, ResultDetails& out) {
  out.mean = models::Mean(d);
  out.variance = models::Variance(d);
}

// What the decimals typed leave out of the values read from them, in the
// places of the model's parameters.
models::Residuals ResidualsOf(const FunctionAbout& about, const Arguments& arguments) {
  models::Residuals r;
  if (const FieldAbout* x = about.XField()) r.x = arguments.residual[x->slot];
  const auto names = about.model->ParameterNames();
  for (std::size_t place = 0; place < names.size(); ++place) {
    const FieldAbout* field = about.FieldNamed(names[place].name);
    if (field->role == Role::Probability) r.probability = static_cast<int>(place);
    r.parameters[place] = arguments.residual[field->slot];
  }
  return r;
}

// The residuals of an interval's report: x's is the lower bound's, and the
// upper bound's is that of its own field.
models::Residuals BoundsResiduals(const Result& result) {
  models::Residuals r = ResidualsOf(AboutFunction(result.function), result.arguments);
  r.b = result.arguments.residual[AboutFunction(result.function).BoundSlot()];
  return r;
}

// The forward values at x, for the decimals typed, where Located puts them.
models::ContinuousForward ForwardFromLocation(const Result& result, const models::Distribution& d,
                                              long double x) {
  const FunctionAbout& about = AboutFunction(result.function);
  models::Residuals residuals = ResidualsOf(about, result.arguments);
  const LocatedAt at = Located(about, result.arguments, d, x);
  if (at.place >= 0) residuals.parameters[at.place] = residuals.x = 0;
  models::ContinuousForward f = models::Forward(at.d, at.x, residuals);
  f.x = x;
  return f;
}

}  // namespace

LocatedAt Located(const FunctionAbout& about, const Arguments& arguments, models::Distribution d,
                  long double x) {
  const std::optional<long double> offset = arguments.fromLocation;
  if (!offset || about.model == nullptr) return {d, x, -1};
  const auto names = about.model->ParameterNames();
  for (std::size_t place = 0; place < names.size(); ++place)
    if (names[place].location) {
      d.parameters[place] = 0;
      return {d, *offset, static_cast<int>(place)};
    }
  return {d, x, -1};
}

models::Typed TypedOf(const FunctionAbout& about, const Arguments& arguments) {
  models::Typed typed;
  for (const FieldAbout& field : about.fields) {
    if (field.role == Role::XValue) typed.percentile = arguments.typed[field.slot];
    if (field.role == Role::Probability) typed.probability = arguments.typed[field.slot];
  }
  return typed;
}

std::optional<models::Distribution> DistributionOf(Function function, const Arguments& arguments) {
  const FunctionAbout& about = AboutFunction(function);
  if (about.model == nullptr) return std::nullopt;
  models::Distribution d{about.model, {}};
  const auto names = about.model->ParameterNames();
  for (std::size_t place = 0; place < names.size(); ++place) {
    const FieldAbout* field = about.FieldNamed(names[place].name);
    if (field == nullptr) return std::nullopt;  // the table's check fails first
    d.parameters[place] = arguments.value[field->slot];
    if (field->role == Role::Probability)
      d.parameters[models::kComplementPlace] = arguments.complement[field->slot];
  }
  return d;
}

ResultDetails DetailsOfError(const Result& result) {
  ResultDetails out;
  if (result.outcome != Outcome::Error || result.parameters.empty()) return out;
  const models::HeldFloatEnvironment held;  // once for all the values
  const FunctionAbout& about = AboutFunction(result.function);
  if (about.countExactly != nullptr) {
    out.values = about.countExactly(result.arguments);
    return out;
  }
  const std::optional<models::Distribution> d = DistributionOf(result.function, result.arguments);
  const FieldAbout* x = about.XField();
  if (!d || x == nullptr) return out;
  AddMoments(*d, out);
  const long double at = result.arguments.value[x->slot];
  if (result.mode == Mode::Interval)
    out.values = models::Between(*d, at, result.arguments.value[about.BoundSlot()]);
  else if (about.family == Family::Discrete && result.Inverse())
    out.values = models::DiscreteInv(*d, at, TypedOf(about, result.arguments));
  else if (about.family == Family::Discrete)
    out.values = models::DiscreteForwardAt(*d, at);
  else if (result.Inverse())
    out.values = models::Inverse(*d, at, result.arguments.complement[x->slot]);
  else
    out.values = models::Forward(*d, at);
  return out;
}

ResultDetails DetailsOf(const Result& result) {
  ResultDetails out;
  if (!result.Ok()) return out;
  const models::HeldFloatEnvironment held;  // once for all the values
  if (std::holds_alternative<CountingValue>(result.values)) {
    if (const CountExactly exactly = AboutFunction(result.function).countExactly) {
      const models::Counting exact = exactly(result.arguments);
      CompareWhole(result, exact, out.remarks);
      out.values = exact;
    }
    return out;
  }
  const std::optional<models::Distribution> d = DistributionOf(result.function, result.arguments);
  if (!d) return out;
  AddMoments(*d, out);
  const FunctionAbout& about = AboutFunction(result.function);
  const Remarks remarks{out.remarks, result.byMethod};
  std::visit(
      Overloaded{
          [](std::monostate) {},
          [](const CountingValue&) {},
          [&](const TailsAt& t) {
            const models::ContinuousForward f = ForwardFromLocation(result, *d, t.x);
            CompareTails(t, f, remarks);
            out.values = f;
          },
          [&](const PointsOf& p) {
            const models::ContinuousInverse i =
                models::Inverse(*d, p.p, result.arguments.complement[about.XField()->slot]);
            ComparePoints(p, i, remarks);
            out.values = i;
          },
          [&](const DiscreteAt& k) {
            const models::DiscreteForward f =
                models::DiscreteForwardAt(*d, k.x, ResidualsOf(about, result.arguments));
            CompareDiscrete(k, f, remarks);
            out.values = f;
          },
          [&](const Between& b) {
            out.values = models::Between(*d, b.a, b.b, BoundsResiduals(result));
          },
          [&](const WholeBetween& w) {
            out.values = models::Between(*d, w.a, w.b, BoundsResiduals(result));
          },
          [&](const QuantileAt& q) {
            const models::DiscreteInverse i =
                models::DiscreteInv(*d, q.p, TypedOf(about, result.arguments));
            if (i.quantile.value && *i.quantile.value != q.x && remarks.differences)
              out.remarks.push_back("the quantile: the log printed " + WholeText(q.x) +
                                    "; the accurate value is " + WholeText(*i.quantile.value) +
                                    ".");
            out.values = i;
          }},
      result.values);
  return out;
}

ResultDetails QuantileDetails(Function function, const Arguments& arguments) {
  ResultDetails out;
  const std::optional<models::Distribution> d = DistributionOf(function, arguments);
  const FieldAbout* x = AboutFunction(function).XField();
  if (!d || x == nullptr) return out;
  AddMoments(*d, out);
  out.values = models::DiscreteInv(*d, arguments.value[x->slot],
                                    TypedOf(AboutFunction(function), arguments));
  return out;
}

}  // namespace calculator
