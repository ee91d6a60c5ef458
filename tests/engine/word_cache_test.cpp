// The cache of the decoded word index: whatever the cache file holds, start-up gives the code,
// the progress calls and the query results it gives without one.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine/nymdex_internal.h"
#include "engine/word_cache.h"
#include "tests/engine/nymdex_test_util.h"

namespace nymdex_test {
namespace {

namespace fs = std::filesystem;
using test_support::ReadFile;
using test_support::ScratchFolder;

// Names the cache folder for one test, and none again after it.
class CacheFolder {
 public:
  explicit CacheFolder(const std::string& folder) { Nymdex_SetCacheFolder(folder.c_str()); }
  ~CacheFolder() { Nymdex_SetCacheFolder(nullptr); }
};

int32_t CountProgress(int32_t, void* count) {
  ++*static_cast<int*>(count);
  return 0;
}

// What a start-up of `dictionary` came to: its code, its progress calls, whether the word
// index came from the cache, and the bytes of queries that read the word index.
struct Outcome {
  uint32_t code = 0;
  int progress = 0;
  bool from_cache = false;
  std::string answers;
};

Outcome StartAndAsk(const Dictionary& dictionary, const std::vector<std::string>& words) {
  Outcome run;
  NymdexEngine* engine = nullptr;
  run.code = dictionary.Start(&engine, CountProgress, &run.progress);
  if (run.code != kNymdexOk) return run;
  run.from_cache = engine->region.from_cache;
  const NymdexEntryRegion region = Nymdex_GetEntryRegion(engine);
  run.answers.assign(region.data, region.length);
  run.answers += std::to_string(region.count);
  for (const std::string& word : words) {
    run.answers += "|" + std::to_string(Nymdex_GetIdFromWord(engine, word.c_str()));
    std::vector<TagRecord> tags;
    Nymdex_GetTags(engine, word.c_str(), &tags);
    for (const TagRecord& tag : tags)
      run.answers += ";" + std::to_string(tag.pos) + tag.text;
    std::vector<std::string> synonyms;
    Nymdex_GetSynonyms(engine, word.c_str(), &synonyms, 1, {0, 1, 2});
    for (const std::string& synonym : synonyms)
      run.answers += "," + synonym;
  }
  EXPECT_EQ(Nymdex_ShutDown(&engine), kNymdexOk);
  return run;
}

class WordCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dictionary_.Write(images_));
    expected_ = StartAndAsk(dictionary_, words_);
    ASSERT_EQ(expected_.code, kNymdexOk);
  }
  std::string CachePath() const { return nymdex::WordCachePath(cache_.Path("verbarium")); }
  void ExpectAsWithoutCache(const Outcome& run) const {
    EXPECT_EQ(run.code, expected_.code);
    EXPECT_EQ(run.progress, expected_.progress);
    EXPECT_EQ(run.answers, expected_.answers);
  }

  const DataFileImages images_ = Images(SampleLexicon());
  const std::vector<std::string> words_ = {"bank", "DOG", "fast", "ice_cream", "senseless", "zz"};
  Dictionary dictionary_;
  ScratchFolder cache_;
  Outcome expected_;
};

TEST_F(WordCacheTest, EveryCacheFileGivesTheUncachedResult) {
  // Another dictionary's cache.
  Dictionary other;
  ASSERT_TRUE(other.Write(BigImages()));
  {
    const CacheFolder other_folder(cache_.Path("other"));
    ASSERT_EQ(StartAndAsk(other, words_).code, kNymdexOk);
  }
  const CacheFolder folder(cache_.Path("verbarium"));
  const Outcome cold = StartAndAsk(dictionary_, words_);
  ExpectAsWithoutCache(cold);
  EXPECT_FALSE(cold.from_cache);
  const std::string good = ReadFile(CachePath());
  ASSERT_GT(good.size(), nymdex::kWordCacheHeaderSize);
  EXPECT_EQ(fs::status(CachePath()).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);

  const std::string foreign = ReadFile(nymdex::WordCachePath(cache_.Path("other")));

  struct Case {
    std::string what;
    std::string bytes;  // the cache file; none when empty and `remove`
    bool remove = false;
    bool hit = false;
  };
  std::vector<Case> cases = {
      {"the cache written by the cold start", good, false, true},
      {"no cache file", "", true},
      {"an empty cache file", ""},
      {"the header alone", good.substr(0, nymdex::kWordCacheHeaderSize)},
      {"a byte short", good.substr(0, good.size() - 1)},
      {"a byte more", good + '\0'},
      {"another word index's cache", foreign},
  };
  // A flipped bit anywhere: every header byte, then bytes across the decoded index.
  for (size_t at = 0; at < good.size(); at += at < nymdex::kWordCacheHeaderSize ? 1 : 37) {
    std::string flipped = good;
    flipped[at] = static_cast<char>(flipped[at] ^ (1 << at % 8));
    cases.push_back({"bit flipped at " + std::to_string(at), flipped});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.remove) {
      fs::remove(CachePath());
    } else {
      cache_.Write("verbarium/" + std::string(nymdex::kWordCacheFile), c.bytes);
    }
    const Outcome run = StartAndAsk(dictionary_, words_);
    ExpectAsWithoutCache(run);
    EXPECT_EQ(run.from_cache, c.hit);
    EXPECT_EQ(ReadFile(CachePath()), good) << "a cache that does not match is written again";
  }
}

