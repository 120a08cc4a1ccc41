// The evaluate and format routines of the table of functions (Functions.cpp).
//
// An evaluate routine takes the parsed fields and computes the numbers of
// the log lines with Distr; a format routine writes the header and result
// lines from those numbers.  Each expression is written in the order of its
// arithmetic: the last printed digit depends on every rounding.
#pragma once

#include "calculator/Functions.h"

namespace calculator::reports {

Values EvaluateNormal(const Arguments& a, bool inverse);
Values EvaluateChiSquare(const Arguments& a, bool inverse);
Values EvaluateT(const Arguments& a, bool inverse);
Values EvaluateF(const Arguments& a, bool inverse);
Values EvaluateBinomial(const Arguments& a, bool inverse);
Values EvaluatePoisson(const Arguments& a, bool inverse);
Values EvaluateHypergeometric(const Arguments& a, bool inverse);
Values EvaluateFactorial(const Arguments& a, bool inverse);
Values EvaluateBinomialCoefficient(const Arguments& a, bool inverse);

LogLines FormatNormal(const Arguments& a, const Values& v);
LogLines FormatChiSquare(const Arguments& a, const Values& v);
LogLines FormatT(const Arguments& a, const Values& v);
LogLines FormatF(const Arguments& a, const Values& v);
LogLines FormatBinomial(const Arguments& a, const Values& v);
LogLines FormatPoisson(const Arguments& a, const Values& v);
LogLines FormatHypergeometric(const Arguments& a, const Values& v);
LogLines FormatFactorial(const Arguments& a, const Values& v);
LogLines FormatBinomialCoefficient(const Arguments& a, const Values& v);

}  // namespace calculator::reports
