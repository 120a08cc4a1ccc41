// Helpers of the HTTP tests: timing and catching an expected error.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>

#include "http/Errors.h"

// The statement raises an EHttpError of that fault (a THttpFault name).
#define EXPECT_FAULT(statement, fault) \
  EXPECT_EQ(http_test::FaultOf([&] { statement; }), http::THttpFault::fault)

namespace http_test {

using TTestClock = std::chrono::steady_clock;

inline long long MsSince(TTestClock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(TTestClock::now() - start).count();
}

// Runs action, which must raise an EHttpError of that fault, and hands the
// error back.
template <class TAction>
http::EHttpError Caught(http::THttpFault fault, TAction&& action) {
  try {
    action();
  } catch (const http::EHttpError& error) {
    EXPECT_EQ(error.Fault(), fault);
    return error;
  }
  ADD_FAILURE() << "the expected error was not raised";
  throw std::logic_error("no error");
}

// The fault of the EHttpError that action raises; nullopt when it raises none.
template <class TAction>
std::optional<http::THttpFault> FaultOf(TAction&& action) {
  try {
    action();
  } catch (const http::EHttpError& error) {
    return error.Fault();
  }
  return std::nullopt;
}

}  // namespace http_test
