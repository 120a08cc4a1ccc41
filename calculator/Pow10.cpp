#include "calculator/Pow10.h"

#include <array>
#include <cmath>

namespace calculator {

namespace {

constexpr int kLargestExactPower = 27;

constexpr std::array<long double, kLargestExactPower + 1> MakeExactPowers() {
  std::array<long double, kLargestExactPower + 1> powers{};
  long double p = 1;
  for (auto& entry : powers) {
    entry = p;
    p = p * 10;
  }
  return powers;
}

constexpr auto kExactPowers = MakeExactPowers();

}  // namespace

long double ScaleByPowerOfTen(long double x, int64_t power) {
  while (power > 0 && x != 0 && !std::isnan(x)) {
    const int step = power > kLargestExactPower ? kLargestExactPower : static_cast<int>(power);
    x = x * kExactPowers[step];
    power -= step;
    if (std::isinf(x)) break;
  }
  while (power < 0 && x != 0 && !std::isnan(x)) {
    const int step = -power > kLargestExactPower ? kLargestExactPower : static_cast<int>(-power);
    x = x / kExactPowers[step];
    power += step;
  }
  return x;
}

}  // namespace calculator
