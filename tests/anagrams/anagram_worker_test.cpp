// The worker against the engine run directly, over every word of two to four of the letters
// "aeinrst" (a ten-letter input has hundreds of thousands of anagrams, so a request runs as long
// as its maximum lets it); then 500 requests started, stopped and replaced at random moments,
// which scripts/test also runs under ThreadSanitizer.
#include "app/anagrams/AnagramWorker.h"

#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "platform/named_event.h"
#include "tests/anagram/anagram_test_util.h"

namespace {

using anagram_test::Phrases;

anagram::AnagramRequestArgs Request(const char* word, const char* filter, int32_t most) {
  return {word, filter != nullptr ? filter : "", filter != nullptr, 1, 50, filter == nullptr, most};
}

class AnagramWorkerTest : public ::testing::Test {
 protected:
  void SetUp() override {
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
    ASSERT_EQ(Jumble_StartUp(&engine_, path.c_str()), kJumbleOk);
  }
  void TearDown() override {
    Jumble_ShutDown(&engine_);
    platform::CloseNamedEvent(stop_);
  }
  Phrases Reference(const anagram::AnagramRequestArgs& args) {
    return anagram_test::Anagrams(engine_, args.word.c_str(), args.FilterArgument(), 1, 50,
                                  args.permutations, args.max_anagrams);
  }
  // Waits (at most two minutes) until more than `seen` notifications came.
  bool WaitBeyond(int seen) {
    for (int waited = 0; notified_ <= seen; ++waited) {
      if (waited == 1200000) return false;
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    return true;
  }

  // "StopAnagrams" as the program makes it: manually reset, before the engine starts.
  platform::NamedEvent* stop_ = platform::OpenNamedEvent("StopAnagrams", true, false);
  test_support::ScratchFolder scratch_;
  JumbleEngine* engine_ = nullptr;
  std::atomic<int> notified_{0};
};

// The phrases arrive in the engine's order, none lost. The owner is told once per batch, not
// per phrase: each notification finds news, until the end has been taken.
TEST_F(AnagramWorkerTest, HandsOverWhatTheEngineFinds) {
  AnagramWorker worker(engine_, stop_, [this] { ++notified_; });
  for (const anagram::AnagramRequestArgs& args :
       {Request("stare", nullptr, 1000), Request("stainer", "4-3", 1000),
        Request("retrain", nullptr, 1), Request("retrain", nullptr, 0), Request("zzz", nullptr, 9),
        Request("reinstatesaint", nullptr, 5000)}) {
    SCOPED_TRACE(args.word + " " + args.filter + " " + std::to_string(args.max_anagrams));
    const Phrases expected = Reference(args);
    const int before = notified_;
    ASSERT_TRUE(worker.Start(args));
    Phrases got;
    AnagramWorker::Batch batch;
    int takes = 0;
    while (!batch.finished) {
      ASSERT_TRUE(WaitBeyond(before + takes++)) << "no notification";
      batch = worker.Take();
      EXPECT_TRUE(batch.finished || !batch.phrases.empty()) << "a notification without news";
      got.insert(got.end(), batch.phrases.begin(), batch.phrases.end());
    }
    EXPECT_EQ(got, expected);
    EXPECT_EQ(batch.found, expected.size());
    EXPECT_LE(notified_ - before, takes + 1) << "notified for each phrase";
  }
  EXPECT_FALSE(worker.Start(Request("", nullptr, 1000))) << "an empty word starts nothing";
}

// Whatever the timing: no deadlock, every batch continues the phrases of the request started
// last, a stop leaves nothing to take and clears the event, and a request run to its end hands
// over all of its phrases.
TEST_F(AnagramWorkerTest, RandomStartsAndStopsLoseAndMixNothing) {
  const anagram::AnagramRequestArgs requests[] = {
      Request("reinstatesaint", nullptr, 5000),
      Request("reinstates", nullptr, 3000),
      Request("strainer", nullptr, 1000),
      Request("strainer", "4-4", 1000),
      Request("zzz", nullptr, 1000),
  };
  std::vector<Phrases> expected;
  for (const anagram::AnagramRequestArgs& args : requests)
    expected.push_back(Reference(args));
  AnagramWorker worker(
      engine_, stop_, [this] { ++notified_; }, AnagramWorker::Priority::kNormal);
  std::mt19937 random(20240611);
  auto pause = [&] { std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000)); };
  for (int cycle = 0; cycle < 500 && !HasFailure(); ++cycle) {
    const size_t which = random() % std::size(requests);
    SCOPED_TRACE("cycle " + std::to_string(cycle) + ", request " + std::to_string(which));
    int seen = notified_;
    ASSERT_TRUE(worker.Start(requests[which]));
    Phrases got;
    auto take = [&] {
      AnagramWorker::Batch batch = worker.Take();
      got.insert(got.end(), batch.phrases.begin(), batch.phrases.end());
      EXPECT_TRUE(got.size() <= expected[which].size() &&
                  std::equal(got.begin(), got.end(), expected[which].begin()))
          << "a batch that does not continue this request's phrases";
      return batch;
    };
    switch (random() % 3) {
      case 0:  // to the end, taking at each notification
        for (AnagramWorker::Batch batch; !batch.finished;) {
          ASSERT_TRUE(WaitBeyond(seen)) << "no news: deadlock";
          seen = notified_;
          batch = take();
          if (batch.finished) {
            EXPECT_EQ(got, expected[which]) << "a phrase lost";
          }
        }
        break;
      case 1:  // taken for a while, then stopped: the window leaves the tab or quits
        for (int polls = static_cast<int>(random() % 4); polls > 0 && worker.active(); --polls) {
          pause();
          take();
        }
        worker.Stop();
        EXPECT_TRUE(worker.Take().phrases.empty());
        EXPECT_FALSE(platform::TestNamedEvent(stop_));
        break;
      default:  // replaced at a random moment by the next request: Refresh, a new word
        pause();
        if (random() % 2 == 0) take();
        break;
    }
  }
}

}  // namespace
