// The markup and layout of the HTML-subset renderer, measured by a fake: every character is 10
// pixels wide, a font of height h is h + 4 pixels tall with an ascent of h.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/html/colour.h"
#include "ui/html/layout.h"
#include "ui/html/markup.h"

namespace {

using html::Colour;

class FakeMeasurer : public html::TextMeasurer {
 public:
  int Width(const html::RunFont&, std::string_view text) override {
    int characters = 0;
    for (char c : text)
      characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return 10 * characters;
  }
  html::FontMetrics Metrics(const html::RunFont& font) override {
    return {font.pixel_height + 4, font.pixel_height, 4};
  }
};

html::Layout Lay(std::string_view markup, int width = 1000, int left = 0, int top = 0) {
  html::LayoutStyle style;
  style.base_font = {"Sans", 12};
  style.width = width;
  style.left_margin = left;
  style.top_margin = top;
  FakeMeasurer measurer;
  return html::LayOut(markup, style, measurer);
}

// The pieces as "text@x,y", in drawing order.
std::vector<std::string> Placed(const html::Layout& layout) {
  std::vector<std::string> placed;
  for (const auto& piece : layout.pieces) {
    placed.push_back(piece.text + "@" + std::to_string(piece.x) + "," + std::to_string(piece.y));
  }
  return placed;
}

std::string AllText(const html::Layout& layout) {
  std::string text;
  for (const auto& piece : layout.pieces)
    text += piece.text;
  return text;
}

// The piece that draws "X".
const html::TextPiece& PieceX(const html::Layout& layout) {
  for (const auto& piece : layout.pieces) {
    if (piece.text.find('X') != std::string::npos) return piece;
  }
  static const html::TextPiece none;
  ADD_FAILURE() << "no piece draws X";
  return none;
}

TEST(HtmlMarkup, EntitiesDrawAsCharactersAndOpenNoMarkup) {
  const struct {
    const char* markup;
    const char* drawn;
  } cases[] = {
      {"&lt;B&gt;word", "<B>word"},
      {"&amp;lt;", "&lt;"},
      {"&AMP; &Lt;", "&AMP; &Lt;"},  // names are case-sensitive
      {"&amp;&bull;&copy;&euro;&gt;&iquest;&lt;&nbsp;&para;&pound;&quot;&reg;&trade;",
       "&\u2022\u00A9\u20AC>\u00BF<\u00A0\u00B6\u00A3\"\u00AE\u2122"},
      {"a\x01\x08z", "a\x08z"},  // a stray marker byte is no entity
      {"<P>x", "<P>x"},          // unknown tags are drawn
      {"<HREF>x", "<HREF>x"},
      {"a<B", "a<B"},
      {"a<FONT COLOR=red", "a"},  // an open tag without ">" ends the text
      {"a<A HREF=x", "a"},
      {"a<HR", "a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.markup);
    const html::Layout layout = Lay(c.markup);
    EXPECT_EQ(AllText(layout), c.drawn);
    for (const auto& piece : layout.pieces)
      EXPECT_FALSE(piece.font.bold);
  }
}

TEST(HtmlMarkup, TagsSetStyles) {
  const struct {
    const char* markup;
    bool bold, italic, underline, strike;
    int height;
    const char* face;
  } cases[] = {
      {"<b>X", true, false, false, false, 12, "Sans"},
      {"<B>a</B></B><B>X", true, false, false, false, 12, "Sans"},  // counters stop at 0
      {"<B>a</b></B>X", false, false, false, false, 12, "Sans"},
      {"<I><u><Strike>X", false, true, true, true, 12, "Sans"},
      {"<BIG><BIG>X", false, false, false, false, 14, "Sans"},
      {"</BIG>X", false, false, false, false, 11, "Sans"},
      {"<SMALL>a</SMALL></SMALL>X", false, false, false, false, 13, "Sans"},
      {"<FONT SIZE=\"3\">X", false, false, false, false, 15, "Sans"},
      {"<FONT SIZE=-30>X", false, false, false, false, 1, "Sans"},
      {"<BIG><FONT FACE=\"Serif\" SIZE=2>a</FONT>X", false, false, false, false, 12, "Sans"},
      {"<FONT FACE=\"Serif\">X", false, false, false, false, 12, "Serif"},
      {"<CODE>X", false, false, false, false, 12, "Courier New"},
      {"<BIG><CODE>a</CODE>X", false, false, false, false, 12, "Sans"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.markup);
    const html::Layout layout = Lay(c.markup);
    const html::TextPiece& x = PieceX(layout);
    EXPECT_EQ(x.font.bold, c.bold);
    EXPECT_EQ(x.font.italic, c.italic);
    EXPECT_EQ(x.font.underline, c.underline);
    EXPECT_EQ(x.font.strike_out, c.strike);
    EXPECT_EQ(x.font.pixel_height, c.height);
    EXPECT_EQ(x.font.face, c.face);
  }
}

TEST(HtmlMarkup, ColourTexts) {
  const struct {
    const char* text;
    Colour colour;
  } cases[] = {
      {"#FF8000", {255, 128, 0}},
      {"#ff8000", {255, 128, 0}},
      {"#F80", {}},
      {"#FF80001", {}},
      {"#GG0000", {}},
      {"255,0,128", {255, 0, 128}},
      {"256,-1,300", {0, 255, 44}},
      {"10, 20", {10, 20, 0}},
      {"gray", {127, 127, 127}},
      {"GRAY", {127, 127, 127}},
      {"AliceBlue", {240, 248, 255}},
      {"yellowgreen", {139, 205, 50}},
      {"BlanchedAlmond", {255, 255, 205}},
      {"Crimson", {220, 20, 60}},
      {"Grey", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(html::ParseColour(c.text), c.colour);
  }
}

TEST(HtmlMarkup, FontColoursLastUntilFontEnd) {
  const html::Layout layout = Lay("<FONT COLOR=\"0,0,160\" BGCOLOR=yellow>a<B>b</B></FONT>c");
  ASSERT_EQ(layout.pieces.size(), 3u);
  for (int i : {0, 1}) {
    EXPECT_EQ(layout.pieces[i].colour, (Colour{0, 0, 160}));
    EXPECT_EQ(layout.pieces[i].background, (Colour{255, 255, 0}));
  }
  EXPECT_EQ(layout.pieces[2].colour, (Colour{0, 0, 0}));
  EXPECT_FALSE(layout.pieces[2].background.has_value());
}

TEST(HtmlLayout, LinesBreak) {
  using Lines = std::vector<std::string>;
  const struct {
    const char* markup;
    Lines placed;
  } cases[] = {
      // 100 pixels wide: a line holds what stays below 98 pixels, trailing space not counted.
      {"aaaa bbbb cccc", {"aaaa bbbb @0,0", "cccc@0,16"}},
      {"aaaa bbbb&nbsp;cccc", {"aaaa @0,0", "bbbb\u00A0cccc@0,16"}},
      {"a xxxxxxxxxxxxxxx b", {"a @0,0", "xxxxxxxxxxxxxxx @0,16", "b@0,32"}},
      {"aaaaaaa<B>bbbb</B>c", {"aaaaaaa@0,0", "bbbb@0,16", "c@40,16"}},
      {"aaaaaaaaa  b", {"aaaaaaaaa @0,0", "b@0,16"}},  // no space starts a wrapped line
      {"a<BR>b", {"a@0,0", "b@0,16"}},
      {"<BR><br>b", {"b@0,32"}},
      {"<FONT SIZE=8>A</FONT> b<BR>c", {"A@0,0", " b@10,0", "c@0,24"}},  // top-aligned, tallest
      {"a<SUB>b</SUB><SUP>c</SUP>", {"a@0,0", "b@10,6", "c@20,-6"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.markup);
    EXPECT_EQ(Placed(Lay(c.markup, 100)), c.placed);
  }
  EXPECT_EQ(Placed(Lay("aaaa bbbb cccc", 100, 5, 7)), (Lines{"aaaa bbbb @5,7", "cccc@5,23"}));
}

TEST(HtmlLayout, RulesEndTheLineAndPushTextDown) {
  const html::Layout layout = Lay("a<HR SIZE=4>b<hr>c", 100, 5);
  EXPECT_EQ(Placed(layout), (std::vector<std::string>{"a@5,0", "b@5,20", "c@5,40"}));
  ASSERT_EQ(layout.rules.size(), 2u);
  EXPECT_EQ(layout.rules[0].y, 16);
  EXPECT_EQ(layout.rules[0].thickness, 4);
  EXPECT_EQ(layout.rules[0].x, 5);
  EXPECT_EQ(layout.rules[0].width, 90);
  EXPECT_EQ(layout.rules[1].y, 36);
  EXPECT_EQ(layout.rules[1].thickness, 4);  // the thickness stays
  EXPECT_EQ(layout.bottom, 56);
}

TEST(HtmlLayout, LinkAreasCoverEveryLineOfTheLink) {
  const html::Layout layout =
      Lay("aa <A HREF=\"http://x\">bbbb cccccccc</A> d <a href=APP:Next>e</a>", 100);
  ASSERT_EQ(layout.links.size(), 3u);
  const auto area = [&](size_t i) {
    const auto& a = layout.links[i];
    return std::vector<int>{a.left, a.top, a.right, a.bottom, a.link};
  };
  EXPECT_EQ(area(0), (std::vector<int>{30, 0, 80, 16, 0}));
  EXPECT_EQ(area(1), (std::vector<int>{0, 16, 80, 32, 0}));
  EXPECT_EQ(area(2), (std::vector<int>{20, 32, 30, 48, 1}));
  EXPECT_EQ(layout.links[0].target, "\"http://x\"");
  EXPECT_EQ(layout.LinkAt(5, 20), &layout.links[1]);
  EXPECT_EQ(layout.LinkAt(85, 5), nullptr);
}

TEST(HtmlMarkup, LinkTargets) {
  const struct {
    const char* target;
    const char* command;  // null: no command
    const char* address;
  } cases[] = {
      {"APP:Next", "Next", "APP:Next"},
      {"app:next", "next", "app:next"},
      {"\"APP:Next\"", "Next", "APP:Next"},
      {"APP:\"Next\"", "Next", "APP:\"Next\""},
      {"\"http://x.org/a b\" more", nullptr, "http://x.org/a b"},
      {" mailto:me@x.org ", nullptr, "mailto:me@x.org"},
      {"http://APP:x", nullptr, "http://APP:x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    const auto command = html::AppCommandName(c.target);
    EXPECT_EQ(command.has_value(), c.command != nullptr);
    if (command && c.command) {
      EXPECT_EQ(*command, c.command);
    }
    EXPECT_EQ(html::LinkAddress(c.target), c.address);
  }
}

TEST(HtmlMarkup, PlainTextDropsTags) {
  EXPECT_EQ(html::PlainText("<b>Bold</b> &amp; <I>it</I><BR>next <P><a href=x>go</a>"),
            "Bold & it\nnext <P>go");
}

}  // namespace
