#include "window/TablePrinting.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QString>
#include <algorithm>
#include <vector>

namespace window {

namespace {

// Blank room between two columns, in characters of the print font.
constexpr int kColumnGapCharacters = 2;

struct Layout {
  std::vector<int> widths;  // of each column, without the gap
  int gap;
  int total;
};

Layout Measure(const tables::Table& table, const QFontMetrics& metrics) {
  Layout layout{std::vector<int>(table.headings.size(), 0),
                metrics.horizontalAdvance(QString(kColumnGapCharacters, ' ')), 0};
  const auto widen = [&](std::size_t column, const std::string& text) {
    if (column < layout.widths.size())
      layout.widths[column] =
          std::max(layout.widths[column], metrics.horizontalAdvance(QString::fromStdString(text)));
  };
  for (std::size_t c = 0; c < table.headings.size(); ++c) widen(c, table.headings[c]);
  for (const tables::Row& row : table.rows)
    for (std::size_t c = 0; c < row.size(); ++c) widen(c, row[c].text);
  for (int width : layout.widths) layout.total += width + layout.gap;
  return layout;
}

// One line of cells, each right-aligned in its column.
void DrawCells(QPainter& painter, const Layout& layout, int baseline,
               const std::vector<std::string>& cells) {
  int x = 0;
  const QFontMetrics metrics = painter.fontMetrics();
  for (std::size_t c = 0; c < cells.size() && c < layout.widths.size(); ++c) {
    const QString text = QString::fromStdString(cells[c]);
    painter.drawText(x + layout.widths[c] - metrics.horizontalAdvance(text), baseline, text);
    x += layout.widths[c] + layout.gap;
  }
}

std::vector<std::string> Texts(const tables::Row& row) {
  std::vector<std::string> texts;
  for (const tables::Cell& cell : row) texts.push_back(cell.text);
  return texts;
}

}  // namespace

int PrintTable(QPainter& painter, QPrinter& printer, const tables::Table& table) {
  const int pageWidth = printer.width();
  const int pageHeight = printer.height();
  QFont font("Courier New", kTablePrintPoints);
  painter.setFont(font);
  Layout layout = Measure(table, painter.fontMetrics());
  for (int points = kTablePrintPoints - 1;
       layout.total > pageWidth && points >= kSmallestTablePrintPoints; --points) {
    font.setPointSize(points);
    painter.setFont(font);
    layout = Measure(table, painter.fontMetrics());
  }
  painter.setPen(Qt::black);
  const QFontMetrics metrics = painter.fontMetrics();
  const int line = metrics.height();

  // Lines per page below the headings, keeping two lines for the page number.
  const int linesPerPage = std::max(1, pageHeight / line - 3);
  const std::size_t rows = table.rows.size();
  const std::size_t firstPageRows = std::max(1, linesPerPage - 2);  // the title and a blank line
  const int pages =
      rows <= firstPageRows
          ? 1
          : 1 + static_cast<int>((rows - firstPageRows + linesPerPage - 1) / linesPerPage);

  std::size_t next = 0;
  for (int page = 1; page <= pages; ++page) {
    if (page > 1) printer.newPage();
    int y = 0;
    if (page == 1) {
      painter.drawText(0, y + metrics.ascent(), QString::fromStdString(table.title));
      y += 2 * line;
    }
    DrawCells(painter, layout, y + metrics.ascent(), table.headings);
    y += line;
    const std::size_t end = std::min(rows, next + (page == 1 ? firstPageRows : linesPerPage));
    for (; next < end; ++next, y += line)
      DrawCells(painter, layout, y + metrics.ascent(), Texts(table.rows[next]));
    const QString number = QStringLiteral("Page %1 of %2").arg(page).arg(pages);
    painter.drawText((pageWidth - metrics.horizontalAdvance(number)) / 2,
                     pageHeight - line + metrics.ascent(), number);
  }
  return pages;
}

}  // namespace window
