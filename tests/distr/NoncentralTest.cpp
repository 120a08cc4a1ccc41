// The noncentral chi-square, F and t: reference values, the central cases,
// identities, quantile round trips, edges and domain errors.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Distr/Distr.h"
#include "Distr/Noncentral.h"
#include "Distr/RealShapes.h"
#include "tests/distr/LongDoubleAssertions.h"

namespace {

using namespace Distr;

// Relative tolerance against the references; lower + upper = 1 in the body;
// p against the tail at the computed quantile (the quantile's own rounding,
// times the tail's sensitivity to x, is well below it).
constexpr long double kReference = 1e-16L;
constexpr long double kSumOfTails = 1e-18L;
constexpr long double kRoundTrip = 1e-14L;
// Two routes to one central tail whose arguments round differently.
constexpr long double kArguments = 1e-16L;

long double Relative(long double got, long double want) {
  return want == 0 ? std::fabs(got) : std::fabs(got - want) / std::fabs(want);
}

// Reference values from mpmath at 40 digits, each input rounded to the 64-bit
// mantissa first: chi-square and F as the Poisson sums
//   sum_j e^-m m^j / j! gammainc(df/2 + j, 0, x/2, regularized=True)   (m = lambda/2)
//   sum_j e^-m m^j / j! betainc(df1/2 + j, df2/2, 0, u, regularized=True)
// over j within 40 sqrt(m) + 200 of m (upper tails with the other limits,
// and for F the mirrored betainc in 1 - u); t as mp.quad over s of
// ncdf(x s - delta) times the density of S = sqrt(chi2_df / df), and the far
// side of zero (delta < 0 < x) by the series of Lenth and Guenther summed at
// 260 digits, where its cancellation costs nothing.
struct ChiRow {
  long double df, lambda, x, lower, upper;
};
constexpr ChiRow kChiSquare[] = {
    {3L, 0L, 2.5L, 0.5247089166569794098414L, 0.4752910833430205901586L},
    {3L, 2.5L, 4L, 0.4314614991869631727241L, 0.5685385008130368272759L},
    {0.5L, 10L, 1e-3L, 0.001113713877616858318059L, 0.9988862861223831416819L},
    {7.3L, 100L, 150L, 0.9751759119691378877229L, 0.02482408803086211227714L},
    {7.3L, 100L, 60L, 0.004502369922438802840631L, 0.9954976300775611971594L},
    {4L, 1000L, 1300L, 0.99999428901985949085L, 5.710980140509150036119e-6L},
    {4L, 1000L, 800L, 3.511949177094482853239e-4L, 0.9996488050822905517147L},
    {2L, 50L, 400L, 1.0L, 2.606316606024422164644e-38L},
    {2L, 50L, 0.001L, 6.985712066083555825826e-15L, 0.9999999999999930142879L},
    {3L, 1e4L, 10500L, 0.9930459643554263718679L, 0.00695403564457362813211L},
    {3L, 1e4L, 12000L, 0.9999999999999999999993L, 7.497150825549977872381e-22L},
};

struct FRow {
  long double df1, df2, lambda, x, lower, upper;
};
constexpr FRow kF[] = {
    {3L, 7L, 2L, 1.5L, 0.496450453642787081717L, 0.503549546357212918283L},
    {3L, 7L, 0L, 1.5L, 0.7041910807035622922059L, 0.2958089192964377077941L},
    {2.5L, 30L, 40L, 20L, 0.6619408469748723576269L, 0.3380591530251276423731L},
    {10L, 5L, 10L, 0.05L, 7.649782003501184316286e-7L, 0.9999992350217996498816L},
    {4L, 12L, 100L, 100L, 0.9929450057652711908345L, 0.007054994234728809165522L},
    {5L, 20L, 1e4L, 3000L, 0.8620410127531658604162L, 0.1379589872468341395838L},
    {1L, 1L, 3L, 1e6L, 0.9985910453290952277749L, 0.001408954670904772225111L},
};

struct TRow {
  long double df, delta, x, lower, upper;
};
constexpr TRow kT[] = {
    {10L, 1L, 2L, 0.8076115625303752620316L, 0.1923884374696247379684L},
    {10L, 0L, 1.3L, 0.8886170913965777080653L, 0.1113829086034222919347L},
    {3.5L, -2L, -4L, 0.1642010944343843071552L, 0.8357989055656156928448L},
    {20L, 5L, 1L, 3.711419753370729522021e-5L, 0.9999628858024662927048L},
    {20L, 5L, 9L, 0.9896227153331509143645L, 0.01037728466684908563549L},
    {30L, 40L, 60L, 0.9959512249944137926794L, 0.004048775005586207320641L},
    {0.7L, 2L, 50L, 0.9207546267327440667392L, 0.07924537326725593326075L},
};

struct FarSideRow {
  long double df, delta, x, upper;
};
constexpr FarSideRow kTFarSide[] = {
    {5L, -3L, 1L, 7.336838562827627429661e-5L},
    {5L, -10L, 1L, 1.324820440347193814921e-26L},
    {100L, -20L, 3L, 7.32811906418240082708e-113L},
    {1L, -1L, 1000L, 6.647611551797716314466e-5L},
    {0.0235979L, -0.0979565L, 0.0036792L, 0.4607069684348954847717L},
};

// Both tails against a reference pair.
void ExpectTails(Tails got, long double lower, long double upper, long double x) {
  EXPECT_LE(Relative(got.lower, lower), kReference) << "lower at " << x;
  EXPECT_LE(Relative(got.upper, upper), kReference) << "upper at " << x;
}

TEST(Noncentral, MatchesReference) {
  for (const ChiRow& r : kChiSquare) {
    ExpectTails(NoncentralChiSquareTails(r.df, r.lambda, r.x), r.lower, r.upper, r.x);
  }
  for (const FRow& r : kF) {
    ExpectTails(NoncentralFTails(r.df1, r.df2, r.lambda, r.x), r.lower, r.upper, r.x);
  }
  for (const TRow& r : kT) ExpectTails(NoncentralTTails(r.df, r.delta, r.x), r.lower, r.upper, r.x);
  for (const FarSideRow& r : kTFarSide) {
    // And its mirror: T(delta) > x exactly when T(-delta) < -x.
    EXPECT_LE(Relative(NoncentralTTails(r.df, r.delta, r.x).upper, r.upper), 2 * kReference) << r.x;
    EXPECT_LE(Relative(NoncentralTTails(r.df, -r.delta, -r.x).lower, r.upper), 2 * kReference);
  }
}

TEST(Noncentral, WithoutNoncentralityIsCentral) {
  for (long double df : {0.3L, 1.0L, 4.5L, 60.0L}) {
    for (long double x : {0.01L, 0.9L, 3.0L, 40.0L}) {
      const Tails chi = NoncentralChiSquareTails(df, 0, x), gamma = GammaTails(df / 2, x / 2);
      EXPECT_TRUE(chi.lower == gamma.lower && chi.upper == gamma.upper) << df << " " << x;
      // F(df, 7) at x is I_u(df/2, 7/2), u = df x / (df x + 7).
      const Tails f = NoncentralFTails(df, 7, 0, x);
      const Tails beta = BetaTails(df / 2, 3.5L, df * x / (df * x + 7));
      EXPECT_LE(Relative(f.lower, beta.lower), kArguments) << df << " " << x;
      EXPECT_LE(Relative(f.upper, beta.upper), kArguments) << df << " " << x;
      // P(T > x) = I_v(df/2, 1/2) / 2 with v = df / (df + x^2).
      const long double v = df / (df + x * x);
      EXPECT_LE(Relative(NoncentralTTails(df, 0, x).upper, BetaTails(df / 2, 0.5L, v).lower / 2),
                kArguments)
          << df << " " << x;
    }
  }
  for (int32_t n : {1, 2, 9, 30}) {
    EXPECT_LE(Relative(NoncentralTTails(n, 0, 2.5L).upper, TTail(n, 2.5L)), 1e-16L) << n;
  }
}

TEST(Noncentral, TailsAddUpToOneInTheBody) {
  for (long double lambda : {0.5L, 30.0L, 2000.0L}) {
    for (long double z : {-1.0L, 0.0L, 1.0L}) {
      const long double x = 3 + lambda + z * std::sqrt(2 * (3 + 2 * lambda));
      const Tails chi = NoncentralChiSquareTails(3, lambda, x);
      EXPECT_NEAR_L(chi.lower + chi.upper, 1.0L, kSumOfTails) << lambda << " " << z;
      const Tails f = NoncentralFTails(3, 12, lambda, x / 3);
      EXPECT_NEAR_L(f.lower + f.upper, 1.0L, kSumOfTails) << lambda << " " << z;
      const long double delta = std::sqrt(lambda);
      const Tails t = NoncentralTTails(8, -delta, -delta + z);
      EXPECT_NEAR_L(t.lower + t.upper, 1.0L, kSumOfTails) << lambda << " " << z;
    }
  }
}

TEST(Noncentral, QuantilesRoundTrip) {
  for (long double p : {1e-30L, 0.01L, 0.3L, 0.7L, 0.99L}) {
    for (Tail tail : {Tail::Lower, Tail::Upper}) {
      // The smaller tail is the one fixed to relative accuracy.
      auto check = [&](Tails tails, const char* what) {
        const long double got = tail == Tail::Lower ? tails.lower : tails.upper;
        EXPECT_LE(p <= 0.5L ? Relative(got, p) : Relative(1 - got, 1 - p), kRoundTrip) << what << p;
      };
      for (long double lambda : {0.0L, 2.5L, 400.0L, 1e6L}) {
        check(NoncentralChiSquareTails(3, lambda, NoncentralChiSquareQuantile(3, lambda, p, tail)),
              "chi-square");
        check(NoncentralFTails(4, 9, lambda, NoncentralFQuantile(4, 9, lambda, p, tail)), "F");
      }
      for (long double delta : {-6.0L, 0.0L, 1.5L, 30.0L}) {
        check(NoncentralTTails(5, delta, NoncentralTQuantile(5, delta, p, tail)), "t");
      }
    }
  }
}

TEST(Noncentral, Edges) {
  const long double infinity = std::numeric_limits<long double>::infinity();
  for (long double x : {0.0L, -1.0L, infinity}) {
    const long double upper = x > 0 ? 0 : 1;
    EXPECT_EQ(NoncentralChiSquareTails(3, 2, x).upper, upper) << x;
    EXPECT_EQ(NoncentralFTails(3, 4, 2, x).upper, upper) << x;
  }
  EXPECT_EQ(NoncentralTTails(3, 2, -infinity).lower, 0.0L);
  // P(T < 0) = Phi(-delta); Phi(-1) = ncdf(-1) from mpmath.
  constexpr long double kPhiMinusOne = 0.1586552539314570514148L;
  EXPECT_LE(Relative(NoncentralTTails(7, 1, 0).lower, kPhiMinusOne), 1e-18L);
  // The chi-square lower quantile for 1e-300 with df = 0.02 is about 1e-30000.
  EXPECT_EQ(NoncentralChiSquareQuantile(0.02L, 1, 1e-300L, Tail::Lower), 0.0L);
}

TEST(Noncentral, OutsideTheDomainRaises) {
  EXPECT_THROW(NoncentralChiSquareTails(0, NAN, 1), EDomainError);
  EXPECT_THROW(NoncentralFTails(2, 3, -1, 1), EDomainError);
  EXPECT_THROW(NoncentralTTails(2, INFINITY, 1), EDomainError);
  EXPECT_THROW(NoncentralTTails(2, 1, NAN), EDomainError);
  EXPECT_THROW(NoncentralChiSquareQuantile(2, 1, 0, Tail::Lower), EDomainError);
  EXPECT_THROW(NoncentralFQuantile(2, 3, 1, 1, Tail::Upper), EDomainError);
  EXPECT_THROW(NoncentralTQuantile(2, 1, -0.5L, Tail::Lower), EDomainError);
}

}  // namespace
