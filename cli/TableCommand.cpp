#include "cli/TableCommand.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <ostream>

#include "cli/HelpText.h"

namespace cli {

namespace {

using tables::Field;
using tables::Kind;

constexpr int kExitRunTimeError = 1;
constexpr int kExitInvalidField = 2;
// A table expected to run longer than this says so before it goes on.
constexpr double kLongTableSeconds = 60;
constexpr int kExitUsage = 64;

struct Usage {
  std::string message;
};

// The option that a table field is given by.
std::string OptionOf(Field field) {
  switch (field) {
    case Field::From:
      return "--from";
    case Field::To:
      return "--to";
    case Field::Step:
      return "--step";
    case Field::Alphas:
      return "--alpha";
    case Field::Degrees:
      return "--df";
    case Field::Degrees1:
      return "--df1";
    case Field::Degrees2:
      return "--df2";
    case Field::Probabilities:
      return "--p";
    case Field::Parameter:
      break;
  }
  return "";
}

// The request text that a table field sets.
std::string tables::Request::*MemberOf(Field field) {
  switch (field) {
    case Field::From:
      return &tables::Request::from;
    case Field::To:
      return &tables::Request::to;
    case Field::Step:
      return &tables::Request::step;
    case Field::Alphas:
      return &tables::Request::alphas;
    case Field::Degrees:
      return &tables::Request::degrees;
    case Field::Degrees1:
      return &tables::Request::degrees1;
    case Field::Degrees2:
      return &tables::Request::degrees2;
    case Field::Probabilities:
      return &tables::Request::probabilities;
    case Field::Parameter:
      break;
  }
  return nullptr;
}

// The option names of a kind of table, and the request texts they set: one
// per table field the kind reads (the quantiles' list has no option).
std::map<std::string, std::string tables::Request::*> Options(Kind kind,
                                                              calculator::Function function) {
  std::map<std::string, std::string tables::Request::*> options;
  for (Field field : tables::FieldsOf(kind, function))
    if (field != Field::Parameter && field != Field::Probabilities)
      options[OptionOf(field)] = MemberOf(field);
  return options;
}

// "Edit_2: a number of at least 0.000001", "--df, entry 3: ...".
std::string FaultText(const tables::Fault& fault) {
  if (fault.field == Field::Parameter)
    return "Edit_" + std::to_string(fault.index + 1) + ": " + fault.rule;
  std::string text = OptionOf(fault.field);
  if (fault.index > 0) text += ", entry " + std::to_string(fault.index);
  return text + ": " + fault.rule;
}

// The functions whose critical values may be two-sided: "normal, t, ...".
std::string SymmetricNames() {
  std::string names;
  for (const calculator::FunctionAbout& about : calculator::Functions())
    if (tables::TwoSidedOffered(Kind::Critical, about.function))
      names += (names.empty() ? "" : ", ") + std::string(about.commandName);
  return names;
}

tables::Request ParseRequest(const std::vector<std::string>& words) {
  const Kind kind = words[0] == "--table" ? Kind::Range : Kind::Critical;
  if (words.size() < 2) throw Usage{"no function given"};
  const auto function = calculator::FunctionByCommandName(words[1]);
  if (!function) throw Usage{"unknown function: " + words[1]};
  const auto kinds = tables::KindsOf(*function);
  if (std::find(kinds.begin(), kinds.end(), kind) == kinds.end())
    throw Usage{words[0] + " has no table for " + words[1]};

  const calculator::FunctionAbout& about = calculator::AboutFunction(*function);
  // The fields the command takes: the parameters that no list replaces.
  calculator::FieldTexts texts = calculator::DefaultTexts(*function);
  std::size_t w = 2;
  for (const calculator::FieldAbout& field : about.fields) {
    if (!tables::UsesParameter(kind, *function, field.slot)) continue;
    if (w < words.size() && words[w].rfind("--", 0) != 0) texts[field.slot] = words[w++];
  }
  // The presets, the range among them from these parameters.
  tables::Request request = tables::DefaultRequest(*function, kind, texts);
  const auto options = Options(kind, *function);
  std::map<std::string, bool> given;
  while (w < words.size()) {
    const std::string& option = words[w];
    if (option == "--two-sided" && tables::TwoSidedOffered(kind, *function)) {
      if (request.twoSided) throw Usage{option + " given twice"};
      request.twoSided = true;
      ++w;
      continue;
    }
    if (option == "--two-sided") throw Usage{"--two-sided needs " + SymmetricNames()};
    const auto known = options.find(option);
    if (known == options.end())
      throw Usage{option.rfind("--", 0) == 0
                      ? "unknown option for " + words[0] + " " + words[1] + ": " + option
                      : "too many fields"};
    if (given[option]) throw Usage{option + " given twice"};
    given[option] = true;
    if (w + 1 == words.size()) throw Usage{option + " needs a value"};
    request.*(known->second) = words[w + 1];
    w += 2;
  }
  return request;
}

}  // namespace

bool IsTableCommand(const std::vector<std::string>& words) {
  return !words.empty() && (words[0] == "--table" || words[0] == "--critical");
}

TableCommand PrepareTableCommand(const std::vector<std::string>& words) {
  TableCommand command;
  tables::Request request;
  try {
    request = ParseRequest(words);
  } catch (const Usage& usage) {
    command.exitStatus = kExitUsage;
    command.fault =
        "probex-calc: " + usage.message + "\nTry 'probex-calc " + words[0] + " --help'.\n";
    return command;
  }
  tables::Prepared prepared = tables::Prepare(request);
  if (!prepared.plan) {
    for (const tables::Fault& fault : prepared.faults)
      command.fault += "invalid field: " + FaultText(fault) + '\n';
    // A list or range of the wrong shape (an empty entry, too many rows) is
    // an invalid field like a value that breaks its rule.
    command.exitStatus = kExitInvalidField;
    return command;
  }
  command.plan = std::move(prepared.plan);
  return command;
}

int RunTableCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
  if (words.size() == 2 && words[1] == "--help") {
    out << TableHelpText();
    return 0;
  }
  const TableCommand command = PrepareTableCommand(words);
  if (!command.plan) {
    err << command.fault;
    return command.exitStatus;
  }
  // Row by row as computed: the memory holds one row, and a reader sees the
  // first rows at once.  A table that will take long says so after its
  // first row, from that row's time.
  const tables::Plan& plan = *command.plan;
  std::vector<std::string> headings;
  for (const tables::Column& column : plan.Columns()) headings.push_back(column.heading);
  out << tables::TabLine(headings) << std::flush;
  const std::size_t count = plan.RowCount();
  for (std::size_t row = 0; row < count; ++row) {
    const auto start = std::chrono::steady_clock::now();
    out << tables::TabLine(plan.ComputeRow(row)) << std::flush;
    if (row == 0) {
      const std::chrono::duration<double> first = std::chrono::steady_clock::now() - start;
      const double estimate = first.count() * static_cast<double>(count);
      if (estimate > kLongTableSeconds)
        err << "probex-calc: " << count << " rows will take about "
            << static_cast<long long>(estimate / 60 + 0.5) << " minutes\n";
    }
    if (!out) return kExitRunTimeError;  // the reader has gone
  }
  return 0;
}

}  // namespace cli
