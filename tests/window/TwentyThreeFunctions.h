// A table of 23 entries for the function chooser: the calculator's own,
// then those of these fourteen distributions it does not have yet, the
// discrete ones among the continuous ones, so that grouping by family
// reorders the table.  The chooser reads
// only the names, captions and families of these entries.
#pragma once

#include <vector>

#include "calculator/Functions.h"

namespace window_test {

inline std::vector<calculator::FunctionAbout> TwentyThreeFunctions() {
  using calculator::Family;
  struct TMore {
    const char* command;
    const char* radio;
    const char* caption;
    Family family;
  };
  static constexpr TMore kMore[] = {
      {"exponential", "ExponentialRadio", "Exponential Distribution", Family::Continuous},
      {"gamma", "GammaRadio", "Gamma Distribution", Family::Continuous},
      {"geometric", "GeometricRadio", "Geometric Distribution", Family::Discrete},
      {"beta", "BetaRadio", "Beta Distribution", Family::Continuous},
      {"uniform", "UniformRadio", "Uniform Distribution", Family::Continuous},
      {"lognormal", "LognormalRadio", "Lognormal Distribution", Family::Continuous},
      {"weibull", "WeibullRadio", "Weibull Distribution", Family::Continuous},
      {"negativebinomial", "NegativeBinomialRadio", "Negative Binomial Distribution",
       Family::Discrete},
      {"cauchy", "CauchyRadio", "Cauchy Distribution", Family::Continuous},
      {"logistic", "LogisticRadio", "Logistic Distribution", Family::Continuous},
      {"noncentralt", "NoncentralTRadio", "Noncentral t Distribution", Family::Continuous},
      {"noncentralchisquare", "NoncentralChiSquareRadio", "Noncentral Chi Square Distribution",
       Family::Continuous},
      {"noncentralf", "NoncentralFRadio", "Noncentral F Distribution", Family::Continuous},
      {"discreteuniform", "DiscreteUniformRadio", "Discrete Uniform Distribution",
       Family::Discrete},
  };
  const auto real = calculator::Functions();
  std::vector<calculator::FunctionAbout> table(real.begin(), real.end());
  for (const TMore& more : kMore) {
    if (calculator::FunctionByCommandName(more.command)) continue;
    calculator::FunctionAbout about = real.front();
    about.function = static_cast<calculator::Function>(table.size());
    about.commandName = more.command;
    about.radioName = more.radio;
    about.caption = more.caption;
    about.family = more.family;
    table.push_back(about);
  }
  return table;
}

}  // namespace window_test
