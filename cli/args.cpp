#include "cli/args.h"

#include <climits>

#include "app/lookup/text_rules.h"
#include "engine/text_helpers.h"

namespace cli {

std::string ParsedArgs::Value(const std::string& name, const std::string& fallback) const {
  const auto it = options.find(name);
  return it == options.end() || it->second.empty() ? fallback : it->second.back();
}

const std::vector<std::string>& ParsedArgs::Values(const std::string& name) const {
  static const std::vector<std::string> kNone;
  const auto it = options.find(name);
  return it == options.end() ? kNone : it->second;
}

bool ParseArgs(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs,
               ParsedArgs* parsed, std::string* error) {
  *parsed = ParsedArgs();
  bool options_ended = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_ended || arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
      if (arg == "--" && !options_ended) {
        options_ended = true;
      } else {
        parsed->operands.push_back(arg);
      }
      continue;
    }
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(2, equals == std::string::npos ? equals : equals - 2);
    const OptionSpec* spec = nullptr;
    for (const OptionSpec& s : specs) {
      if (name == s.name) spec = &s;
    }
    if (spec == nullptr) {
      *error = "unknown option --" + name;
      return false;
    }
    std::string value;
    if (equals != std::string::npos) {
      if (!spec->takes_value) {
        *error = "option --" + name + " takes no value";
        return false;
      }
      value = arg.substr(equals + 1);
    } else if (spec->takes_value) {
      if (i + 1 >= args.size()) {
        *error = "option --" + name + " needs a value";
        return false;
      }
      value = args[++i];
    }
    parsed->options[name].push_back(value);
  }
  return true;
}

bool ParseInt(const std::string& text, int* value) {
  std::string_view digits(text);
  const bool negative = !digits.empty() && digits.front() == '-';
  if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
  const uint64_t most = negative ? uint64_t{INT_MAX} + 1 : uint64_t{INT_MAX};
  uint64_t magnitude = 0;
  if (!engine::ParseDigits(digits, most, &magnitude)) return false;
  *value = static_cast<int>(negative ? -static_cast<int64_t>(magnitude)
                                     : static_cast<int64_t>(magnitude));
  return true;
}

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> pieces;
  size_t start = 0;
  while (true) {
    const size_t comma = text.find(',', start);
    pieces.push_back(lookup::Trim(text.substr(start, comma - start)));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return pieces;
}

}  // namespace cli
