// The floating-point error flags around the routines: a flag left over from
// before a computation does not fail it, a flag pending inside one fails it
// with its own error, and the series loops, which read only the x87 status
// word, still report every error through the check before each loop.
#include <gtest/gtest.h>

#include <cfenv>
#include <limits>

#include "Distr/Distr.h"

namespace {

using Distr::FloatScope;

const long double kInfinity = std::numeric_limits<long double>::infinity();

// An invalid operation in SSE double arithmetic, which sets the flag in the
// SSE status only (as a library routine might), not in the x87 one.
void RaiseSseInvalid() {
  volatile double zero = 0;
  volatile double quotient = zero / zero;
  (void)quotient;
}

TEST(FloatCheck, LeftoverFlagsDoNotFailTheNextComputation) {
  const long double expected = Distr::GammaTail(4, 3);
  for (int flag : {FE_INVALID, FE_DIVBYZERO, FE_OVERFLOW, FE_INEXACT | FE_UNDERFLOW}) {
    std::feraiseexcept(flag);
    EXPECT_EQ(Distr::GammaTail(4, 3), expected) << flag;
    EXPECT_EQ(Distr::BetaHalf(50, 60, 0.4L), Distr::BetaHalf(50, 60, 0.4L)) << flag;
  }
  RaiseSseInvalid();
  EXPECT_EQ(Distr::GammaTail(4, 3), expected);
  std::feclearexcept(FE_ALL_EXCEPT);
}

TEST(FloatCheck, APendingFlagFailsTheComputationWithItsError) {
  struct Row {
    const char* label;
    int flag;
  };
  // Division by zero is reported before overflow, and both before invalid.
  const Row rows[] = {{"invalid", FE_INVALID},
                      {"division by zero", FE_DIVBYZERO},
                      {"overflow", FE_OVERFLOW},
                      {"invalid and overflow", FE_INVALID | FE_OVERFLOW}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    FloatScope outer;
    std::feraiseexcept(row.flag);
    // Lower series of GammaTail, and the binomial-type series of BetaHalf.
    try {
      Distr::GammaTail(10, 3);
      ADD_FAILURE() << "no error raised";
    } catch (const Distr::EZeroDivide&) {
      EXPECT_TRUE(row.flag & FE_DIVBYZERO);
    } catch (const Distr::EOverflow&) {
      EXPECT_TRUE((row.flag & FE_OVERFLOW) && !(row.flag & FE_DIVBYZERO));
    } catch (const Distr::EInvalidOp&) {
      EXPECT_EQ(row.flag, FE_INVALID);
    }
    std::feraiseexcept(row.flag);
    EXPECT_THROW(Distr::BetaHalf(50, 60, 0.4L), Distr::ERunTimeError);
    std::feclearexcept(FE_ALL_EXCEPT);
  }
}

TEST(FloatCheck, AnSseFlagPendingBeforeASeriesIsSeen) {
  // Each series runs the full check (x87 and SSE) before its loop, so a flag
  // raised before it is reported as such, even where the loop itself would
  // go on to overflow.
  struct Row {
    const char* label;
    long double (*compute)();
  };
  const Row rows[] = {
      {"GammaTail upper sum", [] { return Distr::GammaTail(10, 50); }},
      {"GammaTail upper sum that overflows", [] { return Distr::GammaTail(2, 1e4932L); }},
      {"GammaTail lower series", [] { return Distr::GammaTail(10, 3); }},
      {"BetaSeries", [] { return Distr::BetaSeries(3, 5, 0.25L); }},
      {"BetaHalf binomial-type series", [] { return Distr::BetaHalf(50, 60, 0.4L); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    FloatScope outer;
    RaiseSseInvalid();
    EXPECT_THROW(row.compute(), Distr::EInvalidOp);
    std::feclearexcept(FE_ALL_EXCEPT);
  }
}

TEST(FloatCheck, ErrorsRaisedInsideTheSeriesLoops) {
  // Upper sum at x = +Inf: 0 * Inf in the stopping test is invalid.
  EXPECT_THROW(Distr::GammaTail(1, kInfinity), Distr::EInvalidOp);
  EXPECT_THROW(Distr::ChiSquareTail(1, kInfinity), Distr::EInvalidOp);
  EXPECT_THROW(Distr::NormalTail(kInfinity), Distr::EInvalidOp);
  // Upper sum at x near the largest extended real: 2 x overflows.
  EXPECT_THROW(Distr::GammaTail(2, 1e4932L), Distr::EOverflow);
  EXPECT_THROW(Distr::PoissonTail(1, 1e4932L), Distr::EOverflow);
  // The flags are clear again afterwards: the next computation goes through.
  EXPECT_EQ(Distr::GammaTail(2, 1), Distr::GammaTail(2, 1));
}

}  // namespace
