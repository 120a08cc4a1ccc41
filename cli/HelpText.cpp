// probex-calc's help: the entries and the --help text made of them.
#include "cli/HelpText.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <string_view>

#include "calculator/Functions.h"
#include "cli/Command.h"
#include "tables/Tables.h"

namespace cli {

namespace {

using calculator::Family;
using calculator::FunctionAbout;
using calculator::Functions;
using calculator::Mode;

// --help's lines end before this column; the options' paragraphs start at
// kParagraphIndent, the exit statuses' at kStatusIndent.
constexpr size_t kHelpWidth = 80;
constexpr size_t kParagraphIndent = 6;
constexpr size_t kStatusIndent = 6;

std::string Joined(const std::vector<std::string>& items, const std::string& lastSeparator) {
  std::string text;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += i + 1 == items.size() ? lastSeparator : ", ";
    text += items[i];
  }
  return text;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The functions that `keep` keeps: "every distribution" or "every
// continuous distribution" where they are those, else their command names
// joined with `lastSeparator`.
template <class Keep>
std::string Scope(Keep keep, const std::string& lastSeparator) {
  std::vector<std::string> names;
  bool distributions = true, continuous = true;
  for (const FunctionAbout& about : Functions()) {
    if (keep(about)) names.emplace_back(about.commandName);
    distributions = distributions && keep(about) == (about.family != Family::Counting);
    continuous = continuous && keep(about) == (about.family == Family::Continuous);
  }
  if (distributions) return "every distribution";
  if (continuous) return "every continuous distribution";
  return Joined(names, lastSeparator);
}

std::string ModeScope(Mode mode) {
  return Scope([mode](const FunctionAbout& about) { return about.modes.Has(mode); }, " and ");
}

std::string SymmetricScope() {
  return Scope(
      [](const FunctionAbout& about) {
        return tables::TwoSidedOffered(tables::Kind::Critical, about.function);
      },
      " or ");
}

std::string CriticalScope() {
  return Scope(
      [](const FunctionAbout& about) {
        const auto kinds = tables::KindsOf(about.function);
        return std::find(kinds.begin(), kinds.end(), tables::Kind::Critical) != kinds.end();
      },
      " or ");
}

// "Reads normal's variance field as its standard deviation; ...", for each
// function with a field that has a root reading.
std::string RootParagraph() {
  std::vector<std::string> readings;
  std::string caption;
  for (const FunctionAbout& about : Functions())
    for (const calculator::FieldAbout& field : about.fields)
      if (field.root != nullptr) {
        readings.push_back("the " + Lower(field.caption) + " field of " + about.commandName +
                           " as its " + Lower(field.root->caption));
        caption = Lower(field.caption);
      }
  return "Reads " + Joined(readings, " and ") + "; the log still writes the " + caption +
         " it stands for.";
}

const char* const kTableForm = "--table FUNCTION [FIELD...] [--from A] [--to B] [--step H]";
const char* const kCriticalForm =
    "--critical FUNCTION [FIELD...] [--alpha LIST] [--two-sided] [--df LIST | --df1 LIST "
    "--df2 LIST]";

std::string TableParagraph() {
  return "Prints P(X<x) and P(X>x) (and the density) of a continuous distribution, or "
         "P(X<=x), P(X>=x) and P(X=x) of a discrete one, for x from A to B in steps of H "
         "(whole steps for a discrete distribution). The FIELDs are the function's fields "
         "without the x-value; what is not given keeps its preset: from about the 0.001 to "
         "about the 0.999 quantile of the distribution, in steps of 1, 2 or 5 times a power of "
         "ten. The table is TAB-separated text with a header row, every cell written as the "
         "log writes that number. probex-calc --table --help prints the help of --table and "
         "--critical alone.";
}

std::string CriticalParagraph() {
  return "Prints the x with P(X>x) = alpha of " + CriticalScope() +
         ": columns for the upper-tail probabilities of --alpha, rows for the degrees of "
         "freedom of --df where the distribution has them; f takes one alpha, its columns for "
         "df1 of --df1 and its rows for df2 of --df2. --two-sided reads each alpha as "
         "two-sided, the x with P(X>x) = alpha/2, for " + SymmetricScope() +
         ". Lists separate their "
         "entries by commas. The FIELDs are the function's fields without the x-value and the "
         "degrees of freedom; what is not given keeps the presets of the textbook tables. "
         "Output as with --table.";
}

// A form of the command, an option's term or a list of fields wrapped as
// Wrapped does, but never inside brackets or parentheses: "[--df LIST |
// --df1 LIST --df2 LIST]" and "x-value (or Percentile)" stay on one line.
std::string WrappedTerm(std::string term, const std::string& first, size_t indent) {
  constexpr char kKeptBlank = '\x01';
  int depth = 0;
  for (char& c : term) {
    depth += (c == '[' || c == '(') - (c == ']' || c == ')');
    if (c == ' ' && depth > 0) c = kKeptBlank;
  }
  std::string text = Wrapped(term, first, indent, kHelpWidth);
  std::replace(text.begin(), text.end(), kKeptBlank, ' ');
  return text;
}

// The FUNCTION list: one entry per function, its fields two blanks after the
// longest name, further lines of a long list below its start.
std::string FunctionEntries() {
  size_t nameColumn = 0;
  for (const FunctionAbout& about : Functions())
    nameColumn = std::max(nameColumn, std::string_view(about.commandName).size() + 4);
  const std::string_view kFields = "fields: ";
  std::string text;
  for (const FunctionAbout& about : Functions()) {
    std::string name = std::string("  ") + about.commandName;
    name.resize(nameColumn, ' ');
    text += WrappedTerm(std::string(kFields) + FieldList(about), name, nameColumn + kFields.size());
  }
  return text;
}

void AppendOptions(std::string& text, const std::vector<OptionHelp>& options) {
  for (const OptionHelp& option : options)
    text +=
        WrappedTerm(option.term, "  ", kParagraphIndent + 2) +
        Wrapped(option.paragraph, std::string(kParagraphIndent, ' '), kParagraphIndent, kHelpWidth);
}

std::string Usage(const std::vector<std::string>& forms) {
  std::string text;
  for (size_t i = 0; i < forms.size(); ++i) {
    const std::string first = i == 0 ? "usage: probex-calc " : "       probex-calc ";
    text += WrappedTerm(forms[i], first, first.size() + 4);
  }
  return text;
}

}  // namespace

size_t Columns(std::string_view text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;  // not a UTF-8 continuation byte
  }));
}

