// The x-values of a range table: from, from + step, ... up to to.
//
// A user who types 0 to 1 in steps of 0.1 means eleven rows whose x-values
// are the numbers typed as "0", "0.1", ..., "1".  Binary arithmetic would
// give neither: 0.1 has no exact binary form, so ten steps of it miss 1 and
// the third x is not the number "0.3" reads as.  The steps are therefore
// counted in decimal: each text becomes a whole coefficient c and a power of
// ten e, the three are brought to the smallest power, and row i holds
// (first + i * step) * 10^e, written back as the shortest plain decimal text,
// which the calculator then reads as any typed field.  Texts with more
// significant digits than a 64-bit coefficient holds fall back to binary
// steps, written as the shortest text that reads back as the same number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tables {

// A decimal number c * 10^e.
struct Decimal {
  int64_t coefficient;
  int64_t exponent;
};

// The decimal of a text that calculator::ParseReal accepts ("-1.25",
// "2.5E-3", "."), without trailing zeros in the coefficient; none when the
// significant digits do not fit 18 decimal digits or the power is beyond
// what an extended real can hold.
std::optional<Decimal> ParseDecimal(std::string_view text);

// The plain text of c * 10^e: "-0.25", "300", "0"; scientific ("1E-40")
// only where the plain text would run beyond kPlainZeros zeros.
constexpr int64_t kPlainZeros = 30;
std::string DecimalText(Decimal d);

class RangeSteps {
 public:
  // The range from..to in steps of `step` (> 0, to >= from), each a text
  // that ParseReal accepts.  Counts are exact in decimal; in binary a range
  // end within kBinarySlack of a step still counts as a row.
  static RangeSteps Of(std::string_view from, std::string_view to, std::string_view step);
  // Whole x-values (the discrete distributions).
  static RangeSteps Whole(int64_t from, int64_t to, int64_t step);

  // The number of rows; beyond kCountCeiling it stays there (only the
  // refusal of a too long range looks at it).
  std::size_t Count() const { return count_; }
  // The x-value of row i as the text a user would type.
  std::string Text(std::size_t row) const;

  static constexpr std::size_t kCountCeiling = std::size_t{1} << 40;
  static constexpr long double kBinarySlack = 1e-9L;

 private:
  std::size_t count_ = 0;
  bool decimal_ = true;
  int64_t first_ = 0, step_ = 0, exponent_ = 0;  // decimal: (first + i * step) * 10^exponent
  long double from_ = 0, by_ = 0;                // binary: from + i * by
};

}  // namespace tables
