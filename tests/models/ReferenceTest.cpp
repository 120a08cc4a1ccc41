// The details engine against independent values: every row of reference.csv
// (written by make_reference.py with mpmath at 60 digits, from the same binary
// inputs) is one call, whose value must agree to kRelativeTolerance, whose
// integer must be exact, and whose null must come with its note.
//
// A row names its distribution by the command name of the calculator's table
// (calculator::Functions()), which gives the model; a row the test cannot
// read as one call (an unknown distribution or function, parameters that do
// not fit the model, a number that is no number) fails, never passes unread.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "calculator/Functions.h"
#include "models/Details.h"
#include "models/Engine.h"
#include "models/Models.h"

namespace {

using models::Distribution;
using models::Value;

constexpr long double kRelativeTolerance = 1e-15L;
// The noncentral distributions (rows whose kind starts "noncentral") are
// sums of many central tails, or Boost's, and are held to this.
constexpr long double kNoncentralTolerance = 1e-13L;

// The columns of a row: label, function, kind, the parameters, x (or p) and
// the expected value.  A function of fewer than kPaddedParameters
// parameters leaves the rest of that many columns empty; one of more takes
// a column for each.
constexpr size_t kLeadingColumns = 3;
constexpr size_t kTrailingColumns = 2;
constexpr size_t kPaddedParameters = 3;
// The kind of the rows of the counting functions, which have no model.
const std::string kCountingKind = "count";

struct Row {
  int line = 0;
  std::string label, function, kind;
  std::vector<std::string> parameters;
  std::string x, expected;
};

// The row's label stands for it in the test names and messages.
void PrintTo(const Row& r, std::ostream* os) {
  *os << r.label << " (line " << r.line << ")";
}

// The fields of a line, the empty ones at its end included.
std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields(1);
  for (const char c : line) {
    if (c == ',')
      fields.emplace_back();
    else
      fields.back() += c;
  }
  return fields;
}

// Every row of the file; a line too short to hold a row is kept with its
// fields as parameters, which no function accepts.
std::vector<Row> LoadRows() {
  std::vector<Row> rows;
  std::ifstream in(PROBEX_DETAILS_REFERENCE);
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> f = Split(line);
    Row r;
    r.line = number;
    r.label = f[0];
    if (f.size() >= kLeadingColumns + kTrailingColumns) {
      r.function = f[1];
      r.kind = f[2];
      r.x = f[f.size() - 2];
      r.expected = f.back();
      r.parameters.assign(f.begin() + kLeadingColumns, f.end() - kTrailingColumns);
    } else {
      r.parameters = f;
    }
    rows.push_back(r);
  }
  return rows;
}

// The whole of a text as a number, or none.
std::optional<long double> Real(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const long double v = std::strtold(text.c_str(), &end);
  if (*end != '\0') return std::nullopt;
  return v;
}

// The row's first `count` parameter columns as numbers, the columns after
// them empty and only as many as the padding takes; none, with the reason
// in *why, otherwise.
std::optional<std::vector<long double>> Parameters(const Row& r, size_t count, std::string* why) {
  const size_t columns = std::max(count, kPaddedParameters);
  if (r.parameters.size() != columns) {
    *why = std::to_string(r.parameters.size()) + " parameter columns for a function of " +
           std::to_string(count) + " parameters (" + std::to_string(columns) + " columns)";
    return std::nullopt;
  }
  std::vector<long double> values;
  for (size_t i = 0; i < columns; ++i) {
    const std::string& text = r.parameters[i];
    const std::string column = "parameter column " + std::to_string(i + 1);
    if (i >= count && !text.empty()) {
      *why = column + " holds \"" + text + "\" beyond the parameters";
      return std::nullopt;
    }
    if (i >= count) continue;
    const std::optional<long double> v = Real(text);
    if (!v) {
      *why = column + " \"" + text + "\" is no number";
      return std::nullopt;
    }
    values.push_back(*v);
  }
  return values;
}

// The row's distribution: the model of the function of the calculator's
// table by that command name, with the row's parameters; none, with the
// reason in *why, when the table has no such distribution or the
// parameters do not fit its model.
std::optional<Distribution> DistributionOf(const Row& r, std::string* why) {
  const std::optional<calculator::Function> function = calculator::FunctionByCommandName(r.kind);
  const models::Model* model = function ? calculator::AboutFunction(*function).model : nullptr;
  if (!model) {
    *why = "the calculator's table has no distribution \"" + r.kind + "\"";
    return std::nullopt;
  }
  const auto count = static_cast<size_t>(model->ParameterCount());
  const std::optional<std::vector<long double>> values = Parameters(r, count, why);
  if (!values) return std::nullopt;
  Distribution d{model, {}};
  std::copy(values->begin(), values->end(), d.parameters.begin());
  return d;
}

