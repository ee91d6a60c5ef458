// The handles the program holds from start-up to exit: the lexical engine, the custom
// database, the "StopAnagrams" event and the anagram engine, opened in that order from the
// data folders and closed in that order.
#pragma once

#include <QString>
#include <string>

#include "platform/data_path.h"

struct NymdexEngine;
struct CustomDatabase;
struct JumbleEngine;
namespace platform {
struct NamedEvent;
}

class EngineHandles {
 public:
  static constexpr char kStopAnagramsEvent[] = "StopAnagrams";

  EngineHandles() = default;
  EngineHandles(const EngineHandles&) = delete;
  EngineHandles& operator=(const EngineHandles&) = delete;
  ~EngineHandles() { Close(); }

  // Opens everything in order and stops at the first failure, giving its message (empty on
  // success): the lexical engine (a failed integrity check: the "corrupted" message; any other
  // failure: the "Error reading" one), the custom database ("Error reading"), the event
  // ("System error : ..."), and whether the anagram list can be opened ("Error reading"): the
  // anagram engine itself is loaded later from anagram_list_path() and handed over. With the
  // installed dictionary, the per-user custom folder and an empty custom database are created first
  // when missing. What opened before a failure stays open until Close.
  QString Open(const platform::DataLocation& location);

  // Takes the anagram engine loaded from anagram_list_path() (AnagramListLoader).
  void AdoptJumble(JumbleEngine* engine);
  const std::string& anagram_list_path() const { return anagram_list_path_; }

  // Shuts the lexical engine down, closes the custom database, shuts the anagram engine down
  // and closes the event; each only when open.
  void Close();

  NymdexEngine* engine() const { return engine_; }
  // The custom database handle's address: adding, editing and restoring entries replace it.
  CustomDatabase** custom_handle() { return &custom_; }
  JumbleEngine* jumble() const { return jumble_; }
  platform::NamedEvent* stop_anagrams() const { return stop_anagrams_; }
  bool engines_started() const { return engine_ != nullptr; }

 private:
  NymdexEngine* engine_ = nullptr;
  CustomDatabase* custom_ = nullptr;
  platform::NamedEvent* stop_anagrams_ = nullptr;
  JumbleEngine* jumble_ = nullptr;
  std::string anagram_list_path_;
};
