// The exact comparisons of ExactFractions.h: the tail and q as fractions of
// GMP integers, cross-multiplied.
#include "models/ExactFractions.h"

#include <cstdint>

namespace models {

namespace {

void SetUnsigned(mpz_ptr z, uint64_t v) {
  mpz_import(z, 1, 1, sizeof v, 0, 0, &v);
}

}  // namespace

std::optional<int> CompareFailuresAtMost(ExactRatio& p, long double r, long double k,
                                         ExactRatio& q) {
  const long double bits = static_cast<long double>(mpz_sizeinbase(p.denominator.get(), 2));
  if (!((r + k) * bits <= kExactTailBits) || !(k >= 0)) return std::nullopt;
  const unsigned long successes = static_cast<unsigned long>(r);
  const unsigned long last = static_cast<unsigned long>(k);
  mpz_ptr a = p.numerator.get(), big = p.denominator.get();
  BigInteger rest, term, sum, denominator;
  mpz_sub(rest.get(), big, a);  // D - a
  // Term i: C(r + i - 1, i) (D - a)^i D^(k - i), from i = 0 by
  // term(i + 1) = term(i) (r + i) (D - a) / ((i + 1) D).
  mpz_pow_ui(term.get(), big, last);
  mpz_set(sum.get(), term.get());
  for (unsigned long i = 0; i < last; ++i) {
    mpz_mul_ui(term.get(), term.get(), successes + i);
    mpz_mul(term.get(), term.get(), rest.get());
    mpz_divexact_ui(term.get(), term.get(), i + 1);  // C(r + i, i + 1) stays whole
    mpz_divexact(term.get(), term.get(), big);       // exact: D^(k - i)
    mpz_add(sum.get(), sum.get(), term.get());
  }
  BigInteger power;
  mpz_pow_ui(power.get(), a, successes);
  mpz_mul(sum.get(), sum.get(), power.get());            // a^r sum
  mpz_pow_ui(denominator.get(), big, successes + last);  // D^(r + k)
  return CompareFraction(sum.get(), denominator.get(), q);
}

int CompareCountAtMost(long double count, long double total, ExactRatio& q) {
  BigInteger numerator, denominator;
  SetUnsigned(numerator.get(), static_cast<uint64_t>(count));
  SetUnsigned(denominator.get(), static_cast<uint64_t>(total));
  return CompareFraction(numerator.get(), denominator.get(), q);
}

}  // namespace models
