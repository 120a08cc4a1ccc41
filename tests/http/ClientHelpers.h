// Helpers of the client tests: timing and catching an expected error.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>

namespace http_test {

using TTestClock = std::chrono::steady_clock;

inline long long MsSince(TTestClock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(TTestClock::now() - start).count();
}

// Runs action, which must raise TError, and hands the error back.
template <class TError, class TAction>
TError Caught(TAction&& action) {
  try {
    action();
  } catch (const TError& error) {
    return error;
  }
  ADD_FAILURE() << "the expected error was not raised";
  throw std::logic_error("no error");
}

}  // namespace http_test
