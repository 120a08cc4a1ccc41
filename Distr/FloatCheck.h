// Floating-point errors as exceptions, without hardware traps.
//
// The x87 unit records invalid operations, divisions by zero and overflows in
// sticky status flags.  Rather than unmasking traps (which would also fire in
// Qt and the C library), a computation starts with these flags clear and
// tests them in every loop iteration and before it returns; a set flag
// becomes EInvalidOp, EZeroDivide or EOverflow.  Underflow, denormal operands
// and inexact results are never looked at: an underflowing result silently
// becomes a denormal or 0.
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

  // The test in the inner loop of a series: raises like Check(), but reads
  // only the x87 status word, inline, so that the loop's extended reals stay
  // in registers instead of being stored and reloaded around a call.  It sees
  // every flag the loop can raise as long as the loop body is plain long
  // double arithmetic (no library call: logl and expl may also leave flags in
  // the SSE status) and Check() ran right before the loop, so that no flag
  // from outside the loop is pending.
  static void CheckSeries() {
#if defined(__x86_64__) || defined(__i386__)
    unsigned short status;
    __asm__ volatile("fnstsw %0" : "=a"(status));
    if (status & kX87ErrorFlags) Check();
#else
    Check();
#endif
  }

  // Check(), then hand back the value: `return scope.Done(result);`.
  template <class T>
  T Done(T value) const {
    Check();
    return value;
  }

 private:
  // Invalid operation, division by zero and overflow in the x87 status word.
  static constexpr unsigned short kX87ErrorFlags = 0x01 | 0x04 | 0x08;
};

}  // namespace Distr
