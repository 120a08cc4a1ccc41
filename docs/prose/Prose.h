// The prose about the functions, written from their table (calculator/
// Functions.h) into templates: the completion's function names, the manual
// pages' table and sentence, the AppStream description's list and the help
// file's tables and sections.
//
// A template is a text with placeholders {{name}} or {{name:argument}}.  Each
// expands to a text of the table, escaped for the template's format; a
// placeholder that expands to several lines starts each further line with the
// blanks that stand before it on its line, and a list of words that
// continues on a further line starts it at the placeholder's column.  An
// unknown placeholder is an error, so that a misspelt one fails the build.
#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

namespace prose {

// What the template is written in, by its name without ".in": a shell script
// (".bash", nothing escaped), scdoc's markup (".scd") or HTML and XML
// (".html", ".xml").
enum class Format { Text, Scd, Markup };
Format FormatOf(std::string_view templateName);

// A fault of a template or a fragment.
struct ProseError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Where a placeholder stands: its column, and the blanks that stand before
// it where nothing else does (else empty).
struct Site {
  size_t column;
  std::string indent;
};

using Placeholder = std::function<std::string(std::string_view argument, const Site& site)>;
using Placeholders = std::map<std::string, Placeholder, std::less<>>;

// `text` escaped for the format.
std::string Escaped(std::string_view text, Format format);

// A caption split at its access key (the character after its "&"; "&&"
// stands for one "&"): the text before the key, the key, the text after it.
struct AccessKeyed {
  std::string before;
  char key;  // '\0': the caption has none (before is the whole caption)
  std::string after;
};
AccessKeyed SplitAtAccessKey(std::string_view caption);
// The key as the keyboard names it: "Y" for "y".
char KeyName(char key);

// The placeholders of the table, for a template of the format:
//   function-count         "nine"
//   inverse-count          "four", the functions with an inverse
//   count:FAMILY           the functions of the family (continuous,
//                          discrete, counting)
//   function-names         "Normal, Chi Square, ..., binomial coefficient"
//   names:FAMILY           "Normal, Chi Square, t, F"
//   bold-names:FAMILY      "<b>Normal</b>, ... and <b>F</b>" (markup)
//   command-names          "normal chisquare ...", wrapped before column 80
//   inverse-command-names  "normal, chisquare, t and f"
//   inverse-defaults       "0.975 (Normal and t) or 0.95 (Chi Square and F)"
//   access-keys            "Alt+N, Alt+C, ..."
//   function-table         the rows of a table of names and fields (scd)
//   family-list            one <li> line per family (markup)
// and, for scdoc, probex-calc's help (cli/HelpText.h) as its manual page
// writes it, the options in bold and the values they take underlined:
//   calc-synopsis          one line per form of the command
//   calc-description       what a command computes
//   calc-fields            what its FIELDs are
//   calc-options           each option's term and its paragraph
//   calc-exit-status       each exit status and its paragraph
Placeholders TablePlaceholders(Format format);
Placeholders CalcPagePlaceholders();

// `text` with every placeholder expanded.
std::string Expand(std::string_view text, const Placeholders& placeholders);

// The help file: the skeleton with the function sections assembled from the
// fragments in `fragmentFolder` (one per function, NAME.html by its command
// name), and every <h2> numbered in order, every <h3> with an anchor
// within its <h2> ("5.2"), and listed where {{contents}} stands.  Beside the
// table's placeholders:
//   function-sections  each function's heading, fragment and back link
//   buttons            the rows of the table of function buttons
//   fields             the rows of the table of fields and valid values
//   contents           the rows of the contents
std::string HelpFile(std::string_view skeleton, const std::string& fragmentFolder);

}  // namespace prose
