// The "Usage" window shows the lookup library's rows in order, headings in the bold cut.
#include <gtest/gtest.h>

#include <QListWidget>

#include "app/panes/UsageDialog.h"

namespace {

TEST(UsageDialogTest, ShowsHeadingsAndQuotedExamplesInOrder) {
  std::vector<lookup::SenseRow> senses(3);
  senses[0] = {1, 1, "Feline", "", {"Cats purr", "A cat sat"}};
  senses[1] = {2, 2, "Beat", "", {}};
  senses[2] = {3, 9, "The", "", {"The end"}, true};
  QFont font;
  font.setPixelSize(12);
  CUsageDialog dialog(lookup::BuildUsageRows(senses), font);
  const QStringList expected = {"Sense  1 : Noun", "   \"Cats purr\"", "   \"A cat sat\"",
                                "Sense  3 : Article", "   \"The end\""};
  EXPECT_EQ(dialog.List()->font().pixelSize(), 12);
  ASSERT_EQ(dialog.List()->count(), expected.size());
  for (int row = 0; row < dialog.List()->count(); ++row) {
    SCOPED_TRACE(row);
    const QListWidgetItem* item = dialog.List()->item(row);
    EXPECT_EQ(item->text(), expected[row]);
    EXPECT_EQ(item->font().bold(), expected[row].startsWith("Sense"));
  }
}

}  // namespace
