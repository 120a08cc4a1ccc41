// The negative binomial distribution of NegativeBinomial.h, on the
// incomplete beta function of real parameters (RealShapes.h).
#include "Distr/NegativeBinomial.h"

#include <cmath>

#include "Distr/FloatCheck.h"
#include "Distr/RealShapes.h"

namespace Distr {

DiscreteTails NegativeBinomialAt(int32_t r, long double p, int32_t k) {
  FloatScope scope;
  if (k < 0) return {0, 1, 0};
  if (p == 1) return {1, k == 0 ? 1.0L : 0.0L, k == 0 ? 1.0L : 0.0L};
  const long double rr = r;
  const long double kk = k;
  const long double atMost = BetaTails(rr, kk + 1, p).lower;
  const long double atLeast = k == 0 ? 1 : BetaTails(rr, kk, p).upper;
  // ln C(k + r - 1, k) + r ln p + k ln(1 - p).
  const long double lnChoose = (LnGammaReal(kk + rr) - LnGammaReal(kk + 1)) - LnGammaReal(rr);
  const long double lnPoint = (lnChoose + rr * std::log(p)) + kk * std::log1p(-p);
  return scope.Done(DiscreteTails{atMost, atLeast, std::exp(lnPoint)});
}

}  // namespace Distr
