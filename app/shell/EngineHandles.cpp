#include "app/shell/EngineHandles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "anagram/jumble.h"
#include "app/lookup/custom_entry.h"
#include "custom/custom_db.h"
#include "engine/nymdex.h"
#include "platform/named_event.h"

QString EngineHandles::Open(const platform::DataLocation& location) {
  const auto path = [&](const char* name) { return location.DictionaryFile(name); };
  const uint32_t engine_status =
      Nymdex_StartUp(&engine_, path("1001L.dat").c_str(), path("1001W.dat").c_str(),
                     path("1001T.dat").c_str(), nullptr, nullptr);
  if (engine_status != kNymdexOk) {
    engine_ = nullptr;
    return QString::fromLatin1(engine_status == kNymdexCorrupt ? lookup::kCorruptedDataMessage
                                                               : lookup::kReadErrorMessage);
  }

  const std::string index_path = location.CustomFile("1001M.idx");
  const std::string data_path = location.CustomFile("1001M.dat");
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
  stop_anagrams_ = platform::OpenNamedEvent(kStopAnagramsEvent, /*manual_reset=*/true,
                                            /*initially_set=*/false);
  if (stop_anagrams_ == nullptr) {
    return QStringLiteral("System error : ") +
           (errno != 0 ? QString::fromLocal8Bit(std::strerror(errno)) : QString());
  }

  // The anagram list loads after the window is up (AnagramListLoader); a list that cannot be
  // opened still stops the start-up here, with the message its start-up would give.
  anagram_list_path_ = path("1001A.dat");
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
