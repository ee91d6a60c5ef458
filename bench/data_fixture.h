// What the benchmarks on the compiled dictionary share: where Data/ is and the lexical engine
// started on it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/nymdex.h"
#include "platform/data_path.h"
#include "platform/program_names.h"

namespace bench_data {

// $VERBARIUM_DATA_DIR when set, else the build's Data/.
inline std::string DataDir() {
  const char* env = std::getenv("VERBARIUM_DATA_DIR");
  return env != nullptr && *env != '\0' ? env : VERBARIUM_DATA_DIR;
}

inline std::string DataFile(const char* name) {
  return platform::FileInDataFolder(DataDir(), name);
}

// The lexical engine on DataDir(); the benchmark ends when it does not start.
inline NymdexEngine* StartEngineOrExit() {
  NymdexEngine* engine = nullptr;
  if (Nymdex_StartUp(&engine, DataFile(program::kSynsetFile).c_str(),
                     DataFile(program::kWordIndexFile).c_str(), DataFile(program::kTagFile).c_str(),
                     nullptr, nullptr) != kNymdexOk) {
    std::fprintf(stderr, "cannot start the engine on %s\n", DataDir().c_str());
    std::exit(1);
  }
  return engine;
}

}  // namespace bench_data
