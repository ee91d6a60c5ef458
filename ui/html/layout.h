// The layout of the HTML-subset renderer: from markup, a base font, colours and a width to the
// pieces of text, the rules and the link areas to draw, without any drawing library. Text is
// measured through a TextMeasurer, so the window measures with its fonts and tests with a fake.
//
// Each layout starts from the base font, the given colours and all style counters at 0: what
// one text leaves open (an unclosed "<B>", a link) never carries into the next layout.
//
// Layout rules:
//  - Counters: <B> <I> <U> <STRIKE> <SUB> <SUP> count up, their end tags down, never below 0;
//    a style is on while its counter is above 0.
//  - <BIG> and </SMALL> make the font 1 pixel taller, <SMALL> and </BIG> 1 pixel smaller;
//    <FONT SIZE=n> n pixels taller; heights stay within 1 to kMaxPixelHeight. <FONT COLOR=..
//    BGCOLOR=.. FACE=..> change colours and face. </FONT> brings the colours and the base font
//    back, </CODE> the base font (neither restores an enclosing tag); <CODE> draws in a fixed
//    pitch face.
//  - Runs are broken into words after spaces. A line takes words while its width (without the
//    trailing spaces) stays below the space to the right edge less 2 pixels; a word that does
//    not fit starts the next line at the left edge, and a word wider than a line stands alone
//    on it. Spaces that a wrap leaves at the start of a line are dropped.
//  - Runs are top-aligned on a line; a line is as tall as its tallest run. A subscript is drawn
//    half its font's ascent lower, a superscript as much higher.
//  - <BR> ends the line (an empty line is as tall as the current font). <HR> ends the line
//    too, draws a rule of the current thickness (2, or the last SIZE=n) across the width in the
//    text colour, and the text goes on below it.
//  - Text between <A HREF=target> and </A> is a link: one area per piece of text drawn, all
//    with the link's number (0 for the first link of the text, then 1, ...).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/html/colour.h"

namespace html {

inline constexpr int kMaxPixelHeight = 1000;
inline constexpr int kDefaultRuleThickness = 2;
inline constexpr int kRightEdgeGap = 2;  // pixels kept free at the right edge
inline constexpr char kCodeFace[] = "Courier New";

struct RunFont {
  std::string face;
  int pixel_height = 12;  // the character height
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike_out = false;
  bool fixed_pitch = false;  // <CODE>: the face, or else any fixed-pitch face

  friend bool operator==(const RunFont&, const RunFont&) = default;
};

struct FontMetrics {
  int height = 0;  // ascent + descent (+ leading, if the font has any)
  int ascent = 0;
  int descent = 0;
};

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  // The advance width of UTF-8 text in the font.
  virtual int Width(const RunFont& font, std::string_view text) = 0;
  virtual FontMetrics Metrics(const RunFont& font) = 0;
};

struct LayoutStyle {
  RunFont base_font;
  Colour text_colour{0, 0, 0};  // the background is the drawer's, behind all the text
  int width = 0;                // of the area drawn in; text wraps at width - kRightEdgeGap
  int left_margin = 0;
  int top_margin = 0;
};

struct TextPiece {
  int x = 0;
  int y = 0;  // top
  int width = 0;
  int height = 0;
  int ascent = 0;  // baseline = y + ascent
  RunFont font;
  Colour colour;
  std::optional<Colour> background;  // while a FONT BGCOLOR is in force: filled behind the piece
  std::string text;                  // UTF-8, as drawn
};

struct RulePiece {
  int x = 0;
  int y = 0;
  int width = 0;
  int thickness = 0;
  Colour colour;
};

struct LinkArea {
  int left = 0;
  int top = 0;
  int right = 0;       // exclusive
  int bottom = 0;      // exclusive
  std::string target;  // as written after "<A HREF="
  int link = 0;        // which link: the areas of one <A HREF=...> share the number

  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

struct Layout {
  std::vector<TextPiece> pieces;
  std::vector<RulePiece> rules;
  std::vector<LinkArea> links;
  int bottom = 0;  // below the last line: the height the text needs, top margin included

  // The first link area that holds the point, or null.
  const LinkArea* LinkAt(int x, int y) const;
};

Layout LayOut(std::string_view markup, const LayoutStyle& style, TextMeasurer& measurer);

}  // namespace html
