// probex-calc: the Probex calculator model on the command line.
#include <iostream>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/JsonCommand.h"
#include "cli/PlotCommand.h"
#include "cli/TableCommand.h"
#include "probex/Version.h"

namespace {

using cli::kExitInvalidField;
using cli::kExitRunTimeError;
using cli::kExitUsage;

constexpr const char* kUsage =
    R"(usage: probex-calc [--inverse | --between] [--sd] FUNCTION [FIELD...]
       probex-calc --batch
       probex-calc --json [--inverse | --between] [--sd] FUNCTION [FIELD...]
       probex-calc --json --batch
       probex-calc --plot FILE [--size WxH] [--inverse | --between] [--sd] FUNCTION [FIELD...]
       probex-calc --table FUNCTION [FIELD...] --from A --to B --step H
       probex-calc --critical FUNCTION --alpha LIST [--df LIST | --df1 LIST --df2 LIST]
       probex-calc --list-functions
       probex-calc --version
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
and prints the x-values instead (for a discrete distribution the quantile, the
smallest x with P(X<=x) >= p).  --between takes two bounds A < B in place of
the x-value and prints the probability between them and outside them:
P(A<X<B) and P(X<A or X>B), for a discrete distribution P(A<=X<=B).
--sd reads the normal distribution's second field as its standard deviation
(the log still writes the variance it stands for).

Exit status: 0 on success; 2 for an invalid field (standard error names it,
"invalid field: Edit_N", the field that would keep the focus); 1 for a
run-time error (standard error holds the message, e.g. "Integer overflow.");
64 for a wrong function name or option.

--batch reads one command per line from standard input, its words separated
by TAB characters (so a field may hold blanks), and prints for each either
the two log lines, or "invalid field: Edit_N", or "error: MESSAGE", or, for a
malformed command or a line longer than 1 MiB, "usage: WHAT"; an empty line
prints nothing.  The exit status is 64 when a line was malformed, 0 otherwise.

--json prints one JSON object instead of the two lines: the log lines, the
parsed parameters and every value at full precision ("lower", "upper",
"density", "two_tailed"; "x_lower", "x_upper", "central"; "below", "at_most",
"point", "at_least", "above"; "quantile"; "between", "outside"; "mean",
"variance"; "exact",
"log10"), with "status" "ok", "invalid" (and "field"), "error" or "usage"
(and "message"); values the engine cannot give are null, with "notes" saying
why.  With --inverse a discrete distribution's last field is a probability p
and "quantile" is the smallest x with P(X<=x) >= p.  --json --batch prints
one object per line (JSON Lines).  Exit statuses as without --json.

--plot writes the picture of the result (the density or the probability
bars with the tails shaded) as PNG or SVG, by FILE's extension, at 800x500
unless --size says otherwise; no display is needed.  --table prints the
probabilities over a range of x-values and --critical the table of critical
values, as TAB-separated text with a header row (probex-calc --table --help).

--list-functions prints one line per function, in columns separated by TAB
characters: the FUNCTION name, the window's caption, the FIELDs (separated by
commas) and the modes ("forward", and "inverse" where --inverse is taken,
"between" where --between is).
)";

int Usage(const std::string& message) {
  std::cerr << "probex-calc: " << message << "\n"
            << "Try 'probex-calc --help'.\n";
  return kExitUsage;
}

// --batch, or with `json` --json --batch (JSON Lines).
int RunBatch(bool json) {
  bool malformed = false;
  std::string line;
  for (cli::LineRead read; (read = cli::ReadBatchLine(std::cin, line)) != cli::LineRead::End;) {
    if (read == cli::LineRead::LineTooLong) {
      malformed = true;
      const std::string what =
          "line longer than " + std::to_string(cli::kMaxBatchLineBytes) + " bytes";
      std::cout << (json ? R"({"status":"usage","message":")" + what + "\"}" : "usage: " + what)
                << '\n';
      continue;
    }
    const auto words = cli::SplitBatchLine(line);
    if (words.empty()) continue;
    if (json) {
      const cli::JsonAnswer answer = cli::RunJson(words);
      if (answer.exitStatus == kExitUsage) malformed = true;
      std::cout << answer.json << '\n';
      continue;
    }
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
  if (cli::IsTableCommand(words)) return cli::RunTableCommand(words, std::cout, std::cerr);
  if (words.size() == 1 && words[0] == "--help") {
    std::cout << kUsage << cli::FunctionHelp() << kHelpAfterFunctions
              << cli::InverseFunctionNames(", ") << kHelpAfterInverse;
    return 0;
  }
  if (words.size() == 1 && words[0] == "--list-functions") {
    std::cout << cli::FunctionList();
    return 0;
  }
  if (words.size() == 1 && words[0] == "--version") {
    std::cout << "probex-calc " << probex::kVersion << '\n';
    return 0;
  }
  if (words.size() == 1 && words[0] == "--batch") return RunBatch(false);
  if (cli::IsPlotCommand(words)) return cli::RunPlotCommand(words);
  if (!words.empty() && words[0] == "--json") {
    if (words.size() == 2 && words[1] == "--batch") return RunBatch(true);
    const cli::JsonAnswer answer = cli::RunJson({words.begin() + 1, words.end()});
    std::cout << answer.json << '\n';
    return answer.exitStatus;
  }
  if (!words.empty() && words[0].rfind("--", 0) == 0 && words[0] != "--inverse" &&
      words[0] != "--between" && words[0] != "--sd")
    return Usage("unknown option: " + words[0]);

  const cli::Outcome outcome = cli::Run(words);
  switch (outcome.kind) {
    case cli::Outcome::Kind::Lines:
      for (const auto& l : outcome.lines) std::cout << l << '\n';
      return 0;
    case cli::Outcome::Kind::InvalidField:
      std::cerr << outcome.InvalidFieldText() << '\n';
      return kExitInvalidField;
    case cli::Outcome::Kind::RunTimeError:
      std::cerr << outcome.message << '\n';
      return kExitRunTimeError;
    case cli::Outcome::Kind::Usage:
      return Usage(outcome.message);
  }
  return 0;
}
