#include "details/ExactTails.h"

#include <cmath>
#include <cstdint>

#include "details/BigInteger.h"

namespace details {

namespace {

// v in [0, 1) as m / 2^t exactly, m odd (or 0) and t >= 0.
struct Dyadic {
  uint64_t m;
  long t;
};

Dyadic DyadicOf(long double v) {
  if (v == 0) return {0, 0};
  int exponent = 0;
  const long double fraction = std::frexp(v, &exponent);         // v = fraction 2^exponent
  uint64_t m = static_cast<uint64_t>(std::ldexp(fraction, 64));  // exact: 64-bit mantissa
  long t = 64 - exponent;
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

std::optional<int> CompareBinomialAtMost(long double p, long double n, long double k,
                                         long double q) {
  const Dyadic d = DyadicOf(p);
  if (!(n * static_cast<long double>(d.t) <= kExactTailBits) || !(k >= 0 && k < n))
    return std::nullopt;
  const unsigned long trials = static_cast<unsigned long>(n), last = static_cast<unsigned long>(k);
  // Term i: C(n, i) a^i (D - a)^(n - i), from i = 0 by
  // term(i + 1) = term(i) (n - i) a / ((i + 1) (D - a)).
  BigInteger a, rest, term, sum, denominator;
  SetUnsigned(a.get(), d.m);
  mpz_set_ui(denominator.get(), 0);
  mpz_setbit(denominator.get(), static_cast<mp_bitcnt_t>(d.t));  // D
  mpz_sub(rest.get(), denominator.get(), a.get());               // D - a
  mpz_pow_ui(term.get(), rest.get(), trials);
  mpz_set(sum.get(), term.get());
  for (unsigned long i = 0; i < last; ++i) {
    mpz_mul_ui(term.get(), term.get(), trials - i);
    mpz_mul(term.get(), term.get(), a.get());
    mpz_divexact_ui(term.get(), term.get(), i + 1);  // C(n, i + 1) stays whole
    mpz_divexact(term.get(), term.get(), rest.get());
    mpz_add(sum.get(), sum.get(), term.get());
  }
  mpz_pow_ui(denominator.get(), denominator.get(), trials);  // D^n
  return CompareFraction(sum.get(), denominator.get(), q);
}

std::optional<int> CompareUrnAtMost(long double blue, long double red, long double sample,
                                    long double k, long double q) {
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

}  // namespace details
