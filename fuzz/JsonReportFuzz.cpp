// probex-calc --json on any command: the first line of the input is split
// by cli::SplitBatchLine as --json --batch splits it, and run by cli::RunJson.
// The JSON text is read back with a parser whose numbers are extended reals,
// and compared with the report it came from.  No crash, and
//  - the answer is one line holding one JSON object, with a "status" that
//    agrees with the exit status and with the plain command's outcome (cli::
//    Run): the same invalid field, the same two log lines;
//  - the parameters read back equal the parsed fields, and every value read
//    back equals the details engine's value to within the 17 digits written
//    (kDigitsTolerance); a value is null exactly when the engine gives none,
//    and then a note names it;
//  - an exact integer is a plain decimal whose digit count agrees with log10.
//
// Guard against slow inputs: field words are cut to kMaxFieldBytes bytes, as
// in batch_line.
#include <cmath>
#include <cstdint>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calculator/ResultDetails.h"
#include "cli/Command.h"
#include "cli/JsonCommand.h"
#include "fuzz/FuzzCheck.h"

namespace {

// JSON whose numbers are read by strtold, so that 17 digits and values below
// double's range read back whole.
using ExtendedJson = nlohmann::basic_json<std::map, std::vector, std::string, bool, std::int64_t,
                                          std::uint64_t, long double>;

constexpr size_t kMaxFieldBytes = 6;
// 17 significant digits: a relative error of at most half a unit of the 17th
// digit (5e-17), with room for the few roundings of the number writer.
constexpr long double kDigitsTolerance = 2e-16L;

bool Near(long double read, long double value) {
  if (read == value) return true;
  return std::fabs(read - value) <= kDigitsTolerance * std::fabs(value);
}

// The engine's values of a report, by their JSON keys.
std::vector<std::pair<const char*, models::Value>> Keyed(const calculator::ResultDetails& d) {
  std::vector<std::pair<const char*, models::Value>> keyed;
  if (const auto* f = std::get_if<models::ContinuousForward>(&d.values))
    keyed = {{"lower", f->lower},
             {"upper", f->upper},
             {"density", f->density},
             {"two_tailed", f->twoTailed}};
  else if (const auto* i = std::get_if<models::ContinuousInverse>(&d.values))
    keyed = {{"x_lower", i->xLower}, {"x_upper", i->xUpper}};
  else if (const auto* k = std::get_if<models::DiscreteForward>(&d.values))
    keyed = {{"below", k->below},
             {"at_most", k->atMost},
             {"point", k->point},
             {"at_least", k->atLeast},
             {"above", k->above}};
  else if (const auto* q = std::get_if<models::DiscreteInverse>(&d.values))
    keyed = {{"quantile", q->quantile}};
  else if (const auto* c = std::get_if<models::Counting>(&d.values))
    keyed = {{"log10", c->log10}};
  if (d.mean) keyed.emplace_back("mean", *d.mean);
  if (d.variance) keyed.emplace_back("variance", *d.variance);
  return keyed;
}

bool HasNote(const ExtendedJson& json, const std::string& key) {
  if (!json.contains("notes")) return false;
  for (const auto& note : json["notes"])
    if (note.get<std::string>().rfind(key + ": ", 0) == 0) return true;
  return false;
}

void CheckValues(const ExtendedJson& json, const calculator::ResultDetails& d) {
  for (const auto& [key, value] : Keyed(d)) {
    FUZZ_CHECK(json.contains(key), "no \"%s\"", key);
    if (!value.value) {
      FUZZ_CHECK(json[key].is_null() && HasNote(json, key), "\"%s\": no null with a note", key);
      continue;
    }
    FUZZ_CHECK(json[key].is_number(), "\"%s\" is not a number", key);
    const long double read = json[key].get<long double>();
    FUZZ_CHECK(Near(read, *value.value), "\"%s\": %.21Lg read back as %.21Lg", key, *value.value,
               read);
  }
  if (const auto* c = std::get_if<models::Counting>(&d.values); c && c->exact) {
    const std::string exact = json["exact"].get<std::string>();
    FUZZ_CHECK(exact == *c->exact && !exact.empty() &&
                   exact.find_first_not_of("0123456789") == std::string::npos &&
                   (exact == "0" || exact[0] != '0'),
               "exact \"%s\"", exact.c_str());
    if (c->log10.value) {
      const long double digits = static_cast<long double>(exact.size());
      FUZZ_CHECK(*c->log10.value >= digits - 1 - 1e-12L && *c->log10.value < digits,
                 "log10 %Lg for %zu digits", *c->log10.value, exact.size());
    }
  }
}

void CheckParameters(const ExtendedJson& json, const std::vector<calculator::Parameter>& params) {
  FUZZ_CHECK(json["parameters"].size() == params.size(), "parameters differ in number");
  for (const calculator::Parameter& p : params) {
    const auto& read = json["parameters"][p.name];
    FUZZ_CHECK(read.is_number(), "parameter %s missing", p.name.c_str());
    FUZZ_CHECK(Near(read.get<long double>(), p.value), "parameter %s: %.21Lg read back as %.21Lg",
               p.name.c_str(), p.value, read.get<long double>());
  }
}

// The discrete quantile, which the plain command does not have.
void CheckQuantile(const ExtendedJson& json, const cli::Command& c) {
  const calculator::ParsedInput input =
      calculator::ReadInput(c.function, c.texts, calculator::Mode::Inverse);
  if (!input.faults.empty()) {
    FUZZ_CHECK(json["status"] == "invalid", "a quantile with a fault is not invalid");
    return;
  }
  FUZZ_CHECK(json["status"] == "ok" && json["lines"].empty(), "a valid quantile is not ok");
  CheckParameters(json, input.parameters);
  CheckValues(json, calculator::QuantileDetails(c.function, input.arguments));
}

void CheckReport(const ExtendedJson& json, const std::vector<std::string>& words,
                 const cli::Command& c) {
  const cli::Outcome plain = cli::Run(words);
  switch (plain.kind) {
    case cli::Outcome::Kind::Lines:
      FUZZ_CHECK(json["status"] == "ok", "the plain command gave lines");
      FUZZ_CHECK(json["lines"].size() == 2 && json["lines"][0] == plain.lines[0] &&
                     json["lines"][1] == plain.lines[1],
                 "the lines differ from the plain command's");
      break;
    case cli::Outcome::Kind::InvalidField:
      FUZZ_CHECK(json["status"] == "invalid" && json["field"] == plain.message,
                 "not the plain command's invalid field %s", plain.message.c_str());
      return;
    case cli::Outcome::Kind::RunTimeError: {
      FUZZ_CHECK(json["status"] == "error", "the plain command gave an error");
      // The engine's values where the log's arithmetic failed, if the fields
      // were read.
      const calculator::Result failed = calculator::Compute(c.function, c.texts, c.mode);
      if (failed.parameters.empty()) return;
      CheckParameters(json, failed.parameters);
      CheckValues(json, calculator::DetailsOfError(failed));
      return;
    }
    case cli::Outcome::Kind::Usage:
      FUZZ_CHECK(false, "a usage fault with a command");
  }
  const calculator::Result result = calculator::Compute(c.function, c.texts, c.mode);
  CheckParameters(json, result.parameters);
  CheckValues(json, calculator::DetailsOf(result));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> words = cli::SplitBatchLine(input.substr(0, input.find('\n')));
  const size_t firstField = !words.empty() && words[0] == "--inverse" ? 2 : 1;
  for (size_t i = firstField; i < words.size(); ++i)
    if (words[i].size() > kMaxFieldBytes) words[i].resize(kMaxFieldBytes);

  const cli::JsonAnswer answer = cli::RunJson(words);
  FUZZ_CHECK(answer.json.find('\n') == std::string::npos, "the answer is not one line");
  const ExtendedJson json = ExtendedJson::parse(answer.json, nullptr, false);
  FUZZ_CHECK(json.is_object(), "not a JSON object: %s", answer.json.c_str());
  const std::map<std::string, int> exits{{"ok", 0},
                                         {"error", cli::kExitRunTimeError},
                                         {"invalid", cli::kExitInvalidField},
                                         {"usage", cli::kExitUsage}};
  FUZZ_CHECK(json.contains("status") && exits.count(json["status"].get<std::string>()) &&
                 exits.at(json["status"].get<std::string>()) == answer.exitStatus,
             "status and exit %d disagree: %s", answer.exitStatus, answer.json.c_str());

  const cli::ParsedCommand parsed = cli::ParseCommand(words, true);
  FUZZ_CHECK((json["status"] == "usage") == !parsed.command, "usage: %s", answer.json.c_str());
  if (!parsed.command) return 0;
  const cli::Command& c = *parsed.command;
  if (c.Inverse() && !calculator::AboutFunction(c.function).HasInverse())
    CheckQuantile(json, c);
  else
    CheckReport(json, words, c);
  return 0;
}
