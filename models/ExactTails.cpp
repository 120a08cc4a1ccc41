#include "models/ExactTails.h"

#include <cmath>
#include <cstdint>

namespace models {

namespace {

void SetUnsigned(mpz_ptr z, uint64_t v) {
  mpz_import(z, 1, 1, sizeof v, 0, 0, &v);
}

}  // namespace

ExactRatio::ExactRatio(long double v, const Ratio& typed) {
  if (!typed.Empty() && mpz_set_str(numerator.get(), typed.numerator.c_str(), 10) == 0 &&
      mpz_set_str(denominator.get(), typed.denominator.c_str(), 10) == 0 &&
      mpz_sgn(denominator.get()) > 0)
    return;
  // v = fraction 2^exponent with a 64-bit mantissa: m / 2^(64 - exponent).
  mpz_set_ui(denominator.get(), 1);
  if (v == 0) {
    mpz_set_ui(numerator.get(), 0);
    return;
  }
  int exponent = 0;
  const long double fraction = std::frexp(v, &exponent);
  SetUnsigned(numerator.get(), static_cast<uint64_t>(std::ldexp(fraction, 64)));
  mpz_mul_2exp(denominator.get(), denominator.get(), static_cast<mp_bitcnt_t>(64 - exponent));
}

int CompareFraction(mpz_ptr numerator, mpz_ptr denominator, ExactRatio& q) {
  BigInteger left, right;
  mpz_mul(left.get(), numerator, q.denominator.get());
  mpz_mul(right.get(), q.numerator.get(), denominator);
  const int sign = mpz_cmp(left.get(), right.get());
  return (sign > 0) - (sign < 0);
}

std::optional<int> CompareBinomialAtMost(ExactRatio& p, long double n, long double k,
                                         ExactRatio& q) {
  const long double bits = static_cast<long double>(mpz_sizeinbase(p.denominator.get(), 2));
  if (!(n * bits <= kExactTailBits) || !(k >= 0 && k < n)) return std::nullopt;
  const unsigned long trials = static_cast<unsigned long>(n), last = static_cast<unsigned long>(k);
  // Term i: C(n, i) a^i (D - a)^(n - i), from i = 0 by
  // term(i + 1) = term(i) (n - i) a / ((i + 1) (D - a)).
  mpz_ptr a = p.numerator.get(), big = p.denominator.get();
  BigInteger rest, term, sum, denominator;
  mpz_sub(rest.get(), big, a);  // D - a
  mpz_pow_ui(term.get(), rest.get(), trials);
  mpz_set(sum.get(), term.get());
  for (unsigned long i = 0; i < last; ++i) {
    mpz_mul_ui(term.get(), term.get(), trials - i);
    mpz_mul(term.get(), term.get(), a);
    mpz_divexact_ui(term.get(), term.get(), i + 1);  // C(n, i + 1) stays whole
    mpz_divexact(term.get(), term.get(), rest.get());
    mpz_add(sum.get(), sum.get(), term.get());
  }
  mpz_pow_ui(denominator.get(), big, trials);  // D^n
  return CompareFraction(sum.get(), denominator.get(), q);
}

std::optional<int> CompareUrnAtMost(long double blue, long double red, long double sample,
                                    long double k, ExactRatio& q) {
  if (!(blue + red <= kExactTailBits) || !(k >= 0)) return std::nullopt;
  const auto b = static_cast<unsigned long>(blue), r = static_cast<unsigned long>(red);
  const auto n = static_cast<unsigned long>(sample), last = static_cast<unsigned long>(k);
  const unsigned long first = n > r ? n - r : 0;
  BigInteger sum, left, right, denominator;
  for (unsigned long i = first; i <= last && i <= n; ++i) {
    mpz_bin_uiui(left.get(), b, i);
    mpz_bin_uiui(right.get(), r, n - i);
    mpz_addmul(sum.get(), left.get(), right.get());
  }
  mpz_bin_uiui(denominator.get(), b + r, n);
  return CompareFraction(sum.get(), denominator.get(), q);
}

}  // namespace models
