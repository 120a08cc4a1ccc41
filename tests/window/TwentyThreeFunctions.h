// A table of 23 entries for the function chooser: the calculator's nine,
// then fourteen more distributions, the discrete ones among the continuous
// ones, so that grouping by family reorders the table.  The chooser reads
// only the names, captions and families of these entries.
#pragma once

#include <vector>

#include "calculator/Functions.h"

namespace window_test {

inline std::vector<calculator::FunctionAbout> TwentyThreeFunctions() {
  using calculator::Family;
  struct TMore {
    const char* command;
    const char* caption;
    Family family;
  };
  static constexpr TMore kMore[] = {
      {"exponential", "Exponential Distribution", Family::Continuous},
      {"gamma", "Gamma Distribution", Family::Continuous},
      {"geometric", "Geometric Distribution", Family::Discrete},
      {"beta", "Beta Distribution", Family::Continuous},
      {"uniform", "Uniform Distribution", Family::Continuous},
      {"lognormal", "Lognormal Distribution", Family::Continuous},
      {"weibull", "Weibull Distribution", Family::Continuous},
      {"negativebinomial", "Negative Binomial Distribution", Family::Discrete},
      {"cauchy", "Cauchy Distribution", Family::Continuous},
      {"logistic", "Logistic Distribution", Family::Continuous},
      {"noncentralt", "Noncentral t Distribution", Family::Continuous},
      {"noncentralchisquare", "Noncentral Chi Square Distribution", Family::Continuous},
      {"noncentralf", "Noncentral F Distribution", Family::Continuous},
      {"discreteuniform", "Discrete Uniform Distribution", Family::Discrete},
  };
  const auto real = calculator::Functions();
  std::vector<calculator::FunctionAbout> table(real.begin(), real.end());
  for (const TMore& more : kMore) {
    calculator::FunctionAbout about = real.front();
    about.function = static_cast<calculator::Function>(table.size());
    about.commandName = more.command;
    about.radioName = more.command;
    about.caption = more.caption;
    about.family = more.family;
    table.push_back(about);
  }
  return table;
}

}  // namespace window_test
