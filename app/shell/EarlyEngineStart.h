// The lexical engine's start-up begun on a thread of its own as soon as the program knows its
// dictionary folder, so that the engine decodes and checks its files while the main window is
// being built; the window's start-up then takes the engine (or its failure) where it would
// otherwise start it, in the same place of its sequence and with the same outcome.
#pragma once

#include <cstdint>
#include <string>
#include <thread>

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

 private:
  std::thread thread_;
  std::string synset_path_;
  std::string word_index_path_;
  std::string tag_path_;
  uint32_t status_ = 0;
  NymdexEngine* engine_ = nullptr;
};
