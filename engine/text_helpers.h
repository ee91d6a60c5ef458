// Small text helpers shared by every library: ASCII character classes and case folding,
// trimming, digit parsing, UTF-8 decoding and a line walk. Bytes are chars; nothing here
// depends on the locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace engine {

constexpr bool IsAsciiUpper(char c) {
  return c >= 'A' && c <= 'Z';
}

constexpr bool IsAsciiLower(char c) {
  return c >= 'a' && c <= 'z';
}

constexpr bool IsAsciiLetter(char c) {
  return IsAsciiUpper(c) || IsAsciiLower(c);
}

constexpr bool IsAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}

// Space, tab, line feed, carriage return, vertical tab, form feed.
constexpr bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// 'A' to 'Z' mapped onto 'a' to 'z'; every other byte unchanged.
constexpr char AsciiLower(char c) {
  return IsAsciiUpper(c) ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string AsciiLowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    c = AsciiLower(c);
  return lower;
}

inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

inline bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

// Byte order (unsigned) once ASCII capitals are lower-cased, a prefix first: -1, 0 or 1.
inline int CompareIgnoringAsciiCase(std::string_view a, std::string_view b) {
  const size_t common = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(AsciiLower(a[i]));
    const auto y = static_cast<unsigned char>(AsciiLower(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// `text` without the white space at both ends.
inline std::string_view TrimWhiteSpace(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsWhiteSpace(text[begin]))
    ++begin;
  while (end > begin && IsWhiteSpace(text[end - 1]))
    --end;
  return text.substr(begin, end - begin);
}

// The value of the digits `text` begins with (0 when it begins with none), held at INT32_MAX
// so that long texts cannot wrap around.
inline int32_t LeadingDigitsValue(std::string_view text) {
  int64_t value = 0;
  for (char c : text) {
    if (!IsAsciiDigit(c)) break;
    value = value * 10 + (c - '0');
    if (value > INT32_MAX) value = INT32_MAX;
  }
  return static_cast<int32_t>(value);
}

// True, with the value, when `text` is one or more digits and their value is at most `max`.
inline bool ParseDigits(std::string_view text, uint64_t max, uint64_t* value) {
  if (text.empty()) return false;
  uint64_t v = 0;
  for (char c : text) {
    if (!IsAsciiDigit(c)) return false;
    v = v * 10 + static_cast<uint64_t>(c - '0');
    if (v > max) return false;
  }
  *value = v;
  return true;
}

// One character of UTF-8 text: its code point and its length in bytes. A byte that does not
// start a well-formed sequence (overlong forms, surrogates and code points above U+10FFFF are
// not well formed) gives code point -1 and length 1.
struct Utf8Char {
  int32_t code_point;
  size_t length;
};

// The character at byte `i` (< text.size()) of `text`.
inline Utf8Char DecodeUtf8(std::string_view text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) return {lead, 1};
  size_t length;
  int32_t cp;
  int32_t minimum;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, cp = lead & 0x07, minimum = 0x10000;
  } else {
    return {-1, 1};
  }
  if (i + length > text.size()) return {-1, 1};
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return {-1, 1};
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {-1, 1};
  return {cp, length};
}

// Calls `visit(line, number, start)` for each line of `text`, ended by '\n' or by the text's
// end: the line without its '\n', its number from 1 and the byte where it starts. Stops at the
// first visit that returns false and returns false then; true otherwise.
template <typename Visit>
bool ForEachLine(std::string_view text, Visit visit) {
  size_t start = 0;
  uint32_t number = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    ++number;
    if (!visit(text.substr(start, end - start), number, start)) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace engine
