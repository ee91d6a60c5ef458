// Anagram requests with random input, filter and settings over small random word lists. The
// work is bounded: at most 64 anagrams per request, few letters, short lists, and the stop
// event may be set from the callback part way.
//
// Input: five setting bytes (minimum, maximum, permutations, maximum count, flags), then
// lines: the input text, the filter, and the words of the list.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "anagram/jumble.h"
#include "engine/md5.h"
#include "engine/text_helpers.h"
#include "platform/named_event.h"
#include "platform/program_names.h"

namespace {

struct Run {
  platform::NamedEvent* stop = nullptr;
  int stop_after = -1;  // deliveries before the stop event is set; -1 never
  int delivered = 0;
  size_t letters = 0;
};

void Receive(const char* phrase, void* context) {
  auto* run = static_cast<Run*>(context);
  size_t letters = 0;
  for (const char* p = phrase; *p != '\0'; ++p) {
    if (*p != ' ' && (*p < 'a' || *p > 'z')) __builtin_trap();
    if (*p != ' ') ++letters;
  }
  if (letters != run->letters) __builtin_trap();  // a phrase spells all the letters
  if (++run->delivered == run->stop_after) platform::SetNamedEvent(run->stop);
}

// "1001A.dat" of the words: the digest covers no complete chunk, so it is the MD5 of nothing.
bool WriteList(const std::string& path, const std::vector<std::string>& words) {
  std::vector<uint8_t> file(32, 0);
  file[0] = 0x22, file[1] = 0xB6, file[2] = 0x4F, file[3] = 0x09;
  engine::Digest digest = engine::Md5().Final();
  std::copy(digest.begin(), digest.end(), file.begin() + 16);
  for (const std::string& word : words) {
    file.insert(file.end(), word.begin(), word.end());
    file.push_back(0);
  }
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  return std::fclose(out) == 0 && written;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  int32_t min_length = data[0] % 6;
  int32_t max_length = data[1] % 10;
  int32_t permutations = data[2] & 1;
  int32_t max_anagrams = data[3] % 65;
  uint8_t flags = data[4];

  std::vector<std::string> lines(1);
  for (size_t i = 5; i < size; ++i) {
    if (data[i] == '\n') {
      lines.emplace_back();
    } else {
      lines.back() += static_cast<char>(data[i]);
    }
  }
  // Long inputs are fine (only 127 characters are read), but the search is exponential in
  // the letters, so those stay few.
  if (lines[0].size() > 200 || lines.size() > 34) return 0;
  lines[0].resize(std::strlen(lines[0].c_str()));  // the engine reads up to a NUL
  size_t letters = 0;
  for (char c : lines[0].substr(0, kJumbleMaxInput))
    letters += engine::IsAsciiLower(c);
  if (letters > 24) return 0;
  std::vector<std::string> words(lines.begin() + std::min<size_t>(2, lines.size()), lines.end());
  for (const std::string& word : words) {
    if (word.size() > 140) return 0;
  }

  static const std::string path = "/tmp/verbarium-fuzz-anagrams-" + std::to_string(getpid());
  if (!WriteList(path, words)) return 0;
  platform::NamedEvent* stop = platform::OpenNamedEvent(program::kStopAnagramsEvent, true, false);
  JumbleEngine* engine = nullptr;
  if (Jumble_StartUp(&engine, path.c_str()) == kJumbleOk) {
    Run run;
    run.stop = stop;
    run.stop_after = (flags & 2) ? (flags >> 4) : -1;
    for (char c : lines[0].substr(0, kJumbleMaxInput))
      run.letters += engine::IsAsciiLower(c);
    const char* filter = (flags & 1) && lines.size() > 1 ? lines[1].c_str() : nullptr;
    GenerateAnagrams(engine, lines[0].c_str(), filter, Receive, &run, min_length, max_length,
                     permutations, max_anagrams);
    if (run.delivered > max_anagrams) __builtin_trap();
    // Again with the settings carried over; the maximum count stays bounded.
    platform::ResetNamedEvent(stop);
    run.delivered = 0;
    GenerateAnagrams(engine, lines[0].c_str(), filter, Receive, &run, (flags & 4) ? -1 : 0,
                     (flags & 8) ? -1 : 0, !permutations, -1);
    if (run.delivered > max_anagrams) __builtin_trap();
  }
  Jumble_ShutDown(&engine);
  platform::ResetNamedEvent(stop);
  platform::CloseNamedEvent(stop);
  return 0;
}
