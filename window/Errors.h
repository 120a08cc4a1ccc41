// Run-time errors of the window.
//
// Each ends the command that raised it; the application's handler shows
// its message in the error box (Application.h), with a final "." added as
// calculator::ErrorBoxText does.
#pragma once

#include <stdexcept>
#include <string>

namespace window {

// A file, clipboard or printer operation that failed; what() is the message.
class EWindowError : public std::runtime_error {
 public:
  explicit EWindowError(const std::string& message) : std::runtime_error(message) {}
};

// A computation that ended in a run-time error of the mathematics (the
// calculator's Error result), carried to the error box.
class EComputeError : public std::runtime_error {
 public:
  explicit EComputeError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace window
