// Tables of values end to end: a request in, every row computed.  The
// textbook t and chi-square tables (33 degrees of freedom x 6 upper tails)
// must appear in under 50 ms, a probability table of 10000 rows in under a
// second (at n = 10^6 the binomial's tails alone take longer); the
// hypergeometric quantiles show what a search over sums costs.
#include <string>

#include "bench/BenchRegistry.h"
#include "tables/Tables.h"

namespace {

using calculator::Function;
using tables::Kind;

constexpr double kTextbookTargetMs = 50;
constexpr double kLongRangeTargetMs = 1000;
// 10000 rows of two tails at the binomial's n = 10^6, 0.12 ms each.
constexpr double kMillionRangeTargetMs = 5000;

struct TableCase {
  const char* name;
  const char* input;  // as probex-calc takes it
  tables::Request request;
  double targetMs;
};

tables::Request Range(Function function, calculator::FieldTexts texts, const char* from,
                      const char* to, const char* step) {
  tables::Request request = tables::DefaultRequest(function, Kind::Range, texts);
  request.from = from, request.to = to, request.step = step;
  return request;
}

tables::Request Quantiles(Function function, calculator::FieldTexts texts) {
  return tables::DefaultRequest(function, Kind::Quantiles, texts);
}

const TableCase kCases[] = {
    {"TableTTextbook", "--critical t", tables::DefaultRequest(Function::T, Kind::Critical, {}),
     kTextbookTargetMs},
    {"TableChiSquareTextbook", "--critical chisquare",
     tables::DefaultRequest(Function::ChiSquare, Kind::Critical, {}), kTextbookTargetMs},
    {"TableFTextbook", "--critical f (18 x 33)",
     tables::DefaultRequest(Function::F, Kind::Critical, {}), kLongRangeTargetMs},
    {"TableNormalRange10000", "--table normal --from -5 --to 4.999 --step 0.001",
     Range(Function::Normal, {"0", "1", "", ""}, "-5", "4.999", "0.001"), kLongRangeTargetMs},
    {"TableTRange10000", "--table t 10 --from -5 --to 4.999 --step 0.001",
     Range(Function::T, {"10", "", "", ""}, "-5", "4.999", "0.001"), kLongRangeTargetMs},
    {"TableBinomialRange10000", "--table binomial 0.3 10000 --from 0 --to 9999",
     Range(Function::Binomial, {"0.3", "10000", "", ""}, "0", "9999", "1"), kLongRangeTargetMs},
    {"TablePoissonRange10000", "--table poisson 5000 --from 0 --to 9999",
     Range(Function::Poisson, {"5000", "", "", ""}, "0", "9999", "1"), kLongRangeTargetMs},
    // The costliest kind of row: two binomial tails at n = 10^6 near the
    // mean, each as long as the log's single report takes.
    {"TableBinomialMillionRange10000", "--table binomial 0.3 1000000 --from 295000 --to 304999",
     Range(Function::Binomial, {"0.3", "1000000", "", ""}, "295000", "304999", "1"),
     kMillionRangeTargetMs},
    {"TableHypergeometricQuantiles", "quantiles of B = R = n = 10^5, nine p",
     Quantiles(Function::Hypergeometric, {"100000", "100000", "100000", ""}), kLongRangeTargetMs},
};

[[maybe_unused]] const bool kRegistered = [] {
  for (const auto& c : kCases) {
    bench::RegisterReport({c.name, c.input, c.targetMs}, [&c]() -> std::string {
      const tables::Prepared prepared = tables::Prepare(c.request);
      if (!prepared.plan) return "refused: " + prepared.faults.front().rule;
      const auto table = tables::ComputeTable(*prepared.plan);
      return !table.rows.empty() ? "" : "no rows";
    });
  }
  return true;
}();

}  // namespace
