#include "calculator/QuietReading.h"

#include "Distr/Errors.h"
#include "calculator/FieldParsing.h"

namespace calculator {

const char* QuietReadField(const FieldAbout& field, std::string_view text, bool inverse,
                           long double& value) {
  try {
    return ReadField(field, text, inverse, value);
  } catch (const Distr::ERunTimeError&) {
    long double unused;
    return ReadField(field, {}, inverse, unused);
  }
}

std::optional<long double> QuietRealValue(std::string_view text) {
  try {
    return ParseReal(text).value;
  } catch (const Distr::ERunTimeError&) {
    return std::nullopt;
  }
}

}  // namespace calculator
