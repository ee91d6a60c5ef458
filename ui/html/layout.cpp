#include "ui/html/layout.h"

#include <algorithm>

#include "ui/html/markup.h"

namespace html {

namespace {

int ClampHeight(int pixels) {
  return std::clamp(pixels, 1, kMaxPixelHeight);
}

// Words end after each breaking space, which stays with its word. A marker and its number are
// never split, nor taken for a space.
std::vector<std::string_view> SplitWords(std::string_view marked) {
  std::vector<std::string_view> words;
  size_t start = 0;
  for (size_t i = 0; i < marked.size(); ++i) {
    if (marked[i] == kEntityMarker) {
      ++i;
    } else if (IsBreakingSpace(marked[i])) {
      words.push_back(marked.substr(start, i + 1 - start));
      start = i + 1;
    }
  }
  if (start < marked.size()) words.push_back(marked.substr(start));
  return words;
}

class Layouter {
 public:
  Layouter(const LayoutStyle& style, TextMeasurer& measurer)
      : style_(style),
        measurer_(measurer),
        base_font_(style.base_font),
        colour_(style.text_colour),
        x_(style.left_margin),
        y_(style.top_margin),
        line_bottom_(style.top_margin) {
    base_font_.pixel_height = ClampHeight(base_font_.pixel_height);
    font_ = base_font_;
  }

  void Apply(const Token& token) {
    if (!token.is_tag) return DrawRun(token.text);
    switch (token.tag) {
      case Tag::kBold:
        return Up(bold_);
      case Tag::kBoldEnd:
        return Down(bold_);
      case Tag::kItalic:
        return Up(italic_);
      case Tag::kItalicEnd:
        return Down(italic_);
      case Tag::kUnderline:
        return Up(underline_);
      case Tag::kUnderlineEnd:
        return Down(underline_);
      case Tag::kStrike:
        return Up(strike_);
      case Tag::kStrikeEnd:
        return Down(strike_);
      case Tag::kSub:
        return Up(sub_);
      case Tag::kSubEnd:
        return Down(sub_);
      case Tag::kSup:
        return Up(sup_);
      case Tag::kSupEnd:
        return Down(sup_);
      case Tag::kBig:
      case Tag::kSmallEnd:
        return Grow(1);
      case Tag::kSmall:
      case Tag::kBigEnd:
        return Grow(-1);
      case Tag::kFont:
        return ApplyFont(DrawnText(token.text));
      case Tag::kFontEnd:
        colour_ = style_.text_colour;
        background_.reset();
        font_ = base_font_;
        return;
      case Tag::kCode:
        font_.face = kCodeFace;
        font_.fixed_pitch = true;
        return;
      case Tag::kCodeEnd:
        font_ = base_font_;
        return;
      case Tag::kLink:
        in_link_ = true;
        link_target_ = DrawnText(token.text);
        ++link_number_;
        return;
      case Tag::kLinkEnd:
        in_link_ = false;
        return;
      case Tag::kRule:
        return DrawRule(DrawnText(token.text));
      case Tag::kBreak:
        return EndLine(measurer_.Metrics(CurrentFont()).height);
    }
  }

  Layout Finish() {
    out_.bottom = line_has_content_ ? line_bottom_ : y_;
    return std::move(out_);
  }

 private:
  static void Up(int& counter) { ++counter; }
  static void Down(int& counter) { counter = std::max(0, counter - 1); }
  void Grow(int pixels) { font_.pixel_height = ClampHeight(font_.pixel_height + pixels); }

  RunFont CurrentFont() const {
    RunFont font = font_;
    font.bold = bold_ > 0;
    font.italic = italic_ > 0;
    font.underline = underline_ > 0;
    font.strike_out = strike_ > 0;
    return font;
  }

  void ApplyFont(const std::string& attribute_text) {
    const FontAttributes attributes = ParseFontAttributes(attribute_text);
    if (attributes.colour) colour_ = ParseColour(*attributes.colour);
    if (attributes.background) background_ = ParseColour(*attributes.background);
    if (attributes.face) {
      font_.face = *attributes.face;
      font_.fixed_pitch = false;
    }
    if (attributes.size) Grow(*attributes.size);
  }

