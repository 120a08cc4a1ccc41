// The discrete quantile by search: the smallest whole k with atMost(k) >= q,
// for a cumulative probability atMost that rises with k, reaches q in the
// int32 range (EIntOverflow otherwise) and is taken as 0 below it.  The
// bracket grows from a first guess by doubling steps, up or down, and is
// then halved; every comparison is made on atMost itself, so the answer
// agrees with the probabilities a report prints beside it.
#pragma once

#include <cstdint>

#include "Distr/Errors.h"

namespace Distr {

template <class AtMost>
int32_t SmallestReaching(AtMost atMost, long double q, int32_t guess) {
  constexpr int64_t kMost = INT32_MAX;
  constexpr int64_t kLeast = INT32_MIN;
  const auto reaches = [&](int64_t k) {
    return k >= kLeast && atMost(static_cast<int32_t>(k)) >= q;
  };
  int64_t low, high;  // reaches(high), !reaches(low)
  if (reaches(guess)) {
    high = guess;
    low = high - 1;
    for (int64_t step = 2; reaches(low); step *= 2) {
      high = low;
      low = high - step < kLeast ? kLeast - 1 : high - step;
    }
  } else {
    low = guess;
    high = low + 1;
    for (int64_t step = 2; !reaches(high); step *= 2) {
      if (high == kMost) throw EIntOverflow();
      low = high;
      high = high + step > kMost ? kMost : high + step;
    }
  }
  while (high - low > 1) {
    const int64_t middle = low + (high - low) / 2;
    (reaches(middle) ? high : low) = middle;
  }
  return static_cast<int32_t>(high);
}

}  // namespace Distr
