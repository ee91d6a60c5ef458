#include "app/shell/EarlyEngineStart.h"

#include <system_error>

#include "engine/nymdex.h"
#include "platform/program_names.h"

EarlyEngineStart::~EarlyEngineStart() {
  if (thread_.joinable()) thread_.join();
  if (engine_ != nullptr) Nymdex_ShutDown(&engine_);
}

void EarlyEngineStart::Begin(const platform::DataLocation& location) {
  if (begun_) return;
  synset_path_ = location.DictionaryFile(program::kSynsetFile);
  word_index_path_ = location.DictionaryFile(program::kWordIndexFile);
  tag_path_ = location.DictionaryFile(program::kTagFile);
  forms_path_ = location.DictionaryFile(program::kIrregularFormsFile);
  try {
    thread_ = std::thread([this] {
      status_ = Nymdex_StartUp(&engine_, synset_path_.c_str(), word_index_path_.c_str(),
                               tag_path_.c_str(), nullptr, nullptr);
      if (status_ != kNymdexOk) engine_ = nullptr;
      forms_ = lookup::IrregularForms::Load(forms_path_);
    });
    begun_ = true;
  } catch (const std::system_error&) {
  }
}

bool EarlyEngineStart::Take(const platform::DataLocation& location, uint32_t* status,
                            NymdexEngine** engine) {
  if (!begun_ || engine_taken_ || location.DictionaryFile(program::kSynsetFile) != synset_path_ ||
      location.DictionaryFile(program::kWordIndexFile) != word_index_path_ ||
      location.DictionaryFile(program::kTagFile) != tag_path_) {
    return false;
  }
  if (thread_.joinable()) thread_.join();
  *status = status_;
  *engine = engine_;
  engine_ = nullptr;
  engine_taken_ = true;
  return true;
}

bool EarlyEngineStart::TakeForms(const std::string& path, lookup::IrregularForms* forms) {
  if (!begun_ || forms_taken_ || path != forms_path_) return false;
  if (thread_.joinable()) thread_.join();
  *forms = std::move(forms_);
  forms_taken_ = true;
  return true;
}
