// Tables of values: the textbook presets, cells against the log lines of
// single reports, decimal steps, validation, failing cells, more digits,
// the clipboard and CSV texts, the first range and the time left.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "calculator/Calculator.h"
#include "calculator/FieldParsing.h"
#include "calculator/NumberText.h"
#include "tables/Tables.h"

namespace {

using calculator::Function;
using calculator::Mode;
using tables::Field;
using tables::Kind;

calculator::FieldTexts Defaults(Function function) {
  return calculator::DefaultTexts(function);
}

tables::Request Preset(Function function, Kind kind, calculator::FieldTexts texts = {}) {
  if (texts == calculator::FieldTexts{}) texts = Defaults(function);
  return tables::DefaultRequest(function, kind, texts);
}

tables::Table Computed(const tables::Request& request) {
  const tables::Prepared prepared = tables::Prepare(request);
  EXPECT_TRUE(prepared.plan.has_value())
      << (prepared.faults.empty() ? "" : prepared.faults[0].rule);
  if (!prepared.plan) return {};
  return tables::ComputeTable(*prepared.plan);
}

// The cell in the row labelled `row` and the column headed `column`.
std::string Cell(const tables::Table& table, const std::string& row, const std::string& column) {
  for (const auto& cells : table.rows) {
    if (cells[0].text != row) continue;
    for (std::size_t c = 0; c < table.headings.size(); ++c)
      if (table.headings[c] == column) return cells[c].text;
  }
  return "(no such cell)";
}

TEST(Textbook, CriticalValuesReproduceThePrintedTables) {
  const tables::Table t = Computed(Preset(Function::T, Kind::Critical));
  const tables::Table chi = Computed(Preset(Function::ChiSquare, Kind::Critical));
  const tables::Table f = Computed(Preset(Function::F, Kind::Critical));
  const tables::Table z = Computed(Preset(Function::Normal, Kind::ZTable));
  ASSERT_EQ(t.rows.size(), 33u);  // df 1 to 30, 40, 60, 120
  ASSERT_EQ(t.headings.size(), 7u);
  EXPECT_EQ(Cell(t, "1", "0.05"), "6.313752");
  EXPECT_EQ(Cell(t, "30", "0.025"), "2.042272");
  EXPECT_EQ(Cell(t, "120", "0.001"), "3.159539");
  EXPECT_EQ(Cell(chi, "1", "0.05"), "3.841459");
  EXPECT_EQ(Cell(chi, "10", "0.01"), "23.209251");
  EXPECT_EQ(Cell(f, "10", "5"), "3.325835");  // F(5, 10) at 0.05
  EXPECT_EQ(Cell(f, "1", "1"), "161.447639");
  ASSERT_EQ(z.rows.size(), 35u);  // 0.0 to 3.4
  EXPECT_EQ(Cell(z, "1.9", "0.06"), "0.975002");
  EXPECT_EQ(Cell(z, "0.0", "0.00"), "0.500000");
  EXPECT_EQ(Cell(z, "3.4", "0.09"), "0.999758");
}

// The textbook's two-sided t table: its 0.05 column is the one-sided 0.025
// column, cell for cell, and an alpha like 0.001 halves exactly (0.0005).
TEST(Textbook, TwoSidedAlphasAreTheOneSidedHalves) {
  tables::Request two = Preset(Function::T, Kind::Critical);
  two.alphas = "0.10, 0.05, 0.001";
  two.twoSided = true;
  tables::Request one = two;
  one.alphas = "0.05, 0.025, 0.0005";
  one.twoSided = false;
  const tables::Table a = Computed(two), b = Computed(one);
  ASSERT_EQ(a.rows.size(), b.rows.size());
  for (std::size_t r = 0; r < a.rows.size(); ++r)
    for (std::size_t c = 0; c < a.rows[r].size(); ++c)
      EXPECT_EQ(a.rows[r][c].text, b.rows[r][c].text) << r << ", " << c;
  EXPECT_EQ(Cell(a, "10", "0.05"), "2.228139");
  EXPECT_NE(a.title.find("two-sided"), std::string::npos);
  tables::Request f = Preset(Function::F, Kind::Critical);
  f.twoSided = true;
  EXPECT_THROW(tables::Prepare(f), std::invalid_argument);
}

// A random cell of a table against the log of the single report a user would
// type from the table's own row and column texts.
struct LogCheck {
  const char* label;
  tables::Request request;
};

std::string Line(Function function, calculator::FieldTexts texts, calculator::Mode mode) {
  const calculator::Result result = calculator::Compute(function, texts, mode);
  return result.Ok() ? result.lines[1] : "error: " + result.message;
}

// The number after "P(X>" ... ")=" in a continuous inverse line: its B value.
std::string UpperPoint(const std::string& line) {
  const auto start = line.find("P(X>") + 4;
  return line.substr(start, line.find(")=", start) - start);
}

void CheckCellAgainstLog(const tables::Request& r, const tables::Table& table, std::size_t row,
                         std::size_t column) {
  const auto& cells = table.rows[row];
  calculator::FieldTexts texts = r.texts;
  const std::string label = cells[0].text, heading = table.headings[column];
  switch (r.kind) {
    case Kind::Range: {
      texts[calculator::kEdit4] = label;
      const std::string line = Line(r.function, texts, calculator::Mode::Forward);
      if (calculator::AboutFunction(r.function).family == calculator::Family::Discrete)
        EXPECT_EQ(line, "   P(X<=" + label + ")=" + cells[1].text + "      P(X>=" + label +
                            ")=" + cells[2].text + "      P(X=" + label + ")=" + cells[3].text);
      else
        EXPECT_EQ(line, "   P(X<" + label + ")=" + cells[1].text + "      P(X>" + label +
                            ")=" + cells[2].text);
      return;
    }
    case Kind::Critical:
      if (r.function == Function::F) {
        texts = {heading, label, "", r.alphas};
      } else if (r.function != Function::Normal) {
        texts[calculator::kEdit1] = label;
        texts[calculator::kEdit4] = heading;
      } else {
        texts[calculator::kEdit4] = heading;
      }
      EXPECT_EQ(UpperPoint(Line(r.function, texts, calculator::Mode::Inverse)), cells[column].text);
      return;
    case Kind::ZTable: {
      texts = {"0", "1", "", label + heading.substr(3)};
      const std::string line = Line(r.function, texts, calculator::Mode::Forward);
      EXPECT_EQ(line.substr(line.find(")=") + 2, 8), cells[column].text) << line;
      return;
    }
    case Kind::Quantiles: {
      const std::string x = cells[1].text;
      texts[calculator::kEdit4] = x;
      const calculator::Result at = calculator::Compute(r.function, texts, Mode::Forward);
      texts[calculator::kEdit4] = std::to_string(std::stoll(x) - 1);
      const calculator::Result below = calculator::Compute(r.function, texts, Mode::Forward);
      const long double p = calculator::ParseReal(label).value;
      ASSERT_TRUE(at.Ok());
      EXPECT_EQ(calculator::Fixed6Text(std::get<calculator::DiscreteAt>(at.values).atMost),
                cells[2].text);
      EXPECT_GE(std::get<calculator::DiscreteAt>(at.values).atMost, p);
      if (below.Ok()) {
        EXPECT_LT(std::get<calculator::DiscreteAt>(below.values).atMost, p);
      }
      return;
    }
  }
}

TEST(CellsEqualTheLog, RandomCellsAgainstSingleReports) {
  auto range = [](Function f, calculator::FieldTexts texts, const char* from, const char* to,
                  const char* step) {
    tables::Request r = Preset(f, Kind::Range, texts);
    r.from = from, r.to = to, r.step = step;
    return r;
  };
  tables::Request f01 = Preset(Function::F, Kind::Critical);
  f01.alphas = "0.01";
  tables::Request normal = Preset(Function::Normal, Kind::Critical, {"100", "225", "", ""});
  const LogCheck checks[] = {
      {"normal range", range(Function::Normal, {"100", "225", "", ""}, "40", "160", "0.25")},
      {"t range in hundredths", range(Function::T, {"7", "", "", ""}, "-3", "3", "0.01")},
      {"chi-square range", range(Function::ChiSquare, {"4", "", "", ""}, "0", "30", "0.1")},
      {"F range", range(Function::F, {"3", "12", "", ""}, "0", "8", "0.05")},
      {"binomial range", range(Function::Binomial, {"0.3", "40", "", ""}, "0", "40", "1")},
      {"poisson range", range(Function::Poisson, {"3.5", "", "", ""}, "0", "30", "3")},
      {"hypergeometric range",
       range(Function::Hypergeometric, {"30", "20", "15", ""}, "0", "15", "1")},
      {"t critical", Preset(Function::T, Kind::Critical)},
      {"chi-square critical", Preset(Function::ChiSquare, Kind::Critical)},
      {"F critical at 0.01", f01},
      {"normal critical", normal},
      {"z table", Preset(Function::Normal, Kind::ZTable)},
      {"binomial quantiles", Preset(Function::Binomial, Kind::Quantiles, {"0.3", "40", "", ""})},
      {"poisson quantiles", Preset(Function::Poisson, Kind::Quantiles, {"250.5", "", "", ""})},
      {"hypergeometric quantiles",
       Preset(Function::Hypergeometric, Kind::Quantiles, {"3000", "5000", "400", ""})},
  };
  std::mt19937 random(20240611);  // fixed: the same cells on every run
  constexpr int kCellsPerTable = 6;
  for (const auto& check : checks) {
    SCOPED_TRACE(check.label);
    const tables::Table table = Computed(check.request);
    ASSERT_FALSE(table.rows.empty());
    for (int i = 0; i < kCellsPerTable; ++i) {
      const std::size_t row = random() % table.rows.size();
      const std::size_t column = 1 + random() % (table.headings.size() - 1);
      SCOPED_TRACE("row " + std::to_string(row) + ", column " + std::to_string(column));
      CheckCellAgainstLog(check.request, table, row, column);
    }
  }
}

TEST(RangeSteps, CountInDecimal) {
  struct Case {
    const char* label;
    const char* from;
    const char* to;
    const char* step;
    std::size_t count;
    const char* last;
  };
  const Case cases[] = {
      {"tenths reach the end", "0", "1", "0.1", 11, "1"},
      {"end between two steps", "0", "1", "0.3", 4, "0.9"},
      {"negative start", "-3", "3", "0.25", 25, "3"},
      {"exponent forms", "1E-3", "2.5e-3", "5E-4", 4, "0.0025"},
      {"one row", "7", "7", "2", 1, "7"},
      {"large and small", "1E15", "1000000000000001", "0.5", 3, "1000000000000001"},
      {"20 digits fall back to binary", "0.12345678901234567891", "0.2", "0.1", 1,
       "0.12345678901234567891"},
  };
  for (const auto& c : cases) {
    const auto steps = tables::RangeSteps::Of(c.from, c.to, c.step);
    ASSERT_EQ(steps.Count(), c.count) << c.label;
    const std::string last = steps.Text(c.count - 1);
    // The text reads as the same number as the expected one.
    EXPECT_EQ(calculator::ParseReal(last).value, calculator::ParseReal(c.last).value)
        << c.label << ": " << last;
  }
  EXPECT_EQ(tables::RangeSteps::Of("0", "1", "0.1").Text(3), "0.3");
  EXPECT_EQ(tables::RangeSteps::Whole(-5, 5, 3).Count(), 4u);
}

TEST(RangeSteps, DecimalTexts) {
  const std::pair<tables::Decimal, const char*> cases[] = {
      {{0, 7}, "0"},
      {{-25, -2}, "-0.25"},
      {{3, 2}, "300"},
      {{120, -1}, "12"},
      {{1, -40}, "1E-40"},
      {{15, 40}, "15E40"},
      {{123456, -3}, "123.456"},
      {{5, -32}, "5E-32"},
      {{5, -31}, "0.0000000000000000000000000000005"},
  };
  for (const auto& [decimal, text] : cases) EXPECT_EQ(tables::DecimalText(decimal), text) << text;
}

struct FaultCase {
  const char* label;
  tables::Request request;
  Field field;
  int index;
  std::string text;  // FaultText
  bool shape;
};

TEST(Validation, EachFieldWithItsRule) {
  auto with = [](Function f, Kind k, auto change) {
    tables::Request r = Preset(f, k);
    change(r);
    return r;
  };
  const FaultCase cases[] = {
      {"variance 0", with(Function::Normal, Kind::Range, [](auto& r) { r.texts[1] = "0"; }),
       Field::Parameter, 1, "Variance: a number of at least 0.000001", false},
      {"mean past the extended range",
       with(Function::Normal, Kind::Range, [](auto& r) { r.texts[0] = "1e5000"; }),
       Field::Parameter, 0, "Mean: a number", false},
      {"step 0", with(Function::Normal, Kind::Range, [](auto& r) { r.step = "0"; }), Field::Step, 0,
       "Step: a number greater than 0", false},
      {"to below from", with(Function::T, Kind::Range, [](auto& r) { r.from = "-4", r.to = "-5"; }),
       Field::To, 0, "To: a number not less than From", false},
      {"fractional discrete step",
       with(Function::Poisson, Kind::Range, [](auto& r) { r.step = "0.5"; }), Field::Step, 0,
       "Step: a whole number from 1 to 2147483647", false},
      {"100001 rows",
       with(Function::Normal, Kind::Range,
            [](auto& r) { r.from = "0", r.to = "100000", r.step = "1"; }),
       Field::Step, 0, "Step: a step that gives at most 100000 rows from From to To", true},
      {"df 0 in the list",
       with(Function::T, Kind::Critical, [](auto& r) { r.degrees = "1, 0, 3"; }), Field::Degrees, 2,
       "Degrees of freedom, entry 2: a number greater than 0 and at most 1073741823", false},
      {"empty entry", with(Function::T, Kind::Critical, [](auto& r) { r.degrees = "1,,3"; }),
       Field::Degrees, 2, "Degrees of freedom, entry 2: one or more entries separated by commas",
       true},
      {"alpha 1", with(Function::ChiSquare, Kind::Critical, [](auto& r) { r.alphas = "0.05, 1"; }),
       Field::Alphas, 2,
       "Upper-tail probabilities, entry 2: a probability from 0.000001 to 0.999999", false},
      {"alpha past the extended range",
       with(Function::T, Kind::Critical, [](auto& r) { r.alphas = "0.05, 1e5000"; }), Field::Alphas,
       2, "Upper-tail probabilities, entry 2: a probability from 0.000001 to 0.999999", false},
      {"two alphas for F",
       with(Function::F, Kind::Critical, [](auto& r) { r.alphas = "0.05,0.01"; }), Field::Alphas, 0,
       "Upper-tail probability: a single entry", true},
      {"empty df2", with(Function::F, Kind::Critical, [](auto& r) { r.degrees2 = " "; }),
       Field::Degrees2, 0, "(2) Degrees of freedom: one or more entries separated by commas", true},
      {"p above 1",
       with(Function::Binomial, Kind::Quantiles, [](auto& r) { r.probabilities = "0.5, 1.5"; }),
       Field::Probabilities, 2, "Probabilities, entry 2: a probability from 0 to 1", false},
  };
  for (const auto& c : cases) {
    const tables::Prepared prepared = tables::Prepare(c.request);
    ASSERT_FALSE(prepared.plan.has_value()) << c.label;
    ASSERT_EQ(prepared.faults.size(), 1u) << c.label;
    const tables::Fault& fault = prepared.faults[0];
    EXPECT_EQ(fault.field, c.field) << c.label;
    EXPECT_EQ(fault.index, c.index) << c.label;
    EXPECT_EQ(tables::FaultText(fault, c.request.function), c.text) << c.label;
    EXPECT_EQ(fault.shape, c.shape) << c.label;
  }
}

TEST(Validation, TheCriticalTablesIgnoreTheMainWindowsDegreesOfFreedom) {
  tables::Request r = Preset(Function::T, Kind::Critical, {"abc", "", "", "xyz"});
  EXPECT_TRUE(tables::Prepare(r).plan.has_value());
  r.kind = Kind::Range;
  const auto faults = tables::Prepare(r).faults;
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_EQ(faults[0].index, calculator::kEdit1);
}

TEST(FailingCells, AnErrorFillsItsRowAndTheOthersAreComputed) {
  // P(X<=x) needs the tail at x + 1, whose whole numbers near 2(x + 1)
  // leave the 32-bit range from x = 2^30 - 2 on.
  tables::Request r = Preset(Function::Poisson, Kind::Range);
  r.from = "1073741820", r.to = "1073741822", r.step = "1";
  const tables::Table table = Computed(r);
  ASSERT_EQ(table.rows.size(), 3u);
  EXPECT_FALSE(table.rows[1][1].failed);
  EXPECT_EQ(table.rows[1][1].text, "1.000000");
  EXPECT_TRUE(table.rows[2][1].failed);
  EXPECT_EQ(table.rows[2][1].text, "Integer overflow");
  EXPECT_EQ(table.rows[2][0].text, "1073741822");
}

TEST(MoreDigits, FromTheDetailsEngineAndCloseToTheLog) {
  tables::Request r = Preset(Function::T, Kind::Critical);
  r.digits = {{2, 15}};  // the 0.05 column
  const tables::Table table = Computed(r);
  EXPECT_EQ(Cell(table, "1", "0.05"), "6.31375151467504");
  EXPECT_EQ(Cell(table, "1", "0.10"), "3.077684");  // the other columns as the log
  tables::Request range = Preset(Function::Normal, Kind::Range);
  range.from = "-40", range.to = "-40", range.digits = {{1, 12}};
  // Far out the log prints 0.000000; the engine keeps the relative digits.
  EXPECT_EQ(Computed(range).rows[0][1].text, "3.65589354092E-350");
}

TEST(SignificantText, FixedOrScientific) {
  const std::tuple<long double, int, const char*> cases[] = {
      {0.05L, 10, "0.05000000000"},
      {318.30883898555L, 12, "318.308838986"},
      {1e-10L, 9, "1.00000000E-10"},
      {0.0000123456L, 3, "0.0000123"},
      {0.00000123456L, 3, "1.23E-06"},
      {123456.0L, 3, "1.23E+05"},
      {9.9996L, 4, "10.00"},
      {0.0L, 3, "0.00"},
      {-2.5L, 2, "-2.5"},
      {HUGE_VALL, 5, "+Inf"},
  };
  for (const auto& [value, digits, text] : cases)
    EXPECT_EQ(tables::SignificantText(value, digits), text) << text;
}

TEST(Text, TabsForTheClipboardAndQuotedCsv) {
  const tables::Table table{
      "title", {"x", "P(X<x)"}, {{{"1"}, {"0.5"}}, {{"2"}, {"say \"no\", twice", true}}}};
  EXPECT_EQ(tables::TabText(table), "x\tP(X<x)\n1\t0.5\n2\tsay \"no\", twice\n");
  EXPECT_EQ(tables::CsvText(table), "x,P(X<x)\n1,0.5\n2,\"say \"\"no\"\", twice\"\n");
}

TEST(Progress, StopsWhenAskedAndCountsEveryRow) {
  const tables::Prepared prepared = tables::Prepare(Preset(Function::T, Kind::Critical));
  std::vector<std::size_t> seen;
  const auto stopped = tables::ComputeTable(*prepared.plan, [&](std::size_t done) {
    seen.push_back(done);
    return done < 3;
  });
  EXPECT_TRUE(stopped.partial);
  EXPECT_EQ(stopped.rows.size(), 3u);
  EXPECT_EQ(seen, (std::vector<std::size_t>{1, 2, 3}));
  // Asked between the cells, a stop drops the row it cuts short.
  int cells = 0;
  const auto cut = tables::ComputeTable(*prepared.plan, {}, [&] { return ++cells > 10; });
  EXPECT_TRUE(cut.partial);
  EXPECT_EQ(cut.rows.size(), 1u);
}

// The 0.001 and 0.999 quantiles by hand: the mean -+ 3.0902323 standard
// deviations; chi-square 1: 0 and 3.2905267^2; t 1, the Cauchy distribution:
// -+tan(0.499 pi).
TEST(DefaultRange, CoversTheBulkInSomeFortyReadableSteps) {
  const std::tuple<Function, calculator::FieldTexts, long double, long double> cases[] = {
      {Function::Normal, {"50", "100", "", ""}, 19.098L, 80.902L},
      {Function::Binomial, {"0.5", "1000000000", "", ""}, 499951138, 500048862},
      {Function::ChiSquare, {"1", "", "", ""}, 0, 10.828L},  // from its support's end
      {Function::T, {"1", "", "", ""}, -318.31L, 318.31L}};
  for (const auto& [function, texts, low, high] : cases) {
    const tables::Request r = tables::DefaultRequest(function, tables::Kind::Range, texts);
    SCOPED_TRACE(r.from + " to " + r.to + " in steps of " + r.step);
    const long double from = calculator::ParseReal(r.from).value,
                      to = calculator::ParseReal(r.to).value;
    EXPECT_TRUE(from <= low && to >= high);
    EXPECT_LE(to - from, 1.1L * (high - low) + 2);  // outward by a step at most
    const auto step = tables::ParseDecimal(r.step);
    EXPECT_TRUE(step->coefficient == 1 || step->coefficient == 2 || step->coefficient == 5);
    const std::size_t rows = tables::Prepare(r).plan.value().RowCount();
    EXPECT_TRUE(rows >= 20 && rows <= 60) << rows;
  }
}

TEST(DefaultRange, InsideTheSupportAndTheXValuesLimitsOrTheTablesOwn) {
  const std::tuple<Function, calculator::FieldTexts, const char*> cases[] = {
      {Function::Binomial, {"0.5", "1", "", ""}, "0 1 1"},  // the whole support
      {Function::Poisson, {"2147400000", "", "", ""}, "2147250000 2147483647 10000"},
      // The table's own: invalid parameters, a bulk past the x-value's limits,
      // and one narrower than the extended precision at its mean.
      {Function::Normal, {"0", "0", "", ""}, "-3 3 0.1"},
      {Function::Poisson, {"1e12", "", "", ""}, "0 10 1"},
      {Function::Normal, {"1e30", "1", "", ""}, "-3 3 0.1"},
  };
  for (const auto& [function, texts, range] : cases) {
    const tables::RangeTexts r = tables::DefaultRange(function, texts);
    EXPECT_EQ(r.from + " " + r.to + " " + r.step, range);
  }
}

// Every distribution of the table starts on a range that its rules accept.
TEST(DefaultRange, EveryDistributionOfTheTable) {
  for (const calculator::FunctionAbout& about : calculator::Functions()) {
    if (about.model == nullptr) continue;
    EXPECT_TRUE(tables::Prepare(Preset(about.function, Kind::Range)).plan) << about.commandName;
  }
}

TEST(TimeLeft, FromTheRateOfTheRowsDone) {
  const std::tuple<double, std::size_t, std::size_t, const char*> cases[] = {
      {0.5, 10, 100, ""},
      {2, 10, 100, "about 18 s left"},
      {31, 10, 40, "about 2 min left"},
      {60, 1, 100, "about 2 h left"},
  };
  for (const auto& [elapsed, done, total, text] : cases)
    EXPECT_EQ(tables::TimeLeftText(elapsed, done, total), text) << elapsed << " " << done;
}

}  // namespace
