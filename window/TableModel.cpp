#include "window/TableModel.h"

#include <QBrush>
#include <QColor>

namespace window {

namespace {

// The colour of a cell that holds a run-time error's message.
const QColor kFailedCellColor(0xa0, 0x10, 0x10);

}  // namespace

void TTableModel::SetTable(tables::Table table) {
  beginResetModel();
  table_ = std::move(table);
  endResetModel();
}

int TTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(table_.rows.size());
}

int TTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(table_.headings.size());
}

QVariant TTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const tables::Row& row = table_.rows.at(index.row());
  if (index.column() >= static_cast<int>(row.size())) return {};
  const tables::Cell& cell = row[index.column()];
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(cell.text);
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ForegroundRole:
      return cell.failed ? QVariant(QBrush(kFailedCellColor)) : QVariant();
    default:
      return {};
  }
}

QVariant TTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section < 0 || section >= static_cast<int>(table_.headings.size())) return {};
  return QString::fromStdString(table_.headings[section]);
}

}  // namespace window
