// CPaneView: one output pane of the pane frame: the related words of one relation, each at
// level 1, in a CWordListCtrl.
#pragma once

#include <string>
#include <vector>

#include "app/panes/WordListCtrl.h"

class CPaneView : public CWordListCtrl {
  Q_OBJECT

 public:
  // `kind` is the pane kind (0 to 21, lookup::PaneTitle), or -1 for the matches.
  explicit CPaneView(int kind, QWidget* parent = nullptr);

  int Kind() const { return kind_; }
  // One reset: the words (UTF-8, display form) at level 1.
  void Fill(const std::vector<std::string>& words) { SetWords(words, 1); }

 private:
  int kind_;
};
