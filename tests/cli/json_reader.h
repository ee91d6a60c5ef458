// A minimal JSON reader for the command-line tests, for the compact JSON verbarium-cli prints:
// objects, arrays, strings (with the named escapes the writer uses), integers, numbers with a
// fraction, true, false and null, no white space inside. Parse fails on anything else, so malformed
// output is caught.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace json_test {

struct Value {
  std::string key;   // an object member's name
  char kind = 0;     // '"' string, '#' integer, '.' number with a fraction, '[' array, '{' object,
                     // 't', 'f', 'n'; 0 missing
  std::string text;  // a string's value, an integer's digits
  std::vector<Value> items;  // an array's elements or an object's members

  const Value& operator[](const std::string& name) const {
    static const Value kMissing;
    for (const Value& item : items) {
      if (kind == '{' && item.key == name) return item;
    }
    return kMissing;
  }
  long Int() const { return kind == '#' ? std::stol(text) : -1; }
  double Number() const { return kind == '#' || kind == '.' ? std::stod(text) : -1; }
  bool True() const { return kind == 't'; }
  std::vector<std::string> Strings() const {
    std::vector<std::string> out;
    for (const Value& v : items)
      out.push_back(v.kind == '"' ? v.text : "<not a string>");
    return out;
  }
};

inline bool ParseString(const std::string& s, size_t& i, std::string* out) {
  static const std::string kEscapes = "\"\"\\\\b\bf\fn\nr\rt\t";  // pairs: letter, byte
  if (i >= s.size() || s[i] != '"') return false;
  for (++i; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') return ++i, true;
    if (static_cast<unsigned char>(c) < 0x20) return false;
    if (c == '\\') {
      const size_t k = i + 1 < s.size() ? kEscapes.find(s[++i]) : std::string::npos;
      if (k == std::string::npos || k % 2 != 0) return false;
      c = kEscapes[k + 1];
    }
    out->push_back(c);
  }
  return false;
}

inline bool ParseAt(const std::string& s, size_t& i, Value* v) {
  if (i >= s.size()) return false;
  v->kind = s[i];
  if (v->kind == '"') return ParseString(s, i, &v->text);
  if (v->kind == '[' || v->kind == '{') {
    const char close = v->kind == '[' ? ']' : '}';
    if (++i < s.size() && s[i] == close) return ++i, true;
    do {
      Value item;
      if (close == '}' && (!ParseString(s, i, &item.key) || (*v)[item.key].kind != 0 ||
                           i >= s.size() || s[i++] != ':')) {
        return false;  // not a member, or a repeated name
      }
      if (!ParseAt(s, i, &item)) return false;
      v->items.push_back(std::move(item));
    } while (i < s.size() && s[i] == ',' && ++i);
    return i < s.size() && s[i++] == close;
  }
  for (const char* word : {"true", "false", "null"}) {
    if (s.compare(i, std::strlen(word), word) == 0) return i += std::strlen(word), true;
  }
  const size_t start = i;
  if (s[i] == '-') ++i;
  auto digits = [&] {
    const size_t first = i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
      ++i;
    return i > first;
  };
  if (!digits()) return false;
  v->kind = '#';
  if (i < s.size() && s[i] == '.') {  // a fraction: digits on both sides of the point
    ++i;
    if (!digits()) return false;
    v->kind = '.';
  }
  v->text = s.substr(start, i - start);
  return true;
}

// One value filling `text`, a final line break allowed.
inline bool Parse(std::string text, Value* value) {
  if (!text.empty() && text.back() == '\n') text.pop_back();
  *value = Value();
  size_t i = 0;
  return ParseAt(text, i, value) && i == text.size();
}

// The value `text` holds; a test failure when it holds none.
inline Value ParsedOrFail(const std::string& text) {
  Value value;
  EXPECT_TRUE(Parse(text, &value)) << text;
  return value;
}

}  // namespace json_test