std::string Wrapped(const std::string& text, const std::string& first, size_t indent,
                    size_t width) {
  std::string out = first;
  size_t column = Columns(first);
  bool lineEmpty = true;
  std::istringstream words(text);
  for (std::string word; words >> word;) {
    if (!lineEmpty && column + 1 + Columns(word) >= width) {
      out += "\n" + std::string(indent, ' ');
      column = indent;
      lineEmpty = true;
    }
    if (!lineEmpty) {
      out += ' ';
      ++column;
    }
    out += word;
    column += Columns(word);
    lineEmpty = false;
  }
  return out + "\n";
}

std::vector<std::string> UsageForms() {
  return {"[--inverse | --between] [--sd] FUNCTION [FIELD...]",
          "--batch",
          "--json [--inverse | --between] [--sd] FUNCTION [FIELD...]",
          "--json --batch",
          "--plot FILE [--size WxH] [--inverse | --between] [--sd] FUNCTION [FIELD...]",
          kTableForm,
          kCriticalForm,
          "--list-functions",
          "--version",
          "--help"};
}

std::vector<std::string> DescriptionParagraphs() {
  return {
      "Computes one Probex report and prints its header line and result line exactly as the "
      "window appends them to its results log."};
}

std::vector<std::string> FieldParagraphs() {
  return {
      "The FIELDs are the texts of the function's visible fields, in order; fields not given "
      "keep their defaults. A number is written with a decimal point, whatever the locale."};
}

