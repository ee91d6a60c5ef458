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
#include "engine/data_format.h"
#include "engine/nymdex.h"
#include "platform/program_names.h"
#include "tests/engine/nymdex_sweep.h"
#include "tools/datafile_writer.h"

namespace {

enum Target : uint8_t {
  kSynsets,       // the whole synset file
  kSynsetHeader,  // its header
  kWordIndex,     // the compressed word index
  kTagHeader,     // the tag file's fields: block count, the first ids and starts, the digest
  kTagData,       // the tag file after its header
  kRawWordIndex,  // the decoded word index given by the input
  kTargets
};

datafiles::Lexicon SmallLexicon() {
  datafiles::Lexicon lexicon;
  for (const char* w : {"!", "bank", "cat", "dog", "Ice_Cream", "quick", "quickly", "slow", "walk"})
    lexicon.words.push_back({w, {}});
  // Part of speech, words, gloss, pointers (type, target synset).
  const datafiles::SynsetSpec synsets[] = {
      {1, {1}, {{2, 1}}, "sloping land"},
      {1, {1, 4}, {}, "a financial institution"},
      {1, {2, 3}, {{2, 3}, {9, 4}}, "feline; \"a cat\""},
      {1, {3}, {{3, 2}}, "a domesticated canid"},
      {1, {4}, {}, "frozen dessert"},
      {2, {8, 1}, {{23, 6}, {20, 6}}, "use one's feet"},
      {2, {8}, {}, "walk leisurely"},
      {3, {5}, {{29, 8}, {34, 8}}, "accomplished rapidly"},
      {3, {7}, {}, "not moving quickly"},
      {4, {6}, {{38, 9}, {39, 7}}, "with speed"},
  };
  for (uint32_t s = 0; s < std::size(synsets); ++s) {
    lexicon.synsets.push_back(synsets[s]);
    for (uint32_t w : synsets[s].words)
      lexicon.words[w].senses[synsets[s].pos - 1].push_back({s, uint8_t(s)});
  }
  return lexicon;
}

// The small dictionary, its images, and a private folder for the damaged files.
struct Setup {
  datafiles::DataFileImages images;
  const datafiles::Lexicon lexicon = SmallLexicon();
  std::string dir = std::filesystem::temp_directory_path() / "fuzz_nymdex_XXXXXX";

  Setup() {
    std::string error;
    if (!datafiles::BuildDataFiles(lexicon, &images, &error) || ::mkdtemp(dir.data()) == nullptr)
      std::abort();
  }
  ~Setup() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
  // Rewrites the file in place and cuts it to length (cheaper than truncating to nothing).
  std::string Write(const char* name, const std::vector<uint8_t>& bytes) const {
    std::string path = dir + "/" + name;
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0 || ::pwrite(fd, bytes.data(), bytes.size(), 0) != ssize_t(bytes.size()) ||
        ::ftruncate(fd, off_t(bytes.size())) != 0 || ::close(fd) != 0)
      std::abort();
    return path;
  }
};

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
      std::vector<uint8_t> decoded(nymdex::kWordIndexHeaderSize, 0);
      decoded.insert(decoded.end(), data + 4, data + size);
      images.word_index = engine::ArithEncode(decoded.data(), decoded.size());
    } else {
      // Positions fall into the target's region of its file.
      size_t begin = 0, span = file->size();
      if (target == kSynsetHeader) span = nymdex::kSynsetHeaderSize;
      if (target == kTagData) begin = nymdex::kTagDigestAt, span = file->size() - begin;
      for (size_t at = 4; at + 4 <= size; at += 4) {
        size_t position = data[at] | data[at + 1] << 8 | data[at + 2] << 16;
        if (target == kTagHeader) {
          // The block count, the first block slots of both tables, and the digest.
          static const size_t kRegions[][2] = {
              {0, 72}, {nymdex::kTagEndAt, 64}, {nymdex::kTagDigestAt, 16}};
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
  NymdexEngine* engine = nullptr;
  uint32_t code =
      Nymdex_StartUp(&engine, setup.Write(program::kSynsetFile, images.synsets).c_str(),
                     setup.Write(program::kWordIndexFile, images.word_index).c_str(),
                     setup.Write(program::kTagFile, images.tags).c_str(), nullptr, nullptr);
  if (code == kNymdexOk) {
    nymdex_test::Sweep(engine, setup.lexicon);
    Nymdex_ShutDown(&engine);
  } else if (code != kNymdexBadWordIndex && code != kNymdexBadIndexes &&
             code != kNymdexBadSenseLists && code != kNymdexCorrupt) {
    std::abort();  // not a documented start-up failure
  }
  return 0;
}
