// The data-file writer: refused lexicons, determinism, the anagram list, atomic writes.
#include <fstream>
#include <functional>

#include "engine/md5.h"
#include "tests/engine/nymdex_test_util.h"

namespace nymdex_test {
namespace {

// Text that compresses little, so the word index keeps its size limit.
std::string Varied(size_t length) {
  std::string text;
  for (size_t i = 0; i < length; ++i)
    text += static_cast<char>(' ' + (i * 7919 + i / 3) % 95);
  return text;
}

TEST(DataFileWriterTest, RefusesWhatTheFormatsCannotHold) {
  const Lexicon sample = SampleLexicon();
  const uint32_t bank = static_cast<uint32_t>(IdOf(sample, "bank"));
  const uint32_t noun = sample.words[bank].senses[0][0].synset;
  const uint32_t verb = sample.words[bank].senses[1][0].synset;
  struct Case {
    const char* what;
    std::function<void(Lexicon*)> change;
    const char* message;  // null: accepted
  };
  const Case cases[] = {
      {"longest word",
       [](Lexicon* l) {
         l->words.push_back({"z" + Varied(1022), {}});
       },
       nullptr},
      {"word too long",
       [](Lexicon* l) {
         l->words.push_back({"z" + Varied(1023), {}});
       },
       "word length limit"},
      {"empty word", [](Lexicon* l) { l->words[3].text.clear(); }, "is empty"},
      {"NUL in a word",
       [](Lexicon* l) {
         l->words.push_back({std::string("zz\0z", 4), {}});
       },
       "NUL"},
      {"unsorted", [](Lexicon* l) { std::swap(l->words[2].text, l->words[3].text); }, "word order"},
      {"keys equal but for case",
       [](Lexicon* l) {
         l->words.push_back({l->words.back().text, {}});
         l->words.back().text[0] ^= 0x20;
       },
       "word order"},
      {"sentinel sorting after a word", [](Lexicon* l) { l->words[0].text = "zzz"; }, "word order"},
      {"256 words in a synset", [](Lexicon* l) { l->synsets[0].words.assign(256, 1); },
       "words per synset limit"},
      {"255 words in a synset", [](Lexicon* l) { l->synsets[0].words.assign(255, 1); }, nullptr},
      {"256 noun senses",
       [&](Lexicon* l) {
         l->words[bank].senses[0].assign(256, {noun, 0});
       },
       "senses per part of speech limit"},
      {"65,536 pointers",
       [](Lexicon* l) {
         l->synsets[0].pointers.assign(65536, {2, 0});
       },
       "pointer count limit"},
      {"gloss of 1,027 bytes", [](Lexicon* l) { l->synsets[0].gloss.assign(1027, 'g'); }, nullptr},
      {"gloss of 1,028 bytes", [](Lexicon* l) { l->synsets[0].gloss.assign(1028, 'g'); },
       "tag text limit"},
      {"verb pointer in a noun synset",
       [&](Lexicon* l) {
         l->synsets[noun].pointers.push_back({18, verb});
       },
       "not a noun pointer type"},
      {"pointer type 0",
       [&](Lexicon* l) {
         l->synsets[verb].pointers.push_back({0, 0});
       },
       "pointer type"},
      {"pointer to nowhere",
       [&](Lexicon* l) {
         l->synsets[noun].pointers.push_back({2, 999});
       },
       "does not exist"},
      {"synset word to nowhere", [](Lexicon* l) { l->synsets[0].words.push_back(999); },
       "does not exist"},
      {"verb synset among noun senses",
       [&](Lexicon* l) {
         l->words[bank].senses[0].push_back({verb, 0});
       },
       "is not a noun"},
      {"part of speech 5", [](Lexicon* l) { l->synsets[0].pos = 5; }, "part-of-speech code"},
      {"no adverbs",
       [](Lexicon* l) {
         for (auto& w : l->words)
           w.senses[3].clear();
       },
       "part-of-speech index size"},
      {"no words", [](Lexicon* l) { l->words.clear(); }, "no words"},
      {"word index too compressible",
       [](Lexicon* l) {
         for (int k = 1; k <= 400; ++k)
           l->words.push_back({"~" + std::string(k, 'b'), {}});
       },
       "word index decoded length limit"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Lexicon lexicon = sample;
    c.change(&lexicon);
    DataFileImages images;
    std::string error;
    bool built = datafiles::BuildDataFiles(lexicon, &images, &error);
    if (c.message == nullptr) {
      EXPECT_TRUE(built) << error;
    } else {
      EXPECT_FALSE(built);
      EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
  }
}

TEST(DataFileWriterTest, SameLexiconSameBytes) {
  DataFileImages first = Images(SampleLexicon());
  DataFileImages second = Images(SampleLexicon());
  EXPECT_EQ(first.synsets, second.synsets);
  EXPECT_EQ(first.word_index, second.word_index);
  EXPECT_EQ(first.tags, second.tags);
  EXPECT_EQ(first.tag_blocks, 1u);
}

TEST(DataFileWriterTest, AnagramFileCarriesMagicAndDigest) {
  Dictionary dictionary;
  std::vector<uint8_t> file = datafiles::BuildAnagramFile({"cat", "act", "tac"});
  ASSERT_EQ(file.size(), 32u + 12u);
  EXPECT_EQ(GetU32(file, 0), 0x094FB622u);
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + 4, file.begin() + 16), std::vector<uint8_t>(12));
  EXPECT_EQ(std::string(file.begin() + 32, file.end()), std::string("cat\0act\0tac\0", 12));

  std::vector<std::string> many;
  for (int i = 0; i < 70000; ++i)
    many.push_back("word" + std::to_string(i));
  file = datafiles::BuildAnagramFile(many);
  ASSERT_GT(file.size(), 32u + 524288u);
  const std::string path = dictionary.words() + ".anagrams";
  std::string error;
  ASSERT_TRUE(datafiles::WriteFileAtomically(path, file, &error)) << error;
  engine::Digest digest;
  ASSERT_TRUE(engine::FileDigest(path.c_str(), 32, &digest));
  EXPECT_TRUE(std::equal(digest.begin(), digest.end(), file.begin() + 16));
}

TEST(DataFileWriterTest, AtomicWriteReplacesOrLeavesNothing) {
  Dictionary dictionary;
  const std::string path = dictionary.words();
  std::string error;
  ASSERT_TRUE(datafiles::WriteFileAtomically(path, {1, 2, 3}, &error)) << error;
  ASSERT_TRUE(datafiles::WriteFileAtomically(path, {4, 5}, &error)) << error;
  std::ifstream in(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "\x04\x05");
  const auto folder = std::filesystem::path(path).parent_path();
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1)
      << "no temporary file left";

  EXPECT_FALSE(
      datafiles::WriteFileAtomically((folder / "missing" / "x.dat").string(), {1}, &error));
  EXPECT_NE(error.find("missing"), std::string::npos) << error;
}

}  // namespace
}  // namespace nymdex_test
