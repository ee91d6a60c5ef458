// Runs the verbarium-cli binary (VERBARIUM_CLI, set by the build) through the shell with given
// arguments, standard input and working folder, and collects its output and exit status.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

inline std::string ReadAll(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

inline CliResult RunCli(const std::vector<std::string>& args, const std::string& input = "",
                        const std::string& cwd = ".") {
  static int counter = 0;
  const std::string base =
      (std::filesystem::temp_directory_path() /
       ("verbarium_cli_" + std::to_string(::getpid()) + "_" + std::to_string(counter++)))
          .string();
  std::ofstream(base + ".in", std::ios::binary) << input;
  std::string command = "cd " + Quote(cwd) + " && exec " + Quote(VERBARIUM_CLI);
  for (const std::string& a : args)
    command += " " + Quote(a);
  command +=
      " <" + Quote(base + ".in") + " >" + Quote(base + ".out") + " 2>" + Quote(base + ".err");
  const int status = std::system(command.c_str());
  CliResult result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(base + ".out"),
                   ReadAll(base + ".err")};
  for (const char* ext : {".in", ".out", ".err"})
    std::filesystem::remove(base + ext);
  return result;
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
