// The rows of the range, critical-value and z tables, each cell from the
// log's own computation of the input a user would type for it.
#include "calculator/NumberText.h"
#include "calculator/Overloaded.h"
#include "tables/Planning.h"

namespace tables {

namespace {

using calculator::FieldTexts;
using calculator::Function;
using calculator::Mode;

// The z table: rows 0.0 to 3.4, columns 0.00 to 0.09.
constexpr std::size_t kZRows = 35;
constexpr int kZColumns = 10;

}  // namespace

CriticalLayout CriticalLayoutOf(Function function) {
  const calculator::FunctionAbout& about = calculator::AboutFunction(function);
  CriticalLayout layout{0, -1, about.XField() ? about.XField()->slot : -1};
  int firstDegrees = -1;
  for (const calculator::FieldAbout& field : about.fields) {
    if (field.role != calculator::Role::Degrees) continue;
    if (layout.degrees++ == 0) firstDegrees = field.slot;
    layout.rowSlot = field.slot;
  }
  if (layout.degrees == kMostCriticalDegrees) layout.columnSlot = firstDegrees;
  return layout;
}

Logged Log(Function function, const FieldTexts& texts, Mode mode) {
  const calculator::Result result = calculator::Compute(function, texts, mode);
  switch (result.outcome) {
    case calculator::Outcome::Ok:
      return {result.values, {}};
    case calculator::Outcome::Invalid:
      return {{}, result.faults.back().rule};
    case calculator::Outcome::Error:
      break;
  }
  return {{}, result.message};
}

Cell NumberCell(long double value) {
  return {calculator::Fixed6Text(value), false};
}

Cell FailedCell(const std::string& failure) {
  return {failure, true};
}

std::size_t Plan::RowCount() const {
  switch (request_.kind) {
    case Kind::Range:
      return steps_.Count();
    case Kind::Critical:
      return CriticalLayoutOf(request_.function).degrees == 0 ? 1 : down_.size();
    case Kind::ZTable:
      return kZRows;
    case Kind::Quantiles:
      return down_.size();
  }
  return 0;
}

Row Plan::ComputeRow(std::size_t row, const Stop& stop) const {
  switch (request_.kind) {
    case Kind::Range:
      return RangeRow(row);
    case Kind::Critical:
      return CriticalRow(row, stop);
    case Kind::ZTable:
      return ZRow(row);
    case Kind::Quantiles:
      return QuantileRow(row);
  }
  return {};
}

int Plan::Digits(int column) const {
  const auto digits = request_.digits.find(column);
  return digits == request_.digits.end() ? 0 : digits->second;
}

// The details engine's routine of each column of a range table (none for
// the x-value): more digits where asked, and always the density.
using DetailsRoutine = models::Value (*)(const models::Distribution&, long double);
constexpr DetailsRoutine kContinuousRoutines[] = {nullptr, models::Lower, models::Upper,
                                                  models::Density};
constexpr DetailsRoutine kDiscreteRoutines[] = {nullptr, models::AtMost, models::AtLeast,
                                                models::Point};
constexpr int kDensityColumn = 3;

Row Plan::RangeRow(std::size_t row) const {
  FieldTexts texts = request_.texts;
  const std::string xText = steps_.Text(row);
  texts[xIndex_] = xText;
  const Logged log = Log(request_.function, texts, Mode::Forward);
  const bool discrete =
      calculator::AboutFunction(request_.function).family == calculator::Family::Discrete;
  Row cells(columns_.size(), FailedCell(log.failure));
  cells[0] = {xText, false};
  const auto keep = [](const auto&) {};
  std::visit(calculator::Overloaded{[&](const calculator::DiscreteAt& d) {
                                      cells = {{calculator::IntegerText(d.x)},
                                               NumberCell(d.atMost),
                                               NumberCell(d.atLeast),
                                               NumberCell(d.point)};
                                    },
                                    [&](const calculator::TailsAt& t) {
                                      cells = {NumberCell(t.x), NumberCell(t.lower),
                                               NumberCell(t.upper), {}};
                                    },
                                    // A forward report has no other numbers.
                                    [&](std::monostate m) { keep(m); },
                                    [&](const calculator::PointsOf& p) { keep(p); },
                                    [&](const calculator::QuantileAt& q) { keep(q); },
                                    [&](const calculator::Between& b) { keep(b); },
                                    [&](const calculator::WholeBetween& w) { keep(w); },
                                    [&](const calculator::CountingValue& c) { keep(c); }},
             log.values);

  const std::optional<long double> x = ReadX(xText);
  const models::Distribution distribution = DistributionOf(request_.function, values_);
  for (int c = 1; c < static_cast<int>(cells.size()); ++c) {
    if (Digits(c) == 0 && (discrete || c != kDensityColumn)) continue;
    const DetailsRoutine routine = discrete ? kDiscreteRoutines[c] : kContinuousRoutines[c];
    cells[c] = x ? DetailsCell(routine(distribution, *x), Digits(c)) : FailedCell(log.failure);
  }
  return cells;
}

// A critical value is the log's inverse at the percentile alpha: its second
// x-value, the one with P(X>x) = alpha.
Row Plan::CriticalRow(std::size_t row, const Stop& stop) const {
  FieldTexts texts = request_.texts;
  const CriticalLayout layout = CriticalLayoutOf(request_.function);
  Row cells;
  if (layout.degrees == 0) {
    cells.push_back({"x"});
  } else {
    const Entry& rowDegrees = down_[row];
    texts[layout.rowSlot] = rowDegrees.text;
    if (layout.columnSlot != xIndex_) texts[xIndex_] = UpperTail(alpha_).text;
    cells.push_back({calculator::IntegerText(static_cast<int32_t>(rowDegrees.value))});
  }
  for (const Entry& column : across_) {
    if (stop && stop()) break;
    const int c = static_cast<int>(cells.size());
    if (Digits(c) > 0) {
      cells.push_back(DetailsCell(CriticalValue(row, column), Digits(c)));
      continue;
    }
    texts[layout.columnSlot] = layout.columnSlot == xIndex_ ? UpperTail(column).text : column.text;
    const Logged log = Log(request_.function, texts, Mode::Inverse);
    cells.push_back(log.Ok() ? NumberCell(std::get<calculator::PointsOf>(log.values).xUpper)
                             : FailedCell(log.failure));
  }
  return cells;
}

Plan::Entry Plan::UpperTail(const Entry& alpha) const {
  if (!request_.twoSided) return alpha;
  // c 10^e / 2 = 5c 10^(e-1): exact for every decimal the list accepts.
  const std::optional<Decimal> d = ParseDecimal(alpha.text);
  if (!d) return {alpha.text, alpha.value / 2};
  return {DecimalText({d->coefficient * 5, d->exponent - 1}), alpha.value / 2};
}

models::Value Plan::CriticalValue(std::size_t row, const Entry& column) const {
  std::array<long double, calculator::kSlotCount> values = values_;
  const CriticalLayout layout = CriticalLayoutOf(request_.function);
  long double alpha = UpperTail(column).value;
  if (layout.degrees > 0) values[layout.rowSlot] = down_[row].value;
  if (layout.columnSlot != xIndex_) {
    values[layout.columnSlot] = column.value;
    alpha = UpperTail(alpha_).value;
  }
  return models::QuantileUpper(DistributionOf(request_.function, values), alpha);
}

Row Plan::ZRow(std::size_t row) const {
  FieldTexts texts = request_.texts;
  const int64_t tenths = static_cast<int64_t>(row);
  Row cells{{std::to_string(tenths / 10) + "." + std::to_string(tenths % 10)}};
  for (int hundredths = 0; hundredths < kZColumns; ++hundredths) {
    texts[xIndex_] = DecimalText({tenths * 10 + hundredths, -2});
    if (const int digits = Digits(hundredths + 1); digits > 0) {
      const models::Distribution standard = DistributionOf(request_.function, values_);
      cells.push_back(DetailsCell(models::Lower(standard, *ReadX(texts[xIndex_])), digits));
      continue;
    }
    const Logged log = Log(request_.function, texts, Mode::Forward);
    cells.push_back(log.Ok() ? NumberCell(std::get<calculator::TailsAt>(log.values).lower)
                             : FailedCell(log.failure));
  }
  return cells;
}

Table ComputeTable(const Plan& plan, const std::function<bool(std::size_t)>& progress,
                   const Stop& stop) {
  Table table{plan.Title(), {}, {}};
  for (const Column& column : plan.Columns()) table.headings.push_back(column.heading);
  const std::size_t count = plan.RowCount();
  for (std::size_t row = 0; row < count; ++row) {
    Row cells = plan.ComputeRow(row, stop);
    if (stop && stop()) break;  // the row may be cut short
    table.rows.push_back(std::move(cells));
    if (progress && !progress(row + 1)) break;
  }
  table.partial = table.rows.size() < count;
  return table;
}

}  // namespace tables
