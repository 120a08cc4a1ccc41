// The cells that come from the details engine: the density, which the log
// does not print, and any column shown with more significant digits.
#include "Distr/Errors.h"
#include "calculator/FieldParsing.h"
#include "calculator/NumberText.h"
#include "tables/Planning.h"

namespace tables {

namespace {

using calculator::Function;

details::Kind KindOf(Function function) {
  switch (function) {
    case Function::Normal:
      return details::Kind::Normal;
    case Function::ChiSquare:
      return details::Kind::ChiSquare;
    case Function::T:
      return details::Kind::T;
    case Function::F:
      return details::Kind::F;
    case Function::Binomial:
      return details::Kind::Binomial;
    case Function::Poisson:
      return details::Kind::Poisson;
    case Function::Hypergeometric:
      return details::Kind::Hypergeometric;
    case Function::Factorial:
    case Function::BinomialCoefficient:
      break;
  }
  throw std::invalid_argument("the counting functions are no distributions");
}

}  // namespace

details::Distribution DistributionOf(
    Function function, const std::array<long double, calculator::kFieldCount>& values) {
  const calculator::FunctionSpec& spec = calculator::SpecOf(function);
  details::Distribution d{KindOf(function), {}};
  std::size_t next = 0;
  for (int i = 0; i < calculator::kFieldCount && next < d.parameters.size(); ++i)
    if (spec.fields[i].kind != calculator::FieldKind::Hidden && spec.fields[i].parameter != nullptr)
      d.parameters[next++] = values[i];
  return d;
}

Cell DetailsCell(const details::Value& value, int digits) {
  if (!value.value) return FailedCell(value.note);
  return {
      digits == 0 ? calculator::Fixed6Text(*value.value) : SignificantText(*value.value, digits),
      false};
}

std::optional<long double> ReadX(const std::string& text) {
  try {
    return calculator::ParseReal(text).value;
  } catch (const Distr::ERunTimeError&) {
    return std::nullopt;
  }
}

}  // namespace tables
