#include "ui/html/markup.h"

#include <algorithm>
#include <array>

#include "engine/text_helpers.h"

namespace html {

namespace {

struct Entity {
  std::string_view name;
  std::string_view drawn;  // UTF-8 of the character of the entity's Windows-1252 byte
};

// In marker order: the marker of kEntities[i] is kEntityMarker followed by the byte i + 2.
constexpr std::array<Entity, 13> kEntities = {{
    {"&amp;", "&"},
    {"&bull;", "\xE2\x80\xA2"},  // 0x95, U+2022
    {"&copy;", "\xC2\xA9"},
    {"&euro;", "\xE2\x82\xAC"},  // 0x80, U+20AC
    {"&gt;", ">"},
    {"&iquest;", "\xC2\xBF"},
    {"&lt;", "<"},
    {"&nbsp;", "\xC2\xA0"},  // a space that joins its neighbours into one word
    {"&para;", "\xC2\xB6"},
    {"&pound;", "\xC2\xA3"},
    {"&quot;", "\""},
    {"&reg;", "\xC2\xAE"},
    {"&trade;", "\xE2\x84\xA2"},  // 0x99, U+2122
}};
constexpr char kFirstEntityNumber = 2;

struct TagName {
  std::string_view text;
  Tag tag;
};

// Tags written out in full, ">" included.
constexpr std::array<TagName, 21> kWholeTags = {{
    {"<B>", Tag::kBold},        {"</B>", Tag::kBoldEnd},        {"<I>", Tag::kItalic},
    {"</I>", Tag::kItalicEnd},  {"<U>", Tag::kUnderline},       {"</U>", Tag::kUnderlineEnd},
    {"<STRIKE>", Tag::kStrike}, {"</STRIKE>", Tag::kStrikeEnd}, {"<BIG>", Tag::kBig},
    {"</BIG>", Tag::kBigEnd},   {"<SMALL>", Tag::kSmall},       {"</SMALL>", Tag::kSmallEnd},
    {"<SUB>", Tag::kSub},       {"</SUB>", Tag::kSubEnd},       {"<SUP>", Tag::kSup},
    {"</SUP>", Tag::kSupEnd},   {"</FONT>", Tag::kFontEnd},     {"<CODE>", Tag::kCode},
    {"</CODE>", Tag::kCodeEnd}, {"</A>", Tag::kLinkEnd},        {"<BR>", Tag::kBreak},
}};

// Tags with attributes up to the next ">". FONT and HR must end their name there.
constexpr std::array<TagName, 3> kOpenTags = {{
    {"<FONT", Tag::kFont},
    {"<A HREF=", Tag::kLink},
    {"<HR", Tag::kRule},
}};

// A number as the C library's atoi reads one, kept within +-100000 so that sizes built from it
// cannot overflow.
int ReadNumber(std::string_view text) {
  text = engine::TrimWhiteSpace(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min(value * 10 + (c - '0'), 100000);
  }
  return negative ? -value : value;
}

std::string_view Unquote(std::string_view value) {
  value = engine::TrimWhiteSpace(value);
  if (value.empty() || value.front() != '"') return value;
  value.remove_prefix(1);
  return value.substr(0, value.find('"'));
}

}  // namespace

std::string MarkEntities(std::string_view text) {
  std::string marked;
  marked.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    if (text[i] == kEntityMarker) {
      ++i;
      continue;
    }
    if (text[i] == '&') {
      const auto entity = std::find_if(kEntities.begin(), kEntities.end(), [&](const Entity& e) {
        return text.substr(i).starts_with(e.name);
      });
      if (entity != kEntities.end()) {
        marked += kEntityMarker;
        marked += static_cast<char>(kFirstEntityNumber + (entity - kEntities.begin()));
        i += entity->name.size();
        continue;
      }
    }
    marked += text[i++];
  }
  return marked;
}

std::string DrawnText(std::string_view marked) {
  std::string drawn;
  drawn.reserve(marked.size());
  for (size_t i = 0; i < marked.size(); ++i) {
    const char c = marked[i];
    if (c == kEntityMarker) {
      if (i + 1 == marked.size()) break;
      const int index = marked[++i] - kFirstEntityNumber;
      if (index >= 0 && index < static_cast<int>(kEntities.size())) drawn += kEntities[index].drawn;
    } else {
      drawn += IsBreakingSpace(c) ? ' ' : c;
    }
  }
  return drawn;
}

bool IsBreakingSpace(char c) {
  return engine::IsWhiteSpace(c);
}

