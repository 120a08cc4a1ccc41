// What the files of the tables layer share: validation (Plan.cpp) and the
// computation of rows (Rows.cpp, Quantiles.cpp) meet here.
#pragma once

#include <string>

#include "calculator/Calculator.h"
#include "models/Details.h"
#include "tables/Tables.h"

namespace tables {

// Validates a request and builds its plan (Plan.cpp).
struct Planner {
  explicit Planner(const Request& request);
  Prepared Run();

 private:
  void ReadParameters();
  std::vector<Plan::Entry> ReadList(Field field, const std::string& text,
                                    const calculator::FieldAbout& about, bool percentile,
                                    std::size_t most);
  bool ReadOne(Field field, const std::string& text, const calculator::FieldAbout& about,
               bool percentile, long double& value);
  void PlanRange();
  void PlanCritical();
  void PlanZ();
  void PlanQuantiles();

  Plan plan_;
  std::vector<Fault> faults_;
};

// How a critical-value table lays out the function's degrees-of-freedom
// fields: none (the normal distribution: one row of alphas), one (its rows,
// with the alphas across) or two (one alpha; the first field's list across,
// the second's down).
struct CriticalLayout {
  int degrees;     // how many fields are degrees of freedom
  int rowSlot;     // the field the rows set; -1 without degrees of freedom
  int columnSlot;  // the field the columns set: the x-value (the alpha) or the first degrees
};
CriticalLayout CriticalLayoutOf(calculator::Function function);
// The most degrees-of-freedom fields a critical-value table lays out.
constexpr int kMostCriticalDegrees = 2;

// The log's numbers for one input, or why there are none: the run-time
// error's message (or, never for a validated input, the rule a field broke).
struct Logged {
  calculator::Values values;
  std::string failure;
  bool Ok() const { return failure.empty(); }
};
Logged Log(calculator::Function function, const calculator::FieldTexts& texts,
           calculator::Mode mode);

// A number as the log writes it (Fixed6Text), and a failed cell.
Cell NumberCell(long double value);
Cell FailedCell(const std::string& failure);

// The details engine's distribution of a function whose parsed fields are
// `values` (the x-value's field skipped).
models::Distribution DistributionOf(calculator::Function function,
                                     const std::array<long double, calculator::kSlotCount>& values);

// A value of the details engine: in the log's number text (digits 0) or with
// `digits` significant digits (SignificantText); none is a failed cell that
// holds the engine's note.
Cell DetailsCell(const models::Value& value, int digits);

// The x-value of a row's text as the calculator reads it; none where the
// text reads beyond the extended range.
std::optional<long double> ReadX(const std::string& text);

}  // namespace tables
