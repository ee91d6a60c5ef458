// Damaged data files: every flipped byte and every truncation either fails start-up with a
// documented code or leaves an engine whose queries stay inside their buffers (the sanitizer
// build checks the reads).
#include "engine/data_format.h"
#include "tests/engine/nymdex_sweep.h"
#include "tests/engine/nymdex_test_util.h"

namespace nymdex_test {
namespace {

// Starts the engine over the files as they are and, when it starts, runs the queries over
// every word; returns the start-up code.
uint32_t TryDamaged(const Dictionary& dictionary, const Lexicon& lexicon) {
  NymdexEngine* engine = nullptr;
  uint32_t code = dictionary.Start(&engine);
  EXPECT_TRUE(code == kNymdexOk || code == kNymdexBadWordIndex || code == kNymdexBadIndexes ||
              code == kNymdexBadSenseLists || code == kNymdexCorrupt)
      << code;
  if (code == kNymdexOk) {
    Sweep(engine, lexicon);
    Nymdex_ShutDown(&engine);
  }
  return code;
}

TEST(CorruptionTest, FlippedBytes) {
  const Lexicon lexicon = SampleLexicon();
  const DataFileImages good = Images(lexicon);
  const uint32_t blocks = good.tag_blocks;
  Dictionary dictionary;
  ASSERT_TRUE(dictionary.Write(good));
  for (int file = 0; file < 3; ++file) {
    int started = 0;
    const std::vector<uint8_t>& bytes = FileOf(good, file);
    for (size_t at = 0; at < bytes.size(); ++at) {
      // The tag header's unused block slots are never read.
      const size_t unused = 4 * (blocks + 1);
      if (file == 2 && ((at >= nymdex::kTagHighestAt + unused && at < nymdex::kTagEndAt) ||
                        (at >= nymdex::kTagStartsAt + unused && at < nymdex::kTagDigestAt)))
        continue;
      // Low and high bits, one and many, spread over the positions.
      const uint8_t mask = "\x01\x80\xA4\xFF"[at % 4];
      SCOPED_TRACE(testing::Message() << "file " << file << " byte " << at << " mask " << +mask);
      ASSERT_TRUE(dictionary.Put(file, {uint8_t(bytes[at] ^ mask)}, at, false));
      started += TryDamaged(dictionary, lexicon) == kNymdexOk;
      ASSERT_TRUE(dictionary.Put(file, {bytes[at]}, at, false));
      if (HasFailure()) return;
    }
    EXPECT_GT(started, 0) << "some damage goes unnoticed at start-up and reaches the queries";
  }
}

TEST(CorruptionTest, TruncatedFiles) {
  const Lexicon lexicon = SampleLexicon();
  const DataFileImages good = Images(lexicon);
  Dictionary dictionary;
  ASSERT_TRUE(dictionary.Write(good));
  for (int file = 0; file < 3; ++file) {
    const std::vector<uint8_t>& bytes = FileOf(good, file);
    for (size_t length = 0; length < bytes.size();
         length += (file == 2 && length < 65500) ? 4099 : 1) {
      SCOPED_TRACE(testing::Message() << "file " << file << " length " << length);
      ASSERT_TRUE(dictionary.Put(file, {bytes.begin(), bytes.begin() + length}));
      uint32_t code = TryDamaged(dictionary, lexicon);
      if ((file == 2 && length < nymdex::kTagHeaderSize) ||
          (file == 0 && length < nymdex::kSynsetHeaderSize)) {
        EXPECT_EQ(code, kNymdexCorrupt);
      }
      if (HasFailure()) return;
    }
    ASSERT_TRUE(dictionary.Put(file, bytes));
  }
}

}  // namespace
}  // namespace nymdex_test
