// The evaluate and format routines of the table of functions (Functions.cpp).
//
// An evaluate routine takes the parsed fields and computes the numbers of
// the log lines with Distr, for the functions whose printed digits are
// those of that arithmetic; every other function's numbers are its model's
// (ModelValues).  A format routine writes the header and result
// lines from those numbers: FormatDistribution the header from the table and
// the result line from the numbers alone, for every distribution.  Each expression is written in
// the order of its arithmetic: the last printed digit depends on every rounding.
#pragma once

#include "calculator/Functions.h"

namespace calculator::reports {

Values EvaluateNormal(const Arguments& a, Mode mode);
Values EvaluateChiSquare(const Arguments& a, Mode mode);
Values EvaluateT(const Arguments& a, Mode mode);
Values EvaluateF(const Arguments& a, Mode mode);
Values EvaluateBinomial(const Arguments& a, Mode mode);
Values EvaluatePoisson(const Arguments& a, Mode mode);
Values EvaluateHypergeometric(const Arguments& a, Mode mode);
Values EvaluateFactorial(const Arguments& a, Mode mode);
Values EvaluateBinomialCoefficient(const Arguments& a, Mode mode);

// The log's numbers from the distribution's model, for every mode: the same
// values as the details of the result (ResultDetails.h) at the numbers read,
// with the percentile's and a probability's complements and x - location
// from the decimals typed (ModelReports.cpp).
Values ModelValues(const FunctionAbout& about, const Arguments& a, Mode mode);

// The questions asked of a distribution's forward report (Questions.cpp):
// the discrete quantile for the percentile in the x-value's field, and the
// probabilities between the bounds A (the x-value's field) and B and outside
// them.  The header of an interval leaves out the x-value.
Values DiscreteQuantile(const FunctionAbout& about, const Arguments& a);
Values Interval(const FunctionAbout& about, const Arguments& a);

LogLines FormatDistribution(const FunctionAbout& about, const Arguments& a, const Values& v);
// FormatDistribution with every "-0.000000" written "0.000000" (a value
// that rounds to zero from below).
LogLines FormatWithoutNegativeZero(const FunctionAbout& about, const Arguments& a, const Values& v);
LogLines FormatFactorial(const FunctionAbout& about, const Arguments& a, const Values& v);
LogLines FormatBinomialCoefficient(const FunctionAbout& about, const Arguments& a, const Values& v);

}  // namespace calculator::reports
