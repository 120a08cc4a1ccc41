// Registration of the benchmarks and the facts the summary tables need.
//
// A Distr routine is measured on named argument sets ("typical", "large",
// "tail"); one iteration evaluates the whole set.  When R's standalone math
// library is there, the same set is also run through its counterpart, and
// the summary pairs "Distr/<routine>/<set>" with "R/<routine>/<set>" and
// prints the ratio ours / R.  Reports are measured end to end as
// "Report/<case>", each with the time it must stay under.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "bench/ArgumentSets.h"

namespace bench {

// What the ratio to R is held against: a forward tail within kForwardTarget,
// an inverse within kInverseTarget; other routines have no target.
enum class Kind { Forward, Inverse, Other };
constexpr double kForwardTarget = 3;
constexpr double kInverseTarget = 10;

// Every report under this, except the hypergeometric sum at the million case.
constexpr double kReportTargetMs = 16;
constexpr double kHypergeometricTargetMs = 100;

struct RoutineInfo {
  std::string routine;  // the Distr name, e.g. "NormalTail"
  std::string anchor;   // R's counterpart, e.g. "pnorm" (empty: none)
  Kind kind;
};

struct ReportInfo {
  std::string name;   // the case, e.g. "ChiSquareInverseHuge"
  std::string input;  // what is typed, for the table
  double targetMs;
};

// Benchmarks "Distr/<routine>/<set>" and "R/<routine>/<set>" for the three
// sets; body evaluates the routine on every argument of the set it is given.
using SetBody = std::function<void(const ArgumentSet&)>;
void RegisterDistr(const RoutineInfo& info, SetBody body);
void RegisterAnchor(const std::string& routine, SetBody body);
// Benchmark "Report/<name>"; body runs one report and returns what went
// wrong (empty when the report appended its two lines).
void RegisterReport(const ReportInfo& info, std::function<std::string()> body);

const std::vector<RoutineInfo>& Routines();
const std::vector<ReportInfo>& Reports();
const RoutineInfo* FindRoutine(const std::string& routine);

// The three argument sets, in the order the tables show them.
const std::vector<std::string>& SetNames();

}  // namespace bench
