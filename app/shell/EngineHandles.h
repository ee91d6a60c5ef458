// The handles the program holds from start-up to exit: the lexical engine, the custom
// database, the "StopAnagrams" event and the anagram engine, opened in that order from the
// data folders and closed in that order; and the table of irregular forms, read beside the
// engine (missing or damaged, it is off and start-up goes on).
#pragma once

#include <QString>
#include <string>

#include "app/custom/CustomStore.h"
#include "app/lookup/irregular_forms.h"
#include "platform/data_path.h"

class EarlyEngineStart;
struct NymdexEngine;
struct CustomDatabase;
struct JumbleEngine;
namespace platform {
struct NamedEvent;
}

class EngineHandles {
 public:
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
  // An engine already starting for these files (`early`, when given) is taken instead of
  // starting another.
  QString Open(const platform::DataLocation& location, EarlyEngineStart* early = nullptr);

  // Takes the anagram engine loaded from anagram_list_path() (AnagramListLoader).
  void AdoptJumble(JumbleEngine* engine);
  const std::string& anagram_list_path() const { return anagram_list_path_; }

  // Shuts the lexical engine down, closes the custom database, shuts the anagram engine down
  // and closes the event; each only when open.
  void Close();

  NymdexEngine* engine() const { return engine_; }
  // The custom database handle's address: adding, editing and restoring entries replace it.
  CustomDatabase** custom_handle() { return &custom_; }
  // The custom database as the entry dialogs and the Database menu use it: the handle's
  // address and the two files it was opened from (empty paths before Open).
  CustomStore custom_store() { return {&custom_, custom_index_path_, custom_data_path_}; }
  JumbleEngine* jumble() const { return jumble_; }
  platform::NamedEvent* stop_anagrams() const { return stop_anagrams_; }
  bool engines_started() const { return engine_ != nullptr; }
  const lookup::IrregularForms& irregular_forms() const { return forms_; }

 private:
  NymdexEngine* engine_ = nullptr;
  CustomDatabase* custom_ = nullptr;
  std::string custom_index_path_;
  std::string custom_data_path_;
  platform::NamedEvent* stop_anagrams_ = nullptr;
  JumbleEngine* jumble_ = nullptr;
  std::string anagram_list_path_;
  lookup::IrregularForms forms_;
};
