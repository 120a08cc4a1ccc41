// Floating-point errors as exceptions, without hardware traps.
//
// The x87 unit records invalid operations, divisions by zero and overflows in
// sticky status flags.  Rather than unmasking traps (which would also fire in
// Qt and the C library), a computation clears the flags when it starts and
// tests them in every loop iteration and before it returns; a set flag becomes
// EInvalidOp, EZeroDivide or EOverflow.  Underflow, denormal operands and
// inexact results are never looked at: an underflowing result silently becomes
// a denormal or 0.
//
// Usage: every public routine opens a FloatScope.  Only the outermost scope on
// a thread clears the flags, so a routine called from another routine does
// not wipe out a flag its caller has not tested yet.
#pragma once

#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64,
              "the mathematics needs the 80-bit extended real with a 64-bit mantissa");

namespace Distr {

class FloatScope {
 public:
  FloatScope();
  ~FloatScope();
  FloatScope(const FloatScope&) = delete;
  FloatScope& operator=(const FloatScope&) = delete;

  // Raises the error of a pending flag (and clears the flags).  Division by
  // zero and overflow are tested before invalid: an infinity they produce may
  // go on to raise invalid, but a NaN never raises the other two.
  static void Check();

  // Check(), then hand back the value: `return scope.Done(result);`.
  template <class T>
  T Done(T value) const {
    Check();
    return value;
  }
};

}  // namespace Distr