  // Moves to the start of the next line: below the tallest run of this one, or down by
  // `empty_height` when nothing stands on it.
  void EndLine(int empty_height) {
    y_ = line_has_content_ ? line_bottom_ : y_ + std::max(0, empty_height);
    x_ = style_.left_margin;
    line_bottom_ = y_;
    line_has_content_ = false;
  }

  void DrawRule(const std::string& attribute_text) {
    if (const auto size = ParseRuleSize(attribute_text)) {
      rule_thickness_ = std::clamp(*size, 0, kMaxPixelHeight);
    }
    if (line_has_content_) EndLine(0);
    const int left = style_.left_margin;
    out_.rules.push_back(
        {left, y_, std::max(0, style_.width - 2 * left), rule_thickness_, colour_});
    y_ += rule_thickness_;
    line_bottom_ = y_;
  }

  void DrawRun(std::string_view marked) {
    const RunFont font = CurrentFont();
    const FontMetrics metrics = measurer_.Metrics(font);
    const int shift = (sub_ > 0 ? metrics.ascent / 2 : 0) - (sup_ > 0 ? metrics.ascent / 2 : 0);
    const int limit = style_.width - kRightEdgeGap;
    std::string line;
    int line_width = 0;
    const auto flush = [&] {
      if (line.empty()) return;
      const int top = y_ + shift;
      if (in_link_) {
        out_.links.push_back(
            {x_, top, x_ + line_width, top + metrics.height, link_target_, link_number_});
      }
      out_.pieces.push_back({x_, top, line_width, metrics.height, metrics.ascent, font, colour_,
                             background_, std::move(line)});
      x_ += line_width;
      line_bottom_ = std::max(line_bottom_, y_ + metrics.height);
      line_has_content_ = true;
      line.clear();
      line_width = 0;
    };
    for (const std::string_view word : SplitWords(marked)) {
      const std::string drawn = DrawnText(word);
      const size_t last = drawn.find_last_not_of(' ');
      const std::string_view visible(drawn.data(), last == std::string::npos ? 0 : last + 1);
      const int fit = visible.empty() ? 0 : measurer_.Width(font, visible);
      if (x_ + line_width + fit >= limit && (!line.empty() || line_has_content_)) {
        flush();
        EndLine(metrics.height);
        if (visible.empty()) continue;  // no spaces at the start of a wrapped line
      }
      line += drawn;
      line_width += visible.size() == drawn.size() ? fit : measurer_.Width(font, drawn);
    }
    flush();
  }

  const LayoutStyle& style_;
  TextMeasurer& measurer_;
  Layout out_;

  RunFont base_font_;
  RunFont font_;  // face, height and fixed pitch; the counters below give the styles
  Colour colour_;
  std::optional<Colour> background_;
  int bold_ = 0, italic_ = 0, underline_ = 0, strike_ = 0, sub_ = 0, sup_ = 0;
  int rule_thickness_ = kDefaultRuleThickness;
  bool in_link_ = false;
  std::string link_target_;
  int link_number_ = -1;

  int x_;
  int y_;            // top of the current line
  int line_bottom_;  // bottom of the tallest run on it
  bool line_has_content_ = false;
};

}  // namespace

const LinkArea* Layout::LinkAt(int x, int y) const {
  const auto found =
      std::find_if(links.begin(), links.end(), [&](const LinkArea& a) { return a.Contains(x, y); });
  return found == links.end() ? nullptr : &*found;
}

Layout LayOut(std::string_view markup, const LayoutStyle& style, TextMeasurer& measurer) {
  const std::string marked = MarkEntities(markup);
  Layouter layouter(style, measurer);
  for (const Token& token : Tokenize(marked))
    layouter.Apply(token);
  return layouter.Finish();
}

}  // namespace html