std::vector<Token> Tokenize(std::string_view marked) {
  std::vector<Token> tokens;
  size_t i = 0;
  while (i < marked.size()) {
    const std::string_view rest = marked.substr(i);
    if (rest.front() == '<') {
      const auto whole = std::find_if(kWholeTags.begin(), kWholeTags.end(), [&](const TagName& t) {
        return engine::StartsWithIgnoringAsciiCase(rest, t.text);
      });
      if (whole != kWholeTags.end()) {
        tokens.push_back({true, whole->tag, {}});
        i += whole->text.size();
        continue;
      }
      const auto open = std::find_if(kOpenTags.begin(), kOpenTags.end(), [&](const TagName& t) {
        if (!engine::StartsWithIgnoringAsciiCase(rest, t.text)) return false;
        if (t.tag == Tag::kLink || rest.size() == t.text.size()) return true;
        const char next = rest[t.text.size()];
        return next == '>' || engine::IsWhiteSpace(next);
      });
      if (open != kOpenTags.end()) {
        const size_t close = rest.find('>');
        if (close == std::string_view::npos) break;  // the text ends here
        tokens.push_back(
            {true, open->tag, rest.substr(open->text.size(), close - open->text.size())});
        i += close + 1;
        continue;
      }
    }
    // A run: the text up to the next "<", or a "<" that starts no tag, drawn as itself.
    const size_t next = marked.find('<', i + 1);
    const size_t end = next == std::string_view::npos ? marked.size() : next;
    tokens.push_back({false, Tag::kBold, marked.substr(i, end - i)});
    i = end;
  }
  return tokens;
}

FontAttributes ParseFontAttributes(std::string_view attributes) {
  FontAttributes result;
  std::string_view rest = attributes;
  while (true) {
    rest = engine::TrimWhiteSpace(rest);
    const size_t equals = rest.find('=');
    if (rest.empty() || equals == std::string_view::npos) break;
    const std::string_view name = engine::TrimWhiteSpace(rest.substr(0, equals));
    rest = engine::TrimWhiteSpace(rest.substr(equals + 1));
    std::string_view value;
    if (!rest.empty() && rest.front() == '"') {
      const size_t close = rest.find('"', 1);
      value = rest.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
      rest = close == std::string_view::npos ? std::string_view() : rest.substr(close + 1);
    } else {
      const size_t space =
          std::find_if(rest.begin(), rest.end(), engine::IsWhiteSpace) - rest.begin();
      value = rest.substr(0, space);
      rest = rest.substr(space);
    }
    if (engine::EqualsIgnoringAsciiCase(name, "COLOR")) {
      result.colour = std::string(value);
    } else if (engine::EqualsIgnoringAsciiCase(name, "BGCOLOR")) {
      result.background = std::string(value);
    } else if (engine::EqualsIgnoringAsciiCase(name, "FACE")) {
      result.face = std::string(value);
    } else if (engine::EqualsIgnoringAsciiCase(name, "SIZE")) {
      result.size = ReadNumber(value);
    }
  }
  return result;
}

std::optional<int> ParseRuleSize(std::string_view attributes) {
  constexpr std::string_view kSize = "SIZE=";
  for (size_t i = 0; i + kSize.size() <= attributes.size(); ++i) {
    if (engine::StartsWithIgnoringAsciiCase(attributes.substr(i), kSize)) {
      return ReadNumber(Unquote(attributes.substr(i + kSize.size())));
    }
  }
  return std::nullopt;
}

std::string PlainText(std::string_view markup) {
  const std::string marked = MarkEntities(markup);
  std::string plain;
  for (const Token& token : Tokenize(marked)) {
    if (!token.is_tag) {
      plain += DrawnText(token.text);
    } else if (token.tag == Tag::kBreak || token.tag == Tag::kRule) {
      plain += '\n';
    }
  }
  return plain;
}

std::optional<std::string> AppCommandName(std::string_view target) {
  constexpr std::string_view kApp = "APP:";
  std::string_view rest = engine::TrimWhiteSpace(target);
  if (!rest.empty() && rest.front() == '"') rest.remove_prefix(1);
  if (!engine::StartsWithIgnoringAsciiCase(rest, kApp)) return std::nullopt;
  rest.remove_prefix(kApp.size());
  while (!rest.empty() && rest.front() == '"')
    rest.remove_prefix(1);
  while (!rest.empty() && rest.back() == '"')
    rest.remove_suffix(1);
  return std::string(rest);
}

std::string LinkAddress(std::string_view target) {
  return std::string(Unquote(target));
}

}  // namespace html
