#include "app/shell/EngineHandles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "anagram/jumble.h"
#include "app/lookup/custom_entry.h"
#include "app/shell/EarlyEngineStart.h"
#include "custom/custom_db.h"
#include "engine/nymdex.h"
#include "platform/named_event.h"
#include "platform/program_names.h"

QString EngineHandles::Open(const platform::DataLocation& location, EarlyEngineStart* early) {
  const auto path = [&](const char* name) { return location.DictionaryFile(name); };
  uint32_t engine_status = kNymdexOk;
  if (early == nullptr || !early->Take(location, &engine_status, &engine_)) {
    engine_status = Nymdex_StartUp(&engine_, path(program::kSynsetFile).c_str(),
                                   path(program::kWordIndexFile).c_str(),
                                   path(program::kTagFile).c_str(), nullptr, nullptr);
  }
  if (engine_status != kNymdexOk) {
    engine_ = nullptr;
    return QString::fromLatin1(engine_status == kNymdexCorrupt ? lookup::kCorruptedDataMessage
                                                               : lookup::kReadErrorMessage);
  }

  if (early == nullptr || !early->TakeForms(path(program::kIrregularFormsFile), &forms_))
    forms_ = lookup::IrregularForms::Load(path(program::kIrregularFormsFile));

  custom_index_path_ = location.CustomFile(program::kCustomIndexFile);
  custom_data_path_ = location.CustomFile(program::kCustomDataFile);
  const std::string& index_path = custom_index_path_;
  const std::string& data_path = custom_data_path_;
  if (location.installed) {
    // A user's first start of an installed program: an empty custom database of their own.
    // A database with one of its files missing is left alone and reported by the open.
    platform::MakeDirectories(location.custom_dir);
    CustomDb_CreateIfMissing(index_path.c_str(), data_path.c_str());
  }
  if (CustomDb_Open(&custom_, index_path.c_str(), data_path.c_str()) != kCustomOk) {
    custom_ = nullptr;
    return QString::fromLatin1(lookup::kReadErrorMessage);
  }

  errno = 0;
  stop_anagrams_ = platform::OpenNamedEvent(program::kStopAnagramsEvent, /*manual_reset=*/true,
                                            /*initially_set=*/false);
  if (stop_anagrams_ == nullptr) {
    return QStringLiteral("System error : ") +
           (errno != 0 ? QString::fromLocal8Bit(std::strerror(errno)) : QString());
  }

  // The anagram list loads after the window is up (AnagramListLoader); a list that cannot be
  // opened still stops the start-up here, with the message its start-up would give.
  anagram_list_path_ = path(program::kAnagramFile);
  if (std::FILE* list = std::fopen(anagram_list_path_.c_str(), "rb")) {
    std::fclose(list);
  } else {
    return QString::fromLatin1(lookup::kReadErrorMessage);
  }
  return {};
}

void EngineHandles::AdoptJumble(JumbleEngine* engine) {
  if (jumble_ != nullptr) Jumble_ShutDown(&jumble_);
  jumble_ = engine;
}

void EngineHandles::Close() {
  if (engine_ != nullptr) Nymdex_ShutDown(&engine_);
  engine_ = nullptr;
  if (custom_ != nullptr) CustomDb_Close(&custom_);
  if (jumble_ != nullptr) Jumble_ShutDown(&jumble_);
  platform::CloseNamedEvent(stop_anagrams_);
  stop_anagrams_ = nullptr;
}
