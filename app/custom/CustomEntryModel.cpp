#include "app/custom/CustomEntryModel.h"

#include <algorithm>

#include "app/lookup/text_rules.h"

CustomEntryModel::CustomEntryModel(QObject* parent) : QAbstractTableModel(parent) {}

void CustomEntryModel::SetEntries(const std::vector<CustomEntrySummary>& entries) {
  beginResetModel();
  rows_.clear();
  rows_.reserve(entries.size());
  for (size_t i = 0; i < entries.size(); ++i)
    rows_.push_back({entries[i], lookup::ToDisplayForm(entries[i].word), static_cast<int32_t>(i)});
  // std::string compares its bytes as unsigned values.
  std::stable_sort(rows_.begin(), rows_.end(),
                   [](const Row& a, const Row& b) { return a.word < b.word; });
  endResetModel();
}

int CustomEntryModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CustomEntryModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant CustomEntryModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  const Row& r = rows_[static_cast<size_t>(index.row())];
  if (role == Qt::UserRole) return r.position;
  if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
  switch (index.column()) {
    case kWordColumn:
      return QString::fromStdString(r.word);
    case kTypeColumn:
      return QString::fromStdString(r.entry.type_name);
    case kDefinitionColumn:
      return QString::fromStdString(r.entry.definition);
    default:
      return {};
  }
}

QVariant CustomEntryModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case kWordColumn:
      return tr("Word");
    case kTypeColumn:
      return tr("Type");
    case kDefinitionColumn:
      return tr("Definition");
    default:
      return {};
  }
}
