// The "Panes" page: the tree's three states, "&All" and "&None", and the mask OK writes.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "app/panes/PanePickTreeCtrl.h"
#include "app/panes/PanesPropertyPage.h"

namespace {

TEST(PanesPageTest, RootShowsItsChildrensState) {
  struct Case {
    uint32_t mask;
    Qt::CheckState root;
  };
  const Case cases[] = {
      {0xFFFFFFFF, Qt::Checked},          {0x003FFFFF, Qt::Checked},
      {0xFFC00000, Qt::Unchecked},  // bits above 21 show nothing
      {0x00000001, Qt::PartiallyChecked}, {0x003FFFFE, Qt::PartiallyChecked},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mask);
    CPanesPropertyPage page(c.mask);
    EXPECT_EQ(page.Tree()->Root()->checkState(0), c.root);
    EXPECT_EQ(page.Tree()->Root()->childCount(), 22);
  }
}

TEST(PanesPageTest, ClickOnAPartlyCheckedRootChecksEverything) {
  CPanesPropertyPage page(0x5);
  page.resize(300, 500);
  page.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
  CPanePickTreeCtrl* tree = page.Tree();
  QStyleOptionViewItem option;
  option.initFrom(tree);
  option.rect = tree->visualItemRect(tree->Root());
  option.features = QStyleOptionViewItem::HasCheckIndicator;
  const QRect box =
      tree->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, tree);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, box.center());
  EXPECT_EQ(tree->Root()->checkState(0), Qt::Checked);
  EXPECT_EQ(page.Mask(), 0x3FFFFFu);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, box.center());
  EXPECT_EQ(page.Mask(), 0u);
}

TEST(PanesPageTest, OkMaskKeepsBitsAbove21) {
  struct Case {
    const char* name;
    uint32_t mask;
    const char* button;  // "allPanes", "noPanes" or none
    int uncheck;         // a pane to uncheck afterwards, or -1
    uint32_t expected;
  };
  const Case cases[] = {
      {"untouched", 0xA5A5A5A5, nullptr, -1, 0xA5A5A5A5},
      {"synonyms off", 0xFFFFFFFF, nullptr, 0, 0xFFFFFFFE},
      {"all", 0x00000000, "allPanes", -1, 0x003FFFFF},
      {"none", 0xFFFFFFFF, "noPanes", -1, 0xFFC00000},
      {"all but pertainym", 0x80400000, "allPanes", 21, 0x805FFFFF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CPanesPropertyPage page(c.mask);
    if (c.button != nullptr) page.findChild<QPushButton*>(c.button)->click();
    if (c.uncheck >= 0) page.Tree()->Root()->child(c.uncheck)->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(page.Mask(), c.expected);
  }
}

}  // namespace
