#include "bench/BenchRegistry.h"

#include <benchmark/benchmark.h>

namespace bench {

namespace {

std::vector<RoutineInfo>& MutableRoutines() {
  static std::vector<RoutineInfo> routines;
  return routines;
}

std::vector<ReportInfo>& MutableReports() {
  static std::vector<ReportInfo> reports;
  return reports;
}

void RegisterSets(const std::string& prefix, const std::string& routine, const SetBody& body) {
  for (const auto& set : SetNames()) {
    benchmark::RegisterBenchmark((prefix + "/" + routine + "/" + set).c_str(),
                                 [body, set](benchmark::State& state) {
                                   const ArgumentSet& arguments = Arguments(set);  // built untimed
                                   for (auto _ : state) body(arguments);
                                 })
        ->Unit(benchmark::kMicrosecond);
  }
}

}  // namespace

const std::vector<std::string>& SetNames() {
  static const std::vector<std::string> names{"typical", "large", "tail"};
  return names;
}

void RegisterDistr(const RoutineInfo& info, SetBody body) {
  MutableRoutines().push_back(info);
  RegisterSets("Distr", info.routine, body);
}

void RegisterAnchor(const std::string& routine, SetBody body) {
  RegisterSets("R", routine, body);
}

void RegisterReport(const ReportInfo& info, std::function<std::string()> body) {
  MutableReports().push_back(info);
  benchmark::RegisterBenchmark(("Report/" + info.name).c_str(), [body](benchmark::State& state) {
    for (auto _ : state) {
      const std::string fault = body();
      if (!fault.empty()) {
        state.SkipWithError(fault.c_str());
        break;
      }
    }
  })->Unit(benchmark::kMillisecond);
}

const std::vector<RoutineInfo>& Routines() {
  return MutableRoutines();
}
const std::vector<ReportInfo>& Reports() {
  return MutableReports();
}

const RoutineInfo* FindRoutine(const std::string& routine) {
  for (const auto& info : Routines())
    if (info.routine == routine) return &info;
  return nullptr;
}

}  // namespace bench
