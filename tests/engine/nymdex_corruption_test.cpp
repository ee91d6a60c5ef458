// Damaged data files: every flipped byte and every truncation either fails start-up with a
// documented code or leaves an engine whose queries stay inside their buffers (the sanitizer
// build checks the reads).
#include "tests/engine/nymdex_test_util.h"

namespace nymdex_test {
namespace {

// Runs the queries over every word; only the absence of faults is checked.
void Sweep(NymdexEngine* engine, const std::vector<std::string>& words) {
  char text[kMaxWordLength + 1];
  for (uint32_t id = 0; id < words.size() + 3; ++id)
    Nymdex_GetWordFromID(engine, id, text);
  for (const std::string& word : words) {
    const char* w = word.c_str();
    int32_t id = Nymdex_GetIdFromWord(engine, w);
    for (uint32_t pos = kNoun; pos <= kAdverb && id >= 0; ++pos) {
      std::vector<uint32_t> offsets, tag_ids;
      Nymdex_GetOffsetList(engine, pos, static_cast<uint32_t>(id), &offsets);
      Nymdex_GetTagIDs(engine, offsets, &tag_ids, pos);
    }
    std::vector<TagRecord> tags;
    Nymdex_GetTags(engine, w, &tags);
    SenseList senses;
    Nymdex_GetSenses(engine, w, &senses);
    Nymdex_GetFrequency(engine, w);
    Nymdex_IsAdverb(engine, w);
    // The relations differ only in the pointer types they match: one walk of the words, one
    // of the pointers and their targets, one test.
    std::vector<std::string> related;
    Nymdex_GetSynonyms(engine, w, &related, 1, {0, 1, 2});
    Nymdex_GetHypernyms(engine, w, &related, 1, {0, 1, 2});
    Nymdex_HasAntonyms(engine, w, {0, 1, 2});
  }
}

bool Documented(uint32_t code) {
  return code == kNymdexOk || code == kNymdexBadWordIndex || code == kNymdexBadIndexes ||
         code == kNymdexBadSenseLists || code == kNymdexCorrupt;
}

// Starts the engine over the files as they are and sweeps it; returns the start-up code.
uint32_t TryDamaged(const Dictionary& dictionary, const std::vector<std::string>& words) {
  NymdexEngine* engine = nullptr;
  uint32_t code = dictionary.Start(&engine);
  EXPECT_TRUE(Documented(code)) << code;
  if (code == kNymdexOk) {
    Sweep(engine, words);
    Nymdex_ShutDown(&engine);
  }
  return code;
}

std::vector<uint8_t>* FileOf(DataFileImages* images, int file) {
  return file == 0 ? &images->synsets : file == 1 ? &images->word_index : &images->tags;
}

// The positions worth flipping: all bytes, except the tag header's unused block slots.
std::vector<size_t> Positions(const std::vector<uint8_t>& bytes, int file, uint32_t blocks) {
  std::vector<size_t> positions;
  for (size_t at = 0; at < bytes.size(); ++at) {
    bool unused_slot = file == 2 && ((at >= 8 + 4 * blocks + 4 && at < 32776) ||
                                     (at >= 32780 + 4 * blocks + 4 && at < 65548));
    if (!unused_slot) positions.push_back(at);
  }
  return positions;
}

TEST(CorruptionTest, FlippedBytes) {
  const Lexicon lexicon = SampleLexicon();
  const std::vector<std::string> words = WordsOf(lexicon);
  const DataFileImages good = Images(lexicon);
  Dictionary dictionary;
  ASSERT_TRUE(dictionary.Write(good));
  for (int file = 0; file < 3; ++file) {
    int started = 0;
    const std::vector<uint8_t>& bytes = *FileOf(const_cast<DataFileImages*>(&good), file);
    for (size_t at : Positions(bytes, file, good.tag_blocks)) {
      // Low and high bits, one and many, spread over the positions.
      const uint8_t mask = "\x01\x80\xA4\xFF"[at % 4];
      SCOPED_TRACE(testing::Message() << "file " << file << " byte " << at << " mask " << +mask);
      ASSERT_TRUE(dictionary.PatchByte(dictionary.path(file), at, bytes[at] ^ mask));
      started += TryDamaged(dictionary, words) == kNymdexOk;
      ASSERT_TRUE(dictionary.PatchByte(dictionary.path(file), at, bytes[at]));
      if (HasFailure()) return;
    }
    EXPECT_GT(started, 0) << "some damage goes unnoticed at start-up and reaches the queries";
  }
}

TEST(CorruptionTest, TruncatedFiles) {
  const Lexicon lexicon = SampleLexicon();
  const std::vector<std::string> words = WordsOf(lexicon);
  const DataFileImages good = Images(lexicon);
  Dictionary dictionary;
  for (int file = 0; file < 3; ++file) {
    const size_t size = FileOf(const_cast<DataFileImages*>(&good), file)->size();
    for (size_t length = 0; length < size; length += (file == 2 && length < 65500) ? 4099 : 1) {
      SCOPED_TRACE(testing::Message() << "file " << file << " length " << length);
      DataFileImages images = good;
      FileOf(&images, file)->resize(length);
      ASSERT_TRUE(dictionary.Write(images));
      uint32_t code = TryDamaged(dictionary, words);
      if ((file == 2 && length < 65564) || (file == 0 && length < 176)) {
        EXPECT_EQ(code, kNymdexCorrupt);
      }
      if (HasFailure()) return;
    }
  }
}

}  // namespace
}  // namespace nymdex_test
