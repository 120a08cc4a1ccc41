// The exact comparisons of ExactTails.h: each tail a sum of whole terms, each
// term from its neighbour, over the shorter side of k, cross-multiplied with q.
#include "models/ExactTails.h"

#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "models/BoostPolicy.h"

namespace models {

namespace {

void SetUnsigned(mpz_ptr z, uint64_t v) {
  mpz_import(z, 1, 1, sizeof v, 0, 0, &v);
}

unsigned long Whole(long double v) {
  return static_cast<unsigned long>(v);
}

// Whether the products of a tail, of `bits` bits in all, stay within
// kExactTailSize.
bool Workable(long double bits) {
  return bits <= kExactTailSize;
}

}  // namespace

ExactRatio::ExactRatio(long double v, const Ratio& typed) {
  const bool read = !typed.Empty() &&
                    mpz_set_str(numerator.get(), typed.numerator.c_str(), 10) == 0 &&
                    mpz_set_str(denominator.get(), typed.denominator.c_str(), 10) == 0 &&
                    mpz_sgn(denominator.get()) > 0;
  if (!read) {
    // v = fraction 2^exponent with a 64-bit mantissa: m / 2^(64 - exponent).
    mpz_set_ui(denominator.get(), 1);
    mpz_set_ui(numerator.get(), 0);
    if (v != 0) {
      int exponent = 0;
      const long double fraction = std::frexp(v, &exponent);
      SetUnsigned(numerator.get(), static_cast<uint64_t>(std::ldexp(fraction, 64)));
      mpz_mul_2exp(denominator.get(), denominator.get(), static_cast<mp_bitcnt_t>(64 - exponent));
    }
  }
  // Lowest terms: 0.5 typed is 1 / 2, one bit a trial in the binomial sums.
  BigInteger divisor;
  mpz_gcd(divisor.get(), numerator.get(), denominator.get());
  if (mpz_cmp_ui(divisor.get(), 1) > 0) {
    mpz_divexact(numerator.get(), numerator.get(), divisor.get());
    mpz_divexact(denominator.get(), denominator.get(), divisor.get());
  }
}

long double ComplementOf(const Ratio& typed, long double q) {
  BigInteger numerator, denominator;
  if (typed.Empty() || mpz_set_str(numerator.get(), typed.numerator.c_str(), 10) != 0 ||
      mpz_set_str(denominator.get(), typed.denominator.c_str(), 10) != 0 ||
      mpz_cmp(numerator.get(), denominator.get()) > 0 || mpz_sgn(denominator.get()) <= 0)
    return 1 - q;
  mpz_sub(numerator.get(), denominator.get(), numerator.get());
  const auto real = [](BigInteger& v) { return std::strtold(v.Decimal().c_str(), nullptr); };
  return real(numerator) / real(denominator);
}

bool IsHalf(ExactRatio& v) {
  return mpz_cmp_ui(v.numerator.get(), 1) == 0 && mpz_cmp_ui(v.denominator.get(), 2) == 0;
}

bool IsHalf(long double v, const Ratio& typed) {
  ExactRatio exact(v, typed);
  return IsHalf(exact);
}

int CompareFraction(mpz_ptr numerator, mpz_ptr denominator, ExactRatio& q) {
  BigInteger left, right;
  mpz_mul(left.get(), numerator, q.denominator.get());
  mpz_mul(right.get(), q.numerator.get(), denominator);
  const int sign = mpz_cmp(left.get(), right.get());
  return (sign > 0) - (sign < 0);
}

namespace {

// Binary splitting of a sum of terms t(i) = t(0) prod_{j < i} p(j) / q(j),
// i < m: the sum is t(0) T / Q over [0, m), where for a range [a, b)
// P = prod p(j), Q = prod q(j) and T / Q = sum_{a <= i < b} prod_{a <= j < i} p(j) / q(j),
// and two neighbouring ranges join as
//   P = P1 P2,  Q = Q1 Q2,  T = T1 Q2 + P1 T2
// (the last q of a range enters T and Q alike).  Products of balanced sizes
// let GMP's fast multiplication work: some M(size) log(m), where one term
// after another would cost m times the size of a term.
struct Split {
  BigInteger p, q, t;
};

// Ranges of at most this many terms are joined one term at a time, each
// factor a word or two: there a product tree would cost more in allocations
// than it saves.
constexpr unsigned long kSplitLeaves = 32;

// [from, to) into out; P only where a join above needs it (never for the
// rightmost ranges).
template <class Leaf>
void SplitSum(const Leaf& leaf, unsigned long from, unsigned long to, bool needP, Split& out) {
  if (to - from <= kSplitLeaves) {
    // From the right: a term j before the range joins as
    // T = q(j) Q + p(j) T, Q = q(j) Q, P = p(j) P.
    BigInteger pj, qj;
    leaf(to - 1, out.p.get(), out.q.get());
    mpz_set(out.t.get(), out.q.get());
    for (unsigned long j = to - 1; j-- > from;) {
      leaf(j, pj.get(), qj.get());
      mpz_mul(out.t.get(), out.t.get(), pj.get());
      mpz_addmul(out.t.get(), out.q.get(), qj.get());
      mpz_mul(out.q.get(), out.q.get(), qj.get());
      if (needP) mpz_mul(out.p.get(), out.p.get(), pj.get());
    }
    return;
  }
  const unsigned long mid = from + (to - from) / 2;
  Split right;
  SplitSum(leaf, from, mid, true, out);
  SplitSum(leaf, mid, to, needP, right);
  mpz_mul(out.t.get(), out.t.get(), right.q.get());
  mpz_addmul(out.t.get(), out.p.get(), right.t.get());
  mpz_mul(out.q.get(), out.q.get(), right.q.get());
  if (needP) mpz_mul(out.p.get(), out.p.get(), right.p.get());
}

// The tail sum / whole, whole = total Q: the m terms from first (summed
// alone when lower, else total less them), first t(0) the first term.
template <class Leaf>
void TailFraction(const Leaf& leaf, unsigned long m, mpz_ptr first, mpz_ptr total, bool lower,
                  mpz_ptr sum, mpz_ptr whole) {
  Split s;
  SplitSum(leaf, 0, m, false, s);
  mpz_mul(sum, first, s.t.get());  // t(0) T
  mpz_mul(whole, total, s.q.get());
  if (!lower) mpz_sub(sum, whole, sum);
}

long double Bits(long double v) {
  return std::log2(v + 1) + 1;
}

}  // namespace

bool BinomialLowerSum(ExactRatio& p, long double n, long double k, mpz_ptr sum, mpz_ptr whole) {
  const long double bits = static_cast<long double>(mpz_sizeinbase(p.denominator.get(), 2));
  const bool lower = k + 1 <= n - k;
  const long double terms = lower ? k + 1 : n - k;
  if (!(k >= 0 && k < n) || !Workable(terms * 2 * (Bits(n) + bits) + n * bits)) return false;
  const unsigned long trials = Whole(n);
  mpz_ptr a = p.numerator.get(), big = p.denominator.get();
  BigInteger rest, first, total;
  mpz_sub(rest.get(), big, a);           // D - a
  mpz_pow_ui(total.get(), big, trials);  // D^n
  // Term i: C(n, i) a^i (D - a)^(n - i), from i = 0 up by the ratio
  // (n - i) a / ((i + 1) (D - a)), or from i = n down by the ratio
  // i (D - a) / ((n - i + 1) a): the same with a and D - a exchanged.
  mpz_ptr up = lower ? a : rest.get(), down = lower ? rest.get() : a;
  mpz_pow_ui(first.get(), down, trials);
  const auto leaf = [&](unsigned long j, mpz_ptr pj, mpz_ptr qj) {
    mpz_mul_ui(pj, up, trials - j);
    mpz_mul_ui(qj, down, j + 1);
  };
  TailFraction(leaf, Whole(terms), first.get(), total.get(), lower, sum, whole);
  return true;
}

std::optional<int> CompareBinomialAtMost(ExactRatio& p, long double n, long double k,
                                         ExactRatio& q) {
  BigInteger sum, whole;
  if (!BinomialLowerSum(p, n, k, sum.get(), whole.get())) return std::nullopt;
  return CompareFraction(sum.get(), whole.get(), q);
}

std::optional<int> CompareUrnAtMost(long double blue, long double red, long double sample,
                                    long double k, ExactRatio& q) {
  const long double total = blue + red;
  const long double lo = std::fmax(0, sample - red), hi = std::fmin(sample, blue);
  if (!(k >= lo && k < hi)) return std::nullopt;
  // C(N, n), and a first term below it, of this many bits.
  const long double bits = (boost::math::lgamma(total + 1, BoostPolicy()) -
                            boost::math::lgamma(sample + 1, BoostPolicy()) -
                            boost::math::lgamma(total - sample + 1, BoostPolicy())) /
                               std::log(2.0L) +
                           1;
  const bool lower = k - lo + 1 <= hi - k;
  const long double terms = lower ? k - lo + 1 : hi - k;
  if (!Workable(terms * 4 * Bits(total) + 2 * bits)) return std::nullopt;
  const unsigned long b = Whole(blue), r = Whole(red), n = Whole(sample);
  const unsigned long from = Whole(lower ? lo : hi);
  BigInteger first, other, all, sum, whole;
  mpz_bin_uiui(all.get(), Whole(total), n);
  mpz_bin_uiui(first.get(), b, from);
  mpz_bin_uiui(other.get(), r, n - from);
  mpz_mul(first.get(), first.get(), other.get());
  // Term i: C(B, i) C(R, n - i), from i = lo up by the ratio
  // (B - i)(n - i) / ((i + 1)(R - n + i + 1)), or from i = hi down by the
  // ratio i (R - n + i) / ((B - i + 1)(n - i + 1)); each factor is below
  // 2^32, each product within a word.
  const auto leaf = [&](unsigned long j, mpz_ptr pj, mpz_ptr qj) {
    if (lower) {
      const unsigned long i = from + j;
      mpz_set_ui(pj, (b - i) * (n - i));
      mpz_set_ui(qj, (i + 1) * (r - n + i + 1));
    } else {
      const unsigned long i = from - j;
      mpz_set_ui(pj, i * (r - n + i));
      mpz_set_ui(qj, (b - i + 1) * (n - i + 1));
    }
  };
  TailFraction(leaf, Whole(terms), first.get(), all.get(), lower, sum.get(), whole.get());
  return CompareFraction(sum.get(), whole.get(), q);
}

}  // namespace models
