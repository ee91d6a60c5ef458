// The items of a word list (an output pane, the matches, the anagrams): a text and an indent
// level each. The list holds the items; its view asks for the rows it shows (a virtual list).
//
// Display text of an item: (level - 1) times four spaces, then the text; levels 0 and 1 are
// not indented. Screen readers get the text without the indent. A fill is one model reset;
// appending (the anagram worker's deliveries) inserts rows.
#pragma once

#include <QAbstractListModel>
#include <QString>
#include <string>
#include <vector>

struct WordItem {
  QString text;
  int level = 1;
};

class WordListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  // The item's own text, for WordActivated and copying.
  static constexpr int kWordRole = Qt::UserRole + 1;
  static constexpr int kLevelRole = Qt::UserRole + 2;

  explicit WordListModel(QObject* parent = nullptr);

  void SetItems(std::vector<WordItem> items);
  // Words (UTF-8) of one level, in order.
  void SetWords(const std::vector<std::string>& words, int level);
  void Append(const std::vector<WordItem>& items);
  void Clear();

  int Count() const { return static_cast<int>(items_.size()); }
  const WordItem& Item(int row) const { return items_.at(row); }
  // The display text of an item (with its indent).
  static QString DisplayText(const WordItem& item);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  std::vector<WordItem> items_;
};
