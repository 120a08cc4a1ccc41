// The evaluate and format routines of the table of functions (Functions.cpp).
//
// An evaluate routine takes the parsed fields and computes the numbers of
// the log lines with Distr; a format routine writes the header and result
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

LogLines FormatDistribution(const FunctionAbout& about, const Arguments& a, const Values& v);
LogLines FormatFactorial(const FunctionAbout& about, const Arguments& a, const Values& v);
LogLines FormatBinomialCoefficient(const FunctionAbout& about, const Arguments& a, const Values& v);

}  // namespace calculator::reports
