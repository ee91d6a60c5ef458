#include "ui/PrintLayout.h"

#include <algorithm>

namespace printing {
namespace {

const QString& Indent() {
  static const QString indent(kIndentSpaces, QLatin1Char(' '));
  return indent;
}

int LeadingSpaces(const QString& text) {
  int count = 0;
  while (count < text.size() && text[count] == QLatin1Char(' '))
    ++count;
  return count;
}

// The number of characters of `text` from its start that fit in `width` (0 when not even the
// first does), never ending between the two halves of a surrogate pair.
int FittingLength(const QString& text, int width, const LineMeasurer& measurer) {
  int low = 0;  // fits
  int high = static_cast<int>(text.size());
  while (low < high) {
    const int middle = (low + high + 1) / 2;
    if (measurer.Width(text.left(middle)) <= width) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  if (low > 0 && low < text.size() && text[low - 1].isHighSurrogate()) --low;
  return low;
}

// Places lines on pages from the top margin down.
class PageFiller {
 public:
  PageFiller(const PageSize& page, int line_height)
      : top_(Margin(page)),
        bottom_(page.height - Margin(page)),
        height_(std::max(line_height, 0)),
        step_(std::max(1, line_height * 3 / 2)) {}

  // Lines that are to stay together: when they do not all fit on the rest of the page, they
  // start the next one (and go on over more pages when even that is too small).
  void AddBlock(const QStringList& lines) {
    if (!PageEmpty() && !Fits(static_cast<int>(lines.size()))) NewPage();
    for (const QString& line : lines)
      Add(line);
  }

  void Add(const QString& line) {
    // On an empty page a line goes in even when the page is too small for it: every line
    // lands on some page.
    if (pages_.empty() || (!PageEmpty() && !Fits(1))) NewPage();
    pages_.back().lines.push_back({y_, line});
    y_ += step_;
  }

  std::vector<PrintedPage> Take() { return std::move(pages_); }

 private:
  bool PageEmpty() const { return pages_.empty() || pages_.back().lines.empty(); }
  bool Fits(int count) const { return y_ + (count - 1) * step_ + height_ <= bottom_; }
  void NewPage() {
    pages_.emplace_back();
    y_ = top_;
  }

  int top_;
  int bottom_;
  int height_;
  int step_;
  int y_ = 0;
  std::vector<PrintedPage> pages_;
};

}  // namespace

int Margin(const PageSize& page) {
  return page.width / 10;
}

QStringList WrapText(const QString& text, int width, const LineMeasurer& measurer) {
  QStringList lines;
  QString rest = text;
  while (measurer.Width(rest) > width) {
    // The spaces in front are the indent: a break there would leave an empty line.
    const int indent = LeadingSpaces(rest);
    if (indent == rest.size()) break;
    const int fit = std::max(FittingLength(rest, width, measurer), indent + 1);
    int end = fit;   // the line is rest.left(end)
    int next = fit;  // the continuation starts there
    for (int i = std::min(fit, static_cast<int>(rest.size()) - 1); i > indent; --i) {
      if (rest[i] == QLatin1Char(' ')) {
        end = i;
        next = i + 1;
        break;
      }
    }
    while (end > indent && rest[end - 1] == QLatin1Char(' '))
      --end;
    lines.append(rest.left(end));
    const QString remainder = rest.mid(next).trimmed();
    if (remainder.isEmpty()) return lines;
    rest = Indent() + remainder;
  }
  lines.append(rest);
  return lines;
}

std::vector<PrintedPage> LayOutSenses(const std::vector<SenseEntry>& rows, const PageSize& page,
                                      const LineMeasurer& measurer) {
  PageFiller filler(page, measurer.Height());
  const int width = page.width - 2 * Margin(page);
  for (size_t i = 0; i < rows.size(); ++i) {
    const SenseEntry& row = rows[i];
    if (row.type.isEmpty() || row.definition.isEmpty()) continue;
    QStringList lines{QStringLiteral("%1  %2").arg(static_cast<int>(i) + 1, 2).arg(row.type)};
    lines += WrapText(Indent() + row.definition, width, measurer);
    filler.AddBlock(lines);
  }
  return filler.Take();
}

std::vector<PrintedPage> LayOutWords(const QStringList& words, const PageSize& page,
                                     const LineMeasurer& measurer) {
  PageFiller filler(page, measurer.Height());
  for (const QString& word : words)
    if (!word.isEmpty()) filler.Add(word);
  return filler.Take();
}

}  // namespace printing
