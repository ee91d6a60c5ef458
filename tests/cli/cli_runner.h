// Runs the verbarium-cli binary (VERBARIUM_CLI, set by the build) as a separate process with
// given arguments, standard input and working folder, and collects its output and status.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
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

inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline CliResult RunCli(const std::vector<std::string>& args, const std::string& input = "",
                        const std::string& cwd = "") {
  static std::atomic<int> counter{0};
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() /
      ("verbarium_cli_run_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
  std::filesystem::create_directories(dir);
  const std::string in_path = (dir / "in").string();
  const std::string out_path = (dir / "out").string();
  const std::string err_path = (dir / "err").string();
  std::ofstream(in_path, std::ios::binary) << input;

  std::vector<std::string> argv_text = {VERBARIUM_CLI};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : argv_text)
    argv.push_back(a.data());
  argv.push_back(nullptr);

  CliResult result;
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (!cwd.empty() && ::chdir(cwd.c_str()) != 0) ::_exit(127);
    const int in_fd = ::open(in_path.c_str(), O_RDONLY);
    const int out_fd = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err_fd = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in_fd < 0 || out_fd < 0 || err_fd < 0) ::_exit(127);
    ::dup2(in_fd, 0);
    ::dup2(out_fd, 1);
    ::dup2(err_fd, 2);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  int wait_status = 0;
  if (pid > 0 && ::waitpid(pid, &wait_status, 0) == pid && WIFEXITED(wait_status)) {
    result.status = WEXITSTATUS(wait_status);
  }
  result.out = ReadWholeFile(out_path);
  result.err = ReadWholeFile(err_path);
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  return result;
}

// The lines of a text, without their newlines.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

}  // namespace cli_test
