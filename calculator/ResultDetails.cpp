#include "calculator/ResultDetails.h"

#include <cmath>

#include "calculator/NumberText.h"

namespace calculator {

namespace {

// "9.865876450e-10": ten significant digits in scientific notation.
std::string Scientific10(long double v) {
  char text[48];
  std::snprintf(text, sizeof text, "%.9Le", v);
  return text;
}

// Compares a value as the log printed it with the accurate one.
void Compare(const char* name, const std::string& printed, const details::Value& accurate,
             std::vector<std::string>& remarks) {
  if (!accurate.value) return;
  const long double v = *accurate.value;
  const std::string rounded = ProbabilityText(v);
  const bool hidden = (printed == "0.000000" && v != 0) || (printed == "1.000000" && v != 1);
  if (hidden && rounded == printed) {
    remarks.push_back(std::string(name) + " is " + Scientific10(v) + ", not exactly " +
                      (printed == "0.000000" ? "0" : "1") + ": the log rounds it to six decimals.");
  } else if (rounded != printed) {
    remarks.push_back(std::string(name) + ": the log printed " + printed +
                      "; the accurate value is " + rounded + " (" + Scientific10(v) + ").");
  }
}

void CompareTails(const TailsAt& log, const details::ContinuousForward& d,
                  std::vector<std::string>& remarks) {
  const std::string x = Fixed6Text(log.x);
  Compare(("P(X<" + x + ")").c_str(), ProbabilityText(log.lower), d.lower, remarks);
  Compare(("P(X>" + x + ")").c_str(), ProbabilityText(log.upper), d.upper, remarks);
}

void ComparePoints(const PointsOf& log, const details::ContinuousInverse& d,
                   std::vector<std::string>& remarks) {
  const auto compare = [&](const char* name, long double printed, const details::Value& v) {
    if (v.value && Fixed6Text(*v.value) != Fixed6Text(printed))
      remarks.push_back(std::string(name) + ": the log printed " + Fixed6Text(printed) +
                        "; the accurate value is " + Fixed6Text(*v.value) + ".");
  };
  compare("x with P(X<x) = p", log.xLower, d.xLower);
  compare("x with P(X>x) = p", log.xUpper, d.xUpper);
}

void CompareDiscrete(const DiscreteAt& log, const details::DiscreteForward& d,
                     std::vector<std::string>& remarks) {
  const std::string x = IntegerText(log.x);
  Compare(("P(X<=" + x + ")").c_str(), ProbabilityText(log.atMost), d.atMost, remarks);
  Compare(("P(X>=" + x + ")").c_str(), ProbabilityText(log.atLeast), d.atLeast, remarks);
  Compare(("P(X=" + x + ")").c_str(), ProbabilityText(log.point), d.point, remarks);
}

long double ParameterValue(const std::vector<Parameter>& parameters, const char* name) {
  for (const Parameter& p : parameters)
    if (p.name == name) return p.value;
  return 0;
}

void AddMoments(const details::Distribution& d, ResultDetails& out) {
  out.mean = details::Mean(d);
  out.variance = details::Variance(d);
}

}  // namespace

std::optional<details::Distribution> DistributionOf(Function function,
                                                    const std::vector<Parameter>& parameters) {
  const std::optional<details::Kind> kind = AboutFunction(function).distribution;
  if (!kind) return std::nullopt;
  details::Distribution d{*kind, {0, 0, 0}};
  for (size_t i = 0; i < parameters.size() && i < d.parameters.size(); ++i)
    d.parameters[i] = parameters[i].value;
  return d;
}

ResultDetails DetailsOf(const Result& result) {
  ResultDetails out;
  if (!result.Ok()) return out;
  if (std::holds_alternative<CountingValue>(result.values)) {
    const long double n = ParameterValue(result.parameters, "n");
    out.values = result.function == Function::Factorial
                     ? details::Factorial(n)
                     : details::BinomialCoefficient(n, ParameterValue(result.parameters, "k"));
    return out;
  }
  const std::optional<details::Distribution> d = DistributionOf(result.function, result.parameters);
  if (!d) return out;
  AddMoments(*d, out);
  if (const auto* t = std::get_if<TailsAt>(&result.values)) {
    const details::ContinuousForward f = details::Forward(*d, t->x);
    CompareTails(*t, f, out.remarks);
    out.values = f;
  } else if (const auto* p = std::get_if<PointsOf>(&result.values)) {
    const details::ContinuousInverse i = details::Inverse(*d, p->p);
    ComparePoints(*p, i, out.remarks);
    out.values = i;
  } else if (const auto* k = std::get_if<DiscreteAt>(&result.values)) {
    const details::DiscreteForward f = details::DiscreteAt(*d, k->x);
    CompareDiscrete(*k, f, out.remarks);
    out.values = f;
  }
  return out;
}

ResultDetails QuantileDetails(Function function, const std::vector<Parameter>& parameters,
                              long double p) {
  ResultDetails out;
  const std::optional<details::Distribution> d = DistributionOf(function, parameters);
  if (!d) return out;
  AddMoments(*d, out);
  out.values = details::DiscreteInv(*d, p);
  return out;
}

}  // namespace calculator
