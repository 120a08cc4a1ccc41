// The table of the Table of Values window as a Qt item model: one computed
// tables::Table, its headings as the column headers, its cells right-aligned
// as the log's numbers, a failed cell in the error colour.
#pragma once

#include <QAbstractTableModel>

#include "tables/Tables.h"

namespace window {

class TTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  void SetTable(tables::Table table);
  const tables::Table& Table() const { return table_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  tables::Table table_;
};

}  // namespace window
