#include "app/panes/SplitterTabFrame.h"

#include <QTabBar>

#include "app/panes/MatchView.h"
#include "app/panes/PaneView.h"

CSplitterTabFrame::CSplitterTabFrame(QWidget* parent) : QTabWidget(parent) {
  setObjectName("paneFrame");
  setAccessibleName("Panes");
  setDocumentMode(true);
  setUsesScrollButtons(true);
  setElideMode(Qt::ElideNone);
  connect(this, &QTabWidget::currentChanged, this, &CSplitterTabFrame::OnCurrentChanged);
}

CPaneView* CSplitterTabFrame::PaneFor(int kind) {
  CPaneView*& pane = panes_[kind];
  if (pane == nullptr) {
    pane = new CPaneView(kind, this);
    StyleList(pane);
    connect(pane, &CWordListCtrl::WordActivated, this, &CSplitterTabFrame::WordActivated);
  }
  return pane;
}

QWidget* CSplitterTabFrame::AnagramsViewFor() {
  if (anagrams_view_ == nullptr && anagrams_factory_) {
    anagrams_view_ = anagrams_factory_(this);
    for (CWordListCtrl* list : anagrams_view_->findChildren<CWordListCtrl*>())
      StyleList(list);
  }
  return anagrams_view_;
}

void CSplitterTabFrame::MakeViews(const std::vector<lookup::PaneTab>& tabs) {
  for (const lookup::PaneTab& tab : tabs) {
    QWidget* view = nullptr;
    if (tab.kind >= 0 && tab.kind < lookup::kAnagramsPane) {
      view = PaneFor(tab.kind);
    } else if (tab.kind == lookup::kAnagramsPane) {
      view = AnagramsViewFor();
    }
    // The style's fonts, palette and metrics, which a view otherwise takes when first shown.
    if (view != nullptr) view->ensurePolished();
  }
}

void CSplitterTabFrame::StyleList(CWordListCtrl* list) const {
  if (has_pane_font_) list->SetTextFont(pane_font_);
  if (pane_colour_.isValid()) list->SetTextColor(pane_colour_);
}

void CSplitterTabFrame::ReplaceTabs(const std::function<int()>& add_tabs) {
  const bool had_matches = match_view_ != nullptr && indexOf(match_view_) >= 0;
  replacing_ = true;
  setUpdatesEnabled(false);
  clear();
  tab_kinds_.clear();
  tab_index_.clear();
  const int current = add_tabs();
  if (count() > 0) setCurrentIndex(current >= 0 && current < count() ? current : 0);
  setUpdatesEnabled(true);
  replacing_ = false;
  if (had_matches && indexOf(match_view_) < 0) match_view_->Clear();
  const int previous = current_kind_;
  current_kind_ = CurrentKind();
  // New tabs hold a new pane in effect: the anagram view staying current is announced too,
  // so that it generates for the new word.
  if (current_kind_ != previous || current_kind_ == lookup::kAnagramsPane)
    emit CurrentKindChanged(current_kind_, previous);
}

void CSplitterTabFrame::SetTabs(const std::vector<lookup::PaneTab>& tabs, int selected) {
  ReplaceTabs([&] {
    int current = 0;
    for (size_t i = 0; i < tabs.size(); ++i) {
      const int kind = tabs[i].kind;
      QWidget* view = nullptr;
      if (kind >= 0 && kind < lookup::kAnagramsPane) {
        CPaneView* pane = PaneFor(kind);
        pane->Fill(tabs[i].words);
        view = pane;
      } else if (kind == lookup::kAnagramsPane) {
        view = AnagramsViewFor();
      }
      if (view == nullptr) continue;
      if (static_cast<int>(i) == selected) current = count();
      addTab(view, QString::fromUtf8(lookup::PaneTitle(kind)));
      tab_kinds_.push_back(kind);
      tab_index_.push_back(static_cast<int>(i));
    }
    return current;
  });
}

void CSplitterTabFrame::ShowMatches(const anagram::PatternMatches& matches) {
  if (match_view_ == nullptr) {
    match_view_ = new CMatchView(this);
    StyleList(match_view_);
    connect(match_view_, &CWordListCtrl::WordActivated, this, &CSplitterTabFrame::WordActivated);
  }
  ReplaceTabs([&] {
    match_view_->ShowMatches(matches);
    addTab(match_view_, "Matches");
    tab_kinds_.push_back(-1);
    tab_index_.push_back(-1);
    return 0;
  });
}

void CSplitterTabFrame::Clear() {
  ReplaceTabs([] { return -1; });
}

int CSplitterTabFrame::CurrentKind() const {
  const int tab = currentIndex();
  return tab >= 0 && tab < static_cast<int>(tab_kinds_.size()) ? tab_kinds_[tab] : -1;
}

int CSplitterTabFrame::CurrentTab() const {
  const int tab = currentIndex();
  return tab >= 0 && tab < static_cast<int>(tab_index_.size()) ? tab_index_[tab] : -1;
}

QStringList CSplitterTabFrame::CurrentWords() const {
  const auto* list = qobject_cast<const CWordListCtrl*>(currentWidget());
  return list != nullptr ? list->Words() : QStringList();
}

CPaneView* CSplitterTabFrame::PaneOfKind(int kind) const {
  if (kind < 0 || kind >= lookup::kAnagramsPane) return nullptr;
  CPaneView* pane = panes_[kind];
  return pane != nullptr && indexOf(pane) >= 0 ? pane : nullptr;
}

void CSplitterTabFrame::SetPaneFont(const QFont& font) {
  pane_font_ = font;
  has_pane_font_ = true;
  for (CWordListCtrl* list : findChildren<CWordListCtrl*>())
    list->SetTextFont(font);
}

void CSplitterTabFrame::SetPaneTextColor(const QColor& colour) {
  pane_colour_ = colour;
  for (CWordListCtrl* list : findChildren<CWordListCtrl*>())
    list->SetTextColor(colour);
}

void CSplitterTabFrame::OnCurrentChanged(int tab) {
  if (replacing_) return;
  const int previous = current_kind_;
  current_kind_ = CurrentKind();
  const int index = tab >= 0 && tab < static_cast<int>(tab_index_.size()) ? tab_index_[tab] : -1;
  if (index >= 0) emit CurrentTabChanged(index);
  if (current_kind_ != previous) emit CurrentKindChanged(current_kind_, previous);
}
