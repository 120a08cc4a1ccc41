// The cells that come from the details engine: the density, which the log
// does not print, and any column shown with more significant digits.
#include "Distr/Errors.h"
#include "calculator/FieldParsing.h"
#include "calculator/NumberText.h"
#include "tables/Planning.h"

namespace tables {

namespace {

using calculator::Function;

const details::Model* ModelOf(Function function) {
  const details::Model* model = calculator::AboutFunction(function).model;
  if (model == nullptr) throw std::invalid_argument("the counting functions are no distributions");
  return model;
}

}  // namespace

details::Distribution DistributionOf(
    Function function, const std::array<long double, calculator::kFieldCount>& values) {
  const calculator::FunctionAbout& about = calculator::AboutFunction(function);
  details::Distribution d{ModelOf(function), {}};
  std::size_t next = 0;
  for (int i = 0; i < calculator::kFieldCount && next < d.parameters.size(); ++i)
    if (about.fields[i].kind != calculator::FieldKind::Hidden && about.fields[i].parameter != nullptr)
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
