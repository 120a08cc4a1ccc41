#include "cli/Command.h"

#include <algorithm>
#include <utility>

namespace cli {

using calculator::Mode;

std::string InverseFunctionNames(std::string_view lastSeparator) {
  std::vector<std::string_view> names;
  for (const calculator::FunctionAbout& about : calculator::Functions())
    if (about.HasInverse()) names.push_back(about.commandName);
  std::string text;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? lastSeparator : ", ";
    text += names[i];
  }
  return text;
}

namespace {

// The functions with a field that --sd reads by its root: "normal".
std::string RootFunctionNames() {
  std::string names;
  for (const calculator::FunctionAbout& about : calculator::Functions())
    for (const calculator::FieldAbout& field : about.fields)
      if (field.root) names += (names.empty() ? "" : " or ") + std::string(about.commandName);
  return names;
}

}  // namespace

ParsedCommand ParseCommand(const std::vector<std::string>& words, bool quantiles) {
  size_t w = 0;
  Mode mode = Mode::Forward;
  bool root = false;
  for (; w < words.size(); ++w) {
    if (words[w] == "--inverse" || words[w] == "--between") {
      const Mode asked = words[w] == "--inverse" ? Mode::Inverse : Mode::Interval;
      if (mode != Mode::Forward && mode != asked)
        return {std::nullopt, "--inverse and --between exclude each other"};
      mode = asked;
    } else if (words[w] == "--sd") {
      root = true;
    } else {
      break;
    }
  }
  if (w == words.size()) return {std::nullopt, "no function given"};
  const auto function = calculator::FunctionByCommandName(words[w]);
  if (!function) return {std::nullopt, "unknown function: " + words[w]};
  ++w;
  const calculator::FunctionAbout& about = calculator::AboutFunction(*function);
  const bool quantile = quantiles && about.family == calculator::Family::Discrete;
  if (mode == Mode::Inverse && !about.HasInverse() && !quantile)
    return {std::nullopt, "--inverse needs " + InverseFunctionNames(" or ")};
  if (mode == Mode::Interval && !about.modes.Has(Mode::Interval))
    return {std::nullopt, "--between needs a distribution"};

  Command command{*function, mode, {}, {}};
  if (root) {
    const auto field = std::find_if(about.fields.begin(), about.fields.end(),
                                    [](const calculator::FieldAbout& f) { return f.root; });
    if (field == about.fields.end()) return {std::nullopt, "--sd needs " + RootFunctionNames()};
    command.readings = calculator::Readings::RootAt(field->slot);
  }
  for (const calculator::FieldAbout& field : calculator::FieldsIn(about, command.mode)) {
    command.texts[field.slot] = calculator::FieldDefault(about, field, command.mode);
    if (w < words.size()) command.texts[field.slot] = words[w++];
  }
  if (w != words.size()) return {std::nullopt, "too many fields"};
  return {command, {}};
}

namespace {

// "Variance: a number of at least 0.000001": the caption of the field in
// the slot, as the result's mode and readings show it, and the rule its
// fault gives.
std::string FieldRule(const calculator::Result& result, int slot) {
  const calculator::FunctionAbout& about = calculator::AboutFunction(result.function);
  const auto fault =
      std::find_if(result.faults.begin(), result.faults.end(),
                   [slot](const calculator::FieldFault& f) { return f.index == slot; });
  const std::string rule = fault != result.faults.end() ? fault->Message() : std::string();
  for (const calculator::FieldAbout& field : calculator::FieldsIn(about, result.mode))
    if (field.slot == slot)
      return calculator::FieldCaption(about, field, result.mode, result.readings) + (": " + rule);
  return rule;
}

}  // namespace

std::string Outcome::InvalidFieldText() const {
  return "invalid field: " + message + (fieldRule.empty() ? "" : ": " + fieldRule);
}

Outcome OutcomeOf(const calculator::Result& result) {
  switch (result.outcome) {
    case calculator::Outcome::Ok:
      return {Outcome::Kind::Lines, {result.lines.begin(), result.lines.end()}, {}, {}};
    case calculator::Outcome::Invalid: {
      const int slot = result.FocusField().value_or(0);
      return {Outcome::Kind::InvalidField,
              {},
              "Edit_" + std::to_string(slot + 1),
              FieldRule(result, slot)};
    }
    case calculator::Outcome::Error:
      return {Outcome::Kind::RunTimeError, {}, calculator::ErrorBoxText(result.message), {}};
  }
  return {};
}

Outcome Run(const std::vector<std::string>& words) {
  const ParsedCommand parsed = ParseCommand(words);
  if (!parsed.command) return {Outcome::Kind::Usage, {}, parsed.usage, {}};
  const Command& c = *parsed.command;
  return OutcomeOf(calculator::Compute(c.function, c.texts, c.mode, c.readings));
}

std::string FieldList(const calculator::FunctionAbout& about) {
  std::string text;
  for (const calculator::FieldAbout& field : about.fields) {
    text += (text.empty() ? "" : ", ") + std::string(field.caption);
    if (calculator::ReadsPercentile(about, field, Mode::Inverse))
      text += std::string(" (or ") + calculator::FieldCaption(about, field, Mode::Inverse) + ")";
  }
  return text;
}

std::string PlainCaption(std::string_view caption) {
  std::string text;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && ++i == caption.size()) break;
    text += caption[i];
  }
  return text;
}

std::string FunctionList() {
  std::string text;
  for (const calculator::FunctionAbout& about : calculator::Functions()) {
    text += std::string(about.commandName) + '\t' + PlainCaption(about.caption) + '\t' +
            FieldList(about);
    const char* separator = "\t";
    for (const auto& [mode, name] :
         {std::pair{Mode::Forward, "forward"}, std::pair{Mode::Inverse, "inverse"},
          std::pair{Mode::Interval, "between"}}) {
      if (!about.modes.Has(mode)) continue;
      text += separator;
      text += name;
      separator = " ";
    }
    text += '\n';
  }
  return text;
}

LineRead ReadBatchLine(std::istream& in, std::string& line) {
  line.clear();
  std::streambuf* buffer = in.rdbuf();
  bool any = false, tooLong = false;
  for (int c = buffer->sbumpc(); c != std::char_traits<char>::eof(); c = buffer->sbumpc()) {
    any = true;
    if (c == '\n') return tooLong ? LineRead::LineTooLong : LineRead::Line;
    if (line.size() < kMaxBatchLineBytes)
      line.push_back(static_cast<char>(c));
    else
      tooLong = true;
  }
  in.setstate(std::ios::eofbit);
  if (!any) return LineRead::End;
  return tooLong ? LineRead::LineTooLong : LineRead::Line;
}

std::vector<std::string> SplitBatchLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::vector<std::string> words;
  if (line.empty()) return words;
  size_t start = 0;
  for (;;) {
    if (words.size() == kMaxCommandWords) {
      words.emplace_back();
      break;
    }
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
