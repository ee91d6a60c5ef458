#include "app/panes/WordListModel.h"

#include <algorithm>

namespace {

// Deeper levels are drawn at this one: a level is a count of spaces to allocate.
constexpr int kMaxIndentLevel = 16;

}  // namespace

WordListModel::WordListModel(QObject* parent) : QAbstractListModel(parent) {}

void WordListModel::SetItems(std::vector<WordItem> items) {
  beginResetModel();
  items_ = std::move(items);
  endResetModel();
}

void WordListModel::SetWords(const std::vector<std::string>& words, int level) {
  std::vector<WordItem> items;
  items.reserve(words.size());
  for (const std::string& word : words)
    items.push_back({QString::fromStdString(word), level});
  SetItems(std::move(items));
}

void WordListModel::Append(const std::vector<WordItem>& items) {
  if (items.empty()) return;
  beginInsertRows(QModelIndex(), Count(), Count() + static_cast<int>(items.size()) - 1);
  items_.insert(items_.end(), items.begin(), items.end());
  endInsertRows();
}

void WordListModel::Clear() {
  if (items_.empty()) return;
  SetItems({});
}

QString WordListModel::DisplayText(const WordItem& item) {
  if (item.level <= 1) return item.text;
  return QString(4 * (std::min(item.level, kMaxIndentLevel) - 1), QLatin1Char(' ')) + item.text;
}

int WordListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Count();
}

QVariant WordListModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
    return {};
  const WordItem& item = items_[index.row()];
  switch (role) {
    case Qt::DisplayRole:
      return DisplayText(item);
    case Qt::AccessibleTextRole:
    case kWordRole:
      return item.text;
    case kLevelRole:
      return item.level;
    default:
      return {};
  }
}
