// CSplitterTabFrame: the lower row of the main window: one tab per output pane, in the order
// and with the titles the lookup library gives (lookup::PaneTitle), or the one "Matches" tab of
// a pattern search.
//
// The frame shows what it is given; it decides nothing about which panes exist or which tab is
// selected (lookup::LookupSession keeps the selected tab across rebuilds). Pane views are made
// once per kind and reused, so a refresh of the tabs costs no widgets.
//
// The "Anagrams" tab (kind lookup::kAnagramsPane) shows a view made by the factory the owner
// sets; the view is made on first need and kept. Without a factory the tab is left out (it is
// always the last tab, so the other tabs keep their indexes).
//
// Every pane's double click or Enter arrives as WordActivated.
#pragma once

#include <QColor>
#include <QFont>
#include <QTabWidget>
#include <array>
#include <functional>
#include <vector>

#include "anagram/pattern.h"
#include "app/lookup/lookup.h"
#include "app/lookup/panes.h"

class CMatchView;
class CPaneView;
class CWordListCtrl;

class CSplitterTabFrame : public QTabWidget {
  Q_OBJECT

 public:
  using ViewFactory = std::function<QWidget*(QWidget* parent)>;

  explicit CSplitterTabFrame(QWidget* parent = nullptr);

  // The tabs of `tabs` in order, each relation pane filled with its words (UTF-8, display
  // form); tab `selected` (an index into `tabs`; -1 or out of range for the first) is made
  // current. No CurrentTabChanged is emitted for it.
  void SetTabs(const std::vector<lookup::PaneTab>& tabs, int selected);
  // Makes the views that `tabs` would show (the pane views, the anagram view) ahead of need,
  // without showing them: a later SetTabs that shows them only fills them.
  void MakeViews(const std::vector<lookup::PaneTab>& tabs);
  // One "Matches" tab with the matches of a pattern.
  void ShowMatches(const anagram::PatternMatches& matches);
  // No tabs.
  void Clear();

  // The kind of the current tab: 0 to 21 a relation, lookup::kAnagramsPane, -1 for the matches
  // tab or no tab.
  int CurrentKind() const;
  // Index of the current tab in the `tabs` last given to SetTabs; -1 for none or the matches.
  int CurrentTab() const;
  // The words of the current pane (matches included), for printing; empty for the anagrams.
  QStringList CurrentWords() const;

  // The pane view of a relation kind while its tab is shown, else null.
  CPaneView* PaneOfKind(int kind) const;
  CMatchView* MatchView() const { return match_view_; }

  void SetPaneFont(const QFont& font);
  void SetPaneTextColor(const QColor& colour);

  void SetAnagramsViewFactory(ViewFactory factory) { anagrams_factory_ = std::move(factory); }
  QWidget* AnagramsView() const { return anagrams_view_; }

 signals:
  // The user chose tab `index` (an index into the `tabs` of SetTabs).
  void CurrentTabChanged(int index);
  // The current pane's kind changed (the user chose a tab, or the tabs were replaced):
  // `kind` and `previous_kind` as CurrentKind() gives them; replaced tabs that keep the
  // anagram view current announce it with both kinds lookup::kAnagramsPane. The anagram view
  // starts and stops its work on this.
  void CurrentKindChanged(int kind, int previous_kind);
  // A word of a pane was double-clicked or entered.
  void WordActivated(const QString& word);

 private:
  CPaneView* PaneFor(int kind);
  // The anagram view, made by the factory on first need; null without a factory.
  QWidget* AnagramsViewFor();
  void StyleList(CWordListCtrl* list) const;
  void OnCurrentChanged(int tab);
  // Removes every tab, runs `add_tabs` (which returns the tab to make current) and announces
  // a change of the current kind.
  void ReplaceTabs(const std::function<int()>& add_tabs);

  std::array<CPaneView*, lookup::kAnagramsPane> panes_{};
  CMatchView* match_view_ = nullptr;
  QWidget* anagrams_view_ = nullptr;
  ViewFactory anagrams_factory_;
  std::vector<int> tab_kinds_;  // kind of each tab shown
  std::vector<int> tab_index_;  // index into the last SetTabs of each tab shown
  int current_kind_ = -1;
  bool replacing_ = false;
  QFont pane_font_;
  bool has_pane_font_ = false;
  QColor pane_colour_;
};
