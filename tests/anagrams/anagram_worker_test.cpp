// The worker against the engine run directly: what it hands over, how often it tells its owner,
// and what a stop leaves.
#include "app/anagrams/AnagramWorker.h"

#include <gtest/gtest.h>

#include "tests/anagrams/worker_test_util.h"

namespace {

using anagram_test::Phrases;
using std::chrono::seconds;
using worker_test::Request;

class AnagramWorkerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(rich_.started()); }

  worker_test::RichEngine rich_;
  worker_test::Notifications notifications_;
  AnagramWorker worker_{rich_.engine(), rich_.stop(), [this] { notifications_.Notify(); }};
};

// The phrases arrive in the engine's order, none lost; each notification finds a batch (one
// notification per batch, not per phrase) until the end is taken.
TEST_F(AnagramWorkerTest, HandsOverWhatTheEngineFinds) {
  const anagram::AnagramRequestArgs requests[] = {
      Request("stare", nullptr, 1, 1000),      Request("stainer", nullptr, 1, 1000),
      Request("stainer", "4-3", 0, 1000),      Request("retrain", nullptr, 1, 1),
      Request("retrain", nullptr, 1, 0),       Request("zzz", nullptr, 1, 1000),
      Request("reinstatesaint", nullptr, 1, 5000),
  };
  for (const anagram::AnagramRequestArgs& args : requests) {
    SCOPED_TRACE(args.word + " " + args.filter + " " + std::to_string(args.max_anagrams));
    const Phrases expected = worker_test::Reference(rich_.engine(), args);
    const int before = notifications_.count();
    ASSERT_TRUE(worker_.Start(args));
    Phrases got;
    AnagramWorker::Batch batch;
    int takes = 0;
    while (!batch.finished) {
      ASSERT_TRUE(notifications_.WaitBeyond(before + takes++, seconds(60))) << "no notification";
      batch = worker_.Take();
      EXPECT_TRUE(batch.finished || !batch.phrases.empty()) << "a notification without news";
      got.insert(got.end(), batch.phrases.begin(), batch.phrases.end());
    }
    EXPECT_EQ(got, expected);
    EXPECT_EQ(batch.found, expected.size());
    EXPECT_LE(notifications_.count() - before, takes + 1) << "notified for each phrase";
    EXPECT_FALSE(worker_.active());
  }
}

TEST_F(AnagramWorkerTest, StopDropsWhatWasNotTaken) {
  ASSERT_TRUE(worker_.Start(Request("reinstates", nullptr, 1, 10000)));
  ASSERT_TRUE(notifications_.WaitBeyond(0, seconds(60)));
  EXPECT_TRUE(worker_.Stop());
  EXPECT_FALSE(worker_.active());
  const AnagramWorker::Batch after = worker_.Take();
  EXPECT_TRUE(after.phrases.empty());
  EXPECT_FALSE(after.finished);
  EXPECT_FALSE(platform::TestNamedEvent(rich_.stop())) << "the event is clear again";

  // The next request's batches hold its own phrases only, and all of them.
  const anagram::AnagramRequestArgs next = Request("stare", nullptr, 1, 1000);
  ASSERT_TRUE(worker_.Start(next));
  Phrases got;
  for (AnagramWorker::Batch batch; !batch.finished;) {
    notifications_.WaitBeyond(notifications_.count(), std::chrono::milliseconds(100));
    batch = worker_.Take();
    got.insert(got.end(), batch.phrases.begin(), batch.phrases.end());
  }
  EXPECT_EQ(got, worker_test::Reference(rich_.engine(), next));
}

TEST_F(AnagramWorkerTest, NothingStartsWithoutWordOrEngine) {
  EXPECT_FALSE(worker_.Start(Request("", nullptr, 1, 1000)));
  EXPECT_FALSE(worker_.active());
  AnagramWorker without_engine(nullptr, rich_.stop(), [] {});
  EXPECT_FALSE(without_engine.Start(Request("stare", nullptr, 1, 1000)));
  EXPECT_FALSE(without_engine.Stop());
}

}  // namespace