using Call = std::function<Value(const Distribution&, long double)>;

// Every function by its name in the table; the aggregates by their fields.
const std::map<std::string, Call>& Calls() {
  using namespace models;
  static const std::map<std::string, Call> kCalls = {
      {"density", Density},
      {"lower", Lower},
      {"upper", Upper},
      {"two_tailed", [](auto& d, auto x) { return Forward(d, x).twoTailed; }},
      {"x_lower", QuantileLower},
      {"x_upper", QuantileUpper},
      {"central_low", [](auto& d, auto p) { return Inverse(d, p).centralLow; }},
      {"central_high", [](auto& d, auto p) { return Inverse(d, p).centralHigh; }},
      {"below", [](auto& d, auto x) { return DiscreteForwardAt(d, x).below; }},
      {"at_most", AtMost},
      {"point", Point},
      {"at_least", AtLeast},
      {"above", [](auto& d, auto x) { return DiscreteForwardAt(d, x).above; }},
      {"quantile", [](auto& d, auto p) { return DiscreteInv(d, p).quantile; }},
      {"mean", [](auto& d, auto) { return Mean(d); }},
      {"variance", [](auto& d, auto) { return Variance(d); }},
  };
  return kCalls;
}

// The x (or p) of a row; the aggregates read none, and their rows leave it
// empty.
std::optional<long double> XOf(const Row& r) {
  if (r.function != "mean" && r.function != "variance") return Real(r.x);
  if (r.x.empty()) return 0.0L;
  return std::nullopt;
}

bool IsNull(const std::string& expected) {
  return expected.rfind("null", 0) == 0;
}

// "null" or "null:<words of the note>"; otherwise the value to the tolerance.
void ExpectValue(const Value& got, const std::string& expected,
                 long double tolerance = kRelativeTolerance) {
  if (IsNull(expected)) {
    EXPECT_FALSE(got.value.has_value()) << static_cast<double>(got.value.value_or(0));
    EXPECT_FALSE(got.note.empty());
    const std::string words = expected.size() > 5 ? expected.substr(5) : "";
    EXPECT_NE(got.note.find(words), std::string::npos) << "note: " << got.note;
    return;
  }
  ASSERT_TRUE(got.value.has_value()) << got.note;
  const std::optional<long double> want = Real(expected);
  ASSERT_TRUE(want.has_value()) << "expected \"" << expected << "\" is no number";
  const long double error = *want == 0 ? std::fabs(*got.value) : std::fabs(*got.value / *want - 1);
  char text[64];
  std::snprintf(text, sizeof text, "%.21Lg", *got.value);
  EXPECT_LE(error, tolerance) << "got " << text << ", want " << expected << ", relative error "
                              << static_cast<double>(error);
}

// An exact integer as its digits, or, when long, "D<count>:<first 30>:<last 30>".
std::string Abridged(const std::string& digits) {
  if (digits.size() <= 60) return digits;
  return "D" + std::to_string(digits.size()) + ":" + digits.substr(0, 30) + ":" +
         digits.substr(digits.size() - 30);
}

// The functions of the counting rows: how many parameters each reads, the
// computation, and whether the row holds the value's logarithm.
struct CountingCall {
  size_t parameters;
  models::Counting (*count)(const std::vector<long double>& p);
  bool log10;
};

const std::map<std::string, CountingCall>& CountingCalls() {
  const auto factorial = [](const std::vector<long double>& p) { return models::Factorial(p[0]); };
  const auto coefficient = [](const std::vector<long double>& p) {
    return models::BinomialCoefficient(p[0], p[1]);
  };
  static const std::map<std::string, CountingCall> kCalls = {
      {"factorial", {1, factorial, false}},
      {"factorial_log10", {1, factorial, true}},
      {"binomial", {2, coefficient, false}},
      {"binomial_log10", {2, coefficient, true}},
  };
  return kCalls;
}

void ExpectCounting(const Row& r) {
  const auto call = CountingCalls().find(r.function);
  ASSERT_NE(call, CountingCalls().end()) << "no counting function \"" << r.function << "\"";
  std::string why;
  const std::optional<std::vector<long double>> p = Parameters(r, call->second.parameters, &why);
  ASSERT_TRUE(p.has_value()) << why;
  const models::Counting c = call->second.count(*p);
  if (call->second.log10) return ExpectValue(c.log10, r.expected);
  if (IsNull(r.expected)) return ExpectValue(Value::None(c.note), r.expected);
  ASSERT_TRUE(c.exact.has_value()) << c.note;
  EXPECT_EQ(Abridged(*c.exact), r.expected);
}

