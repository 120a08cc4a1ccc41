// The two tails of a continuous distribution at one x, each computed by its
// own route (never as one minus the other), and the names of the two
// quantiles: the x with P(X < x) = p and the x with P(X > x) = p.
#pragma once

namespace Distr {

struct Tails {
  long double lower;  // P(X < x)
  long double upper;  // P(X > x)
};

enum class Tail { Lower, Upper };

}  // namespace Distr
