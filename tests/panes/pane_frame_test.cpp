// The pane frame: tabs in the given order with their titles, the selected tab, the anagram
// view's place, the matches tab, and which changes it announces.
#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

#include "app/panes/MatchView.h"
#include "app/panes/SplitterTabFrame.h"

namespace {

std::vector<lookup::PaneTab> Tabs(std::vector<int> kinds) {
  std::vector<lookup::PaneTab> tabs;
  for (int kind : kinds)
    tabs.push_back({kind, {"word of " + std::to_string(kind)}});
  return tabs;
}

QStringList Titles(const CSplitterTabFrame& frame) {
  QStringList titles;
  for (int tab = 0; tab < frame.count(); ++tab)
    titles << frame.tabText(tab);
  return titles;
}

TEST(SplitterTabFrameTest, ShowsTheGivenTabsAndSelection) {
  struct Case {
    const char* name;
    std::vector<int> kinds;
    int selected;
    bool factory;
    QStringList titles;
    int current_kind;
  };
  const Case cases[] = {
      {"relations", {0, 2, 4}, 1, false, {"Synonyms", "Kind of", "Has as kind"}, 2},
      {"no selection", {0, 2}, -1, false, {"Synonyms", "Kind of"}, 0},
      {"anagrams left out", {0, 9, 22}, 2, false, {"Synonyms", "Derived"}, 0},
      {"anagrams hosted", {0, 9, 22}, 2, true, {"Synonyms", "Derived", "Anagrams"}, 22},
      {"none", {}, -1, false, {}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CSplitterTabFrame frame;
    int made = 0;
    if (c.factory) {
      frame.SetAnagramsViewFactory([&made](QWidget* parent) {
        ++made;
        return new QLabel("anagrams", parent);
      });
    }
    frame.SetTabs(Tabs(c.kinds), c.selected);
    frame.SetTabs(Tabs(c.kinds), c.selected);  // views are reused
    EXPECT_EQ(Titles(frame), c.titles);
    EXPECT_EQ(frame.CurrentKind(), c.current_kind);
    EXPECT_EQ(made, c.factory ? 1 : 0);
    if (c.current_kind >= 0 && c.current_kind < lookup::kAnagramsPane) {
      EXPECT_EQ(frame.CurrentWords(), QStringList{QString("word of %1").arg(c.current_kind)});
    }
  }
}

TEST(SplitterTabFrameTest, AnnouncesOnlyTheUsersTabChoice) {
  CSplitterTabFrame frame;
  QSignalSpy tab_changed(&frame, &CSplitterTabFrame::CurrentTabChanged);
  QSignalSpy kind_changed(&frame, &CSplitterTabFrame::CurrentKindChanged);
  frame.SetTabs(Tabs({0, 2, 4}), 0);
  EXPECT_EQ(tab_changed.count(), 0);
  ASSERT_EQ(kind_changed.count(), 1);
  EXPECT_EQ(kind_changed[0][0].toInt(), 0);

  frame.tabBar()->setCurrentIndex(2);  // as a click on the tab does
  ASSERT_EQ(tab_changed.count(), 1);
  EXPECT_EQ(tab_changed[0][0].toInt(), 2);
  EXPECT_EQ(kind_changed.last()[0].toInt(), 4);
  EXPECT_EQ(kind_changed.last()[1].toInt(), 0);

  frame.ShowMatches({{"cat", "cot"}, "Found 2 matches"});
  EXPECT_EQ(tab_changed.count(), 1);
  EXPECT_EQ(frame.CurrentTab(), -1);
  EXPECT_EQ(kind_changed.last()[0].toInt(), -1);
}

TEST(SplitterTabFrameTest, MatchesAreDroppedWhenTheirTabGoes) {
  CSplitterTabFrame frame;
  frame.ShowMatches({{"cat", "cot", "cut"}, "Found 3 matches"});
  EXPECT_EQ(Titles(frame), QStringList{"Matches"});
  EXPECT_EQ(frame.CurrentWords(), (QStringList{"cat", "cot", "cut"}));
  EXPECT_EQ(frame.MatchView()->Model()->Item(0).level, 0);
  frame.SetTabs(Tabs({0}), 0);
  EXPECT_EQ(frame.MatchView()->Count(), 0);
}

// New tabs that keep the anagram view current hold a new pane in effect: it is told.
TEST(SplitterTabFrameTest, RebuildKeepingTheAnagramsCurrentAnnouncesIt) {
  CSplitterTabFrame frame;
  frame.SetAnagramsViewFactory([](QWidget* parent) { return new QLabel("anagrams", parent); });
  frame.SetTabs(Tabs({22}), 0);
  QSignalSpy kind_changed(&frame, &CSplitterTabFrame::CurrentKindChanged);
  frame.SetTabs(Tabs({22}), 0);
  ASSERT_EQ(kind_changed.count(), 1);
  EXPECT_EQ(kind_changed[0][0].toInt(), 22);
  EXPECT_EQ(kind_changed[0][1].toInt(), 22);
}

}  // namespace
