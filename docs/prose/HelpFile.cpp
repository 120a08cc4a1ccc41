// The help file: the skeleton, one section per function from its fragment,
// the tables of buttons and fields from the table, and the numbers.
//
// A fragment (window/help/functions/NAME.html) is the body of its function's
// section: what stands between the heading, which the assembler writes from
// the title, and the link back to the contents.  It opens with a comment of
// "key: value" lines and nothing else:
//   computes: the button table's line for the function (required)
//   anchor: the section's anchor (the command name when not given)
//   note CAPTION: a note on the field's valid values, in parentheses after
//     its rule in the table of fields
#include <cctype>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <vector>

#include "calculator/Calculator.h"
#include "calculator/Functions.h"
#include "docs/prose/Prose.h"

namespace prose {

namespace {

using calculator::FieldAbout;
using calculator::FunctionAbout;
using calculator::Functions;
using calculator::Mode;

struct Fragment {
  std::string anchor;
  std::string computes;
  std::map<std::string, std::string> notes;  // by field caption
  std::string body;
};

std::string Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\n");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t\n") - first + 1));
}

Fragment ReadFragment(const FunctionAbout& about, const std::string& folder) {
  const std::string path = folder + "/" + about.commandName + ".html";
  std::ifstream in(path);
  std::stringstream content;
  content << in.rdbuf();
  const std::string text = content.str();
  if (!in || text.empty()) throw ProseError("no help fragment " + path);
  const size_t open = text.find_first_not_of(" \t\n");
  const size_t close = text.find("-->", open);
  if (open == std::string::npos || text.compare(open, 4, "<!--") != 0 || close == std::string::npos)
    throw ProseError(path + ": no comment of keys at the start");

  Fragment fragment{about.commandName, {}, {}, Trimmed(text.substr(close + 3)) + "\n"};
  std::istringstream header(text.substr(open + 4, close - open - 4));
  for (std::string line; std::getline(header, line);) {
    line = Trimmed(line);
    if (line.empty()) continue;
    const size_t colon = line.find(": ");
    const std::string key = line.substr(0, colon);
    const std::string value = colon == std::string::npos ? "" : Trimmed(line.substr(colon + 2));
    if (value.empty()) throw ProseError(path + ": not a key and its value: " + line);
    if (key == "anchor") {
      fragment.anchor = value;
    } else if (key == "computes") {
      fragment.computes = value;
    } else if (key.starts_with("note ")) {
      const std::string caption = key.substr(5);
      bool known = false;
      for (const FieldAbout& field : about.fields) known = known || caption == field.caption;
      if (!known) throw ProseError(path + ": no field " + caption);
      fragment.notes[caption] = value;
    } else {
      throw ProseError(path + ": unknown key " + key);
    }
  }
  if (fragment.computes.empty()) throw ProseError(path + ": no \"computes:\" line");
  return fragment;
}

std::string Markup(std::string_view text) {
  return Escaped(text, Format::Markup);
}

std::string Heading(const std::string& anchor, const std::string& title) {
  return "<h2><a name=\"" + anchor + "\" id=\"" + anchor + "\"></a>" + title + "</h2>";
}

// A section whose anchor is not the command name has that one too: F1 in
// the window opens the help at the chosen function's command name.
std::string Section(const FunctionAbout& about, const Fragment& fragment) {
  std::string heading = Heading(fragment.anchor, Markup(about.title));
  if (fragment.anchor != about.commandName)
    heading = std::string("<a name=\"") + about.commandName + "\"></a>" + heading;
  return "<!-- ============================================================ -->\n" + heading +
         "\n" + fragment.body + "<p class=\"back\"><a href=\"#Contents\">Back to Contents</a></p>";
}

// The caption with its access key underlined, the key, and what it computes.
std::string ButtonRow(const FunctionAbout& about, const Fragment& fragment) {
  const AccessKeyed caption = SplitAtAccessKey(about.caption);
  if (caption.key == '\0')  // found by typing its name (Ctrl+F)
    return "<tr><td>" + Markup(caption.before) + "</td><td>Ctrl+F, " + Markup(about.commandName) +
           "</td><td>" + fragment.computes + "</td></tr>";
  return "<tr><td>" + Markup(caption.before) + "<u>" + Markup({&caption.key, 1}) + "</u>" +
         Markup(caption.after) + "</td><td>Alt+" + KeyName(caption.key) + "</td><td>" +
         fragment.computes + "</td></tr>";
}

// The rule of a percentile, as the fields' reading answers for a text that
// breaks it.
std::string PercentileRule(const FieldAbout& field) {
  long double value = 0;
  const char* rule = calculator::ReadField(field, "", Mode::Inverse, value);
  if (rule == nullptr) throw ProseError("an empty percentile keeps its rule");
  return rule;
}