std::vector<OptionHelp> OptionHelps() {
  return {
      {"--inverse",
       "For " + ModeScope(Mode::Inverse) +
           ": the last field is a percentile p, and the result line gives the x-values instead "
           "of the tails, the one with probability p below it and the one with p above it; for "
           "a discrete distribution the quantile, the smallest x with P(X<=x) >= p."},
      {"--between",
       "For " + ModeScope(Mode::Interval) +
           ": two bounds A < B stand in place of the x-value, and the result line gives the "
           "probability between them and outside them, P(A<X<B) and P(X<A or X>B); for a "
           "discrete distribution P(A<=X<=B), the bounds included."},
      {"--sd", RootParagraph()},
      {"--batch",
       "Reads one command per line from standard input, its words separated by TAB "
       "characters (so that a field may hold blanks), and prints for each either the two log "
       "lines, or \"invalid field: Edit_N\", or \"error: MESSAGE\", or, for a malformed command "
       "or a line longer than 1 MiB, \"usage: WHAT\"; an empty line prints nothing. The exit "
       "status is 64 when a line was malformed, 0 otherwise."},
      {"--json",
       "Prints one JSON object instead of the two lines: the log lines, the parsed parameters "
       "and every value at full precision (\"lower\", \"upper\", \"density\", \"two_tailed\"; "
       "\"x_lower\", \"x_upper\", \"central\"; \"below\", \"at_most\", \"point\", \"at_least\", "
       "\"above\"; \"quantile\"; \"between\", \"outside\"; \"mean\", \"variance\"; \"exact\", "
       "\"log10\"), with \"status\" \"ok\", \"invalid\" (and \"field\"), \"error\" or \"usage\" "
       "(and \"message\"); values the engine cannot give are null, with \"notes\" saying why. "
       "With --inverse \"quantile\" is the smallest x with P(X<=x) >= p of a discrete "
       "distribution. --json --batch prints one object per line (JSON Lines). Exit statuses "
       "as without --json."},
      {"--plot FILE [--size WxH]",
       "Writes the picture of the result (the density or the probability bars with the tails "
       "shaded) as PNG or SVG, by the extension of FILE, at 800x500 pixels unless --size says "
       "otherwise; no display is needed."},
      {kTableForm, TableParagraph()},
      {kCriticalForm, CriticalParagraph()},
      {"--list-functions",
       "Prints one line per function, in columns separated by TAB characters: the FUNCTION "
       "name, the window's caption, the FIELDs (separated by commas) and the modes "
       "(\"forward\", and \"inverse\" where --inverse is taken, \"between\" where --between "
       "is)."},
      {"--version", "Prints the program's name and version."},
      {"--help",
       "Prints a summary of the forms, the functions, the options and the exit statuses."},
  };
}

std::vector<StatusHelp> StatusHelps() {
  return {
      {0, "Success."},
      {1,
       "A run-time error; standard error holds the message, for example \"Integer "
       "overflow.\"."},
      {2,
       "An invalid field; standard error names the field that would keep the focus in the "
       "window, with its caption and its rule: \"invalid field: Edit_N: CAPTION: RULE\" (with "
       "--batch the line \"invalid field: Edit_N\"). --table and --critical name an option's "
       "entry instead: \"invalid field: --df, entry 3: RULE\"."},
      {64, "A wrong function name or option, or, with --batch, a malformed line."},
  };
}

std::string HelpText() {
  std::string text = Usage(UsageForms());
  for (const std::string& paragraph : DescriptionParagraphs())
    text += "\n" + Wrapped(paragraph, "", 0, kHelpWidth);
  text += "\nFUNCTION is one of\n" + FunctionEntries();
  for (const std::string& paragraph : FieldParagraphs())
    text += Wrapped(paragraph, "", 0, kHelpWidth);
  text += "\nOptions:\n";
  AppendOptions(text, OptionHelps());
  text += "\nExit status:\n";
  for (const StatusHelp& status : StatusHelps()) {
    std::string number = "  " + std::to_string(status.status);
    number.resize(kStatusIndent, ' ');
    text += Wrapped(status.paragraph, number, kStatusIndent, kHelpWidth);
  }
  return text;
}

std::string TableHelpText() {
  std::string text = Usage({kTableForm, kCriticalForm}) + "\n";
  std::vector<OptionHelp> tableOptions;
  for (const OptionHelp& option : OptionHelps())
    if (option.term == kTableForm || option.term == kCriticalForm) tableOptions.push_back(option);
  AppendOptions(text, tableOptions);
  return text;
}

}  // namespace cli
