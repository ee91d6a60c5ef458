// The engine's state after start-up, shared by the start-up (anagram/jumble_startup.cpp) and the
// request's search (anagram/jumble.cpp). Not part of the engine's interface.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/large_buffer.h"
#include "platform/named_event.h"

namespace jumble {

// A word of the list, prepared once at start-up so that the candidate pass can reject most
// words without looking at their letters.
struct ListedWord {
  uint32_t offset = 0;  // into JumbleEngine::words
  uint8_t length = 0;
  bool plain = false;  // only 'a' to 'z': anything else can never be spelled from the letters
  uint32_t mask = 0;   // bit k for the letter 'a' + k
};

}  // namespace jumble

struct JumbleEngine {
  platform::NamedEvent* stop = nullptr;
  uint32_t word_count = 0;
  // Each word followed by its NUL, in list order; read whole from the file, so not zeroed first.
  std::vector<char, engine::LargeBufferAllocator<char>> words;
  std::vector<jumble::ListedWord> listed;

  ~JumbleEngine() { platform::CloseNamedEvent(stop); }
};
