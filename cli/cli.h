// verbarium-cli: the dictionary from a terminal. Looks words up as the Lookup button does,
// finds anagrams and pattern matches, and manages the custom database.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// Exit statuses.
inline constexpr int kExitFound = 0;     // something was found, or the command did its work
inline constexpr int kExitNotFound = 1;  // nothing found, or an unknown word
inline constexpr int kExitError = 2;     // usage error, invalid input, or a data error

// Runs one command line (the arguments after the program name). Results go to `out`, messages
// to `err`; `in` is read by "lookup --batch -".
int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err);

}  // namespace cli
