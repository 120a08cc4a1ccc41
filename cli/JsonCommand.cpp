#include "cli/JsonCommand.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "calculator/Overloaded.h"
#include "calculator/ResultDetails.h"
#include "cli/JsonNumber.h"

namespace cli {

namespace {

using models::Value;

// The text of one JSON object, built key by key into one string.  Strings
// go through nlohmann::json for their escapes (bytes that are not UTF-8
// become U+FFFD); numbers are written here from the extended value, never
// through a double.
class JsonWriter {
 public:
  // Room for a typical object, so that it is built without reallocations.
  static constexpr size_t kTypicalSize = 768;

  JsonWriter() : text_("{") { text_.reserve(kTypicalSize); }

  void String(const char* key, const std::string& value) { Key(key), AppendQuoted(value); }
  void Bool(const char* key, bool value) { Key(key), text_ += value ? "true" : "false"; }
  void Integer(const char* key, long long value) { Key(key), text_ += std::to_string(value); }
  void Number(const char* key, long double value) { Key(key), AppendJsonNumber(text_, value); }
  void Null(const char* key) { Key(key), text_ += "null"; }
  void EmptyList(const char* key) { Key(key), text_ += "[]"; }
  // "key":[a,b] of two strings or two numbers.
  void Strings(const char* key, const std::string& a, const std::string& b) {
    Key(key), text_ += '[', AppendQuoted(a), text_ += ',', AppendQuoted(b), text_ += ']';
  }
  void Numbers(const char* key, long double a, long double b) {
    Key(key), text_ += '[', AppendJsonNumber(text_, a), text_ += ',';
    AppendJsonNumber(text_, b), text_ += ']';
  }
  // "key":{ ... }: the members written between Open and Close.
  void Open(const char* key) { Key(key), text_ += '{', first_ = true; }
  void Close() { text_ += '}'; }
  // A value of the engine: its number, or null with its note kept for "notes".
  void Detail(const char* key, const Value& value) {
    if (value.value) return Number(key, *value.value);
    Null(key);
    notes_.push_back(std::string(key) + ": " + value.note);
  }
  void Note(std::string note) { notes_.push_back(std::move(note)); }

  std::string Finish() {
    if (!notes_.empty()) {
      Key("notes"), text_ += '[';
      for (size_t i = 0; i < notes_.size(); ++i) {
        if (i > 0) text_ += ',';
        AppendQuoted(notes_[i]);
      }
      text_ += ']';
    }
    text_ += '}';
    return std::move(text_);
  }

 private:
  // Keys are our own ASCII names: no escapes needed.
  void Key(const char* key) {
    if (first_)
      text_ += '"';
    else
      text_.append(",\"", 2);
    first_ = false;
    text_.append(key);
    text_.append("\":", 2);
  }

  // Printable ASCII is quoted here; any other text (control characters,
  // UTF-8, bytes that are not UTF-8) goes through nlohmann::json.
  void AppendQuoted(const std::string& s) {
    // One pass without an early exit, which the compiler can vectorise.
    bool escapes = false;
    for (const char c : s) {
      const auto u = static_cast<unsigned char>(c);
      escapes |= (u < ' ') | (u > '~') | (u == '"') | (u == '\\');
    }
    if (escapes) {
      text_ += nlohmann::json(s).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
      return;
    }
    text_ += '"';
    text_ += s;
    text_ += '"';
  }

