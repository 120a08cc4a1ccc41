// The probex-calc batch line parser and one command on the model, on any
// bytes: the input is cut into lines at LF, each line into words by
// cli::SplitBatchLine, and each command runs through cli::Run as
// probex-calc --batch runs it.  No crash, and
//  - a command either appends its two lines (no line end inside either) or
//    ends as an invalid field, a run-time error or a usage fault with a text;
//  - a command is a pure function of its words: running the same words
//    again gives the same outcome;
//  - the words of a line joined with TAB give back the line (less one CR at
//    its end).
//
// Guard against slow inputs: a field word is cut to kMaxFieldBytes bytes, and
// at most kMaxLines lines are run.  Six characters reach whole numbers up to
// 999999 and hexadecimal $FFFFF; larger degrees of freedom and urns make
// single reports take tens of milliseconds to seconds (the benchmarks measure
// those), which would only slow the search down.  The parsers themselves get
// texts of any length from the field_parsing target.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calculator/Calculator.h"
#include "cli/Command.h"
#include "fuzz/FuzzCheck.h"

namespace {

constexpr size_t kMaxFieldBytes = 6;
constexpr int kMaxLines = 4;

bool SameOutcome(const cli::Outcome& a, const cli::Outcome& b) {
  return a.kind == b.kind && a.lines == b.lines && a.message == b.message;
}

void RunLine(std::string_view line) {
  std::vector<std::string> words = cli::SplitBatchLine(line);
  std::string_view joinable = line;
  if (!joinable.empty() && joinable.back() == '\r') joinable.remove_suffix(1);
  std::string joined;
  for (size_t i = 0; i < words.size(); ++i) joined += (i ? "\t" : "") + words[i];
  // Past the most words a command can have the rest stays unsplit, one empty
  // word standing for it.
  if (words.size() <= cli::kMaxCommandWords)
    FUZZ_CHECK(joined == joinable, "the words do not give back the line");
  else
    FUZZ_CHECK(words.back().empty() && joinable.rfind(joined.substr(0, joined.size() - 1), 0) == 0,
               "the words are not the start of the line");
  if (words.empty()) return;

  // The option and the function name stay whole; fields are cut short.
  const size_t firstField = words[0] == "--inverse" ? 2 : 1;
  for (size_t i = firstField; i < words.size(); ++i)
    if (words[i].size() > kMaxFieldBytes) words[i].resize(kMaxFieldBytes);

  const cli::Outcome outcome = cli::Run(words);
  switch (outcome.kind) {
    case cli::Outcome::Kind::Lines:
      FUZZ_CHECK(outcome.lines.size() == 2, "%zu lines appended", outcome.lines.size());
      for (const auto& l : outcome.lines)
        FUZZ_CHECK(l.find('\n') == std::string::npos && !l.empty(), "a broken log line");
      break;
    case cli::Outcome::Kind::InvalidField:
      FUZZ_CHECK(outcome.message.size() == 6 && outcome.message.rfind("Edit_", 0) == 0 &&
                     outcome.message[5] >= '1' && outcome.message[5] <= '4',
                 "invalid field named \"%s\"", outcome.message.c_str());
      break;
    case cli::Outcome::Kind::RunTimeError:
    case cli::Outcome::Kind::Usage:
      FUZZ_CHECK(!outcome.message.empty(), "an error without a message");
      break;
  }
  FUZZ_CHECK(!cli::BatchText(outcome).empty(), "an outcome without text");
  const cli::Outcome again = cli::Run(words);
  FUZZ_CHECK(SameOutcome(outcome, again), "the same command gave another outcome");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t start = 0;
  for (int line = 0; line < kMaxLines && start <= input.size(); ++line) {
    const size_t end = input.find('\n', start);
    RunLine(input.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return 0;
}
