#include "cli/Command.h"

namespace cli {

using calculator::Calculator;
using calculator::kFieldCount;

namespace {

Outcome Usage(std::string message) {
  return {Outcome::Kind::Usage, {}, std::move(message)};
}

}  // namespace

Outcome Run(Calculator& model, const std::vector<std::string>& words) {
  size_t w = 0;
  bool inverse = false;
  if (w < words.size() && words[w] == "--inverse") {
    inverse = true;
    ++w;
  }
  if (w == words.size()) return Usage("no function given");
  const auto function = calculator::FunctionByCommandName(words[w]);
  if (!function) return Usage("unknown function: " + words[w]);
  ++w;
  if (inverse && !calculator::InfoOf(*function).continuous)
    return Usage("--inverse needs normal, chisquare, t or f");

  model.SelectFunction(*function);
  model.ArrangeFields();  // defaults also when the function was selected already
  if (inverse) model.SetInverseChecked(true);
  for (int i = 0; i < kFieldCount; ++i) {
    if (!model.FieldVisible(i)) continue;
    if (w == words.size()) break;
    model.SetFieldText(i, words[w++]);
  }
  if (w != words.size()) return Usage("too many fields");

  Outcome outcome{Outcome::Kind::Lines, {}, {}};
  try {
    model.SetFocusedField(std::nullopt);
    model.ComputeBtnClick();
    if (model.LastComputeValid()) {
      outcome.lines = model.Log();
    } else {
      outcome.kind = Outcome::Kind::InvalidField;
      outcome.message = "Edit_" + std::to_string(model.FocusedField().value_or(0) + 1);
    }
  } catch (const Distr::ERunTimeError& error) {
    outcome.kind = Outcome::Kind::RunTimeError;
    outcome.message = calculator::ErrorBoxText(error.what());
  }
  model.ClearLog();
  return outcome;
}

std::vector<std::string> SplitBatchLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::vector<std::string> words;
  if (line.empty()) return words;
  size_t start = 0;
  for (;;) {
    const size_t tab = line.find('\t', start);
    words.emplace_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  return words;
}

std::string BatchText(const Outcome& outcome) {
  switch (outcome.kind) {
    case Outcome::Kind::Lines: {
      std::string text;
      for (const auto& line : outcome.lines) {
        if (!text.empty()) text += '\n';
        text += line;
      }
      return text;
    }
    case Outcome::Kind::InvalidField:
      return "invalid field: " + outcome.message;
    case Outcome::Kind::RunTimeError:
      return "error: " + outcome.message;
    case Outcome::Kind::Usage:
      return "usage: " + outcome.message;
  }
  return {};
}

}  // namespace cli
