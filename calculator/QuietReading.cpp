#include "calculator/QuietReading.h"

#include "Distr/Errors.h"
#include "calculator/FieldParsing.h"

namespace calculator {

const char* QuietReadField(const FieldAbout& field, std::string_view text, Mode mode,
                           long double& value) {
  try {
    return ReadField(field, text, mode, value);
  } catch (const Distr::ERunTimeError&) {
    long double unused;
    return ReadField(field, {}, mode, unused);
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
