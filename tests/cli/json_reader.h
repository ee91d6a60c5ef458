// A strict JSON reader for the command-line tests: parses what verbarium-cli prints so the
// tests look at values, not at text. Fails (Parse returns false) on anything that is not one
// complete JSON value.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace json_test {

struct Value {
  enum Kind { kNull, kBool, kNumber, kString, kArray, kObject } kind = kNull;
  bool boolean = false;
  double number = 0;
  std::string string;
  std::vector<Value> array;
  std::map<std::string, Value> object;

  const Value& operator[](const std::string& key) const {
    static const Value kMissing;
    const auto it = object.find(key);
    return it == object.end() ? kMissing : it->second;
  }
  bool Has(const std::string& key) const { return object.count(key) != 0; }
  std::vector<std::string> Strings() const {
    std::vector<std::string> out;
    for (const Value& v : array)
      out.push_back(v.string);
    return out;
  }
};

class Reader {
 public:
  explicit Reader(const std::string& text) : s_(text) {}

  bool Parse(Value* value) {
    pos_ = 0;
    if (!ParseValue(value, 0)) return false;
    SkipSpace();
    return pos_ == s_.size();
  }

 private:
  void SkipSpace() {
    while (pos_ < s_.size() &&
           (s_[pos_] == ' ' || s_[pos_] == '\n' || s_[pos_] == '\r' || s_[pos_] == '\t')) {
      ++pos_;
    }
  }
  bool Literal(const char* word) {
    const std::string w(word);
    if (s_.compare(pos_, w.size(), w) != 0) return false;
    pos_ += w.size();
    return true;
  }
  static void AppendUtf8(uint32_t cp, std::string* out) {
    if (cp < 0x80) {
      out->push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  bool ParseString(std::string* out) {
    if (pos_ >= s_.size() || s_[pos_] != '"') return false;
    ++pos_;
    while (pos_ < s_.size()) {
      const auto c = static_cast<unsigned char>(s_[pos_++]);
      if (c == '"') return true;
      if (c < 0x20) return false;  // raw control characters are not allowed
      if (c != '\\') {
        out->push_back(static_cast<char>(c));
        continue;
      }
      if (pos_ >= s_.size()) return false;
      const char e = s_[pos_++];
      switch (e) {
        case '"':
        case '\\':
        case '/':
          out->push_back(e);
          break;
        case 'b':
          out->push_back('\b');
          break;
        case 'f':
          out->push_back('\f');
          break;
        case 'n':
          out->push_back('\n');
          break;
        case 'r':
          out->push_back('\r');
          break;
        case 't':
          out->push_back('\t');
          break;
        case 'u': {
          if (pos_ + 4 > s_.size()) return false;
          uint32_t cp = 0;
          for (int i = 0; i < 4; ++i) {
            const char h = s_[pos_++];
            cp <<= 4;
            if (h >= '0' && h <= '9') {
              cp |= h - '0';
            } else if (h >= 'a' && h <= 'f') {
              cp |= h - 'a' + 10;
            } else if (h >= 'A' && h <= 'F') {
              cp |= h - 'A' + 10;
            } else {
              return false;
            }
          }
          AppendUtf8(cp, out);
          break;
        }
        default:
          return false;
      }
    }
    return false;
  }
  bool ParseValue(Value* v, int depth) {
    if (depth > 64) return false;
    SkipSpace();
    if (pos_ >= s_.size()) return false;
    const char c = s_[pos_];
    if (c == '{') {
      v->kind = Value::kObject;
      ++pos_;
      SkipSpace();
      if (pos_ < s_.size() && s_[pos_] == '}') return ++pos_, true;
      while (true) {
        SkipSpace();
        std::string key;
        if (!ParseString(&key)) return false;
        SkipSpace();
        if (pos_ >= s_.size() || s_[pos_++] != ':') return false;
        if (v->object.count(key) != 0) return false;  // duplicate keys are a fault here
        if (!ParseValue(&v->object[key], depth + 1)) return false;
        SkipSpace();
        if (pos_ >= s_.size()) return false;
        if (s_[pos_] == ',') {
          ++pos_;
          continue;
        }
        return s_[pos_++] == '}';
      }
    }
    if (c == '[') {
      v->kind = Value::kArray;
      ++pos_;
      SkipSpace();
      if (pos_ < s_.size() && s_[pos_] == ']') return ++pos_, true;
      while (true) {
        v->array.emplace_back();
        if (!ParseValue(&v->array.back(), depth + 1)) return false;
        SkipSpace();
        if (pos_ >= s_.size()) return false;
        if (s_[pos_] == ',') {
          ++pos_;
          continue;
        }
        return s_[pos_++] == ']';
      }
    }
    if (c == '"') {
      v->kind = Value::kString;
      return ParseString(&v->string);
    }
    if (Literal("true")) return v->kind = Value::kBool, v->boolean = true, true;
    if (Literal("false")) return v->kind = Value::kBool, true;
    if (Literal("null")) return v->kind = Value::kNull, true;
    const size_t start = pos_;
    if (pos_ < s_.size() && s_[pos_] == '-') ++pos_;
    while (pos_ < s_.size() && ((s_[pos_] >= '0' && s_[pos_] <= '9') || s_[pos_] == '.' ||
                                s_[pos_] == 'e' || s_[pos_] == 'E' || s_[pos_] == '+')) {
      ++pos_;
    }
    if (pos_ == start) return false;
    v->kind = Value::kNumber;
    v->number = std::stod(s_.substr(start, pos_ - start));
    return true;
  }

  const std::string& s_;
  size_t pos_ = 0;
};

inline bool Parse(const std::string& text, Value* value) {
  *value = Value();
  return Reader(text).Parse(value);
}

}  // namespace json_test
