// Tables of values: the printed tables of a statistics textbook, and any
// range of x-values a user asks for.
//
// A table is asked for by a Request: the function, the texts of its fields
// (as the main window holds them) and the texts of the table's own fields (a
// range, lists of percentiles or degrees of freedom).  Prepare validates every
// text by the same rules as the main window's fields and answers either the
// faults, each naming its field and rule, or a Plan: the title, the column
// headings and a routine that computes any one row.  ComputeTable runs that
// routine row by row, reporting progress and stopping when asked, so that a
// window can run it off its user-interface thread.
//
// Every cell that the results log also prints is computed by calculator::
// Compute on the field texts a user would type for it (the x-value written as
// text) and written with the log's number text (Fixed6Text): a cell equals the
// log's number for that input, and a run-time error fills its cells with the
// error's message while the other rows go on.  The density, and any column the
// user asks to see with more significant digits, come from the details engine
// (models/Details.h) instead.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "calculator/Calculator.h"
#include "models/Details.h"
#include "tables/RangeSteps.h"

namespace tables {

enum class Kind {
  Range,      // P(X<x), P(X>x) and the density, or the discrete tails and point, at x-values
  Critical,   // x with P(X>x) = alpha, against degrees of freedom
  ZTable,     // P(Z<z) of the standard normal at z = row + column
  Quantiles,  // the smallest x with P(X<=x) >= p of a discrete distribution
};

// The kinds of table a function offers, the range first; none for the
// counting functions.
std::vector<Kind> KindsOf(calculator::Function function);

// The distribution's name as the log's header line starts: "Chi Square
// Distribution".
std::string DistributionName(calculator::Function function);

// The longest table: a range or a list of more rows is refused.
constexpr std::size_t kMaxRows = 100000;
// The most columns a list may give.
constexpr std::size_t kMaxColumns = 1000;
// More significant digits, from the details engine: the choices a column offers.
constexpr int kFewestDigits = 1;
constexpr int kMostDigits = 18;

// The table's own fields.
enum class Field {
  Parameter,  // a field of the function; Fault::index is its field index
  From,
  To,
  Step,
  Alphas,         // upper-tail probabilities (one of them for F)
  Degrees,        // degrees of freedom of t and chi-square: the rows
  Degrees1,       // F: the columns
  Degrees2,       // F: the rows
  Probabilities,  // the quantiles' p
};

// The table fields a kind of table reads for the function, in the order a
// window shows them (the parameters first, by field index), and whether it
// reads the function's field `index` (a critical-value table takes its
// degrees of freedom from lists, the z table no parameter at all).
std::vector<Field> FieldsOf(Kind kind, calculator::Function function);
bool UsesParameter(Kind kind, calculator::Function function, int index);
// Whether a table of this kind may be two-sided (Request::twoSided): the
// critical values of a symmetric distribution.
bool TwoSidedOffered(Kind kind, calculator::Function function);

struct Request {
  Kind kind = Kind::Range;
  calculator::Function function{};
  // The function's field texts; the x-value and any field that a list
  // replaces (the degrees of freedom of a critical-value table) are ignored.
  calculator::FieldTexts texts;
  std::string from, to, step;
  std::string alphas;  // lists: entries separated by commas
  // Critical values: each alpha is two-sided, the x with P(X>x) = alpha/2
  // (for a symmetric distribution only, FunctionAbout::Symmetric).
  bool twoSided = false;
  std::string degrees, degrees1, degrees2;
  std::string probabilities;
  // Columns shown with more significant digits: column index -> digits.
  std::map<int, int> digits;
};

// The request a window starts with: the textbook presets (upper tails 0.10 to
// 0.001, degrees of freedom 1 to 30, 40, 60, 120) and the default range of
// the parameters in `texts`.
Request DefaultRequest(calculator::Function function, Kind kind,
                       const calculator::FieldTexts& texts);

// The texts of a range's fields.
struct RangeTexts {
  std::string from, to, step;
  bool operator==(const RangeTexts&) const = default;
};
// The range a table starts with (DefaultRange.cpp): the distribution's bulk,
// from about its 0.001 to its 0.999 quantile, rounded outward to a step of 1,
// 2 or 5 times a power of ten that gives some 20 to 50 rows (whole steps for
// a discrete distribution, which may give fewer), inside the support and the
// x-value's limits.  The table's first range (FunctionAbout::range) where
// the parameters are invalid or the engine has no quantile.
RangeTexts DefaultRange(const calculator::FunctionAbout& about,
                        const calculator::Arguments& arguments);
// The same for the parameters as typed: the table's first range where a
// text breaks its field's rule.
RangeTexts DefaultRange(calculator::Function function, const calculator::FieldTexts& texts);

// A field that broke its rule.  index: the field index of a Parameter, the
// entry (from 1) of a list, otherwise 0.
struct Fault {
  Field field;
  int index;
  std::string rule;
  // The list or range as a whole is malformed (no entries, an empty entry,
  // too many entries or rows) rather than a value breaking its rule.
  bool shape = false;
};

struct Column {
  std::string heading;
  bool digitsOption;  // may be shown with more significant digits
};

struct Cell {
  std::string text;
  bool failed = false;  // the text is a run-time error's message
};
using Row = std::vector<Cell>;

// A validated request: everything needed to compute any row, by itself, on
// any thread.
// Asked between the cells of a long row: true stops the row.
using Stop = std::function<bool()>;

class Plan {
 public:
  // The distribution with its parameters and what the table shows, for the
  // print-out: "t Distribution: x with P(X>x)=alpha; rows: degrees of freedom".
  const std::string& Title() const { return title_; }
  const std::vector<Column>& Columns() const { return columns_; }
  std::size_t RowCount() const;
  // One row; cut short, and then to be dropped, when `stop` answers true
  // between its cells (a row of critical values may hold a thousand slow ones).
  Row ComputeRow(std::size_t row, const Stop& stop = {}) const;