// One row per field: its caption and default (a percentile's too), its rule
// (for the first field the function's rule where the fields together have
// one) and the fragment's note; the first row names the function.
std::string FieldRows(const FunctionAbout& about, const Fragment& fragment) {
  std::string rows;
  bool first = true;
  for (const FieldAbout& field : about.fields) {
    std::string label = Markup(field.caption) + " (" + Markup(field.defaultText) + ")";
    std::string rule = Markup(field.slot == about.together.slot && about.together.rule != nullptr
                                  ? about.together.rule
                                  : field.rule);
    if (calculator::ReadsPercentile(about, field, Mode::Inverse)) {
      label += " / " + Markup(calculator::FieldCaption(about, field, Mode::Inverse)) + " (" +
               Markup(calculator::FieldDefault(about, field, Mode::Inverse)) + ")";
      rule = "x: " + rule + "; percentile: " + Markup(PercentileRule(field));
    }
    if (const auto note = fragment.notes.find(field.caption); note != fragment.notes.end())
      rule += " (" + note->second + ")";
    rows += first ? "<tr>" : "\n<tr>";
    if (first) {
      first = false;
      const std::string span =
          about.fields.size() > 1 ? " rowspan=\"" + std::to_string(about.fields.size()) + "\"" : "";
      rows += "<td" + span + "><a href=\"#" + fragment.anchor + "\">" + Markup(about.title) +
              "</a></td>";
    }
    rows += "<td>" + label + "</td><td>" + rule + "</td></tr>";
  }
  return rows;
}

std::string SubHeading(const std::string& anchor, const std::string& title) {
  return "<h3><a name=\"" + anchor + "\" id=\"" + anchor + "\"></a>" + title + "</h3>";
}

// Numbers every <h2> in order, and every <h3> with an anchor within its
// <h2> ("5.2"), and writes the contents of both where {{contents}} stands,
// the topics of a section indented below it.
std::string Numbered(const std::string& text) {
  static const std::regex kHeading(R"re(<h([23])><a name="([^"]+)" id="\2"></a>([^<]*)</h\1>)re");
  std::string numbered, contents;
  int number = 0, topic = 0;
  auto from = text.cbegin();
  for (std::sregex_iterator h(text.begin(), text.end(), kHeading), end; h != end; ++h) {
    const bool section = (*h)[1] == "2";
    const std::string anchor = (*h)[2], title = (*h)[3];
    if (!section && number == 0)
      throw ProseError("a topic <h3> before the first section: " + title);
    topic = section ? 0 : topic + 1;
    number += section;
    const std::string n = std::to_string(number) + "." + (section ? "" : std::to_string(topic));
    numbered.append(from, (*h)[0].first);
    numbered += section ? Heading(anchor, n + " " + title) : SubHeading(anchor, n + " " + title);
    from = (*h)[0].second;
    const std::string indent = section ? "" : "&nbsp;&nbsp;&nbsp;&nbsp;";
    contents += (contents.empty() ? "" : "\n") + std::string("<tr><td>") + n + "</td><td>" +
                indent + "<a href=\"#" + anchor + "\">" + title + "</a></td></tr>";
  }
  numbered.append(from, text.cend());
  size_t headings = 0;
  for (size_t at = numbered.find("<h2"); at != std::string::npos; at = numbered.find("<h2", at + 1))
    ++headings;
  if (headings != static_cast<size_t>(number))
    throw ProseError("a heading <h2> that is not <h2><a name=\"X\" id=\"X\"></a>Title</h2>");
  const size_t place = numbered.find("{{contents}}");
  if (place == std::string::npos) throw ProseError("no {{contents}} in the skeleton");
  return numbered.replace(place, std::string_view("{{contents}}").size(), contents);
}

}  // namespace

std::string HelpFile(std::string_view skeleton, const std::string& fragmentFolder) {
  std::vector<Fragment> fragments;
  for (const FunctionAbout& about : Functions())
    fragments.push_back(ReadFragment(about, fragmentFolder));
  const auto each = [&fragments](std::string (*part)(const FunctionAbout&, const Fragment&),
                                 std::string_view separator) {
    std::string text;
    for (size_t i = 0; i < fragments.size(); ++i)
      text += (i > 0 ? std::string(separator) : "") + part(Functions()[i], fragments[i]);
    return text;
  };

  Placeholders placeholders = TablePlaceholders(Format::Markup);
  placeholders["function-sections"] = [&](std::string_view, const Site&) {
    return each(Section, "\n\n");
  };
  placeholders["buttons"] = [&](std::string_view, const Site&) { return each(ButtonRow, "\n"); };
  placeholders["fields"] = [&](std::string_view, const Site&) { return each(FieldRows, "\n"); };
  // Listed once every heading is in place and numbered.
  placeholders["contents"] = [](std::string_view, const Site&) {
    return std::string("{{contents}}");
  };
  return Numbered(Expand(skeleton, placeholders));
}

}  // namespace prose
