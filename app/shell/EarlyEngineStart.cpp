#include "app/shell/EarlyEngineStart.h"

#include <system_error>

#include "engine/nymdex.h"
#include "platform/program_names.h"

EarlyEngineStart::~EarlyEngineStart() {
  if (thread_.joinable()) thread_.join();
  if (engine_ != nullptr) Nymdex_ShutDown(&engine_);
}

void EarlyEngineStart::Begin(const platform::DataLocation& location) {
  if (thread_.joinable()) return;
  synset_path_ = location.DictionaryFile(program::kSynsetFile);
  word_index_path_ = location.DictionaryFile(program::kWordIndexFile);
  tag_path_ = location.DictionaryFile(program::kTagFile);
  try {
    thread_ = std::thread([this] {
      status_ = Nymdex_StartUp(&engine_, synset_path_.c_str(), word_index_path_.c_str(),
                               tag_path_.c_str(), nullptr, nullptr);
      if (status_ != kNymdexOk) engine_ = nullptr;
    });
  } catch (const std::system_error&) {
  }
}

bool EarlyEngineStart::Take(const platform::DataLocation& location, uint32_t* status,
                            NymdexEngine** engine) {
  if (!thread_.joinable() || location.DictionaryFile(program::kSynsetFile) != synset_path_ ||
      location.DictionaryFile(program::kWordIndexFile) != word_index_path_ ||
      location.DictionaryFile(program::kTagFile) != tag_path_) {
    return false;
  }
  thread_.join();
  *status = status_;
  *engine = engine_;
  engine_ = nullptr;
  return true;
}
