#include "cli/json_writer.h"

#include <cmath>
#include <cstdio>

namespace cli {

namespace {

// Length of the well-formed UTF-8 sequence at `i`, or 0 when the bytes there are not one.
size_t Utf8SequenceLength(std::string_view s, size_t i) {
  const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = b(i);
  size_t length;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  } else {
    return 0;
  }
  if (i + length > s.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
  }
  // Overlong forms, surrogates and code points above U+10FFFF.
  if (lead == 0xE0 && b(i + 1) < 0xA0) return 0;
  if (lead == 0xED && b(i + 1) > 0x9F) return 0;
  if (lead == 0xF0 && b(i + 1) < 0x90) return 0;
  if (lead == 0xF4 && b(i + 1) > 0x8F) return 0;
  return length;
}

}  // namespace

std::string JsonQuote(std::string_view value) {
  std::string out;
  out.reserve(value.size() + 2);
  out.push_back('"');
  for (size_t i = 0; i < value.size();) {
    const auto c = static_cast<unsigned char>(value[i]);
    if (c >= 0x80) {
      const size_t length = Utf8SequenceLength(value, i);
      if (length == 0) {
        out += "\xEF\xBF\xBD";
        ++i;
      } else {
        out.append(value.substr(i, length));
        i += length;
      }
      continue;
    }
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
    ++i;
  }
  out.push_back('"');
  return out;
}

void JsonWriter::BeforeValue() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (!has_items_.empty()) {
    if (has_items_.back()) text_.push_back(',');
    has_items_.back() = true;
  }
}

JsonWriter& JsonWriter::BeginObject() {
  BeforeValue();
  text_.push_back('{');
  has_items_.push_back(false);
  return *this;
}

JsonWriter& JsonWriter::EndObject() {
  text_.push_back('}');
  if (!has_items_.empty()) has_items_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::BeginArray() {
  BeforeValue();
  text_.push_back('[');
  has_items_.push_back(false);
  return *this;
}

JsonWriter& JsonWriter::EndArray() {
  text_.push_back(']');
  if (!has_items_.empty()) has_items_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::Key(std::string_view name) {
  BeforeValue();
  text_ += JsonQuote(name);
  text_.push_back(':');
  after_key_ = true;
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view value) {
  BeforeValue();
  text_ += JsonQuote(value);
  return *this;
}

JsonWriter& JsonWriter::Int(int64_t value) {
  BeforeValue();
  text_ += std::to_string(value);
  return *this;
}

JsonWriter& JsonWriter::Number(double value) {
  if (!std::isfinite(value) || std::fabs(value) >= 1e15) return Null();
  BeforeValue();
  // Thousandths as an integer, then the point put in: no locale, no exponent.
  const long long thousandths = std::llround(value * 1000.0);
  const unsigned long long magnitude = thousandths < 0
                                           ? 0ull - static_cast<unsigned long long>(thousandths)
                                           : static_cast<unsigned long long>(thousandths);
  std::string digits = std::to_string(magnitude / 1000);
  unsigned long long fraction = magnitude % 1000;
  if (fraction != 0) {
    int places = 3;
    while (fraction % 10 == 0) {
      fraction /= 10;
      --places;
    }
    std::string decimals = std::to_string(fraction);
    digits += "." + std::string(static_cast<size_t>(places) - decimals.size(), '0') + decimals;
  }
  if (thousandths < 0) text_.push_back('-');
  text_ += digits;
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  BeforeValue();
  text_ += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::Null() {
  BeforeValue();
  text_ += "null";
  return *this;
}

JsonWriter& JsonWriter::Strings(const std::vector<std::string>& values) {
  BeginArray();
  for (const std::string& v : values)
    String(v);
  return EndArray();
}

}  // namespace cli
