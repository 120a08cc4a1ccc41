// The cells that come from the details engine: the density, which the log
// does not print, and any column shown with more significant digits.
#include <stdexcept>

#include "calculator/NumberText.h"
#include "calculator/QuietReading.h"
#include "calculator/ResultDetails.h"
#include "tables/Planning.h"

namespace tables {

models::Distribution DistributionOf(
    calculator::Function function, const std::array<long double, calculator::kSlotCount>& values) {
  const auto d = calculator::DistributionOf(function, calculator::Arguments{values});
  if (!d) throw std::invalid_argument("the counting functions are no distributions");
  return *d;
}

Cell DetailsCell(const models::Value& value, int digits) {
  if (!value.value) return FailedCell(value.note);
  return {
      digits == 0 ? calculator::Fixed6Text(*value.value) : SignificantText(*value.value, digits),
      false};
}

std::optional<long double> ReadX(const std::string& text) {
  return calculator::QuietRealValue(text);
}

}  // namespace tables
