// CReportCtrl: the model under Qt's model checker, the header-click direction rule, the sort
// keys, check boxes turned by the user, damaged column layouts, defined against active columns,
// and tooltips of cut-off cells.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QSettings>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QToolTip>

#include "ui/ReportCtrl.h"

namespace {

ReportRow Row(qint64 data, std::vector<QString> texts, int check = -1) {
  ReportRow row;
  row.data = data;
  for (QString& text : texts)
    row.cells.push_back({std::move(text)});
  row.cells[0].check = check;
  return row;
}

// A control with a check box column and two text columns, shown so clicks reach it.
struct Fixture {
  Fixture() {
    ctrl.DefineColumn(0, {"", 24});
    ctrl.DefineColumn(1, {"No.", 60});
    ctrl.DefineColumn(2, {"Word", 200});
    ctrl.resize(400, 300);
    ctrl.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&ctrl));
  }
  void ClickHeader(int column) {
    QHeaderView* head = ctrl.header();
    const QPoint at(head->sectionViewportPosition(column) + head->sectionSize(column) / 2,
                    head->height() / 2);
    QTest::mouseClick(head->viewport(), Qt::LeftButton, {}, at);
  }
  std::vector<qint64> Order() const {
    std::vector<qint64> order;
    for (int row = 0; row < ctrl.Model()->RowCount(); ++row)
      order.push_back(ctrl.Model()->RowData(row));
    return order;
  }
  CReportCtrl ctrl;
};

TEST(ReportModelTest, PassesTheModelChecker) {
  ReportModel model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  model.DefineColumn(0, {"A"});
  model.ReplaceRows({Row(0, {"b"}, 1), Row(1, {"a"}, 0)});
  model.DefineColumn(0, {"B"});  // every row gets an empty cell in front
  EXPECT_EQ(model.Cell(0, 0).text, "");
  EXPECT_EQ(model.Cell(0, 1).text, "b");
  model.sort(1);
  model.ReplaceRows({Row(5, {"", "c"}), Row(6, {"", "d"}), Row(7, {"", "e"})});
  model.InsertRow(1, Row(8, {"", "f"}));
  model.setData(model.index(0, 0), Qt::Checked, Qt::CheckStateRole);
  model.DeleteAllRows();
  EXPECT_EQ(model.Cell(3, 7).text, "");  // a cell no row has reads as empty
}

