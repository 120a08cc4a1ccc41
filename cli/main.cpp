// probex-calc: the Probex calculator model on the command line.
#include <iostream>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/PlotCommand.h"

namespace {

constexpr int kExitRunTimeError = 1;
constexpr int kExitInvalidField = 2;
constexpr int kExitUsage = 64;

constexpr const char* kUsage =
    R"(usage: probex-calc [--inverse] FUNCTION [FIELD...]
       probex-calc --batch
       probex-calc --help

Computes one Probex report and prints its header line and result line exactly
as the window appends them to its results log.

FUNCTION is one of
)";

constexpr const char* kHelpAfterFunctions =
    R"(The FIELDs are the texts of the function's visible fields, in order; fields
not given keep their defaults.
--inverse (only )";

constexpr const char* kHelpAfterInverse =
    R"() turns the last field into a percentile
and prints the x-values instead.

Exit status: 0 on success; 2 for an invalid field (standard error names it,
"invalid field: Edit_N", the field that would keep the focus); 1 for a
run-time error (standard error holds the message, e.g. "Integer overflow.");
64 for a wrong function name or option.

--batch reads one command per line from standard input, its words separated
by TAB characters (so a field may hold blanks), and prints for each either
the two log lines, or "invalid field: Edit_N", or "error: MESSAGE", or, for a
malformed command, "usage: WHAT"; an empty line prints nothing.  The exit
status is 64 when a line was malformed, 0 otherwise.
)";

int Usage(const std::string& message) {
  std::cerr << "probex-calc: " << message << "\n"
            << "Try 'probex-calc --help'.\n";
  return kExitUsage;
}

int RunBatch() {
  bool malformed = false;
  std::string line;
  while (std::getline(std::cin, line)) {
    const auto words = cli::SplitBatchLine(line);
    if (words.empty()) continue;
    const cli::Outcome outcome = cli::Run(words);
    if (outcome.kind == cli::Outcome::Kind::Usage) malformed = true;
    std::cout << cli::BatchText(outcome) << '\n';
  }
  std::cout.flush();
  return malformed ? kExitUsage : 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string> words(argv + 1, argv + argc);
  if (words.size() == 1 && words[0] == "--help") {
    std::cout << kUsage << cli::FunctionHelp() << kHelpAfterFunctions
              << cli::InverseFunctionNames(", ") << kHelpAfterInverse;
    return 0;
  }
  if (words.size() == 1 && words[0] == "--batch") return RunBatch();
  if (cli::IsPlotCommand(words)) return cli::RunPlotCommand(words);
  if (!words.empty() && words[0].rfind("--", 0) == 0 && words[0] != "--inverse")
    return Usage("unknown option: " + words[0]);

  const cli::Outcome outcome = cli::Run(words);
  switch (outcome.kind) {
    case cli::Outcome::Kind::Lines:
      for (const auto& l : outcome.lines) std::cout << l << '\n';
      return 0;
    case cli::Outcome::Kind::InvalidField:
      std::cerr << "invalid field: " << outcome.message << '\n';
      return kExitInvalidField;
    case cli::Outcome::Kind::RunTimeError:
      std::cerr << outcome.message << '\n';
      return kExitRunTimeError;
    case cli::Outcome::Kind::Usage:
      return Usage(outcome.message);
  }
  return 0;
}
