// probex-calc's help as data: the forms of the command, what it computes,
// each option with its paragraph, the exit statuses.  --help prints them as
// text for a terminal, and the build writes the manual page from the same
// entries (docs/prose/, packaging/probex-calc.1.scd.in), so that the two
// say the same.
//
// A paragraph is one line of plain prose, without line ends: --help wraps it,
// scdoc leaves the filling to roff.  The names of the functions it speaks of
// come from the table of functions.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// One option: the words that stand for it in the usage ("--plot FILE [--size
// WxH]") and what it does.
struct OptionHelp {
  std::string term;
  std::string paragraph;
};

// One exit status and when probex-calc ends with it.
struct StatusHelp {
  int status;
  std::string paragraph;
};

// The forms of the command after "probex-calc ", one per way to call it.
std::vector<std::string> UsageForms();
// What a command computes, and what its FUNCTION and FIELDs are: the
// paragraphs before the list of functions, and those after it.
std::vector<std::string> DescriptionParagraphs();
std::vector<std::string> FieldParagraphs();
// Every option, the table options of --table and --critical among them.
std::vector<OptionHelp> OptionHelps();
std::vector<StatusHelp> StatusHelps();

// The columns a UTF-8 text takes on a terminal: one per character.
size_t Columns(std::string_view text);

// `text` broken into lines at blanks so that none passes `width` columns
// (a longer word stands alone), the first line after `first`, each further
// one after `indent` blanks.  Every line ends in a line end.
std::string Wrapped(const std::string& text, const std::string& first, size_t indent, size_t width);

// The text of probex-calc --help, and of probex-calc --table --help (the
// table options alone).
std::string HelpText();
std::string TableHelpText();

}  // namespace cli