  std::string text_;
  bool first_ = true;
  std::vector<std::string> notes_;
};

void WriteParameters(JsonWriter& w, const std::vector<calculator::Parameter>& parameters) {
  w.Open("parameters");
  for (const auto& parameter : parameters) {
    if (parameter.whole)
      w.Integer(parameter.name.c_str(), static_cast<long long>(parameter.value));
    else
      w.Number(parameter.name.c_str(), parameter.value);
  }
  w.Close();
}

void WriteCentral(JsonWriter& w, const models::ContinuousInverse& i) {
  if (i.centralLow.value && i.centralHigh.value) {
    w.Numbers("central", *i.centralLow.value, *i.centralHigh.value);
  } else {
    w.Null("central");
    w.Note("central: " + (i.centralLow.value ? i.centralHigh.note : i.centralLow.note));
  }
}

void WriteValues(JsonWriter& w, const calculator::DetailValues& values) {
  std::visit(calculator::Overloaded{
                 [](std::monostate) {},
                 [&](const models::ContinuousForward& f) {
                   w.Number("x", f.x);
                   w.Detail("lower", f.lower);
                   w.Detail("upper", f.upper);
                   w.Detail("density", f.density);
                   w.Detail("two_tailed", f.twoTailed);
                 },
                 [&](const models::ContinuousInverse& i) {
                   w.Number("p", i.p);
                   w.Detail("x_lower", i.xLower);
                   w.Detail("x_upper", i.xUpper);
                   WriteCentral(w, i);
                 },
                 [&](const models::DiscreteForward& d) {
                   w.Number("x", d.x);
                   w.Detail("below", d.below);
                   w.Detail("at_most", d.atMost);
                   w.Detail("point", d.point);
                   w.Detail("at_least", d.atLeast);
                   w.Detail("above", d.above);
                 },
                 [&](const models::DiscreteInverse& q) {
                   w.Number("p", q.p);
                   w.Detail("quantile", q.quantile);
                 },
                 [&](const models::IntervalValues& v) {
                   w.Number("a", v.a);
                   w.Number("b", v.b);
                   w.Detail("between", v.between);
                   w.Detail("outside", v.outside);
                 },
                 [&](const models::Counting& c) {
                   if (c.exact) {
                     w.String("exact", *c.exact);
                   } else {
                     w.Null("exact");
                     w.Note("exact: " + c.note);
                   }
                   w.Detail("log10", c.log10);
                 }},
             values);
}

void WriteDetails(JsonWriter& w, const calculator::ResultDetails& d) {
  WriteValues(w, d.values);
  if (d.mean) w.Detail("mean", *d.mean);
  if (d.variance) w.Detail("variance", *d.variance);
  for (const std::string& remark : d.remarks) w.Note(remark);
}

void WriteInvalid(JsonWriter& w, const calculator::FieldFault& focus) {
  w.String("status", "invalid");
  w.String("field", "Edit_" + std::to_string(focus.index + 1));
  w.String("rule", focus.rule);
}

// The discrete quantile: the fields checked with the x-value as a percentile.
JsonAnswer RunQuantile(JsonWriter& w, const Command& c) {
  const calculator::ParsedInput input =
      calculator::ReadInput(c.function, c.texts, calculator::Mode::Inverse, c.readings);
  if (!input.faults.empty()) {
    WriteInvalid(w, input.faults.back());
    return {w.Finish(), kExitInvalidField};
  }
  w.String("status", "ok");
  WriteParameters(w, input.parameters);
  w.EmptyList("lines");
  WriteDetails(w, calculator::QuantileDetails(c.function, input.arguments));
  return {w.Finish(), 0};
}

}  // namespace

JsonAnswer RunJson(const std::vector<std::string>& words) {
  JsonWriter w;
  const ParsedCommand parsed = ParseCommand(words, true);
  if (!parsed.command) {
    w.String("status", "usage");
    w.String("message", parsed.usage);
    return {w.Finish(), kExitUsage};
  }
  const Command& c = *parsed.command;
  const calculator::FunctionAbout& about = calculator::AboutFunction(c.function);
  w.String("function", about.commandName);
  w.Bool("inverse", c.Inverse());
  try {
    // A discrete quantile answers with the engine's value only, as it always has.
    if (about.family == calculator::Family::Discrete && c.mode == calculator::Mode::Inverse)
      return RunQuantile(w, c);
  } catch (const std::runtime_error& error) {  // a field past the extended range
    w.String("status", "error");
    w.String("message", calculator::ErrorBoxText(error.what()));
    return {w.Finish(), kExitRunTimeError};
  }
  const calculator::Result result = calculator::Compute(c.function, c.texts, c.mode, c.readings);
  switch (result.outcome) {
    case calculator::Outcome::Invalid:
      WriteInvalid(w, result.faults.back());
      return {w.Finish(), kExitInvalidField};
    case calculator::Outcome::Error:
      w.String("status", "error");
      w.String("message", calculator::ErrorBoxText(result.message));
      // The engine's values where the log's arithmetic failed.
      if (!result.parameters.empty()) {
        WriteParameters(w, result.parameters);
        WriteDetails(w, calculator::DetailsOfError(result));
      }
      return {w.Finish(), kExitRunTimeError};
    case calculator::Outcome::Ok:
      break;
  }
  w.String("status", "ok");
  WriteParameters(w, result.parameters);
  w.Strings("lines", result.lines[0], result.lines[1]);
  WriteDetails(w, calculator::DetailsOf(result));
  return {w.Finish(), 0};
}

}  // namespace cli
