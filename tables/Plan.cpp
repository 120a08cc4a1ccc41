// Requests and their validation: the presets, the rules of the table's own
// fields, the titles and the column headings.
#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>

#include "calculator/NumberText.h"
#include "calculator/QuietReading.h"
#include "tables/Planning.h"

namespace tables {

namespace {

using calculator::FieldAbout;
using calculator::Function;
using calculator::FunctionAbout;
using calculator::Mode;
using calculator::Number;
using calculator::Role;

constexpr long double kInf = std::numeric_limits<long double>::infinity();
constexpr long double kMaxWhole = 2147483647;

// The table's own fields that are not a field of the function.
constexpr FieldAbout kRealStep{
    0,    Role::Parameter,          Number::Real, "Step", nullptr, nullptr, "", 0, true,
    kInf, "a number greater than 0"};
constexpr FieldAbout kWholeStep{0,
                                Role::Parameter,
                                Number::Whole,
                                "Step",
                                nullptr,
                                nullptr,
                                "",
                                1,
                                false,
                                kMaxWhole,
                                "a whole number from 1 to 2147483647"};
constexpr FieldAbout kProbability{0,
                                  Role::Parameter,
                                  Number::Real,
                                  "Probabilities",
                                  nullptr,
                                  nullptr,
                                  "",
                                  0,
                                  false,
                                  1,
                                  "a probability from 0 to 1"};

constexpr const char* kListRule = "one or more entries separated by commas";

constexpr const char* kTextbookAlphas = "0.10, 0.05, 0.025, 0.01, 0.005, 0.001";
constexpr const char* kTextbookDegrees =
    "1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, "
    "21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 40, 60, 120";
// The numerator degrees of freedom of the usual printed F tables.
constexpr const char* kTextbookDegrees1 =
    "1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 15, 20, 24, 30, 40, 60, 120";
constexpr const char* kTextbookAlpha = "0.05";
constexpr const char* kTextbookProbabilities = "0.01, 0.05, 0.1, 0.25, 0.5, 0.75, 0.9, 0.95, 0.99";

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return "";
  const auto last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

// The slot of the x-value.
int XIndex(const FunctionAbout& about) {
  const FieldAbout* x = about.XField();
  return x ? x->slot : calculator::kEdit4;
}

// "mean=0.000000, variance=1.000000": the parameters by their names, as the
// log's header writes its numbers.
std::string ParameterList(const FunctionAbout& about,
                          const std::array<long double, calculator::kSlotCount>& values) {
  return calculator::ParameterText(about, calculator::Arguments{values},
                                   calculator::Names::Parameter, false);
}

}  // namespace

std::vector<Kind> KindsOf(Function function) {
  const FunctionAbout& about = calculator::AboutFunction(function);
  switch (about.family) {
    case calculator::Family::Continuous:
      if (about.zTable) return {Kind::Range, Kind::Critical, Kind::ZTable};
      if (about.CountOf(Role::Degrees) > kMostCriticalDegrees) return {Kind::Range};
      return {Kind::Range, Kind::Critical};
    case calculator::Family::Discrete:
      return {Kind::Range, Kind::Quantiles};
    case calculator::Family::Counting:
      break;
  }
  return {};
}

bool TwoSidedOffered(Kind kind, Function function) {
  const std::vector<Kind> kinds = KindsOf(function);
  return kind == Kind::Critical && std::find(kinds.begin(), kinds.end(), kind) != kinds.end() &&
         calculator::AboutFunction(function).Symmetric();
}

bool UsesParameter(Kind kind, Function function, int index) {
  const FieldAbout* field = calculator::AboutFunction(function).FieldAt(index);
  if (field == nullptr) return false;
  switch (kind) {
    case Kind::Range:
    case Kind::Quantiles:
      return field->IsParameter();
    case Kind::Critical:
      // The parameters stay; the degrees of freedom come from lists.
      return field->IsParameter() && field->role != Role::Degrees;
    case Kind::ZTable:
      break;
  }
  return false;
}

std::vector<Field> FieldsOf(Kind kind, Function function) {
  std::vector<Field> fields;
  for (const FieldAbout& field : calculator::AboutFunction(function).fields)
    if (UsesParameter(kind, function, field.slot)) fields.push_back(Field::Parameter);
  switch (kind) {
    case Kind::Range:
      fields.insert(fields.end(), {Field::From, Field::To, Field::Step});
      break;
    case Kind::Critical:
      fields.push_back(Field::Alphas);
      if (CriticalLayoutOf(function).degrees == kMostCriticalDegrees)
        fields.insert(fields.end(), {Field::Degrees1, Field::Degrees2});
      else if (CriticalLayoutOf(function).degrees == 1)
        fields.push_back(Field::Degrees);
      break;
    case Kind::Quantiles:
      fields.push_back(Field::Probabilities);
      break;
    case Kind::ZTable:
      break;
  }
  return fields;
}

Request DefaultRequest(Function function, Kind kind, const calculator::FieldTexts& texts) {
  Request request;
  request.kind = kind;
  request.function = function;
  request.texts = texts;
  RangeTexts range = DefaultRange(function, texts);
  request.from = std::move(range.from), request.to = std::move(range.to);
  request.step = std::move(range.step);
  const bool oneAlpha = CriticalLayoutOf(function).degrees == kMostCriticalDegrees;
  request.alphas = oneAlpha ? kTextbookAlpha : kTextbookAlphas;
  request.degrees = request.degrees2 = kTextbookDegrees;
  request.degrees1 = kTextbookDegrees1;
  request.probabilities = kTextbookProbabilities;
  return request;
}

std::string DistributionName(Function function) {
  return calculator::AboutFunction(function).title;
}

std::string FieldCaption(Field field, Function function, int index) {
  switch (field) {
    case Field::Parameter: {
      const FunctionAbout& about = calculator::AboutFunction(function);
      const FieldAbout* parameter = about.FieldAt(index);
      return parameter ? calculator::FieldCaption(about, *parameter, Mode::Forward) : "";
    }
    case Field::From:
      return "From";
    case Field::To:
      return "To";
    case Field::Step:
      return "Step";
    case Field::Alphas:
      return CriticalLayoutOf(function).degrees == kMostCriticalDegrees
                 ? "Upper-tail probability"
                 : "Upper-tail probabilities";
    case Field::Degrees:
      return "Degrees of freedom";
    case Field::Degrees1:
      return "(1) Degrees of freedom";
    case Field::Degrees2:
      return "(2) Degrees of freedom";
    case Field::Probabilities:
      return "Probabilities";
  }
  return "";
}

std::string FaultText(const Fault& fault, Function function) {
  std::string text = FieldCaption(fault.field, function, fault.index);
  if (fault.field != Field::Parameter && fault.index > 0)
    text += ", entry " + std::to_string(fault.index);
  return text + ": " + fault.rule;
}

Planner::Planner(const Request& request) {
  plan_.request_ = request;
  plan_.xIndex_ = XIndex(calculator::AboutFunction(request.function));
}

Prepared Planner::Run() {
  const auto kinds = KindsOf(plan_.request_.function);
  if (std::find(kinds.begin(), kinds.end(), plan_.request_.kind) == kinds.end())
    throw std::invalid_argument("no such table for " + DistributionName(plan_.request_.function));
  if (plan_.request_.twoSided && !TwoSidedOffered(plan_.request_.kind, plan_.request_.function))
    throw std::invalid_argument("no two-sided table for " +
                                DistributionName(plan_.request_.function));
  switch (plan_.request_.kind) {
    case Kind::Range:
      PlanRange();
      break;
    case Kind::Critical:
      PlanCritical();
      break;
    case Kind::ZTable:
      PlanZ();
      break;
    case Kind::Quantiles:
      PlanQuantiles();
      break;
  }
  if (!faults_.empty()) return {std::nullopt, std::move(faults_)};
  return {std::move(plan_), {}};
}

bool Planner::ReadOne(Field field, const std::string& text, const FieldAbout& about,
                      bool percentile, long double& value) {
  const char* rule =
      calculator::QuietReadField(about, text, percentile ? Mode::Inverse : Mode::Forward, value);
  if (rule == nullptr) return true;
  faults_.push_back({field, 0, rule});
  return false;
}

void Planner::ReadParameters() {
  const Request& r = plan_.request_;
  const FunctionAbout& about = calculator::AboutFunction(r.function);
  const std::size_t before = faults_.size();
  for (const FieldAbout& field : about.fields) {
    const int i = field.slot;
    if (!UsesParameter(r.kind, r.function, i)) continue;
    if (!ReadOne(Field::Parameter, r.texts[i], field, false, plan_.values_[i]))
      faults_.back().index = i;
  }
  // The rule the parameters keep together (the urn's sample fits the urn).
  const calculator::CrossRule& together = about.together;
  if (faults_.size() == before && together.holds != nullptr &&
      UsesParameter(r.kind, r.function, together.slot) &&
      !together.holds(calculator::Arguments{plan_.values_}))
    faults_.push_back({Field::Parameter, together.slot, together.rule});
}

std::vector<Plan::Entry> Planner::ReadList(Field field, const std::string& text,
                                           const FieldAbout& about, bool percentile,
                                           std::size_t most) {
  std::vector<Plan::Entry> entries;
  if (Trimmed(text).empty()) {
    faults_.push_back({field, 0, kListRule, true});
    return entries;
  }
  std::size_t start = 0;
  for (int number = 1;; ++number) {
    const std::size_t comma = text.find(',', start);
    Plan::Entry entry{Trimmed(std::string_view(text).substr(start, comma - start)), 0};
    if (entry.text.empty()) {
      faults_.push_back({field, number, kListRule, true});
      return {};
    }
    if (!ReadOne(field, entry.text, about, percentile, entry.value)) {
      faults_.back().index = number;
      return {};
    }
    entries.push_back(std::move(entry));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (entries.size() > most) {
    faults_.push_back(
        {field, 0, most == 1 ? "a single entry" : "at most " + std::to_string(most) + " entries",
         true});
    return {};
  }
  return entries;
}

void Planner::PlanRange() {
  const Request& r = plan_.request_;
  const FunctionAbout& about = calculator::AboutFunction(r.function);
  const FieldAbout& x = *about.XField();
  const bool discrete = about.family == calculator::Family::Discrete;
  ReadParameters();
  long double from = 0, to = 0, step = 0;
  const bool fromRead = ReadOne(Field::From, r.from, x, false, from);
  const bool toRead = ReadOne(Field::To, r.to, x, false, to);
  if (fromRead && toRead && to < from)
    faults_.push_back(
        {Field::To, 0,
         discrete ? "a whole number not less than From" : "a number not less than From"});
  const bool stepRead =
      ReadOne(Field::Step, r.step, discrete ? kWholeStep : kRealStep, false, step);
  if (!faults_.empty()) return;
  plan_.steps_ = discrete ? RangeSteps::Whole(static_cast<int64_t>(from), static_cast<int64_t>(to),
                                              static_cast<int64_t>(step))
                          : RangeSteps::Of(r.from, r.to, r.step);
  if (stepRead && plan_.steps_.Count() > kMaxRows) {
    faults_.push_back(
        {Field::Step, 0,
         "a step that gives at most " + std::to_string(kMaxRows) + " rows from From to To", true});
    return;
  }
  const std::string parameters = ParameterList(about, plan_.values_);
  plan_.title_ = DistributionName(r.function) + (parameters.empty() ? "" : ", " + parameters) +
                 ": x from " + Trimmed(r.from) + " to " + Trimmed(r.to) + " in steps of " +
                 Trimmed(r.step);
  if (discrete)
    plan_.columns_ = {{"x", false}, {"P(X<=x)", true}, {"P(X>=x)", true}, {"P(X=x)", true}};
  else
    plan_.columns_ = {{"x", false}, {"P(X<x)", true}, {"P(X>x)", true}, {"density", true}};
}

void Planner::PlanCritical() {
  const Request& r = plan_.request_;
  const FunctionAbout& about = calculator::AboutFunction(r.function);
  const FieldAbout& percentile = *about.XField();
  const CriticalLayout layout = CriticalLayoutOf(r.function);
  const std::string name = DistributionName(r.function);
  ReadParameters();
  if (layout.degrees == kMostCriticalDegrees) {
    const auto alphas = ReadList(Field::Alphas, r.alphas, percentile, true, 1);
    plan_.across_ = ReadList(Field::Degrees1, r.degrees1, *about.FieldAt(layout.columnSlot), false,
                             kMaxColumns);
    plan_.down_ =
        ReadList(Field::Degrees2, r.degrees2, *about.FieldAt(layout.rowSlot), false, kMaxRows);
    if (!alphas.empty()) plan_.alpha_ = alphas.front();
    plan_.title_ = name + ": x with P(X>x)=" + plan_.alpha_.text + "; columns: df1, rows: df2";
    plan_.columns_ = {{"df2\\df1", false}};
  } else {
    plan_.across_ = ReadList(Field::Alphas, r.alphas, percentile, true, kMaxColumns);
    // A two-sided alpha heads its column; the cell is the x with P(X>x) = alpha/2.
    const std::string tail =
        r.twoSided ? "x with P(X>x)=alpha/2 (two-sided alpha)" : "x with P(X>x)=alpha";
    if (layout.degrees == 0) {
      plan_.title_ = name + ", " + ParameterList(about, plan_.values_) + ": " + tail;
      plan_.columns_ = {{"alpha", false}};
    } else {
      plan_.down_ =
          ReadList(Field::Degrees, r.degrees, *about.FieldAt(layout.rowSlot), false, kMaxRows);
      plan_.title_ = name + ": " + tail + "; rows: degrees of freedom";
      plan_.columns_ = {{"df", false}};
    }
  }
  // The alphas head their columns as typed ("0.10"), F's df1 as numbers.
  for (const Plan::Entry& column : plan_.across_)
    plan_.columns_.push_back({layout.degrees == kMostCriticalDegrees
                                  ? calculator::IntegerText(static_cast<int32_t>(column.value))
                                  : column.text,
                              true});
}

void Planner::PlanZ() {
  // The function's defaults: the standard normal distribution.
  const FunctionAbout& about = calculator::AboutFunction(plan_.request_.function);
  plan_.request_.texts = {};
  plan_.values_ = {};
  for (const FieldAbout& field : about.fields) {
    if (!field.IsParameter()) continue;
    plan_.request_.texts[field.slot] = field.defaultText;
    ReadOne(Field::Parameter, field.defaultText, field, false, plan_.values_[field.slot]);
  }
  plan_.title_ = "Standard Normal Distribution: P(Z<z) for z = row + column";
  plan_.columns_ = {{"z", false}};
  for (int hundredths = 0; hundredths < 10; ++hundredths)
    plan_.columns_.push_back({"0.0" + std::to_string(hundredths), true});
}

void Planner::PlanQuantiles() {
  const Request& r = plan_.request_;
  const FunctionAbout& about = calculator::AboutFunction(r.function);
  ReadParameters();
  plan_.down_ = ReadList(Field::Probabilities, r.probabilities, kProbability, false, kMaxRows);
  plan_.title_ = DistributionName(r.function) + ", " + ParameterList(about, plan_.values_) +
                 ": the smallest x with P(X<=x)>=p";
  plan_.columns_ = {{"p", false}, {"x", false}, {"P(X<=x)", true}};
}

Prepared Prepare(const Request& request) {
  return Planner(request).Run();
}

}  // namespace tables
