// Pieces of text shared by the report routines.
#pragma once

#include <string>

#include "calculator/Functions.h"
#include "calculator/NumberText.h"

namespace calculator {

// "   P(X<a)=pa      P(X>b)=pb": the result line of the continuous reports,
// each argument already a number text.
std::string TailLine(const std::string& a, const std::string& pa, const std::string& b,
                     const std::string& pb);

// "   P(X<=x)=lower      P(X>=x)=upper      P(X=x)=point": the result line of
// the discrete reports, each argument already a number text.
std::string DiscreteLine(const std::string& x, const std::string& lower, const std::string& upper,
                         const std::string& point);

// The result line of a distribution's numbers, in the line of its kind.
std::string ResultLine(const Values& v, ShortForm form = ShortForm::Cut);

}  // namespace calculator
