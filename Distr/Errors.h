// Run-time errors of the calculator.
//
// Invalid user input is never an error (the calculator answers it by moving
// the focus to the field).  What is left are the conditions below: each is an
// exception that ends the command that raised it and is shown to the user in
// one message box by the program's top-level handler.
#pragma once

#include <stdexcept>
#include <string>

namespace Distr {

// Base of every run-time error; what() is the message without the final ".".
class ERunTimeError : public std::runtime_error {
 public:
  explicit ERunTimeError(const std::string& message) : std::runtime_error(message) {}
};

// Whole-number arithmetic left the signed 32-bit range.
class EIntOverflow : public ERunTimeError {
 public:
  EIntOverflow() : ERunTimeError("Integer overflow") {}
};

// An index or a value left the range of its type.
class ERangeError : public ERunTimeError {
 public:
  ERangeError() : ERunTimeError("Range check error") {}
};

// Arguments outside a function's domain that its caller did not rule out
// (ln C(n, k) for k > n): the caller answers them as invalid input.
class EDomainError : public ERunTimeError {
 public:
  EDomainError() : ERunTimeError("Argument outside the domain") {}
};

// Invalid floating-point operation: ln of a negative number, 0/0, inf - inf, ...
class EInvalidOp : public ERunTimeError {
 public:
  EInvalidOp() : ERunTimeError("Invalid floating point operation") {}
};

// Floating-point division of a non-zero number by zero (also ln 0).
class EZeroDivide : public ERunTimeError {
 public:
  EZeroDivide() : ERunTimeError("Floating point division by zero") {}
};

// A floating-point result beyond the largest extended real.
class EOverflow : public ERunTimeError {
 public:
  EOverflow() : ERunTimeError("Floating point overflow") {}
};

}  // namespace Distr
