#include "calculator/Calculator.h"

#include "Distr/FloatCheck.h"
#include "calculator/FieldParsing.h"

namespace calculator {

namespace {

constexpr std::array<FunctionInfo, 9> kCatalogue{{
    {Function::Normal, "NormalRadio", "&Normal Distribution", "normal", true},
    {Function::ChiSquare, "ChiSquareRadio", "&Chi Square Distribution", "chisquare", true},
    {Function::T, "TRadio", "&t Distribution", "t", true},
    {Function::F, "FRadio", "&F Distribution", "f", true},
    {Function::Binomial, "BinomialRadio", "&Binomial Distribution", "binomial", false},
    {Function::Poisson, "PoissonRadio", "&Poisson Distribution", "poisson", false},
    {Function::Hypergeometric, "HyperRadio", "H&ypergeometric Distribution", "hypergeometric",
     false},
    {Function::Factorial, "FactorialRadio", "F&actorial Function", "factorial", false},
    {Function::BinomialCoefficient, "BinoCoefRadio", "Bino&mial Coefficient", "binomialcoefficient",
     false},
}};

// One label/edit pair of a field arrangement; a null caption hides the pair.
struct PairDefault {
  const char* caption;
  const char* text;
};

struct Arrangement {
  Function function;
  std::array<PairDefault, kFieldCount> pairs;
};

constexpr PairDefault kHidden{nullptr, nullptr};
constexpr PairDefault kXValue{"x-value", "0"};

constexpr std::array<Arrangement, 9> kArrangements{{
    {Function::Normal, {{{"Mean", "0"}, {"Variance", "1"}, kHidden, kXValue}}},
    {Function::ChiSquare, {{{"Degrees of freedom", "1"}, kHidden, kHidden, kXValue}}},
    {Function::T, {{{"Degrees of freedom", "1"}, kHidden, kHidden, kXValue}}},
    {Function::F,
     {{{"(1) Degrees of freedom", "1"}, {"(2) Degrees of freedom", "1"}, kHidden, kXValue}}},
    {Function::Binomial, {{{"p", "0.5"}, {"n", "1"}, kHidden, kXValue}}},
    {Function::Poisson, {{{"lambda (Mean)", "1"}, kHidden, kHidden, kXValue}}},
    {Function::Hypergeometric,
     {{{"Blue (B)", "1"}, {"Red (R)", "1"}, {"Sample (n)", "1"}, {"Blue in sample (x)", "1"}}}},
    {Function::Factorial, {{{"n", "1"}, kHidden, kHidden, kHidden}}},
    {Function::BinomialCoefficient, {{{"n", "1"}, {"k", "1"}, kHidden, kHidden}}},
}};

}  // namespace

const std::array<FunctionInfo, 9>& FunctionCatalogue() {
  return kCatalogue;
}

const FunctionInfo& InfoOf(Function function) {
  for (const auto& info : kCatalogue)
    if (info.function == function) return info;
  throw Distr::ERangeError();
}

std::optional<Function> FunctionByCommandName(std::string_view name) {
  for (const auto& info : kCatalogue)
    if (name == info.commandName) return info.function;
  return std::nullopt;
}

std::string ErrorBoxText(std::string_view message) {
  std::string text(message);
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

Calculator::Calculator() = default;

void Calculator::SelectFunction(Function function) {
  if (function == selected_) return;  // an already checked radio button: no click
  selected_ = function;
  ArrangeFields();
}

void Calculator::ArrangeFields() {
  const bool continuous = InfoOf(selected_).continuous;
  if (continuous) {
    inverseVisible_ = true;
    SetInverseChecked(false);  // its texts are overwritten below
  } else {
    inverseVisible_ = false;  // the checked state stays as it was
  }
  for (const auto& arrangement : kArrangements) {
    if (arrangement.function != selected_) continue;
    for (int i = 0; i < kFieldCount; ++i) {
      const PairDefault& pair = arrangement.pairs[i];
      visible_[i] = pair.caption != nullptr;
      if (pair.caption == nullptr) continue;
      labels_[i] = pair.caption;
      texts_[i] = pair.text;
    }
  }
}

void Calculator::SetInverseChecked(bool checked) {
  if (checked == inverseChecked_) return;
  inverseChecked_ = checked;
  InversCheckBoxClick();
}

void Calculator::InversCheckBoxClick() {
  if (inverseChecked_) {
    labels_[kEdit4] = "Percentile";
    if (selected_ == Function::Normal || selected_ == Function::T) texts_[kEdit4] = "0.975";
    if (selected_ == Function::ChiSquare || selected_ == Function::F) texts_[kEdit4] = "0.95";
  } else {
    labels_[kEdit4] = "x-value";
    texts_[kEdit4] = "0";
  }
}

void Calculator::SetFieldText(int index, std::string text) {
  texts_.at(index) = std::move(text);
}

void Calculator::SetPointer(PointerShape shape) {
  pointer_ = shape;
  if (pointerObserver_) pointerObserver_(shape);
}

void Calculator::ComputeBtnClick() {
  // The pointer returns to default also when a report raises.
  struct BusyPointer {
    Calculator& calculator;
    explicit BusyPointer(Calculator& c) : calculator(c) {
      calculator.SetPointer(PointerShape::Busy);
    }
    ~BusyPointer() { calculator.SetPointer(PointerShape::Default); }
  } busy(*this);

  Distr::FloatScope scope;
  runFailed_ = false;
  switch (selected_) {
    case Function::Normal:
      NormalReport();
      break;
    case Function::ChiSquare:
      ChiSquareReport();
      break;
    case Function::T:
      TReport();
      break;
    case Function::F:
      FReport();
      break;
    case Function::Binomial:
      BinomialReport();
      break;
    case Function::Poisson:
      PoissonReport();
      break;
    case Function::Hypergeometric:
      HypergeometricReport();
      break;
    case Function::Factorial:
      FactorialReport();
      break;
    case Function::BinomialCoefficient:
      BinomialCoefficientReport();
      break;
  }
  lastValid_ = !runFailed_;
}

bool Calculator::ReadReal(int index, long double& value) {
  const RealParse parsed = ParseReal(texts_[index]);
  if (!parsed.Valid()) {
    MarkInvalid(index);
    return false;
  }
  value = parsed.value;
  return true;
}

bool Calculator::ReadInteger(int index, int32_t& value) {
  const IntegerParse parsed = ParseInteger(texts_[index]);
  if (!parsed.Valid()) {
    MarkInvalid(index);
    return false;
  }
  value = parsed.value;
  return true;
}

void Calculator::MarkInvalid(int index) {
  focused_ = index;
  runFailed_ = true;
}

void Calculator::Append(const std::string& header, const std::string& result) {
  // Every number of the run is computed: a pending floating-point error is
  // raised now, before anything reaches the log.
  Distr::FloatScope::Check();
  log_.push_back(header);
  log_.push_back(result);
  if (appendObserver_) {
    appendObserver_(header);
    appendObserver_(result);
  }
}

}  // namespace calculator
