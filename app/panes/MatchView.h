// CMatchView: the "Matches" pane: the dictionary words that fit a pattern, at level 0 (no
// indent). Its items are dropped when it stops being the frame's pane.
#pragma once

#include "anagram/pattern.h"
#include "app/panes/PaneView.h"

class CMatchView : public CPaneView {
  Q_OBJECT

 public:
  explicit CMatchView(QWidget* parent = nullptr);

  void ShowMatches(const anagram::PatternMatches& matches) { SetWords(matches.words, 0); }
};
