// The printed pages of the senses list and of a pane, laid out as lines of text without any
// drawing: the printer's fonts are measured through a LineMeasurer, so the page breaks are
// the same on paper, in the preview and in tests with a fake.
//
// Page rules (all in the printer's pixels):
//  - The margin is a tenth of the page width (integer division), on all four sides.
//  - Every line is drawn at the left margin. The first line of a page has its top at the top
//    margin, and each line moves the next one down by 1.5 times the text height (rounded
//    down). A line fits while its bottom stays within the page height less the margin.
//  - Senses: each row is a head line "%2d  %s" (its position in the list and its type) and
//    the definition after five spaces. A definition wider than the space between the margins
//    is broken at the last space that lets a line fit; each continuation line is indented by
//    five spaces, and a word wider than a whole line is broken where the line is full. A row
//    whose lines do not all fit on the rest of a page starts the next page; a row taller than
//    a whole page starts a page of its own and goes on over the next ones. Rows without a
//    type or a definition are left out (the others keep their positions).
//  - Words: one word a line, empty ones left out; a word that does not fit starts the next
//    page.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace printing {

inline constexpr int kIndentSpaces = 5;

class LineMeasurer {
 public:
  virtual ~LineMeasurer() = default;
  // The width of `text` in the printer font.
  virtual int Width(const QString& text) const = 0;
  // The text height of a line.
  virtual int Height() const = 0;
};

struct PageSize {
  int width = 0;
  int height = 0;
};

struct PrintedLine {
  int y = 0;  // top of the line; the left edge is the margin
  QString text;
};

struct PrintedPage {
  std::vector<PrintedLine> lines;
};

struct SenseEntry {
  QString type;        // the part-of-speech name
  QString definition;  // without the word
};

int Margin(const PageSize& page);

// `text` (its first line as it stands, spaces in front included) broken into lines no wider
// than `width`, continuation lines indented by five spaces.
QStringList WrapText(const QString& text, int width, const LineMeasurer& measurer);

std::vector<PrintedPage> LayOutSenses(const std::vector<SenseEntry>& rows, const PageSize& page,
                                      const LineMeasurer& measurer);
std::vector<PrintedPage> LayOutWords(const QStringList& words, const PageSize& page,
                                     const LineMeasurer& measurer);

}  // namespace printing
