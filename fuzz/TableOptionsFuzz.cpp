// probex-calc's --table and --critical options on any words: the first byte
// chooses the option, the rest is one line split at TAB into the
// function, its fields and the options with their values (ranges and comma-
// separated lists).  No crash, and
//  - a command either gives a plan (exit 0, no fault text) or is refused with
//    exit 2 or 64 and a text of whole lines that names what is wrong;
//  - a plan has a title, at least one column, and at least one and at most
//    tables::kMaxRows rows;
//  - its first, middle and last rows have one cell per column, each a
//    non-empty text on one line without a TAB (a TAB-separated table stays
//    rectangular), and a row computed twice is the same row.
//
// Guard against slow inputs: every list entry and field word is cut to
// kMaxEntryBytes bytes (degrees of freedom up to 999999, where one cell takes
// milliseconds), and at most three rows of any table are computed.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/TableCommand.h"
#include "fuzz/FuzzCheck.h"

namespace {

constexpr size_t kMaxEntryBytes = 6;

// Each comma-separated entry of the word cut to kMaxEntryBytes.
std::string CutEntries(const std::string& word) {
  std::string cut;
  size_t length = 0;
  for (char c : word) {
    length = c == ',' ? 0 : length + 1;
    if (length <= kMaxEntryBytes) cut += c;
  }
  return cut;
}

bool OneLineCell(const std::string& text) {
  return !text.empty() && text.find_first_of("\t\r\n") == std::string::npos;
}

void CheckRow(const tables::Plan& plan, size_t index) {
  const tables::Row row = plan.ComputeRow(index);
  FUZZ_CHECK(row.size() == plan.Columns().size(), "row %zu has %zu cells for %zu columns", index,
             row.size(), plan.Columns().size());
  for (const tables::Cell& cell : row)
    FUZZ_CHECK(OneLineCell(cell.text), "row %zu: cell \"%s\"", index, cell.text.c_str());
  const tables::Row again = plan.ComputeRow(index);
  for (size_t i = 0; i < row.size(); ++i)
    FUZZ_CHECK(row[i].text == again[i].text && row[i].failed == again[i].failed,
               "row %zu, cell %zu: \"%s\" then \"%s\"", index, i, row[i].text.c_str(),
               again[i].text.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::vector<std::string> words{(data[0] & 1) ? "--critical" : "--table"};
  const std::string_view line = rest.substr(0, rest.find('\n'));
  for (size_t start = 0; start <= line.size();) {
    const size_t end = std::min(line.find('\t', start), line.size());
    const std::string word(line.substr(start, end - start));
    words.push_back(words.size() == 1 ? word : CutEntries(word));
    start = end + 1;
  }

  const cli::TableCommand command = cli::PrepareTableCommand(words);
  if (!command.plan) {
    FUZZ_CHECK(command.exitStatus == 2 || command.exitStatus == 64, "exit %d", command.exitStatus);
    FUZZ_CHECK(command.fault.size() > 1 && command.fault.back() == '\n', "fault text \"%s\"",
               command.fault.c_str());
    return 0;
  }
  FUZZ_CHECK(command.exitStatus == 0 && command.fault.empty(), "a plan with a fault");
  const tables::Plan& plan = *command.plan;
  const size_t rows = plan.RowCount();
  FUZZ_CHECK(rows >= 1 && rows <= tables::kMaxRows, "%zu rows", rows);
  FUZZ_CHECK(!plan.Title().empty() && !plan.Columns().empty(), "no title or no columns");
  for (const tables::Column& column : plan.Columns())
    FUZZ_CHECK(OneLineCell(column.heading), "heading \"%s\"", column.heading.c_str());
  CheckRow(plan, 0);
  CheckRow(plan, rows / 2);
  CheckRow(plan, rows - 1);
  return 0;
}
