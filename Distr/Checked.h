// Overflow-checked arithmetic on signed 32-bit whole numbers.  A result
// outside the int32_t range raises EIntOverflow instead of wrapping.
#pragma once

#include <cstdint>

#include "Distr/Errors.h"

namespace Distr {

inline int32_t Add(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_add_overflow(a, b, &r)) throw EIntOverflow();
  return r;
}

inline int32_t Sub(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_sub_overflow(a, b, &r)) throw EIntOverflow();
  return r;
}

inline int32_t Mul(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_mul_overflow(a, b, &r)) throw EIntOverflow();
  return r;
}

}  // namespace Distr
