// The exact comparisons of ExactFractions.h: the tail and q as fractions of
// GMP integers, cross-multiplied.
#include "details/ExactFractions.h"

#include <cmath>
#include <cstdint>

#include "details/BigInteger.h"
#include "details/ExactTails.h"

namespace details {

namespace {

// v in [0, 1] as m / 2^t exactly, m odd (or 0) and t >= 0.
struct Dyadic {
  uint64_t m;
  long t;
};

Dyadic DyadicOf(long double v) {
  if (v == 0) return {0, 0};
  int exponent = 0;
  const long double fraction = std::frexp(v, &exponent);         // v = fraction 2^exponent
  uint64_t m = static_cast<uint64_t>(std::ldexp(fraction, 64));  // exact: 64-bit mantissa
  long t = 64L - exponent;
  while ((m & 1) == 0 && t > 0) {
    m >>= 1;
    --t;
  }
  return {m, t};
}

void SetUnsigned(mpz_ptr z, uint64_t v) {
  mpz_import(z, 1, 1, sizeof v, 0, 0, &v);
}

// The sign of numerator / denominator - q.
int CompareFraction(mpz_ptr numerator, mpz_ptr denominator, long double q) {
  const Dyadic d = DyadicOf(q);
  BigInteger left, right;
  mpz_mul_2exp(left.get(), numerator, static_cast<mp_bitcnt_t>(d.t));  // numerator 2^t
  SetUnsigned(right.get(), d.m);
  mpz_mul(right.get(), right.get(), denominator);  // m denominator
  const int sign = mpz_cmp(left.get(), right.get());
  return (sign > 0) - (sign < 0);
}

}  // namespace

std::optional<int> CompareFailuresAtMost(long double p, long double r, long double k,
                                         long double q) {
  const Dyadic d = DyadicOf(p);
  if (!((r + k) * static_cast<long double>(d.t) <= kExactTailBits) || !(k >= 0))
    return std::nullopt;
  const unsigned long successes = static_cast<unsigned long>(r);
  const unsigned long last = static_cast<unsigned long>(k);
  BigInteger a, big, rest, term, sum, denominator;
  SetUnsigned(a.get(), d.m);
  mpz_set_ui(big.get(), 0);
  mpz_setbit(big.get(), static_cast<mp_bitcnt_t>(d.t));  // D
  mpz_sub(rest.get(), big.get(), a.get());               // D - a
  // Term i: C(r + i - 1, i) (D - a)^i D^(k - i), from i = 0 by
  // term(i + 1) = term(i) (r + i) (D - a) / ((i + 1) D).
  mpz_pow_ui(term.get(), big.get(), last);
  mpz_set(sum.get(), term.get());
  for (unsigned long i = 0; i < last; ++i) {
    mpz_mul_ui(term.get(), term.get(), successes + i);
    mpz_mul(term.get(), term.get(), rest.get());
    mpz_divexact_ui(term.get(), term.get(), i + 1);  // C(r + i, i + 1) stays whole
    mpz_tdiv_q_2exp(term.get(), term.get(), static_cast<mp_bitcnt_t>(d.t));  // exact: D^(k-i)
    mpz_add(sum.get(), sum.get(), term.get());
  }
  BigInteger power;
  mpz_pow_ui(power.get(), a.get(), successes);
  mpz_mul(sum.get(), sum.get(), power.get());                  // a^r sum
  mpz_pow_ui(denominator.get(), big.get(), successes + last);  // D^(r + k)
  return CompareFraction(sum.get(), denominator.get(), q);
}

int CompareCountAtMost(long double count, long double total, long double q) {
  BigInteger numerator, denominator;
  SetUnsigned(numerator.get(), static_cast<uint64_t>(count));
  SetUnsigned(denominator.get(), static_cast<uint64_t>(total));
  return CompareFraction(numerator.get(), denominator.get(), q);
}

}  // namespace details
