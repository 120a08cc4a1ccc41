// Reports whose mathematics is not in Distr yet: they validate nothing and
// append nothing.
#include "calculator/Calculator.h"

namespace calculator {

void Calculator::TReport() {}
void Calculator::FReport() {}
void Calculator::BinomialReport() {}
void Calculator::PoissonReport() {}
void Calculator::HypergeometricReport() {}
void Calculator::FactorialReport() {}
void Calculator::BinomialCoefficientReport() {}

}  // namespace calculator
