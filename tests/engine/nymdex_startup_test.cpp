// Start-up and shut-down: status codes, integrity checks, progress, the stop event.
#include <functional>

#include "engine/arith_coder.h"
#include "platform/named_event.h"
#include "tests/engine/nymdex_test_util.h"

namespace nymdex_test {
namespace {

TEST(StartUpTest, NullArgumentsComeBeforeAnyFile) {
  NymdexEngine* engine = nullptr;
  const char* missing = "/nonexistent/1001L.dat";
  EXPECT_EQ(Nymdex_StartUp(nullptr, missing, missing, missing, nullptr, nullptr),
            kNymdexNullArgument);
  EXPECT_EQ(Nymdex_StartUp(&engine, nullptr, missing, missing, nullptr, nullptr),
            kNymdexNullArgument);
  EXPECT_EQ(Nymdex_StartUp(&engine, missing, nullptr, missing, nullptr, nullptr),
            kNymdexNullArgument);
  EXPECT_EQ(Nymdex_StartUp(&engine, missing, missing, nullptr, nullptr, nullptr),
            kNymdexNullArgument);
  EXPECT_EQ(Nymdex_StartUp(&engine, missing, missing, missing, nullptr, nullptr), kNymdexCorrupt);
  EXPECT_EQ(engine, nullptr);

  EXPECT_EQ(Nymdex_ShutDown(nullptr), kNymdexNullHandle);
  EXPECT_EQ(Nymdex_ShutDown(&engine), kNymdexNullHandle);
}

TEST(StartUpTest, EachDamageHasItsCode) {
  const DataFileImages good = Images(SampleLexicon());
  struct Case {
    const char* what;
    std::function<void(DataFileImages*)> damage;
    uint32_t code;
  };
  auto set = [](size_t at, uint32_t value) {
    return [at, value](DataFileImages* f) { SetU32(&f->synsets, at, value); };
  };
  const uint32_t beyond = static_cast<uint32_t>(good.synsets.size());
  const Case cases[] = {
      {"intact", [](DataFileImages*) {}, kNymdexOk},
      {"tag file one byte short", [](DataFileImages* f) { f->tags.resize(65563); }, kNymdexCorrupt},
      {"tag file empty", [](DataFileImages* f) { f->tags.clear(); }, kNymdexCorrupt},
      {"tag digest changed", [](DataFileImages* f) { f->tags[65550] ^= 1; }, kNymdexCorrupt},
      {"synset header short", [](DataFileImages* f) { f->synsets.resize(175); }, kNymdexCorrupt},
      {"synset digest changed", [](DataFileImages* f) { f->synsets[12] ^= 1; }, kNymdexCorrupt},
      {"word index empty", [](DataFileImages* f) { f->word_index.clear(); }, kNymdexBadWordIndex},
      {"word index not a stream", [](DataFileImages* f) { f->word_index.resize(200); },
       kNymdexBadWordIndex},
      {"word index length beyond twice its size",
       [](DataFileImages* f) { SetU32(&f->word_index, 0, uint32_t(2 * f->word_index.size() + 1)); },
       kNymdexBadWordIndex},
      {"word index without its header",
       [](DataFileImages* f) {
         const uint8_t bytes[31] = {1, 2, 3};
         f->word_index = engine::ArithEncode(bytes, sizeof(bytes));
       },
       kNymdexBadWordIndex},
      {"word index frequencies all zero",
       [](DataFileImages* f) {
         std::fill(f->word_index.begin() + 4, f->word_index.begin() + 260, 0);
       },
       kNymdexBadWordIndex},
      {"noun index size 0", set(32, 0), kNymdexBadIndexes},
      {"adverb index size 0", set(56, 0), kNymdexBadIndexes},
      {"verb index past the end", set(40, beyond), kNymdexBadIndexes},
      {"adjective bucket table past the end", set(124, beyond - 2), kNymdexBadIndexes},
      {"noun bucket count too large", set(144, 0x40000000), kNymdexBadIndexes},
      {"sense-list size 0", set(64, 0), kNymdexBadSenseLists},
      {"sense lists past the end", set(60, beyond - 3), kNymdexBadSenseLists},
      {"sense-list bucket count too large", set(140, 0xFFFFFFFF), kNymdexBadSenseLists},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DataFileImages images = good;
    c.damage(&images);
    Dictionary dictionary;
    ASSERT_TRUE(dictionary.Write(images));
    auto* untouched = reinterpret_cast<NymdexEngine*>(0x1234);
    NymdexEngine* engine = untouched;
    EXPECT_EQ(dictionary.Start(&engine), c.code);
    if (c.code == kNymdexOk) {
      EXPECT_EQ(Nymdex_ShutDown(&engine), kNymdexOk);
    } else {
      EXPECT_EQ(engine, untouched) << "the handle is stored on success only";
    }
  }
  Dictionary missing;
  for (int file = 0; file < 3; ++file) {
    SCOPED_TRACE(file);
    ASSERT_TRUE(missing.Write(good));
    std::filesystem::remove(file == 0   ? missing.synsets()
                            : file == 1 ? missing.words()
                                        : missing.tags());
    NymdexEngine* engine = nullptr;
    EXPECT_EQ(missing.Start(&engine), file == 1 ? kNymdexBadWordIndex : kNymdexCorrupt);
  }
}

TEST(StartUpTest, DigestCoversTheCompleteChunksAfterTheHeader) {
  const DataFileImages& good = BigImages();
  ASSERT_GT(good.synsets.size(), 176u + 524288u);
  ASSERT_GT(good.tags.size(), 65564u + 524288u);
  struct Case {
    const char* what;
    bool tags;
    size_t at;
    uint32_t code;
  };
  const Case cases[] = {
      {"synset first data byte", false, 176, kNymdexCorrupt},
      {"synset last byte of the chunk", false, 176 + 524287, kNymdexCorrupt},
      {"synset short tail", false, 176 + 524288, kNymdexOk},
      {"tag offset table", true, 65564, kNymdexCorrupt},
      {"tag block in the chunk", true, 65564 + 300000, kNymdexCorrupt},
      {"tag short tail", true, good.tags.size() - 1, kNymdexOk},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DataFileImages images = good;
    (c.tags ? images.tags : images.synsets)[c.at] ^= 0x20;
    Dictionary dictionary;
    ASSERT_TRUE(dictionary.Write(images));
    NymdexEngine* engine = nullptr;
    EXPECT_EQ(dictionary.Start(&engine), c.code);
    if (engine != nullptr) Nymdex_ShutDown(&engine);
  }
}

struct Progress {
  std::vector<int32_t> steps;
  static int32_t Record(int32_t step, void* value) {
    static_cast<Progress*>(value)->steps.push_back(step);
    return 0;
  }
};

TEST(StartUpTest, ProgressIsOneCallPerHundredthOfTheWordIndex) {
  DataFileImages images = Images(SampleLexicon());
  ASSERT_LT(images.word_index.size(), 1000u);
  struct Case {
    size_t size;
    size_t calls;
    uint32_t code;
  };
  // Bytes after a stream's code are never read, so padding keeps the index valid.
  const Case cases[] = {{1000, 90, kNymdexOk},       {1099, 99, kNymdexOk},
                        {1100, 91, kNymdexOk},       {50, 50, kNymdexBadWordIndex},
                        {1, 1, kNymdexBadWordIndex}, {0, 0, kNymdexBadWordIndex}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    DataFileImages sized = images;
    sized.word_index.resize(c.size, 0);
    Dictionary dictionary;
    ASSERT_TRUE(dictionary.Write(sized));
    Progress progress;
    NymdexEngine* engine = nullptr;
    EXPECT_EQ(dictionary.Start(&engine, &Progress::Record, &progress), c.code);
    ASSERT_EQ(progress.steps.size(), c.calls);
    for (size_t i = 0; i < c.calls; ++i)
      ASSERT_EQ(progress.steps[i], int32_t(i));
    if (engine != nullptr) Nymdex_ShutDown(&engine);
  }
}

TEST(StartUpTest, StopEventLivesWithTheEngine) {
  Dictionary dictionary;
  ASSERT_TRUE(dictionary.Write(Images(SampleLexicon())));
  NymdexEngine* engine = nullptr;
  ASSERT_EQ(dictionary.Start(&engine), kNymdexOk);
  bool existed = false;
  platform::NamedEvent* event = platform::OpenNamedEvent("StopNymdexEvent", false, true, &existed);
  EXPECT_TRUE(existed);
  EXPECT_FALSE(platform::TestNamedEvent(event)) << "created not set";
  platform::SetNamedEvent(event);
  EXPECT_TRUE(platform::TestNamedEvent(event));
  EXPECT_TRUE(platform::TestNamedEvent(event)) << "manual reset";
  platform::CloseNamedEvent(event);
  EXPECT_EQ(Nymdex_ShutDown(&engine), kNymdexOk);
  event = platform::OpenNamedEvent("StopNymdexEvent", true, false, &existed);
  EXPECT_FALSE(existed) << "shut-down closes the engine's handle";
  platform::CloseNamedEvent(event);
}

}  // namespace
}  // namespace nymdex_test
