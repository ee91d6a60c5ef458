// The word lists: the model under Qt's model checker, display texts with their indent levels,
// activation by double click and Enter, and the readable colour rule.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include "app/panes/WordListCtrl.h"
#include "ui/ViewColors.h"

namespace {

TEST(WordListModelTest, PassesTheModelChecker) {
  WordListModel model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  model.SetWords({"cat", "dog"}, 1);
  model.Append({{"eat tea", 1}, {"tea", 2}});
  EXPECT_EQ(model.Count(), 4);
  model.Clear();
  model.Append({{"x", 0}});
  model.SetItems({});
}

TEST(WordListModelTest, DisplayTextIndentsLevelsAboveOne) {
  struct Case {
    WordItem item;
    QString display;
  };
  const Case cases[] = {
      {{"cat", 0}, "cat"},
      {{"cat", 1}, "cat"},
      {{"cat", 2}, "    cat"},
      {{"cat", 3}, "        cat"},
      {{"cat", -7}, "cat"},
      {{"R&D", 1}, "R&D"},                       // no mnemonic: the '&' stays
      {{"x", 1000000}, QString(60, ' ') + "x"},  // deep levels stop at 16
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item.text.toStdString() + " " + std::to_string(c.item.level));
    EXPECT_EQ(WordListModel::DisplayText(c.item), c.display);
    WordListModel model;
    model.SetItems({c.item});
    // Screen readers get the word without its indent.
    EXPECT_EQ(model.index(0).data(Qt::AccessibleTextRole).toString(), c.item.text);
  }
}

TEST(WordListCtrlTest, DoubleClickOrEnterEmitsTheWord) {
  CWordListCtrl list;
  list.SetItems({{"ice cream", 1}, {"cat", 3}, {" dog", 1}});
  list.resize(300, 200);
  list.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
  QSignalSpy activated(&list, &CWordListCtrl::WordActivated);

  const QPoint second = list.visualRect(list.Model()->index(1)).center();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second);  // a double click's first press
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, second);
  list.setCurrentIndex(list.Model()->index(2));
  QTest::keyClick(&list, Qt::Key_Return);
  list.setCurrentIndex(list.Model()->index(0));
  QTest::keyClick(&list, Qt::Key_Enter);

  ASSERT_EQ(activated.count(), 3);
  EXPECT_EQ(activated[0][0].toString(), "cat");  // without the indent
  EXPECT_EQ(activated[1][0].toString(), "dog");  // trimmed at the left
  EXPECT_EQ(activated[2][0].toString(), "ice cream");
}

TEST(WordListCtrlTest, TooltipShowsTheWholeTextOfACutOffItem) {
  CWordListCtrl list;
  const QString long_word(200, 'w');
  list.SetItems({{long_word, 1}, {"cat", 3}});
  list.resize(200, 100);
  list.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
  for (int row : {1, 0}) {
    SCOPED_TRACE(row);
    const QPoint at = list.visualRect(list.Model()->index(row)).center();
    QHelpEvent help(QEvent::ToolTip, at, list.viewport()->mapToGlobal(at));
    QApplication::sendEvent(list.viewport(), &help);
    EXPECT_EQ(QToolTip::isVisible() ? QToolTip::text() : QString(), row == 0 ? long_word : "");
  }
}

TEST(ViewColorsTest, KeepsReadableColoursAndTurnsTheOthers) {
  const QColor white(Qt::white);
  const QColor dark(0x2a, 0x2e, 0x32);
  struct Case {
    const char* name;
    QColor text;
    QColor background;
    QColor expected;
  };
  const Case cases[] = {
      {"red on white", QColor(255, 0, 0), white, QColor(255, 0, 0)},
      {"dark blue on white", QColor(0, 0, 128), white, QColor(0, 0, 128)},
      {"black on dark", QColor(0, 0, 0), dark, QColor(255, 255, 255)},
      {"dark blue on dark", QColor(0, 0, 128), dark, QColor::fromHsl(240, 255, 191)},
      {"white on white", white, white, QColor(0, 0, 0)},
      {"grey on grey", QColor(128, 128, 128), QColor(120, 120, 120), QColor(255, 255, 255)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadableTextColor(c.text, c.background).rgb(), c.expected.rgb());
  }
}

}  // namespace