 private:
  friend struct Planner;
  // One validated list entry, as typed (without blanks) and as read.
  struct Entry {
    std::string text;
    long double value;
  };

  Row RangeRow(std::size_t row) const;
  Row CriticalRow(std::size_t row, const Stop& stop) const;
  Row ZRow(std::size_t row) const;
  Row QuantileRow(std::size_t row) const;
  // The upper-tail probability of a column's alpha: itself, or half of it
  // (exactly, as a decimal text) for a two-sided table.
  Entry UpperTail(const Entry& alpha) const;
  // The details engine's x with P(X>x) = alpha of a critical-value cell.
  models::Value CriticalValue(std::size_t row, const Entry& column) const;
  // The digits asked for a column; 0: the log's number text.
  int Digits(int column) const;

  Request request_;
  // The parsed fields of the function (those the table uses).
  std::array<long double, calculator::kSlotCount> values_{};
  int xIndex_ = calculator::kEdit4;  // the field of the x-value
  std::string title_;
  std::vector<Column> columns_;
  RangeSteps steps_;
  std::vector<Entry> down_;    // the rows: degrees of freedom, df2 or p
  std::vector<Entry> across_;  // the columns: the alphas, or df1 of F
  Entry alpha_{};              // F's one alpha
};

struct Prepared {
  std::optional<Plan> plan;
  std::vector<Fault> faults;  // in field order; the last keeps the focus
};
Prepared Prepare(const Request& request);

// The caption of a table field, for its label and for messages: "Step",
// "Degrees of freedom"; a Parameter's is the function's field caption.
std::string FieldCaption(Field field, calculator::Function function, int index = 0);

// A fault in words, with the field's caption and the entry of a list:
// "Step: a number greater than 0", "Degrees of freedom, entry 3: a whole
// number from 1 to 1073741823".
std::string FaultText(const Fault& fault, calculator::Function function);

struct Table {
  std::string title;
  std::vector<std::string> headings;
  std::vector<Row> rows;
  bool partial = false;  // stopped before its last row: the rows computed by then
};

// Every row of the plan in order.  `progress(done)` is called after each row;
// answering false stops the computation, as `stop` does between the cells of
// a row; the table then holds the whole rows computed so far and is partial.
Table ComputeTable(const Plan& plan, const std::function<bool(std::size_t)>& progress = {},
                   const Stop& stop = {});

// How long the rest of a computation will take, from the rows done in the
// time elapsed (TimeLeft.cpp): "about 12 s left", "about 4 min left", "about
// 2 h left"; empty before kFirstEstimateSeconds of work and when no row or
// every row is done, where a rate says nothing.
constexpr double kFirstEstimateSeconds = 1;
std::string TimeLeftText(double elapsedSeconds, std::size_t done, std::size_t total);

// `value` with `digits` significant digits: in fixed form ("0.0500000000",
// "318.308838986") where that needs no more than kLeadingZeros zeros after
// the point and no digit before it beyond the significant ones, otherwise in
// scientific form ("1.00000000E-10"); "Nan", "+Inf", "-Inf" as the log
// writes them.  The point is always ".".
constexpr int kLeadingZeros = 4;
std::string SignificantText(long double value, int digits);

// The table as text: the headings then one line per row, the cells separated
// by TAB characters (for the clipboard) or written as comma-separated values
// (quoted where a cell holds a comma, a quote or a line end), each line ended
// by "\n".
std::string TabText(const Table& table);
std::string CsvText(const Table& table);
// One line of TabText: the headings, or a row.
std::string TabLine(const std::vector<std::string>& headings);
std::string TabLine(const Row& row);

}  // namespace tables
