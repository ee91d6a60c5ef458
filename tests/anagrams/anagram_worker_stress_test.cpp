// 500 requests started, stopped and replaced at random moments, with the owner taking batches
// as a window would. Whatever the timing: no deadlock, every batch continues the phrases of the
// request started last in the engine's order, and a request run to its end hands over all of
// them. scripts/test also runs it under ThreadSanitizer.
#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "app/anagrams/AnagramWorker.h"
#include "tests/anagrams/worker_test_util.h"

namespace {

using anagram_test::Phrases;
using std::chrono::microseconds;
using worker_test::Request;

constexpr int kCycles = 500;
constexpr std::chrono::seconds kNoDeadlock(120);

TEST(AnagramWorkerStress, RandomStartsAndStopsLoseAndMixNothing) {
  worker_test::RichEngine rich;
  ASSERT_TRUE(rich.started());
  const anagram::AnagramRequestArgs requests[] = {
      Request("reinstatesaint", nullptr, 1, 5000), Request("reinstates", nullptr, 1, 3000),
      Request("strainer", nullptr, 1, 1000),       Request("strainer", "4-4", 0, 1000),
      Request("stare", nullptr, 0, 100),           Request("zzz", nullptr, 1, 1000),
  };
  std::vector<Phrases> expected;
  for (const anagram::AnagramRequestArgs& args : requests)
    expected.push_back(worker_test::Reference(rich.engine(), args));

  worker_test::Notifications notifications;
  AnagramWorker worker(
      rich.engine(), rich.stop(), [&] { notifications.Notify(); },
      AnagramWorker::Priority::kNormal);
  std::mt19937 random(20240611);
  int finished = 0;
  int stopped = 0;
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    const size_t which = random() % std::size(requests);
    SCOPED_TRACE("cycle " + std::to_string(cycle) + ", request " + std::to_string(which));
    int seen = notifications.count();
    ASSERT_TRUE(worker.Start(requests[which]));
    Phrases got;
    auto take = [&] {
      AnagramWorker::Batch batch = worker.Take();
      got.insert(got.end(), batch.phrases.begin(), batch.phrases.end());
      EXPECT_LE(got.size(), expected[which].size());
      EXPECT_TRUE(std::equal(got.begin(), got.end(), expected[which].begin()))
          << "a batch that does not continue this request's phrases";
      return batch;
    };
    switch (random() % 3) {
      case 0: {  // to the end, taking at each notification
        AnagramWorker::Batch batch;
        while (!batch.finished) {
          ASSERT_TRUE(notifications.WaitBeyond(seen, kNoDeadlock)) << "no news: deadlock";
          seen = notifications.count();
          batch = take();
        }
        EXPECT_EQ(got, expected[which]);
        EXPECT_EQ(batch.found, expected[which].size());
        ++finished;
        break;
      }
      case 1:  // taken for a while, then stopped: the window leaves the tab or quits
        for (int polls = static_cast<int>(random() % 4); polls > 0; --polls) {
          std::this_thread::sleep_for(microseconds(random() % 3000));
          if (take().finished) break;
        }
        worker.Stop();
        EXPECT_TRUE(worker.Take().phrases.empty());
        ++stopped;
        break;
      default:  // replaced by the next request at a random moment: Refresh, a new word
        std::this_thread::sleep_for(microseconds(random() % 3000));
        if (random() % 2 == 0) take();
        break;
    }
    if (HasFailure()) break;
  }
  worker.Stop();
  EXPECT_GT(finished, kCycles / 5);
  EXPECT_GT(stopped, kCycles / 5);
}

}  // namespace