// Letters, digits and underscores, as a test's name takes them.
bool IsName(const std::string& label) {
  return !label.empty() && std::all_of(label.begin(), label.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
  });
}

class Reference : public ::testing::TestWithParam<Row> {};

TEST_P(Reference, AgreesWithTheIndependentValue) {
  const Row& r = GetParam();
  EXPECT_TRUE(IsName(r.label)) << "label \"" << r.label << "\" is no test's name";
  if (r.kind == kCountingKind) return ExpectCounting(r);
  const auto call = Calls().find(r.function);
  ASSERT_NE(call, Calls().end()) << "no function \"" << r.function << "\"";
  std::string why;
  const std::optional<Distribution> d = DistributionOf(r, &why);
  ASSERT_TRUE(d.has_value()) << why;
  const std::optional<long double> x = XOf(r);
  ASSERT_TRUE(x.has_value()) << "x \"" << r.x << "\" for " << r.function;
  const bool noncentral = r.kind.rfind("noncentral", 0) == 0;
  ExpectValue(call->second(*d, *x), r.expected,
              noncentral ? kNoncentralTolerance : kRelativeTolerance);
}

// A test's name is the row's label, or the line's number where the label is
// no name a test can have (and the test fails).
std::string TestName(const ::testing::TestParamInfo<Row>& info) {
  const std::string& label = info.param.label;
  return IsName(label) ? label : "unnamed_row_at_line_" + std::to_string(info.param.line);
}

INSTANTIATE_TEST_SUITE_P(Rows, Reference, ::testing::ValuesIn(LoadRows()), TestName);

// Without the file the suite above would have no rows to fail.
TEST(ReferenceFile, HasRows) {
  EXPECT_FALSE(LoadRows().empty()) << PROBEX_DETAILS_REFERENCE;
}

// The whole-number test takes a shortcut through double below 2^53.
TEST(Engine, WholeNumbersOnBothSidesOfTheShortcut) {
  const std::pair<long double, bool> rows[] = {
      {0, true},
      {-3, true},
      {0.5L, false},
      {1e-30L, false},
      {0x1p53L - 1, true},
      {0x1p53L + 1, true},
      {0x1p53L + 0.5L, false},
      {1e30L, true},
      {9007199254740991.5L, false},
      {INFINITY, false},
      {NAN, false},
  };
  for (const auto& [v, whole] : rows)
    EXPECT_EQ(models::IsWhole(v), whole) << static_cast<double>(v);
}

// A distribution without a model gets a note from every call.
TEST(Engine, ADistributionWithoutAModelGetsNotes) {
  const Distribution none{};
  const models::ContinuousForward f = models::Forward(none, 1);
  const models::ContinuousInverse i = models::Inverse(none, 0.5L);
  const models::DiscreteForward k = models::DiscreteForwardAt(none, 1);
  for (const Value& v :
       {f.lower, f.upper, f.density, f.twoTailed, i.xLower, i.xUpper, i.centralLow, i.centralHigh,
        k.below, k.atMost, k.point, k.atLeast, k.above, models::DiscreteInv(none, 0.5L).quantile,
        models::Mean(none), models::Variance(none)}) {
    EXPECT_FALSE(v.value.has_value());
    EXPECT_EQ(v.note, models::kNoModel);
  }
  EXPECT_FALSE(models::IsDiscrete(none));
  EXPECT_TRUE(std::isnan(models::Support(none).first));
}

// Flags raised inside the engine (an underflow far out, an infinite density,
// an exact integer of thousands of digits) never reach the caller, whose own
// flags stay as they were.
TEST(Environment, TheCallersFlagsStayAsTheyWere) {
  for (const int before : {0, FE_INEXACT, FE_UNDERFLOW | FE_DIVBYZERO}) {
    std::feclearexcept(FE_ALL_EXCEPT);
    std::feraiseexcept(before);
    models::Upper({&models::NormalModel(), {0, 1}}, 160);
    models::Density({&models::ChiSquareModel(), {1}}, 0);
    models::AtMost({&models::PoissonModel(), {1e4000L}}, 3);
    models::Forward({&models::TModel(), {3}}, 1e30L);  // nested holds
    models::DiscreteForwardAt({&models::BinomialModel(), {0.5L, 4000}}, 1);
    models::Factorial(3000);
    EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), before);
  }
}

}  // namespace
