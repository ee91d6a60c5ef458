// The worker's tests: an engine over a word list rich in anagrams, requests, and an owner that
// waits for the worker's notifications.
#pragma once

#include <condition_variable>
#include <mutex>

#include "anagram/anagram_options.h"
#include "platform/named_event.h"
#include "tests/anagram/anagram_test_util.h"

namespace worker_test {

// The "StopAnagrams" event as the program makes it (manually reset, before the engine), and an
// engine over every word of two to four of the letters "aeinrst": a ten-letter input has
// hundreds of thousands of anagrams, so a request runs as long as its maximum lets it.
class RichEngine {
 public:
  RichEngine() {
    std::vector<std::string> words, shorter = {""};
    for (int length = 1; length <= 4; ++length) {
      std::vector<std::string> longer;
      for (const std::string& word : shorter)
        for (char c : std::string("aeinrst"))
          longer.push_back(word + c);
      if (length >= 2) words.insert(words.end(), longer.begin(), longer.end());
      shorter = std::move(longer);
    }
    const std::string path = scratch_.Write("1001A.dat", datafiles::BuildAnagramFile(words));
    EXPECT_EQ(Jumble_StartUp(&engine_, path.c_str()), kJumbleOk);
  }
  ~RichEngine() {
    Jumble_ShutDown(&engine_);
    platform::CloseNamedEvent(stop_);
  }
  JumbleEngine* engine() const { return engine_; }
  platform::NamedEvent* stop() const { return stop_; }

 private:
  platform::NamedEvent* stop_ = platform::OpenNamedEvent("StopAnagrams", true, false);
  anagram_test::ScratchDir scratch_;
  JumbleEngine* engine_ = nullptr;
};

class Notifications {
 public:
  void Notify() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++count_;
    changed_.notify_all();
  }
  // True when more than `seen` notifications came, within two minutes.
  bool WaitBeyond(int seen) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::minutes(2), [&] { return count_ > seen; });
  }
  int count() {
    std::lock_guard<std::mutex> lock(mutex_);
    return count_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int count_ = 0;
};

inline anagram::AnagramRequestArgs Request(const char* word, const char* filter, int32_t most) {
  anagram::AnagramRequestArgs args;
  args.word = word;
  args.has_filter = filter != nullptr;
  args.filter = filter != nullptr ? filter : "";
  args.min_length = 1;
  args.max_length = 50;
  args.permutations = filter == nullptr;
  args.max_anagrams = most;
  return args;
}

// What the engine delivers for `args`, run on this thread.
inline anagram_test::Phrases Reference(JumbleEngine* engine,
                                       const anagram::AnagramRequestArgs& args) {
  return anagram_test::Anagrams(engine, args.word.c_str(), args.FilterArgument(), args.min_length,
                                args.max_length, args.permutations, args.max_anagrams);
}

}  // namespace worker_test
