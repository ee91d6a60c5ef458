// Runs the verbarium-cli binary (VERBARIUM_CLI, set by the build) through the shell with given
// arguments, standard input and working folder, and collects its output and exit status.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"

namespace cli_test {

struct CliResult {
  int status = -1;  // exit status, or -1 when the process did not exit normally
  std::string out;
  std::string err;
};

// `text` as one shell word.
inline std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text)
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

inline CliResult RunCli(const std::vector<std::string>& args, const std::string& input = "",
                        const std::string& cwd = ".") {
  const test_support::ScratchFolder streams;
  std::string command = "cd " + Quote(cwd) + " && exec " + Quote(VERBARIUM_CLI);
  for (const std::string& a : args)
    command += " " + Quote(a);
  command += " <" + Quote(streams.Write("in", input)) + " >" + Quote(streams.Path("out")) + " 2>" +
             Quote(streams.Path("err"));
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test_support::ReadFile(streams.Path("out")),
          test_support::ReadFile(streams.Path("err"))};
}

// Runs the program over the Data folder `data`.
inline CliResult RunOn(const std::string& data, std::vector<std::string> args,
                       const std::string& input = "") {
  args.insert(args.begin(), {"--data", data});
  return RunCli(args, input);
}

// The lines of a text, without their line breaks.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

}  // namespace cli_test
