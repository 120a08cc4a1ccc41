// The real-shape gamma and beta functions: reference values, agreement
// with the half-integer routines, identities, quantile round trips, edges
// and domain errors.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Distr/Distr.h"
#include "Distr/RealShapes.h"
#include "tests/distr/LongDoubleAssertions.h"

namespace {

using namespace Distr;

// Relative tolerances: most values are within a few units in the last place;
// the series of P(a, x) over ~3e5 terms at a = 1e9 is within about 1e-16.
constexpr long double kTight = 2e-17L;
constexpr long double kHugeShape = 4e-16L;
// The half-integer routines of Distr.h end their sums on absolute bounds and
// take one tail as the other's complement (I_0.77(15, 1/2) is 2e-18 off in
// BetaHalf): they agree to 1e-16 relative plus an absolute part.
constexpr long double kAgreement = 1e-16L;
constexpr long double kAgreementFloor = 4e-18L;
// lower + upper = 1 in the body, and quantile round trips in x.
constexpr long double kSumOfTails = 1e-18L;
constexpr long double kRoundTrip = 1e-15L;
constexpr long double kInfinity = std::numeric_limits<long double>::infinity();

long double Relative(long double got, long double want) {
  return want == 0 ? std::fabs(got) : std::fabs(got - want) / std::fabs(want);
}

// Reference values: mpmath at 40 digits, with each input first rounded to the
// 64-bit mantissa as the compiler rounds the literal:
//   loggamma(a);  gammainc(a, 0, x, regularized=True) and gammainc(a, x, inf, ...),
//   for a > 1e5 x^a e^-x / Gamma(a+1) hyp1f1(1, a+1, x) and its complement;
//   betainc(a, b, 0, x, regularized=True) and betainc(b, a, 0, 1-x, ...), for
//   two shapes above 1e4 mp.quad of the density split at quarter standard deviations.
struct LnGammaRow {
  long double a, value;
};
constexpr LnGammaRow kLnGamma[] = {
    {0.001L, 6.907178885383853682554L},
    {0.5L, 0.5723649429247000870717L},
    {0.9L, 0.06637623973474297120509L},
    {1.0000000001L, -5.772156650161200988545e-11L},
    {1.19L, -0.08242007447712086969103L},
    {1.85L, -0.05592381301965727546645L},
    {2.00000001L, 4.227843383206266331365e-9L},
    {2.15L, 0.0704557337041118151738L},
    {7.3L, 7.14789252302224903311L},
    {10L, 12.80182748008146961121L},
    {123.456L, 469.6055471299294687424L},
    {1e9L, 1.972326582750371677098e+10L},
    {1e-300L, 690.7755278982137052054L},
};

struct GammaRow {
  long double a, x, lower, upper, tolerance;
};
constexpr GammaRow kGamma[] = {
    {1L, 2L, 0.864664716763387308106L, 0.135335283236612691894L, kTight},
    {0.5L, 1.5L, 0.9167354833364495981451L, 0.08326451666355040185492L, kTight},
    {0.001L, 0.5L, 0.999439933343529250123L, 5.600666564707498769968e-4L, kTight},
    {0.001L, 1.2L, 0.9998414076731334463585L, 1.585923268665536415366e-4L, kTight},
    {1e-10L, 0.3L, 0.9999999999094323348308L, 9.056766516920477417045e-11L, kTight},
    {0.3L, 1.29L, 0.944043214416835430964L, 0.05595678558316456903604L, kTight},
    {3.7L, 2.1L, 0.2077099796776411905058L, 0.7922900203223588094942L, kTight},
    {3.7L, 50L, 0.9999999999999999981125L, 1.887547814563052055875e-18L, kTight},
    {3.7L, 1000L, 1.0L, 1.536339405479507615056e-427L, kTight},
    {12.5L, 12L, 0.4806264287215128001536L, 0.5193735712784871998464L, kTight},
    {12.5L, 1L, 2.321709298902686320335e-10L, 0.9999999997678290701097L, kTight},
    {100L, 90L, 0.158220989186430168105L, 0.841779010813569831895L, kTight},
    {100L, 200L, 0.9999999999999981561064L, 1.843893649711574151362e-15L, kTight},
    {0.5L, 1e-4000L, 1.128379167095512573889e-2000L, 1.0L, kTight},
    {0.001L, 1e-4000L, 1.000576559744993874359e-4L, 0.9998999423440255006126L, kTight},
    {1e-300L, 1L, 1.0L, 2.193839343955202736696e-301L, kTight},
    {5L, 0.0001L, 8.332638918649925615004e-23L, 0.9999999999999999999999L, kTight},
    {1e6L, 1e6L, 0.5001329807608725912443L, 0.4998670192391274087557L, kTight},
    {1e6L, 1000500L, 0.6915504757714971815334L, 0.3084495242285028184666L, kTight},
    {1e9L, 1000010000L, 0.6240887830875204862849L, 0.3759112169124795137151L, kHugeShape},
    {1e9L, 999900000L, 7.824461399627835376005e-4L, 0.9992175538600372164624L, kHugeShape},
};

struct BetaRow {
  long double a, b, x, lower, upper, tolerance;
};
constexpr BetaRow kBeta[] = {
    {2L, 3L, 0.4L, 0.5248000000000000000094L, 0.4751999999999999999906L, kTight},
    {0.5L, 0.5L, 0.1L, 0.2048327646991334516506L, 0.7951672353008665483494L, kTight},
    {2.5L, 7.25L, 0.9L, 0.9999990877288636896175L, 9.122711363103825419533e-7L, kTight},
    {0.001L, 1L, 0.3L, 0.9987967516801484715518L, 0.001203248319851528448197L, kTight},
    {0.001L, 0.001L, 0.5L, 0.5L, 0.5L, kTight},
    {0.001L, 5L, 0.999L, 0.9999999999999999997994L, 2.005839486000086133162e-19L, kTight},
    {30L, 40L, 0.2L, 8.143500654569901807239e-6L, 0.9999918564993454300982L, kTight},
    {300L, 500L, 0.4L, 0.9270784080074681291319L, 0.07292159199253187086814L, kTight},
    {1e-10L, 12.5L, 0.005L, 0.9999999997707340734274L, 2.292659265726084992821e-10L, kTight},
    {0.5L, 1e9L, 1.4e-9L, 0.905735693232867710256L, 0.09426430676713228974397L, kTight},
    {1e9L, 1e-3L, 0.9999999999L, 0.001821990262637391907032L, 0.998178009737362608093L, kTight},
    {5e8L, 2.5L, 0.99999999L, 0.07523524430491280615712L, 0.9247647556950871938429L, kTight},
    {5L, 1e9L, 1.5e-8L, 0.9991433588811746314325L, 8.566411188253685675322e-4L, kTight},
    {3e8L, 7e8L, 0.30001L, 0.7549250351084158361235L, 0.2450749648915841638765L, kTight},
    {1e6L, 1e6L, 0.5007L, 0.9761426004909558685828L, 0.02385739950904413141718L, kTight},
    {7.5L, 3.25L, 0.999999999999L, 1.0L, 1.304057896756512492416e-37L, kTight},
    {1L, 10L, 1e-18L, 9.999999999999999954783e-18L, 0.99999999999999999L, kTight},
};

// Both tails against a reference pair (x names the row).
void ExpectTails(Tails got, long double lower, long double upper, long double tolerance,
                 long double x) {
  EXPECT_LE(Relative(got.lower, lower), tolerance) << "lower at " << x;
  EXPECT_LE(Relative(got.upper, upper), tolerance) << "upper at " << x;
}

TEST(RealShapes, MatchReference) {
  for (const LnGammaRow& r : kLnGamma)
    EXPECT_LE(Relative(LnGammaReal(r.a), r.value), 1e-18L) << r.a;
  for (const GammaRow& r : kGamma) {
    ExpectTails(GammaTails(r.a, r.x), r.lower, r.upper, r.tolerance, r.x);
  }
  for (const BetaRow& r : kBeta) {
    ExpectTails(BetaTails(r.a, r.b, r.x), r.lower, r.upper, r.tolerance, r.x);
  }
}

TEST(GammaTails, AgreeWithHalfIntegerShapes) {
  for (int32_t n : {1, 2, 3, 7, 20, 101, 1001}) {
    for (long double x : {0.1L, 1.0L, 5.5L, 30.0L, 200.0L, 700.0L}) {
      const long double q = GammaTail(n, x);
      EXPECT_NEAR_L(GammaTails(n / 2.0L, x).upper, q, kAgreement * q + kAgreementFloor)
          << n << " " << x;
    }
  }
}

TEST(BetaTails, AgreeWithHalfIntegerShapes) {
  for (int32_t a : {1, 2, 5, 30}) {
    for (int32_t b : {1, 3, 8, 61}) {
      for (long double x : {0.01L, 0.3L, 0.5L, 0.77L, 0.99L}) {
        const long double i = BetaHalf(a, b, x);
        EXPECT_NEAR_L(BetaTails(a / 2.0L, b / 2.0L, x).lower, i, kAgreement * i + kAgreementFloor)
            << a << " " << b << " " << x;
      }
    }
  }
}

TEST(RealShapes, TailsAddUpToOneInTheBody) {
  for (long double a : {0.01L, 0.7L, 3.3L, 45.0L, 2.5e4L}) {
    for (long double z : {-1.5L, 0.0L, 1.5L}) {
      const long double x = a + z * std::sqrt(a) + 0.3L;
      if (x <= 0) continue;
      const Tails g = GammaTails(a, x);
      EXPECT_NEAR_L(g.lower + g.upper, 1.0L, kSumOfTails) << a << " " << x;
      const Tails b = BetaTails(a, 2 * a + 1, 0.3L + 0.05L * z);
      EXPECT_NEAR_L(b.lower + b.upper, 1.0L, kSumOfTails) << a << " " << z;
    }
  }
}

TEST(GammaQuantile, RoundTrips) {
  for (long double a : {0.001L, 0.5L, 3.7L, 100.0L, 1e6L}) {
    for (long double x : {1e-40L * a, 0.05L * a, 0.8L * a, 1.0L * a, 1.3L * a + 2, 40 * a + 80}) {
      const Tails tails = GammaTails(a, x);
      for (Tail tail : {Tail::Lower, Tail::Upper}) {
        const long double p = tail == Tail::Lower ? tails.lower : tails.upper;
        if (!(p > 0 && p <= 0.5L)) continue;  // the smaller tail fixes x
        EXPECT_LE(Relative(GammaQuantile(a, p, tail), x), kRoundTrip) << a << " " << x;
      }
    }
  }
}

TEST(BetaQuantile, RoundTrips) {
  for (long double a : {0.01L, 0.5L, 2.0L, 60.0L, 3e5L}) {
    for (long double b : {0.02L, 1.0L, 7.5L, 1e6L}) {
      for (long double x : {1e-30L, 0.001L, 0.2L, 0.5L, 0.9L}) {
        const Tails tails = BetaTails(a, b, x);
        for (Tail tail : {Tail::Lower, Tail::Upper}) {
          const long double p = tail == Tail::Lower ? tails.lower : tails.upper;
          if (!(p > 1e-4900L && p <= 0.5L)) continue;  // the smaller tail fixes x
          EXPECT_LE(Relative(BetaQuantile(a, b, p, tail), x), kRoundTrip)
              << a << " " << b << " " << x;
        }
      }
    }
  }
}

TEST(RealQuantiles, FarTailsAndUnderflow) {
  // Q(1, x) = e^-x and I_x(a, 1) = x^a: exact inverses.
  EXPECT_LE(Relative(GammaQuantile(1, 1e-4000L, Tail::Upper), 4000 * std::log(10.0L)), 1e-18L);
  EXPECT_LE(Relative(BetaQuantile(0.5L, 1, 1e-300L, Tail::Lower), 1e-600L), 1e-16L);
  // P(0.01, x) ~ x^0.01: the x for 1e-300 is 1e-30000, below every extended real.
  EXPECT_EQ(GammaQuantile(0.01L, 1e-300L, Tail::Lower), 0.0L);
  EXPECT_EQ(BetaQuantile(0.01L, 3, 1e-300L, Tail::Lower), 0.0L);
  // P(1e-5, x) at the smallest normal x is about 0.89: the lower 0.85 is below it.
  EXPECT_EQ(GammaQuantile(1e-5L, 0.85L, Tail::Lower), 0.0L);
}

TEST(RealShapes, EdgesAreExact) {
  for (long double x : {0.0L, -3.0L, -kInfinity}) {
    const Tails g = GammaTails(2.5L, x), b = BetaTails(2.5L, 0.5L, x);
    EXPECT_TRUE(g.lower == 0 && g.upper == 1 && b.lower == 0 && b.upper == 1) << x;
  }
  EXPECT_EQ(GammaTails(2.5L, kInfinity).upper, 0.0L);
  for (long double x : {1.0L, 1.5L, kInfinity}) EXPECT_EQ(BetaTails(2.5L, 0.5L, x).upper, 0.0L);
  // Far beyond the smallest extended real, a tail underflows to 0 silently.
  EXPECT_EQ(GammaTails(3.7L, 15000).upper, 0.0L);
  EXPECT_EQ(BetaTails(3000, 2, 1e-3L).lower, 0.0L);
}

TEST(GammaTails, HugeShapeAtItsMean) {
  // P(a, a) = 1/2 + 1/(3 sqrt(2 pi a)) + O(a^-3/2).
  for (long double a : {1e10L, 1e12L}) {
    const long double expected = 0.5L + 1 / (3 * std::sqrt(2 * 3.14159265358979323846L * a));
    EXPECT_NEAR_L(GammaTails(a, a).lower, expected, 1e-14L) << a;
  }
}

TEST(RealShapes, OutsideTheDomainRaises) {
  for (long double a : {0.0L, -2.0L, kInfinity}) {
    EXPECT_THROW(GammaTails(a, 1), EDomainError) << a;
    EXPECT_THROW(BetaTails(1, a, 0.5L), EDomainError) << a;
  }
  EXPECT_THROW(GammaTails(2, NAN), EDomainError);
  EXPECT_THROW(LnGammaReal(0), EDomainError);
  EXPECT_THROW(BetaTails(1, 1, NAN), EDomainError);
  for (long double p : {0.0L, 1.0L, -0.5L, static_cast<long double>(NAN)}) {
    EXPECT_THROW(GammaQuantile(2, p, Tail::Lower), EDomainError) << p;
    EXPECT_THROW(BetaQuantile(2, 3, p, Tail::Upper), EDomainError) << p;
  }
}

}  // namespace
