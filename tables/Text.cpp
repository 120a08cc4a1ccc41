// The table as text for the clipboard (TAB-separated) and for files (CSV),
// and the numbers with more significant digits.
#include <algorithm>
#include <charconv>
#include <cmath>

#include "tables/Tables.h"

namespace tables {

namespace {

// One line of cells; `write` turns a cell's text into its form in the line.
template <class Write>
std::string Line(const std::vector<std::string>& cells, char separator, Write write) {
  std::string line;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) line += separator;
    line += write(cells[i]);
  }
  return line + "\n";
}

std::vector<std::string> Texts(const Row& row) {
  std::vector<std::string> texts;
  for (const Cell& cell : row) texts.push_back(cell.text);
  return texts;
}

template <class Write>
std::string TableText(const Table& table, char separator, Write write) {
  std::string text = Line(table.headings, separator, write);
  for (const Row& row : table.rows) text += Line(Texts(row), separator, write);
  return text;
}

std::string Plain(const std::string& cell) {
  return cell;
}

// RFC 4180: a field with a separator, a quote or a line end is quoted, its
// quotes doubled.
std::string CsvField(const std::string& cell) {
  if (cell.find_first_of(",\"\r\n") == std::string::npos) return cell;
  std::string quoted = "\"";
  for (char c : cell) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

std::string SignificantText(long double value, int digits) {
  if (std::isnan(value)) return "Nan";
  if (std::isinf(value)) return value > 0 ? "+Inf" : "-Inf";
  digits = std::clamp(digits, kFewestDigits, kMostDigits);
  // The scientific form rounds to the digits first; its exponent (after the
  // rounding) decides the form, and the fixed form rounds at the same place.
  char buffer[64];
  char* end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                            digits - 1)
                  .ptr;
  std::string text(buffer, end);
  const std::size_t e = text.find('e');
  const int exponent = std::stoi(text.substr(e + 1));
  if (exponent >= -(kLeadingZeros + 1) && exponent < digits) {
    end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                        digits - 1 - exponent)
              .ptr;
    return std::string(buffer, end);
  }
  text[e] = 'E';
  return text;
}

std::string TabText(const Table& table) {
  return TableText(table, '\t', Plain);
}

std::string CsvText(const Table& table) {
  return TableText(table, ',', CsvField);
}

std::string TabLine(const std::vector<std::string>& headings) {
  return Line(headings, '\t', Plain);
}

std::string TabLine(const Row& row) {
  return Line(Texts(row), '\t', Plain);
}

}  // namespace tables
