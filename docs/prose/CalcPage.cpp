// The manual page of probex-calc from its help (cli/HelpText.h): the same
// forms, paragraphs, options and exit statuses as --help, in scdoc's markup.
#include <cctype>

#include "cli/HelpText.h"
#include "docs/prose/Prose.h"

namespace prose {

namespace {

bool OptionChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '-';
}

// Where an option's name starts: "--" and a letter, at the start of a word.
bool OptionAt(std::string_view text, size_t at) {
  return text.substr(at, 2) == "--" && at + 2 < text.size() &&
         std::isalpha(static_cast<unsigned char>(text[at + 2])) &&
         (at == 0 || !OptionChar(text[at - 1]));
}

// `text` escaped for scdoc, every option's name in bold.
std::string ScdProse(std::string_view text) {
  std::string out;
  for (size_t at = 0; at < text.size();) {
    if (!OptionAt(text, at)) {
      out += Escaped(text.substr(at++, 1), Format::Scd);
      continue;
    }
    size_t end = at;
    while (end < text.size() && OptionChar(text[end])) ++end;
    out += "*" + std::string(text.substr(at, end - at)) + "*";
    at = end;
  }
  return out;
}

// A form of the command or an option's term: the options in bold, the words
// that stand for values (FUNCTION, FIELD, FILE, WxH) underlined, the
// brackets, bars and dots as they are.
std::string ScdTerm(std::string_view term) {
  std::string out;
  for (size_t at = 0; at < term.size();) {
    const char c = term[at];
    if (!std::isalnum(static_cast<unsigned char>(c)) && !OptionAt(term, at)) {
      out += c;
      ++at;
      continue;
    }
    size_t end = at;
    while (end < term.size() && OptionChar(term[end])) ++end;
    const std::string_view word = term.substr(at, end - at);
    out += word.starts_with("--") ? "*" + std::string(word) + "*"
                                  : "_" + Escaped(word, Format::Scd) + "_";
    at = end;
  }
  return out;
}

// Paragraphs separated by an empty line, each further line after the
// placeholder's blanks.
std::string Paragraphs(const std::vector<std::string>& paragraphs, const Site& site) {
  std::string text;
  for (const std::string& paragraph : paragraphs)
    text += (text.empty() ? "" : "\n\n" + site.indent) + ScdProse(paragraph);
  return text;
}

// scdoc's list of terms, each followed by its paragraph indented by a TAB.
std::string Terms(const std::vector<std::pair<std::string, std::string>>& terms, const Site& site) {
  std::string text;
  for (const auto& [term, paragraph] : terms)
    text += (text.empty() ? "" : "\n\n" + site.indent) + term + "\n" + site.indent + "\t" +
            ScdProse(paragraph);
  return text;
}

}  // namespace

Placeholders CalcPagePlaceholders() {
  return {
      {"calc-synopsis",
       [](std::string_view, const Site& site) {
         std::string text;
         for (const std::string& form : cli::UsageForms())
           text += (text.empty() ? "" : "\n\n" + site.indent) + "*probex-calc* " + ScdTerm(form);
         return text;
       }},
      {"calc-description",
       [](std::string_view, const Site& site) {
         return Paragraphs(cli::DescriptionParagraphs(), site);
       }},
      {"calc-fields",
       [](std::string_view, const Site& site) { return Paragraphs(cli::FieldParagraphs(), site); }},
      {"calc-options",
       [](std::string_view, const Site& site) {
         std::vector<std::pair<std::string, std::string>> terms;
         for (const cli::OptionHelp& option : cli::OptionHelps())
           terms.emplace_back(ScdTerm(option.term), option.paragraph);
         return Terms(terms, site);
       }},
      {"calc-exit-status",
       [](std::string_view, const Site& site) {
         std::vector<std::pair<std::string, std::string>> terms;
         for (const cli::StatusHelp& status : cli::StatusHelps())
           terms.emplace_back("*" + std::to_string(status.status) + "*", status.paragraph);
         return Terms(terms, site);
       }},
  };
}

}  // namespace prose
