#include "Distr/FloatCheck.h"

#include <cfenv>

#include "Distr/Errors.h"

namespace Distr {

namespace {
thread_local int scopeDepth = 0;
constexpr int kErrorFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
}  // namespace

FloatScope::FloatScope() {
  // Only the error flags are ever tested, so the outermost scope needs to
  // clear the flags only when one of those is pending.  Testing is several
  // times cheaper than clearing, which rewrites the floating-point
  // environment; the flags nobody tests (inexact, underflow) may stay set.
  if (scopeDepth++ == 0 && std::fetestexcept(kErrorFlags) != 0) std::feclearexcept(FE_ALL_EXCEPT);
}

FloatScope::~FloatScope() { --scopeDepth; }

void FloatScope::Check() {
  const int raised = std::fetestexcept(kErrorFlags);
  if (raised == 0) return;
  std::feclearexcept(FE_ALL_EXCEPT);
  if (raised & FE_DIVBYZERO) throw EZeroDivide();
  if (raised & FE_OVERFLOW) throw EOverflow();
  throw EInvalidOp();
}

}  // namespace Distr