TEST_F(WordCacheTest, UnusableFolderChangesNothing) {
  const std::string file = cache_.Write("a file", std::string("x"));
  for (const std::string& folder : {file, file + "/verbarium", std::string("/proc/verbarium")}) {
    SCOPED_TRACE(folder);
    const CacheFolder set(folder);
    ExpectAsWithoutCache(StartAndAsk(dictionary_, words_));
    EXPECT_EQ(ReadFile(file), "x");
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(cache_.path()), fs::directory_iterator()), 1);
}

TEST_F(WordCacheTest, FileSizeLimitBelowTheCacheSkipsTheWrite) {
  const CacheFolder folder(cache_.Path("verbarium"));
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    const struct rlimit limit = {100, 100};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::_exit(StartAndAsk(dictionary_, words_).answers == expected_.answers ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "not ended by a signal";
  EXPECT_FALSE(fs::exists(cache_.Path("verbarium")));
}

TEST_F(WordCacheTest, DamagedDataFileGivesItsCodeWithAWarmCache) {
  const CacheFolder folder(cache_.Path("verbarium"));
  ASSERT_TRUE(StartAndAsk(dictionary_, words_).from_cache == false);
  const struct {
    const char* what;
    int file;
    size_t at;
    uint32_t code;
  } cases[] = {
      {"a synset digest byte", 0, nymdex::kSynsetDigestAt, kNymdexCorrupt},
      {"a tag digest byte", 2, nymdex::kTagDigestAt, kNymdexCorrupt},
      {"the word index's table", 1, 5, kNymdexBadWordIndex},
      {"the word index's first code bits", 1, 261, kNymdexBadWordIndex},
      {"the noun index size", 0, nymdex::kPosIndexSizeAt[0], kNymdexBadIndexes},
      {"the sense list offset", 0, nymdex::kSenseListOffsetAt, kNymdexBadSenseLists},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DataFileImages damaged = images_;
    FileOf(damaged, c.file)[c.at] ^= 0x40;
    Dictionary dictionary;
    ASSERT_TRUE(dictionary.Write(damaged));
    Nymdex_SetCacheFolder(nullptr);
    const uint32_t uncached = StartAndAsk(dictionary, words_).code;
    EXPECT_EQ(uncached, c.code);
    Nymdex_SetCacheFolder(cache_.Path("verbarium").c_str());
    // Twice: the first start may write the cache of a damaged but decodable index.
    EXPECT_EQ(StartAndAsk(dictionary, words_).code, uncached);
    EXPECT_EQ(StartAndAsk(dictionary, words_).code, uncached);
  }
}

TEST_F(WordCacheTest, ProcessesStartingAtOnceLeaveOneGoodCache) {
  const CacheFolder folder(cache_.Path("verbarium"));
  std::vector<pid_t> children;
  for (int i = 0; i < 4; ++i) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      NymdexEngine* engine = nullptr;
      ::_exit(dictionary_.Start(&engine) == kNymdexOk ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(
      std::distance(fs::directory_iterator(cache_.Path("verbarium")), fs::directory_iterator()), 1)
      << "no temporary file is left";
  const Outcome warm = StartAndAsk(dictionary_, words_);
  ExpectAsWithoutCache(warm);
  EXPECT_TRUE(warm.from_cache);
}

// The copy shipped beside the word index, as the data compiler makes it.
class DataFolderCopyTest : public WordCacheTest {
 protected:
  void SetUp() override {
    WordCacheTest::SetUp();
    ASSERT_TRUE(nymdex::BuildWordCacheImage(images_.word_index.data(), images_.word_index.size(),
                                            &shipped_));
  }
  std::string ShippedPath() const { return nymdex::DataFolderWordCachePath(dictionary_.path(1)); }
  void Ship(const std::string& bytes) const {
    std::ofstream(ShippedPath(), std::ios::binary | std::ios::trunc) << bytes;
  }

  std::vector<uint8_t> shipped_;
};

TEST_F(DataFolderCopyTest, MatchingCopyIsMappedAndNothingIsWritten) {
  const std::string bytes(shipped_.begin(), shipped_.end());
  Ship(bytes);
  const CacheFolder folder(cache_.Path("verbarium"));
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    const Outcome installed = StartAndAsk(dictionary_, words_);
    ExpectAsWithoutCache(installed);
    EXPECT_TRUE(installed.from_cache);
  }
  EXPECT_FALSE(fs::exists(cache_.Path("verbarium")));
  EXPECT_EQ(ReadFile(ShippedPath()), bytes);
  EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(ShippedPath()).parent_path()),
                          fs::directory_iterator()),
            4)
      << "the three data files and the copy";
}

