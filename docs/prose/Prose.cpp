// The placeholders of the table and their expansion.
#include "docs/prose/Prose.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

#include "calculator/Functions.h"
#include "cli/Command.h"

namespace prose {

namespace {

using calculator::Family;
using calculator::FunctionAbout;
using calculator::Functions;

// Words are wrapped so that no line passes this column.
constexpr size_t kLineWidth = 80;

std::string NumberWord(size_t n) {
  static const char* const kWords[] = {"no",    "one",   "two",  "three", "four",   "five",  "six",
                                       "seven", "eight", "nine", "ten",   "eleven", "twelve"};
  return n < std::size(kWords) ? kWords[n] : std::to_string(n);
}

// "a, b and c" with lastSeparator " and ", "a, b, c" with ", ".
std::string Joined(const std::vector<std::string>& items, std::string_view lastSeparator) {
  std::string text;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += i + 1 == items.size() ? lastSeparator : ", ";
    text += items[i];
  }
  return text;
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// How sentences name a function: a distribution by its title without
// " Distribution" ("Chi Square"), a counting function by its noun without
// "the " ("binomial coefficient").
std::string ShortName(const FunctionAbout& about) {
  std::string_view name = about.noun != nullptr ? about.noun : about.title;
  if (name.starts_with("the ")) name.remove_prefix(4);
  if (EndsWith(name, " Distribution")) name.remove_suffix(std::string_view(" Distribution").size());
  return std::string(name);
}

Family FamilyNamed(std::string_view name) {
  if (name == "continuous") return Family::Continuous;
  if (name == "discrete") return Family::Discrete;
  if (name == "counting") return Family::Counting;
  throw ProseError("no family \"" + std::string(name) + "\"");
}

// The short names of the functions that `keep` keeps, escaped.
template <class Keep>
std::vector<std::string> Names(Format format, Keep keep) {
  std::vector<std::string> names;
  for (const FunctionAbout& about : Functions())
    if (keep(about)) names.push_back(Escaped(ShortName(about), format));
  return names;
}

// What a family's functions answer, after their names in the list of families.
std::string FamilyAnswers(Family family, bool inverse) {
  switch (family) {
    case Family::Continuous:
      return inverse ? ": the tails at an x-value, or the x-value of a percentile"
                     : ": the tails at an x-value";
    case Family::Discrete:
      return ": the tails and the point probability";
    case Family::Counting:
      return "";
  }
  return "";
}

// One line per family, the continuous ones with an inverse apart from those
// without, in the order of the table.
std::string FamilyList(const Site& site) {
  std::vector<std::pair<Family, bool>> groups;
  for (const FunctionAbout& about : Functions()) {
    const std::pair group{about.family, about.HasInverse()};
    if (std::find(groups.begin(), groups.end(), group) == groups.end()) groups.push_back(group);
  }
  std::string text;
  for (const auto& [family, inverse] : groups) {
    std::string line =
        Joined(Names(Format::Markup,
                     [&](const FunctionAbout& about) {
                       return about.family == family && about.HasInverse() == inverse;
                     }),
               " and ") +
        FamilyAnswers(family, inverse);
    line[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(line[0])));
    text += (text.empty() ? "" : "\n" + site.indent) + "<li>" + line + "</li>";
  }
  return text;
}

// The percentiles the inverses start with, each with the functions that
// start with it.
std::string InverseDefaults(Format format) {
  std::vector<std::string> defaults;
  for (const FunctionAbout& about : Functions())
    if (about.HasInverse() &&
        std::find(defaults.begin(), defaults.end(), about.inverseDefault) == defaults.end())
      defaults.push_back(about.inverseDefault);
  std::vector<std::string> items;
  for (const std::string& value : defaults)
    items.push_back(Escaped(value, format) + " (" +
                    Joined(Names(format,
                                 [&](const FunctionAbout& about) {
                                   return about.HasInverse() && value == about.inverseDefault;
                                 }),
                           " and ") +
                    ")");
  return Joined(items, " or ");
}

std::string AccessKeys() {
  std::vector<std::string> keys;
  for (const FunctionAbout& about : Functions())
    if (const char key = SplitAtAccessKey(about.caption).key)
      keys.push_back(std::string("Alt+") + KeyName(key));
  return Joined(keys, ", ");
}

// The command names, wrapped before kLineWidth, further lines starting at
// the placeholder's column.
std::string CommandNames(const Site& site) {
  std::string text;
  size_t column = site.column;
  for (const FunctionAbout& about : Functions()) {
    const std::string_view name = about.commandName;
    if (!text.empty()) {
      if (column + 1 + name.size() > kLineWidth) {
        text += "\n" + std::string(site.column, ' ');
        column = site.column;
      } else {
        text += ' ';
        ++column;
      }
    }
    text += name;
    column += name.size();
  }
  return text;
}

// scdoc's table rows: the command name, then its fields as --help words them.
std::string FunctionTable(const Site& site) {
  std::string text;
  for (const FunctionAbout& about : Functions())
    text += (text.empty() ? "" : "\n" + site.indent) + "|  " +
            Escaped(about.commandName, Format::Scd) + "\n" + site.indent + ":  " +
            Escaped(cli::FieldList(about), Format::Scd);
  return text;
}

void Require(Format format, Format wanted, std::string_view name) {
  if (format != wanted)
    throw ProseError("{{" + std::string(name) + "}} in a template of another format");
}

}  // namespace

