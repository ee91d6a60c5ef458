// The markup of the HTML-subset renderer: entities, tags and runs of text, and what a link
// target names.
//
// The 13 named entities ("&amp;" to "&trade;", case-sensitive) are replaced first, each by a
// two-byte marker (kEntityMarker and the entity's number, 2 to 14), so that an entity never
// opens or closes markup: "&lt;B&gt;" draws "<B>" and switches nothing on. Markers become the
// Unicode characters of the entities' Windows-1252 bytes only when text is formed for drawing;
// the marker of "&nbsp;" draws a no-break space that never ends a word.
//
// Tags are compared without regard to case. A tag the markup does not know is drawn as text,
// starting with its "<". A "<FONT", "<A HREF=" or "<HR" without a closing ">" ends the text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace html {

inline constexpr char kEntityMarker = '\x01';

// Replaces the entities by their markers. Marker bytes already in `text` are dropped first, so
// every marker of the result stands for an entity.
std::string MarkEntities(std::string_view text);

// The text as drawn: markers replaced by their characters (UTF-8), tabs and line breaks by
// spaces.
std::string DrawnText(std::string_view marked);

// True for a byte at which a word may end: a space (or a tab or line break, drawn as one).
// The marker of "&nbsp;" is no such byte.
bool IsBreakingSpace(char c);

enum class Tag {
  kBold,
  kBoldEnd,
  kItalic,
  kItalicEnd,
  kUnderline,
  kUnderlineEnd,
  kStrike,
  kStrikeEnd,
  kBig,
  kBigEnd,
  kSmall,
  kSmallEnd,
  kSub,
  kSubEnd,
  kSup,
  kSupEnd,
  kFont,
  kFontEnd,
  kCode,
  kCodeEnd,
  kLink,
  kLinkEnd,
  kRule,
  kBreak,
};

struct Token {
  bool is_tag = false;
  Tag tag = Tag::kBold;
  // A run: its marked text. kFont and kRule: the attribute text before the ">". kLink: the
  // target, the text between "<A HREF=" and ">".
  std::string_view text;
};

// Splits marked text (see MarkEntities) into runs and tags, in order. The tokens point into
// `marked`.
std::vector<Token> Tokenize(std::string_view marked);

// FONT attributes: each a name, "=" and a value (in double quotes, or up to the next space),
// separated by spaces; names in any case.
struct FontAttributes {
  std::optional<std::string> colour, background, face;
  std::optional<int> size;
};
FontAttributes ParseFontAttributes(std::string_view attributes);

// HR attributes: the number after "SIZE=", when there is one.
std::optional<int> ParseRuleSize(std::string_view attributes);

// The markup as a screen reader reads it: tags dropped (unknown ones kept, as they are
// drawn), entities as characters, "<BR>" as a line break.
std::string PlainText(std::string_view markup);

// A target that begins with "APP:" (any case), or with a double quote and "APP:", names a
// command of the program: the command name is the rest without surrounding double quotes.
// Nothing for any other target.
std::optional<std::string> AppCommandName(std::string_view target);

// The address a target opens: the text inside surrounding double quotes when it begins with
// one ("<A HREF="x">" opens x), else the target without surrounding spaces.
std::string LinkAddress(std::string_view target);

}  // namespace html