TEST_F(DataFolderCopyTest, CopyThatDoesNotMatchIsDecodedPast) {
  const std::string good(shipped_.begin(), shipped_.end());
  std::vector<uint8_t> foreign;
  const DataFileImages big = BigImages();
  ASSERT_TRUE(nymdex::BuildWordCacheImage(big.word_index.data(), big.word_index.size(), &foreign));
  std::string flipped_header = good, flipped_content = good;
  flipped_header[nymdex::kWordCacheSourceDigestAt] ^= 1;
  flipped_content[good.size() / 2] ^= 1;
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"an empty file", ""},
      {"a byte short", good.substr(0, good.size() - 1)},
      {"another word index's copy", std::string(foreign.begin(), foreign.end())},
      {"a flipped bit in the source digest", flipped_header},
      {"a flipped bit in the decoded bytes", flipped_content},
  };
  const CacheFolder folder(cache_.Path("verbarium"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Ship(c.bytes);
    fs::remove(CachePath());
    const Outcome run = StartAndAsk(dictionary_, words_);
    ExpectAsWithoutCache(run);
    EXPECT_FALSE(run.from_cache);
    EXPECT_EQ(ReadFile(ShippedPath()), c.bytes);
    EXPECT_EQ(ReadFile(CachePath()), good) << "the start-up's own copy is the compiler's";
  }
}

// Waits until process `pid` holds a file in `folder` open: the cache writer mid-write.
bool HoldsFileIn(pid_t pid, const std::string& folder) {
  const std::string open_files = "/proc/" + std::to_string(pid) + "/fd";
  for (int tries = 0; tries < 200000; ++tries) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(open_files, error)) {
      if (fs::read_symlink(entry.path(), error).string().starts_with(folder + "/")) return true;
    }
  }
  return false;
}

TEST_F(WordCacheTest, WriterKilledMidWriteLeavesOnlyAWholeCache) {
  const std::string folder = cache_.Path("verbarium");
  fs::create_directories(folder);
  const int probe = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
  if (probe < 0) GTEST_SKIP() << "no unnamed files here: a named temporary file serves";
  ::close(probe);
  const std::string path = nymdex::WordCachePath(folder);
  const std::vector<uint8_t> decoded(size_t{8} << 20, 'w');
  const engine::Digest source = {};
  for (int round = 0; round < 10; ++round) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      for (;;)
        nymdex::WriteWordCache(path, 1, source, decoded.data(), decoded.size());
    }
    const bool mid_write = HoldsFileIn(pid, folder);
    ::kill(pid, SIGKILL);
    ASSERT_EQ(::waitpid(pid, nullptr, 0), pid);
    ASSERT_TRUE(mid_write);
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
      ASSERT_EQ(entry.path().filename(), nymdex::kWordCacheFile) << "round " << round;
  }
  engine::MappedFile map;
  size_t length = 0;
  if (fs::exists(path)) {
    EXPECT_TRUE(nymdex::MapWordCache(path, 1, source, &map, &length));
    EXPECT_EQ(length, decoded.size());
  }
}

}  // namespace
}  // namespace nymdex_test
