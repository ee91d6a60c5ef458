// The printed pages' layout with a fake measurer: every character 10 pixels wide, lines 10
// pixels high (so a line advances 15 pixels).
#include <gtest/gtest.h>

#include "ui/PrintLayout.h"

namespace {

using printing::PageSize;
using printing::PrintedPage;

class FakeMeasurer : public printing::LineMeasurer {
 public:
  int Width(const QString& text) const override { return 10 * static_cast<int>(text.size()); }
  int Height() const override { return 10; }
};

// Margins of 10; lines at 10, 25, ..., 595: exactly 40 lines fit.
constexpr PageSize kFortyLines{100, 620};

QStringList Texts(const PrintedPage& page) {
  QStringList texts;
  for (const printing::PrintedLine& line : page.lines)
    texts << line.text;
  return texts;
}

TEST(PrintLayoutTest, WrapsAtSpacesWithIndentedContinuations) {
  struct Case {
    const char* name;
    QString text;
    int width;
    QStringList lines;
  };
  const Case cases[] = {
      {"fits", "     a cat", 100, {"     a cat"}},
      {"breaks at the last space that fits",
       "     the cat sat on the mat",
       150,
       {"     the cat", "     sat on the", "     mat"}},
      {"a space right after the limit is a break",
       "     abcde fgh",
       100,
       {"     abcde", "     fgh"}},
      {"a word wider than the line is cut",
       "     abcdefghij",
       80,
       {"     abc", "     def", "     ghi", "     j"}},
      {"the indent is never a break",
       "     abcdefgh",
       60,
       {"     a", "     b", "     c", "     d", "     e", "     f", "     g", "     h"}},
  };
  const FakeMeasurer measurer;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(printing::WrapText(c.text, c.width, measurer), c.lines);
  }
}

TEST(PrintLayoutTest, SenseRowThatDoesNotFitStartsTheNextPage) {
  // Each row: a head line and a definition of two lines; 13 rows of 3 lines fill 39 lines.
  std::vector<printing::SenseEntry> rows(15, {"Noun", "aaa bbb"});
  rows[1] = {"", "left out, its number kept"};
  // 80 pixels between the margins: "     aaa" and "     bbb".
  const std::vector<PrintedPage> pages = printing::LayOutSenses(rows, kFortyLines, FakeMeasurer());
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].lines.size(), 39u);
  EXPECT_EQ(Texts(pages[0]).mid(0, 6),
            QStringList({" 1  Noun", "     aaa", "     bbb", " 3  Noun", "     aaa", "     bbb"}));
  EXPECT_EQ(Texts(pages[1]), QStringList({"15  Noun", "     aaa", "     bbb"}));
}

TEST(PrintLayoutTest, RowTallerThanAPageGoesOnOverThePages) {
  QString definition;
  for (int i = 0; i < 100; ++i)
    definition += QStringLiteral("ab ");
  const std::vector<PrintedPage> pages =
      printing::LayOutSenses({{"Verb", "ab"}, {"Noun", definition}}, kFortyLines, FakeMeasurer());
  ASSERT_EQ(pages.size(), 4u);  // the short row, then 101 lines ("     ab" each) of 40 a page
  EXPECT_EQ(Texts(pages[0]), QStringList({" 1  Verb", "     ab"}));
  int words = 0;
  for (size_t p = 1; p < pages.size(); ++p)
    words += Texts(pages[p]).join(' ').count(QStringLiteral("ab"));
  EXPECT_EQ(words, 100);
}

}  // namespace
