#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "engine/nymdex.h"
#include "platform/data_path.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  // Lookups start the engine: its decoded word index is kept in the user's cache folder.
  Nymdex_SetCacheFolder(platform::UserCacheFolder().c_str());
  const int status = cli::Run(args, std::cin, std::cout, std::cerr);
  std::cout.flush();
  return status;
}
