// The lexical engine over damaged data files. A small valid dictionary is written once; each
// input picks one of its files (or a region of one), cuts it and flips bytes in it, or gives
// the decoded word index outright; then start-up runs and, when it succeeds, the queries.
//
// Input: byte 0 picks the target (see Target), bytes 1-3 a length to cut the file to (0: keep
// it whole), then groups of four bytes: a position (3 bytes) and a mask to XOR there. Target
// kRawWordIndex takes the rest of the input as the decoded word-index entries instead.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/arith_coder.h"
#include "engine/nymdex.h"
#include "tools/datafile_writer.h"

namespace {

enum Target : uint8_t {
  kSynsets,       // the whole synset file
  kSynsetHeader,  // its 176-byte header
  kWordIndex,     // the compressed word index
  kTagHeader,     // the tag file's fields: block count, the first ids and starts, the digest
  kTagData,       // the tag file after its header
  kRawWordIndex,  // the decoded word index given by the input
  kTargets
};

datafiles::Lexicon SmallLexicon() {
  using datafiles::SenseSpec;
  datafiles::Lexicon lexicon;
  const char* words[] = {"!",     "bank",    "cat",  "dog", "Ice_Cream",
                         "quick", "quickly", "slow", "walk"};
  for (const char* w : words)
    lexicon.words.push_back({w, {}});
  struct Synset {
    uint8_t pos;
    std::vector<uint32_t> words;
    const char* gloss;
  };
  const Synset synsets[] = {
      {1, {1}, "sloping land"},         {1, {1, 4}, "a financial institution"},
      {1, {2, 3}, "feline; \"a cat\""}, {1, {3}, "a domesticated canid"},
      {1, {4}, "frozen dessert"},       {2, {8, 1}, "use one's feet"},
      {2, {8}, "walk leisurely"},       {3, {5}, "accomplished rapidly"},
      {3, {7}, "not moving quickly"},   {4, {6}, "with speed"},
  };
  for (uint32_t s = 0; s < std::size(synsets); ++s) {
    datafiles::SynsetSpec spec;
    spec.pos = synsets[s].pos;
    spec.words = synsets[s].words;
    spec.gloss = synsets[s].gloss;
    lexicon.synsets.push_back(spec);
    for (uint32_t w : synsets[s].words)
      lexicon.words[w].senses[spec.pos - 1].push_back(SenseSpec{s, uint8_t(s)});
  }
  auto point = [&](uint32_t from, uint8_t type, uint32_t to) {
    lexicon.synsets[from].pointers.push_back({type, to});
  };
  point(0, 2, 1);
  point(2, 2, 3);
  point(2, 9, 4);
  point(3, 3, 2);
  point(5, 23, 6);
  point(5, 20, 6);
  point(7, 29, 8);
  point(7, 34, 8);
  point(9, 38, 9);
  point(9, 39, 7);
  return lexicon;
}

struct Setup {
  std::string dir, synsets, words, tags;
  datafiles::DataFileImages images;
  std::vector<std::string> lexicon_words;

  Setup() {
    datafiles::Lexicon lexicon = SmallLexicon();
    std::string error;
    if (!datafiles::BuildDataFiles(lexicon, &images, &error)) std::abort();
    for (size_t i = 1; i < lexicon.words.size(); ++i)
      lexicon_words.push_back(lexicon.words[i].text);
    std::string base = std::filesystem::temp_directory_path() / "fuzz_nymdex_XXXXXX";
    if (::mkdtemp(base.data()) == nullptr) std::abort();
    dir = base;
    synsets = dir + "/1001L.dat";
    words = dir + "/1001W.dat";
    tags = dir + "/1001T.dat";
  }
  ~Setup() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
};

// Rewrites in place and cuts to length (cheaper than truncating to nothing first).
void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) std::abort();
  if (::pwrite(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()) ||
      ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0)
    std::abort();
  ::close(fd);
}

void Query(NymdexEngine* engine, const std::vector<std::string>& words) {
  char text[kMaxWordLength + 1];
  for (uint32_t id = 0; id < words.size() + 2; ++id)
    Nymdex_GetWordFromID(engine, id, text);
  NymdexEntryRegion region = Nymdex_GetEntryRegion(engine);
  volatile char sink = region.length != 0 ? region.data[region.length - 1] : 0;
  (void)sink;
  for (const std::string& word : words) {
    const char* w = word.c_str();
    int32_t id = Nymdex_GetIdFromWord(engine, w);
    if (id >= 0) {
      std::vector<uint32_t> offsets, tag_ids;
      Nymdex_GetOffsetList(engine, kNoun, static_cast<uint32_t>(id), &offsets);
      Nymdex_GetTagIDs(engine, offsets, &tag_ids, kNoun);
    }
    std::vector<TagRecord> tags;
    Nymdex_GetTags(engine, w, &tags);
    Nymdex_GetFrequency(engine, w);
    std::vector<std::string> related;
    Nymdex_GetSynonyms(engine, w, &related, 1, {0, 1, 2});
    Nymdex_GetHypernyms(engine, w, &related, 0, {0, 1, 2});
    Nymdex_GetSeeAlso(engine, w, &related, 1, {1, 0});
    Nymdex_HasAntonyms(engine, w, {0, 1, 2});
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Setup setup;
  datafiles::DataFileImages images = setup.images;
  if (size >= 4) {
    const Target target = static_cast<Target>(data[0] % kTargets);
    std::vector<uint8_t>* file = target <= kSynsetHeader ? &images.synsets
                                 : target == kWordIndex  ? &images.word_index
                                                         : &images.tags;
    if (target == kRawWordIndex) {
      std::vector<uint8_t> decoded(32, 0);
      decoded.insert(decoded.end(), data + 4, data + size);
      images.word_index = engine::ArithEncode(decoded.data(), decoded.size());
    } else {
      // Positions fall into the target's region of its file.
      size_t begin = 0, span = file->size();
      if (target == kSynsetHeader) span = 176;
      if (target == kTagData) begin = 65548, span = file->size() - begin;
      for (size_t at = 4; at + 4 <= size; at += 4) {
        size_t position = data[at] | data[at + 1] << 8 | data[at + 2] << 16;
        if (target == kTagHeader) {
          // The block count, the first block slots of both tables, and the digest.
          static const size_t kRegions[][2] = {{0, 72}, {32776, 64}, {65548, 16}};
          const auto& region = kRegions[position % 3];
          position = region[0] + (position / 3) % region[1];
        } else {
          position = begin + position % span;
        }
        (*file)[position] ^= data[at + 3];
      }
      size_t cut = data[1] | data[2] << 8 | data[3] << 16;
      if (cut != 0) file->resize(cut % file->size());
    }
  }
  Write(setup.synsets, images.synsets);
  Write(setup.words, images.word_index);
  Write(setup.tags, images.tags);

  NymdexEngine* engine = nullptr;
  uint32_t code = Nymdex_StartUp(&engine, setup.synsets.c_str(), setup.words.c_str(),
                                 setup.tags.c_str(), nullptr, nullptr);
  if (code == kNymdexOk) {
    Query(engine, setup.lexicon_words);
    Nymdex_ShutDown(&engine);
  } else if (code != kNymdexBadWordIndex && code != kNymdexBadIndexes &&
             code != kNymdexBadSenseLists && code != kNymdexCorrupt) {
    std::abort();  // not a documented start-up failure
  }
  return 0;
}
