// The lexical engine's start-up begun on a thread of its own as soon as the program knows its
// dictionary folder, so that the engine decodes and checks its files while the main window is
// being built; the window's start-up then takes the engine (or its failure) where it would
// otherwise start it, in the same place of its sequence and with the same outcome. The same
// thread then reads the table of irregular forms beside the dictionary, which the start-up
// takes in the same way.
#pragma once

#include <cstdint>
#include <string>
#include <thread>

#include "app/lookup/irregular_forms.h"
#include "platform/data_path.h"

struct NymdexEngine;

class EarlyEngineStart {
 public:
  EarlyEngineStart() = default;
  EarlyEngineStart(const EarlyEngineStart&) = delete;
  EarlyEngineStart& operator=(const EarlyEngineStart&) = delete;
  // Waits for a start-up still running and shuts down an engine nobody took.
  ~EarlyEngineStart();

  // Starts the engine on the dictionary files of `location`; nothing when a thread cannot be
  // had (the window's start-up then starts the engine itself).
  void Begin(const platform::DataLocation& location);

  // When the engine was started for the same three files as `location` names, waits for its
  // start-up and hands over its status and handle (which the caller then owns): true. False,
  // with nothing handed over, when it was not begun, was for other files or was taken.
  bool Take(const platform::DataLocation& location, uint32_t* status, NymdexEngine** engine);
  // When the irregular forms were read from `path`, waits for them and hands them over: true.
  // False when they were not begun, were read from another file or were taken.
  bool TakeForms(const std::string& path, lookup::IrregularForms* forms);

 private:
  std::thread thread_;
  std::string synset_path_;
  std::string word_index_path_;
  std::string tag_path_;
  std::string forms_path_;
  uint32_t status_ = 0;
  NymdexEngine* engine_ = nullptr;
  lookup::IrregularForms forms_;
  bool begun_ = false;
  bool engine_taken_ = false;
  bool forms_taken_ = false;
};
