// probex_bench: Google Benchmark's console output, followed by two summary
// tables in Markdown: every Distr routine per argument set beside R's
// counterpart with the ratio ours / R, and every report case against its
// time target.  --probex_table=FILE also writes the tables to FILE.
//
// Times are CPU time per iteration (one whole argument set, or one report),
// which is less disturbed than wall time by other work on the machine.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench/BenchRegistry.h"

namespace {

constexpr const char* kTableOption = "--probex_table=";

class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const auto& run : runs) {
      if (run.error_occurred) {
        failed_[run.run_name.str()] = true;
        continue;
      }
      // With repetitions the median stands for the run; otherwise the one run.
      const bool aggregate = run.run_type == Run::RT_Aggregate;
      if (aggregate && run.aggregate_name != "median") continue;
      if (!aggregate && seconds_.count(run.run_name.str()) && hasMedian_[run.run_name.str()])
        continue;
      seconds_[run.run_name.str()] =
          run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      if (aggregate) hasMedian_[run.run_name.str()] = true;
    }
  }

  std::string Tables() const {
    std::ostringstream out;
    out << "| Routine | R | Set | Distr (us) | R (us) | Distr / R | Target | Met |\n"
        << "|---|---|---|--:|--:|--:|--:|---|\n";
    for (const auto& info : bench::Routines()) {
      for (const auto& set : bench::SetNames()) {
        const std::string ours = "Distr/" + info.routine + "/" + set;
        const std::string theirs = "R/" + info.routine + "/" + set;
        if (!seconds_.count(ours)) continue;
        out << "| " << info.routine << " | " << (info.anchor.empty() ? "-" : info.anchor) << " | "
            << set << " | " << Number(seconds_.at(ours) * 1e6, 2) << " | ";
        if (!seconds_.count(theirs)) {
          out << "- | - | - | - |\n";
          continue;
        }
        const double ratio = seconds_.at(ours) / seconds_.at(theirs);
        const double target = info.kind == bench::Kind::Forward   ? bench::kForwardTarget
                              : info.kind == bench::Kind::Inverse ? bench::kInverseTarget
                                                                  : 0;
        out << Number(seconds_.at(theirs) * 1e6, 2) << " | " << Number(ratio, 2) << " | ";
        if (target == 0) {
          out << "- | - |\n";
        } else {
          out << Number(target, 0) << "x | " << (ratio <= target ? "yes" : "**no**") << " |\n";
        }
      }
    }
    out << "\n| Report | Input | Time (ms) | Target (ms) | Met |\n"
        << "|---|---|--:|--:|---|\n";
    for (const auto& info : bench::Reports()) {
      const std::string name = "Report/" + info.name;
      out << "| " << info.name << " | " << info.input << " | ";
      if (failed_.count(name)) {
        out << "failed | " << Number(info.targetMs, info.targetMs < 1 ? 1 : 0) << " | **no** |\n";
        continue;
      }
      if (!seconds_.count(name)) {
        out << "- | " << Number(info.targetMs, info.targetMs < 1 ? 1 : 0) << " | - |\n";
        continue;
      }
      const double ms = seconds_.at(name) * 1e3;
      out << Number(ms, 3) << " | " << Number(info.targetMs, info.targetMs < 1 ? 1 : 0) << " | "
          << (ms < info.targetMs ? "yes" : "**no**") << " |\n";
    }
    return out.str();
  }

 private:
  static std::string Number(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
  }

  std::map<std::string, double> seconds_;
  std::map<std::string, bool> hasMedian_;
  std::map<std::string, bool> failed_;
};

}  // namespace

int main(int argc, char** argv) {
  // Take out our own option before Google Benchmark sees the arguments.
  std::string tableFile;
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], kTableOption, std::strlen(kTableOption)) == 0) {
      tableFile = argv[i] + std::strlen(kTableOption);
    } else {
      args.push_back(argv[i]);
    }
  }
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;

  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  const std::string tables = reporter.Tables();
  std::cout << "\n" << tables;
  if (!tableFile.empty()) {
    std::ofstream file(tableFile);
    file << tables;
    if (!file) {
      std::cerr << "probex_bench: cannot write " << tableFile << "\n";
      return 1;
    }
  }
  return 0;
}
