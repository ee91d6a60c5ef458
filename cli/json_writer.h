// A small JSON writer for the command line's --json output: objects, arrays, strings, numbers
// and booleans written in order into one compact line. Strings are escaped (quotes,
// backslashes, control characters); UTF-8 text passes through, and bytes that are not valid
// UTF-8 become U+FFFD so the output is always valid JSON.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  // The name of the next member of the current object.
  JsonWriter& Key(std::string_view name);
  JsonWriter& String(std::string_view value);
  JsonWriter& Int(int64_t value);
  // A number with three decimals at most ("1.25"); numbers that are not finite, or not below
  // 1e15 in size, are written as null.
  JsonWriter& Number(double value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();
  // An array of strings as one value.
  JsonWriter& Strings(const std::vector<std::string>& values);

  const std::string& text() const { return text_; }

 private:
  void BeforeValue();

  std::string text_;
  // One entry per open object or array: whether it already holds a member or element.
  std::vector<bool> has_items_;
  bool after_key_ = false;
};

// `value` as a JSON string literal, quotes included.
std::string JsonQuote(std::string_view value);

}  // namespace cli