TEST(ReportModelTest, SortsByValueCaseOrCheckState) {
  struct Case {
    const char* name;
    int column;
    std::vector<ReportRow> rows;
    std::vector<qint64> ascending;
  };
  const Case cases[] = {
      {"numbers by value",
       1,
       {Row(0, {"", "100"}), Row(1, {"", " 9"}), Row(2, {"", "10"})},
       {1, 2, 0}},
      {"text without case",
       1,
       {Row(0, {"", "b"}), Row(1, {"", "C"}), Row(2, {"", "a"})},
       {2, 0, 1}},
      {"check states, equal rows kept in order",
       0,
       {Row(0, {""}, 1), Row(1, {""}, 0), Row(2, {""}, 1), Row(3, {""}, 0)},
       {1, 3, 0, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReportModel model;
    model.DefineColumn(0, {});
    model.DefineColumn(1, {});
    model.ReplaceRows(c.rows);
    model.sort(c.column, Qt::AscendingOrder);
    std::vector<qint64> order;
    for (int row = 0; row < model.RowCount(); ++row)
      order.push_back(model.RowData(row));
    EXPECT_EQ(order, c.ascending);
  }
}

TEST(ReportCtrlTest, HeaderClickReversesOnlyTheSortColumn) {
  Fixture f;
  f.ctrl.Model()->ReplaceRows(
      {Row(0, {"", "2", "b"}), Row(1, {"", "1", "c"}), Row(2, {"", "3", "a"})});
  struct Step {
    int click;
    Qt::SortOrder order;
    std::vector<qint64> rows;
  };
  const Step steps[] = {
      {1, Qt::AscendingOrder, {1, 0, 2}}, {1, Qt::DescendingOrder, {2, 0, 1}},
      {2, Qt::AscendingOrder, {2, 0, 1}}, {2, Qt::DescendingOrder, {1, 0, 2}},
      {1, Qt::AscendingOrder, {1, 0, 2}}, {1, Qt::DescendingOrder, {2, 0, 1}},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE(i);
    f.ClickHeader(steps[i].click);
    EXPECT_EQ(f.ctrl.Model()->SortColumn(), steps[i].click);
    EXPECT_EQ(f.ctrl.Model()->SortOrder(), steps[i].order);
    EXPECT_EQ(f.ctrl.header()->sortIndicatorOrder(), steps[i].order);
    EXPECT_EQ(f.Order(), steps[i].rows);
  }
  f.ctrl.SetSortingEnabled(false);
  f.ClickHeader(2);
  EXPECT_EQ(f.Order(), (std::vector<qint64>{2, 0, 1}));
  EXPECT_EQ(f.ctrl.header()->sortIndicatorSection(), 1);
}

TEST(ReportCtrlTest, UserTurnsCheckBoxesOfSortedRows) {
  Fixture f;
  f.ctrl.Model()->ReplaceRows(
      {Row(10, {"", "1", "b"}, 1), Row(11, {"", "2", "a"}, 1), Row(12, {"", "3", "c"}, 1)});
  f.ClickHeader(2);  // rows now 11, 10, 12
  QSignalSpy toggled(&f.ctrl, &CReportCtrl::CellCheckToggled);

  QStyleOptionViewItem option;
  option.initFrom(&f.ctrl);
  option.rect = f.ctrl.visualRect(f.ctrl.Model()->index(1, 0));
  option.features = QStyleOptionViewItem::HasCheckIndicator;
  const QRect box =
      f.ctrl.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &f.ctrl);
  QTest::mouseClick(f.ctrl.viewport(), Qt::LeftButton, {}, box.center());
  ASSERT_EQ(toggled.count(), 1);
  EXPECT_EQ(toggled[0][3].toLongLong(), 10);
  EXPECT_FALSE(toggled[0][2].toBool());

  // Space turns every selected row to the first one's new state.
  f.ctrl.selectionModel()->clearSelection();
  f.ctrl.selectionModel()->select(f.ctrl.Model()->index(0, 1),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
  f.ctrl.selectionModel()->select(f.ctrl.Model()->index(1, 1),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
  QTest::keyClick(&f.ctrl, Qt::Key_Space);
  EXPECT_FALSE(f.ctrl.Model()->IsChecked(0, 0));
  EXPECT_FALSE(f.ctrl.Model()->IsChecked(1, 0));
  EXPECT_EQ(toggled.count(), 2);  // row 1 was unchecked already

  f.ctrl.Model()->SetChecked(2, 0, false);  // the owner's own changes are not announced
  EXPECT_EQ(toggled.count(), 2);
}

TEST(ReportCtrlTest, DamagedLayoutLeavesTheColumns) {
  const char* layouts[] = {"",    "x",    "1",       "0:18,0:20", "3:10",  "-1:10",
                           "1:0", "1:-5", "1:99999", "1:a",       "2:10:4"};
  for (const char* layout : layouts) {
    SCOPED_TRACE(layout);
    Fixture f;
    EXPECT_FALSE(f.ctrl.SetColumnLayout(layout));
    EXPECT_EQ(f.ctrl.ActiveColumns(), (std::vector<int>{0, 1, 2}));
  }
  QSettings().setValue("Settings/ReportCtrl", 12);  // wrong type
  Fixture f;
  EXPECT_FALSE(f.ctrl.LoadColumnLayout("Settings", "ReportCtrl"));
  QSettings().remove("Settings/ReportCtrl");
}

TEST(ReportCtrlTest, ActivateColumnPlacesItAmongTheShownOnes) {
  Fixture f;
  f.ctrl.DeactivateColumn(1);
  EXPECT_EQ(f.ctrl.ActiveColumns(), (std::vector<int>{0, 2}));
  f.ctrl.ActivateColumn(1, 0);
  EXPECT_EQ(f.ctrl.ActiveColumns(), (std::vector<int>{1, 0, 2}));
  f.ctrl.ActivateColumn(1, 5);
  EXPECT_EQ(f.ctrl.ActiveColumns(), (std::vector<int>{0, 2, 1}));
  f.ctrl.DeactivateColumn(0);
  f.ctrl.DeactivateColumn(2);
  f.ctrl.DeactivateColumn(1);  // the last shown column stays
  EXPECT_EQ(f.ctrl.ActiveColumns(), (std::vector<int>{1}));
}

TEST(ReportCtrlTest, TooltipShowsOnlyCutOffCells) {
  Fixture f;
  const QString long_text(200, 'w');
  f.ctrl.Model()->ReplaceRows({Row(0, {"", "7", long_text})});
  QApplication::processEvents();
  struct Case {
    int column;
    QString tooltip;
  };
  for (const Case& c : {Case{1, QString()}, Case{2, long_text}}) {
    SCOPED_TRACE(c.column);
    const QPoint at = f.ctrl.visualRect(f.ctrl.Model()->index(0, c.column)).center();
    QHelpEvent help(QEvent::ToolTip, at, f.ctrl.viewport()->mapToGlobal(at));
    QApplication::sendEvent(f.ctrl.viewport(), &help);
    EXPECT_EQ(QToolTip::isVisible() ? QToolTip::text() : QString(), c.tooltip);
  }
}

}  // namespace
