// Reports end to end through the model: field texts in, two log lines out.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "calculator/Calculator.h"

namespace {

using calculator::Calculator;
using calculator::Function;

struct ReportCase {
  const char* name;
  Function function;
  bool inverse;
  std::vector<std::string> fields;  // visible fields in order
};

void RunReport(benchmark::State& state, const ReportCase& c) {
  Calculator model;
  for (auto _ : state) {
    model.SelectFunction(c.function);
    model.ArrangeFields();
    model.SetInverseChecked(c.inverse);
    int next = 0;
    for (int i = 0; i < calculator::kFieldCount && next < static_cast<int>(c.fields.size()); ++i)
      if (model.FieldVisible(i)) model.SetFieldText(i, c.fields[next++]);
    model.ComputeBtnClick();
    if (model.Log().size() != 2) state.SkipWithError("the report appended no lines");
    model.ClearLog();
  }
}

const ReportCase kCases[] = {
    {"Normal", Function::Normal, false, {"100", "225", "130"}},
    {"NormalInverse", Function::Normal, true, {"100", "225", "0.95"}},
    {"ChiSquareInverse", Function::ChiSquare, true, {"10", "0.95"}},
    {"ChiSquareInverseHuge", Function::ChiSquare, true, {"1073741823", "0.95"}},
    {"TInverse", Function::T, true, {"10", "0.975"}},
    {"TInverseHuge", Function::T, true, {"1073741823", "0.975"}},
    {"FInverse", Function::F, true, {"5", "10", "0.95"}},
    {"FInverseHuge", Function::F, true, {"1073741823", "1073741823", "0.95"}},
    {"Binomial", Function::Binomial, false, {"0.3", "1000000", "300000"}},
    {"Poisson", Function::Poisson, false, {"100000", "100000"}},
    {"HypergeometricMillion", Function::Hypergeometric, false,
     {"1000000", "1000000", "1000000", "500000"}},
    {"Factorial", Function::Factorial, false, {"1000"}},
    {"BinomialCoefficient", Function::BinomialCoefficient, false, {"5000", "2500"}},
};

[[maybe_unused]] const bool kRegistered = [] {
  for (const auto& c : kCases) {
    benchmark::RegisterBenchmark((std::string("Report/") + c.name).c_str(),
                                 [&c](benchmark::State& state) { RunReport(state, c); })
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
