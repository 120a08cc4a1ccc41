// A GMP integer that frees itself, with its decimal digits and its log10:
// the exact counting functions and the exact discrete tails share it.
#pragma once

#include <gmp.h>

#include <cmath>
#include <cstring>
#include <string>

namespace models {

class BigInteger {
 public:
  BigInteger() { mpz_init(z_); }
  ~BigInteger() { mpz_clear(z_); }
  BigInteger(const BigInteger&) = delete;
  BigInteger& operator=(const BigInteger&) = delete;
  mpz_ptr get() { return z_; }

  std::string Decimal() {
    std::string text(mpz_sizeinbase(z_, 10) + 2, '\0');
    mpz_get_str(text.data(), 10, z_);
    text.resize(std::strlen(text.c_str()));
    return text;
  }

  // log10 of a positive integer, from its leading 64 bits.
  long double Log10() {
    constexpr long double kLog10Two = 0.301029995663981195213738894724493027L;
    const size_t bits = mpz_sizeinbase(z_, 2);
    if (bits <= 64) return std::log10(static_cast<long double>(mpz_get_ui(z_)));
    BigInteger top;
    mpz_tdiv_q_2exp(top.get(), z_, bits - 64);
    const long double shift = static_cast<long double>(bits - 64);
    return std::log10(static_cast<long double>(mpz_get_ui(top.get()))) + shift * kLog10Two;
  }

 private:
  mpz_t z_;
};

}  // namespace models
