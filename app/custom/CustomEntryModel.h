// The rows of the Custom Database dialog's list: one per readable entry, columns "Word",
// "Type" (the stored type name) and "Definition", sorted by word (bytes, ascending; entries of
// one word in database order). Each row carries the entry's position in the database as its
// item data (Qt::UserRole).
#pragma once

#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "custom/custom_db.h"

class CustomEntryModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kWordColumn, kTypeColumn, kDefinitionColumn, kColumnCount };

  struct Row {
    CustomEntrySummary entry;  // as stored: the word in the lookup's form ("ice_cream")
    std::string word;          // as shown ("ice cream")
    int32_t position = 0;
  };

  explicit CustomEntryModel(QObject* parent = nullptr);

  // Replaces the rows by `entries` (in database order).
  void SetEntries(const std::vector<CustomEntrySummary>& entries);
  const Row& row(int index) const { return rows_[static_cast<size_t>(index)]; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  std::vector<Row> rows_;
};
