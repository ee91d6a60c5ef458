// Command-line arguments of one command: options ("--name", "--name VALUE", "--name=VALUE")
// anywhere among the operands, "--" ending the options.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace cli {

struct OptionSpec {
  const char* name;  // without the leading "--"
  bool takes_value;
};

struct ParsedArgs {
  std::vector<std::string> operands;
  std::map<std::string, std::vector<std::string>> options;  // values in order given

  bool Has(const std::string& name) const { return options.count(name) != 0; }
  // The last value given for the option, or `fallback`.
  std::string Value(const std::string& name, const std::string& fallback = "") const;
  const std::vector<std::string>& Values(const std::string& name) const;
};

// Parses `args` against `specs`. False with a message for an unknown option, a missing value,
// or a value given to an option that takes none.
bool ParseArgs(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs,
               ParsedArgs* parsed, std::string* error);

// A decimal integer (optional sign) that fits an int; false for anything else.
bool ParseInt(const std::string& text, int* value);

// Splits "1,3, 5" at commas into trimmed pieces; empty pieces are kept so callers can refuse
// them.
std::vector<std::string> SplitList(const std::string& text);

}  // namespace cli
