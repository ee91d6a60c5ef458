// The senses list: its cells and what a screen reader reads, a refresh of the same word that
// keeps the user's place, check boxes of sorted rows reported by sense, and the column order.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QHeaderView>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include "app/panes/SenseListView.h"

namespace {

std::vector<lookup::SenseRow> CatRows(int count) {
  std::vector<lookup::SenseRow> rows;
  for (int i = 0; i < count; ++i) {
    lookup::SenseRow row;
    row.number = i + 1;
    row.pos = i % 2 == 0 ? 1 : 2;
    row.definition = i == 1 ? "" : "Sense " + std::to_string(i + 1);
    rows.push_back(row);
  }
  return rows;
}

struct Shown {
  Shown() {
    view.resize(600, 200);
    view.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
  }
  CSenseListView view;
};

TEST(SenseListViewTest, ScreenReaderReadsNumberWordAndType) {
  Shown s;
  auto rows = CatRows(12);
  rows[0].checked = false;
  s.view.SetRows("true cat", rows);
  QApplication::processEvents();  // the tree lays its rows out
  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&s.view);
  ASSERT_NE(table, nullptr);
  ASSERT_NE(table->tableInterface(), nullptr);
  struct Case {
    int row;
    int column;
    QString text;
  };
  const Case cases[] = {
      {0, 1, " 1"},   {0, 2, "true cat: Sense 1"},
      {0, 3, "Noun"}, {1, 2, "true cat"},  // no definition, no separator
      {11, 1, "12"},  {11, 3, "Verb"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    QAccessibleInterface* cell = table->tableInterface()->cellAt(c.row, c.column);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), c.text);
  }
  QAccessibleInterface* check_header = table->child(0);
  ASSERT_NE(check_header, nullptr);
  EXPECT_EQ(check_header->role(), QAccessible::ColumnHeader);
  EXPECT_EQ(check_header->text(QAccessible::Name), "Checked");
  EXPECT_FALSE(table->tableInterface()->cellAt(0, 0)->state().checked);
  EXPECT_TRUE(table->tableInterface()->cellAt(1, 0)->state().checked);
}

TEST(SenseListViewTest, RefreshOfTheSameWordKeepsTheUsersPlace) {
  Shown s;
  auto rows = CatRows(40);
  s.view.SetRows("cat", rows);
  QApplication::processEvents();
  s.view.setCurrentIndex(s.view.Model()->index(30, 2));
  s.view.scrollTo(s.view.currentIndex(), QAbstractItemView::PositionAtTop);
  const int scrolled = s.view.verticalScrollBar()->value();
  ASSERT_GT(scrolled, 0);

  rows[30].checked = false;
  s.view.SetRows("cat", rows);
  EXPECT_FALSE(s.view.IsSenseChecked(30));
  EXPECT_EQ(s.view.FocusRow(), 30);
  EXPECT_EQ(s.view.verticalScrollBar()->value(), scrolled);

  s.view.SetRows("dog", CatRows(40));  // another word starts from the top
  QApplication::processEvents();
  EXPECT_EQ(s.view.verticalScrollBar()->value(), 0);
  EXPECT_EQ(s.view.FocusRow(), -1);
}

TEST(SenseListViewTest, CheckBoxOfASortedRowNamesItsSense) {
  Shown s;
  s.view.SetRows("cat", CatRows(4));
  s.view.Model()->sort(CSenseListView::kTypeColumn, Qt::DescendingOrder);  // verbs first
  s.view.SetRows("cat", CatRows(4));  // a refresh keeps the order
  ASSERT_EQ(s.view.Model()->RowData(0), 1);
  QSignalSpy toggled(&s.view, &CSenseListView::CheckToggled);
  s.view.setCurrentIndex(s.view.Model()->index(0, 1));
  QTest::keyClick(&s.view, Qt::Key_Space);
  ASSERT_EQ(toggled.count(), 1);
  EXPECT_EQ(toggled[0][0].toInt(), 1);
  EXPECT_FALSE(toggled[0][1].toBool());
}

TEST(SenseListViewTest, ColumnOrderIsKeptUnderSettingsReportCtrl) {
  {
    CSenseListView view;
    view.RestoreColumns();
    EXPECT_EQ(view.ActiveColumns(), (std::vector<int>{0, 1, 2, 3}));
    view.header()->moveSection(3, 1);
    view.DeactivateColumn(CSenseListView::kNumberColumn);
  }  // saved when the view goes, after the user changed the columns
  EXPECT_TRUE(QSettings().value("Settings/ReportCtrl").toString().startsWith("0:"));
  CSenseListView view;
  view.RestoreColumns();
  EXPECT_EQ(view.ActiveColumns(), (std::vector<int>{0, 3, 2}));
  QSettings().remove("Settings/ReportCtrl");
}

}  // namespace
