// probex-calc: the Probex calculator model on the command line; its help
// (cli/HelpText.h) says what each option does.
#include <iostream>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/HelpText.h"
#include "cli/JsonCommand.h"
#include "cli/PlotCommand.h"
#include "cli/TableCommand.h"
#include "probex/Version.h"

namespace {

using cli::kExitInvalidField;
using cli::kExitRunTimeError;
using cli::kExitUsage;

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
    std::cout << cli::HelpText();
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
