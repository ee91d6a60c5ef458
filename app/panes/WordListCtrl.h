// CWordListCtrl: the single-column word list of the output panes, the matches and the anagram
// view. A QListView over a WordListModel with uniform item sizes (a virtual list: no work per
// item beyond the rows on screen), single selection, one line per item with an ellipsis when
// it does not fit ('&' is drawn as itself), the items' indent levels, the pane font and the
// pane text colour, and a tooltip with the whole text of a cut-off item.
//
// A double click or Enter on an item emits WordActivated with the item's text (trimmed at the
// left); Ctrl+C copies it. A wheel notch scrolls the desktop's number of lines.
#pragma once

#include <QColor>
#include <QFont>
#include <QListView>
#include <string>
#include <vector>

#include "app/panes/WordListModel.h"

class CWordListCtrl : public QListView {
  Q_OBJECT

 public:
  explicit CWordListCtrl(QWidget* parent = nullptr);

  WordListModel* Model() const { return model_; }

  void SetItems(std::vector<WordItem> items) { model_->SetItems(std::move(items)); }
  void SetWords(const std::vector<std::string>& words, int level) {
    model_->SetWords(words, level);
  }
  void Clear() { model_->Clear(); }
  int Count() const { return model_->Count(); }
  // Every item's own text, in order (printing, tests).
  QStringList Words() const;
  // The selected item's text, empty when none is selected.
  QString SelectedWord() const;

  // The "PaneFont" and "PaneTextColor"; the colour is made readable on a dark background
  // (ReadableTextColor).
  void SetTextFont(const QFont& font);
  void SetTextColor(const QColor& colour);

 signals:
  void WordActivated(const QString& word);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  void ActivateRow(const QModelIndex& index);
  void ApplyTextColor();

  WordListModel* model_;
  QColor text_colour_;
};
