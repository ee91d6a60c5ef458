// The worker against the engine run directly; then 500 requests started, stopped and replaced
// at random moments, which scripts/test also runs under ThreadSanitizer.
#include "app/anagrams/AnagramWorker.h"

#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "tests/anagrams/worker_test_util.h"

namespace {

using anagram_test::Phrases;
using worker_test::Request;

// The phrases arrive in the engine's order, none lost. The owner is told once per batch, not
// per phrase: each notification finds news, until the end has been taken.
TEST(AnagramWorkerTest, HandsOverWhatTheEngineFinds) {
  worker_test::RichEngine rich;
  worker_test::Notifications notifications;
  AnagramWorker worker(rich.engine(), rich.stop(), [&] { notifications.Notify(); });
  for (const anagram::AnagramRequestArgs& args :
       {Request("stare", nullptr, 1000), Request("stainer", "4-3", 1000),
        Request("retrain", nullptr, 1), Request("retrain", nullptr, 0), Request("zzz", nullptr, 9),
        Request("reinstatesaint", nullptr, 5000)}) {
    SCOPED_TRACE(args.word + " " + args.filter + " " + std::to_string(args.max_anagrams));
    const Phrases expected = worker_test::Reference(rich.engine(), args);
    const int before = notifications.count();
    ASSERT_TRUE(worker.Start(args));
    Phrases got;
    AnagramWorker::Batch batch;
    int takes = 0;
    while (!batch.finished) {
      ASSERT_TRUE(notifications.WaitBeyond(before + takes++)) << "no notification";
      batch = worker.Take();
      EXPECT_TRUE(batch.finished || !batch.phrases.empty()) << "a notification without news";
      got.insert(got.end(), batch.phrases.begin(), batch.phrases.end());
    }
    EXPECT_EQ(got, expected);
    EXPECT_EQ(batch.found, expected.size());
    EXPECT_LE(notifications.count() - before, takes + 1) << "notified for each phrase";
  }
  EXPECT_FALSE(worker.Start(Request("", nullptr, 1000))) << "an empty word starts nothing";
}

// Whatever the timing: no deadlock, every batch continues the phrases of the request started
// last, a stop leaves nothing to take and clears the event, and a request run to its end hands
// over all of its phrases.
TEST(AnagramWorkerTest, RandomStartsAndStopsLoseAndMixNothing) {
  worker_test::RichEngine rich;
  const anagram::AnagramRequestArgs requests[] = {
      Request("reinstatesaint", nullptr, 5000),
      Request("reinstates", nullptr, 3000),
      Request("strainer", nullptr, 1000),
      Request("strainer", "4-4", 1000),
      Request("zzz", nullptr, 1000),
  };
  std::vector<Phrases> expected;
  for (const anagram::AnagramRequestArgs& args : requests)
    expected.push_back(worker_test::Reference(rich.engine(), args));
  worker_test::Notifications notifications;
  AnagramWorker worker(
      rich.engine(), rich.stop(), [&] { notifications.Notify(); },
      AnagramWorker::Priority::kNormal);
  std::mt19937 random(20240611);
  auto pause = [&] { std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000)); };
  for (int cycle = 0; cycle < 500 && !HasFailure(); ++cycle) {
    const size_t which = random() % std::size(requests);
    SCOPED_TRACE("cycle " + std::to_string(cycle) + ", request " + std::to_string(which));
    int seen = notifications.count();
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
          ASSERT_TRUE(notifications.WaitBeyond(seen)) << "no news: deadlock";
          seen = notifications.count();
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
        EXPECT_FALSE(platform::TestNamedEvent(rich.stop()));
        break;
      default:  // replaced at a random moment by the next request: Refresh, a new word
        pause();
        if (random() % 2 == 0) take();
        break;
    }
  }
}

}  // namespace