Format FormatOf(std::string_view templateName) {
  if (EndsWith(templateName, ".in")) templateName.remove_suffix(3);
  if (EndsWith(templateName, ".bash")) return Format::Text;
  if (EndsWith(templateName, ".scd")) return Format::Scd;
  if (EndsWith(templateName, ".html") || EndsWith(templateName, ".xml")) return Format::Markup;
  throw ProseError("no format for the template " + std::string(templateName));
}

AccessKeyed SplitAtAccessKey(std::string_view caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return {cli::PlainCaption(caption.substr(0, i)), caption[i + 1],
            cli::PlainCaption(caption.substr(i + 2))};
  }
  return {cli::PlainCaption(caption), '\0', ""};  // no access key
}

char KeyName(char key) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
}

std::string Escaped(std::string_view text, Format format) {
  std::string escaped;
  for (char c : text) {
    if (format == Format::Scd && (c == '\\' || c == '*' || c == '_')) {
      escaped += '\\';
    } else if (format == Format::Markup) {
      const char* entity = c == '&'   ? "&amp;"
                           : c == '<' ? "&lt;"
                           : c == '>' ? "&gt;"
                           : c == '"' ? "&quot;"
                                      : nullptr;
      if (entity != nullptr) {
        escaped += entity;
        continue;
      }
    }
    escaped += c;
  }
  return escaped;
}

Placeholders TablePlaceholders(Format format) {
  const auto count = [](auto keep) {
    size_t n = 0;
    for (const FunctionAbout& about : Functions()) n += keep(about);
    return NumberWord(n);
  };
  const auto inFamily = [](std::string_view argument) {
    const Family family = FamilyNamed(argument);
    return [family](const FunctionAbout& about) { return about.family == family; };
  };
  Placeholders placeholders{
      {"function-count",
       [=](std::string_view, const Site&) { return count([](auto&) { return true; }); }},
      {"inverse-count",
       [=](std::string_view, const Site&) {
         return count([](const FunctionAbout& about) { return about.HasInverse(); });
       }},
      {"count:", [=](std::string_view family, const Site&) { return count(inFamily(family)); }},
      {"function-names",
       [=](std::string_view, const Site&) {
         return Joined(Names(format, [](auto&) { return true; }), ", ");
       }},
      {"names:", [=](std::string_view family,
                     const Site&) { return Joined(Names(format, inFamily(family)), ", "); }},
      {"bold-names:",
       [=](std::string_view family, const Site&) {
         Require(format, Format::Markup, "bold-names");
         std::vector<std::string> names = Names(format, inFamily(family));
         for (std::string& name : names) name = "<b>" + name + "</b>";
         return Joined(names, " and ");
       }},
      {"command-names", [](std::string_view, const Site& site) { return CommandNames(site); }},
      {"inverse-command-names",
       [=](std::string_view, const Site&) {
         return Escaped(cli::InverseFunctionNames(" and "), format);
       }},
      {"inverse-defaults", [=](std::string_view, const Site&) { return InverseDefaults(format); }},
      {"access-keys", [](std::string_view, const Site&) { return AccessKeys(); }},
      {"function-table",
       [=](std::string_view, const Site& site) {
         Require(format, Format::Scd, "function-table");
         return FunctionTable(site);
       }},
      {"family-list",
       [=](std::string_view, const Site& site) {
         Require(format, Format::Markup, "family-list");
         return FamilyList(site);
       }},
  };
  if (format == Format::Scd) placeholders.merge(CalcPagePlaceholders());
  return placeholders;
}

std::string Expand(std::string_view text, const Placeholders& placeholders) {
  std::string out;
  size_t lineStart = 0;  // in `out`
  for (size_t at = 0; at < text.size();) {
    const size_t open = text.find("{{", at);
    const size_t end = open == std::string_view::npos ? text.size() : open;
    for (size_t i = at; i < end; ++i) {
      out += text[i];
      if (text[i] == '\n') lineStart = out.size();
    }
    if (open == std::string_view::npos) break;
    const size_t close = text.find("}}", open);
    if (close == std::string_view::npos) throw ProseError("{{ without }}");
    const std::string_view inner = text.substr(open + 2, close - open - 2);
    const size_t colon = inner.find(':');
    // A placeholder with an argument is found by its name and the colon.
    const std::string_view name =
        inner.substr(0, colon == std::string_view::npos ? colon : colon + 1);
    const std::string_view argument =
        colon == std::string_view::npos ? std::string_view() : inner.substr(colon + 1);
    const auto placeholder = placeholders.find(name);
    if (placeholder == placeholders.end())
      throw ProseError("unknown placeholder {{" + std::string(inner) + "}}");
    const std::string before = out.substr(lineStart);
    const bool blanks = before.find_first_not_of(" \t") == std::string::npos;
    out += placeholder->second(argument, {before.size(), blanks ? before : std::string()});
    const size_t lastLine = out.rfind('\n');
    if (lastLine != std::string::npos && lastLine >= lineStart) lineStart = lastLine + 1;
    at = close + 2;
  }
  return out;
}

}  // namespace prose
