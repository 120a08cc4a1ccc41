// probex-calc's manual page, written from its template and the help as
// data, documents every option that --help (and --table --help) speaks of,
// each under a term of its own in OPTIONS; and --help fits a terminal.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "cli/HelpText.h"
#include "docs/prose/Prose.h"

namespace {

// The names of the options a text speaks of: "--inverse", "--df1", ...
std::set<std::string> OptionsIn(const std::string& text) {
  static const std::regex kOption(R"((^|[^-\w])(--[a-z][a-z0-9-]*))");
  std::set<std::string> options;
  for (std::sregex_iterator o(text.begin(), text.end(), kOption), end; o != end; ++o)
    options.insert((*o)[2]);
  return options;
}

std::string ManualPage() {
  std::ifstream in(PROBEX_CALC_PAGE_TEMPLATE);
  std::stringstream text;
  text << in.rdbuf();
  return prose::Expand(text.str(), prose::TablePlaceholders(prose::Format::Scd));
}

// The lines of the OPTIONS section that are terms (not their paragraphs,
// which scdoc indents by a TAB).
std::string OptionTerms(const std::string& page) {
  const size_t start = page.find("\n# OPTIONS\n");
  const size_t end = page.find("\n# ", start + 1);
  std::istringstream section(page.substr(start, end - start));
  std::string terms;
  for (std::string line; std::getline(section, line);)
    if (!line.empty() && line[0] != '\t') terms += line + "\n";
  return terms;
}

TEST(CalcPage, EveryOptionOfTheHelpHasItsTerm) {
  const std::string terms = OptionTerms(ManualPage());
  const std::set<std::string> options = OptionsIn(cli::HelpText() + cli::TableHelpText());
  EXPECT_GE(options.size(), 19u) << "the help speaks of fewer options than probex-calc takes";
  for (const std::string& option : options)
    EXPECT_NE(terms.find("*" + option + "*"), std::string::npos) << option << " in\n" << terms;
}

TEST(CalcPage, HelpLinesEndBeforeColumn80) {
  for (const std::string& text : {cli::HelpText(), cli::TableHelpText()}) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) EXPECT_LT(cli::Columns(line), 80u) << line;
  }
}

TEST(Wrapped, BreaksAtBlanksBeforeTheWidth) {
  const struct {
    const char* text;
    const char* first;
    size_t indent, width;
    const char* wrapped;
  } rows[] = {
      {"aaaa bbbb", "", 0, 10, "aaaa bbbb\n"},        // 9 columns: one line
      {"aaaa bbbbb", "", 0, 10, "aaaa\nbbbbb\n"},     // 10 would reach the width
      {"abcdefgh x", ">", 2, 5, ">abcdefgh\n  x\n"},  // a longer word stands alone
      {"  a   b  ", "- ", 2, 80, "- a b\n"},          // blanks collapse
      {"", "x", 2, 80, "x\n"},
      {"λλλλ μμμμ", "", 0, 10, "λλλλ μμμμ\n"},  // columns, not bytes
  };
  for (const auto& row : rows)
    EXPECT_EQ(cli::Wrapped(row.text, row.first, row.indent, row.width), row.wrapped) << row.text;
}

}  // namespace
