// Start-up and shut-down: status codes, integrity checks, progress, the stop event.
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "engine/arith_coder.h"
#include "engine/arith_resume.h"
#include "platform/named_event.h"
#include "platform/program_names.h"
#include "tests/engine/nymdex_test_util.h"

namespace nymdex_test {
namespace {

TEST(StartUpTest, NullArgumentsComeBeforeAnyFile) {
  NymdexEngine* engine = nullptr;
  const char* m = "/nonexistent/1001L.dat";
  EXPECT_EQ(Nymdex_StartUp(nullptr, m, m, m, nullptr, nullptr), kNymdexNullArgument);
  EXPECT_EQ(Nymdex_StartUp(&engine, nullptr, m, m, nullptr, nullptr), kNymdexNullArgument);
  EXPECT_EQ(Nymdex_StartUp(&engine, m, nullptr, m, nullptr, nullptr), kNymdexNullArgument);
  EXPECT_EQ(Nymdex_StartUp(&engine, m, m, nullptr, nullptr, nullptr), kNymdexNullArgument);
  EXPECT_EQ(Nymdex_StartUp(&engine, m, m, m, nullptr, nullptr), kNymdexCorrupt);
  EXPECT_EQ(engine, nullptr);
  EXPECT_EQ(Nymdex_ShutDown(nullptr), kNymdexNullHandle);
  EXPECT_EQ(Nymdex_ShutDown(&engine), kNymdexNullHandle);
}

// Starts an engine over `images` with `damage` done to them; the start-up code.
uint32_t StartDamaged(const DataFileImages& images,
                      const std::function<void(DataFileImages*)>& damage,
                      ProgressCallback progress = nullptr, void* value = nullptr) {
  DataFileImages damaged = images;
  damage(&damaged);
  Dictionary dictionary;
  EXPECT_TRUE(dictionary.Write(damaged));
  auto* untouched = reinterpret_cast<NymdexEngine*>(0x1234);
  NymdexEngine* engine = untouched;
  uint32_t code = dictionary.Start(&engine, progress, value);
  if (code == kNymdexOk) {
    EXPECT_EQ(Nymdex_ShutDown(&engine), kNymdexOk);
  } else {
    EXPECT_EQ(engine, untouched) << "the handle is stored on success only";
  }
  return code;
}

// Decodes the word index, lets `edit` change the decoded bytes, and encodes it again.
void RewriteWordIndex(DataFileImages* images, const std::function<void(uint8_t*)>& edit) {
  std::vector<uint8_t> decoded(2 * images->word_index.size());
  size_t length = 0;
  // An index already damaged past decoding stays as it is.
  if (!engine::ArithDecode(images->word_index.data(), images->word_index.size(), decoded.data(),
                           decoded.size(), &length) ||
      length != images->word_index_decoded)
    return;
  edit(decoded.data());
  images->word_index = engine::ArithEncode(decoded.data(), length);
}

// Damage the digests do not see: the word index's decoded content, and the header fields of
// the synset and tag files.
std::function<void(DataFileImages*)> WordEdit(size_t at, uint8_t mask) {
  return [=](DataFileImages* f) { RewriteWordIndex(f, [=](uint8_t* d) { d[at] ^= mask; }); };
}
std::function<void(DataFileImages*)> SynsetField(size_t at, int64_t change) {
  return [=](DataFileImages* f) {
    SetU32(&f->synsets, at, static_cast<uint32_t>(GetU32(f->synsets, at) + change));
  };
}
std::function<void(DataFileImages*)> TagField(size_t at, int64_t change) {
  return [=](DataFileImages* f) {
    SetU32(&f->tags, at, static_cast<uint32_t>(GetU32(f->tags, at) + change));
  };
}

// A byte of a resume point in the trailer that ends the word index.
std::function<void(DataFileImages*)> ResumeField(size_t point, size_t field_at) {
  return [=](DataFileImages* f) {
    const size_t trailer =
        nymdex::kWordIndexResumePoints * engine::kResumePointSize + engine::kResumeTrailerFixedSize;
    f->word_index[f->word_index.size() - trailer + point * engine::kResumePointSize + field_at] ^=
        1;
  };
}

TEST(StartUpTest, DamageOutsideTheDigestsHasItsStepsCode) {
  using namespace nymdex;
  const DataFileImages& good = BigImages();
  ASSERT_GE(good.tag_blocks, 2u);
  const size_t entries = kWordIndexHeaderSize + 10;
  const struct {
    const char* what;
    std::function<void(DataFileImages*)> damage;
    uint32_t code;
  } cases[] = {
      {"a word's letter", WordEdit(entries, 0x20), kNymdexBadWordIndex},
      {"a word's identifier digit", WordEdit(good.word_index_decoded - 1, 1), kNymdexBadWordIndex},
      {"the entry count", WordEdit(kWordIndexCountAt, 1), kNymdexBadWordIndex},
      {"a byte of the coder's table, which scrambles the marker too",
       [](DataFileImages* f) { f->word_index[5] ^= 0x80; }, kNymdexBadWordIndex},
      {"the digest itself", WordEdit(kWordIndexDigestAt + 15, 0x80), kNymdexBadWordIndex},
      {"no marker, a word changed: read as before",
       [](DataFileImages* f) {
         RewriteWordIndex(f, [](uint8_t* d) { d[kWordIndexMarkerAt] = 0, d[entries] ^= 0x20; });
       },
       kNymdexOk},
      {"no marker, the last identifier below the one before",
       [](DataFileImages* f) {
         RewriteWordIndex(f, [&](uint8_t* d) {
           d[kWordIndexMarkerAt] = 0;
           std::fill_n(d + f->word_index_decoded - kIdDigits, kIdDigits, '0');
         });
       },
       kNymdexBadWordIndex},
      {"no marker, an entry fewer than counted",
       [](DataFileImages* f) {
         RewriteWordIndex(f, [](uint8_t* d) { d[kWordIndexMarkerAt] = 0, ++d[kWordIndexCountAt]; });
       },
       kNymdexBadWordIndex},
      {"no marker, decoded with a damaged table",
       [](DataFileImages* f) {
         RewriteWordIndex(f, [](uint8_t* d) { d[kWordIndexMarkerAt] = 0; });
         f->word_index[5] ^= 0x80;
       },
       kNymdexBadWordIndex},
      {"a resume point's output position: decoded past it", ResumeField(0, 0), kNymdexOk},
      {"a resume point's code bit position: decoded past it", ResumeField(1, 4), kNymdexOk},
      {"a resume point's code register: decoded past it", ResumeField(2, 12), kNymdexOk},
      {"no marker, another stream's resume points: checked, read as before",
       [](DataFileImages* f) {
         const size_t trailer =
             kWordIndexResumePoints * engine::kResumePointSize + engine::kResumeTrailerFixedSize;
         const std::vector<uint8_t> points(f->word_index.end() - trailer, f->word_index.end());
         RewriteWordIndex(f, [](uint8_t* d) { d[kWordIndexMarkerAt] = 0, d[entries] ^= 0x20; });
         f->word_index.insert(f->word_index.end(), points.begin(), points.end());
       },
       kNymdexOk},
      {"noun index one byte shorter", SynsetField(kPosIndexSizeAt[0], -1), kNymdexBadIndexes},
      {"noun index one byte longer", SynsetField(kPosIndexSizeAt[0], 1), kNymdexBadIndexes},
      {"verb base a byte further", SynsetField(kPosBaseAt[1], 1), kNymdexBadIndexes},
      {"noun base past the end", SynsetField(kPosBaseAt[0], 1 << 24), kNymdexBadIndexes},
      {"noun bucket table a word later", SynsetField(kPosBucketOffsetAt[0], 4), kNymdexBadIndexes},
      {"verb bucket count one short", SynsetField(kPosBucketCountAt[1], -1), kNymdexBadIndexes},
      {"verb bucket count one more", SynsetField(kPosBucketCountAt[1], 1), kNymdexBadIndexes},
      {"sense lists two bytes later", SynsetField(kSenseListOffsetAt, 2), kNymdexBadSenseLists},
      {"sense lists a byte shorter", SynsetField(kSenseListSizeAt, -1), kNymdexBadSenseLists},
      {"sense bucket count one short", SynsetField(kSenseBucketCountAt, -1), kNymdexBadSenseLists},
      {"sense bucket table a word earlier", SynsetField(kSenseBucketOffsetAt, -4),
       kNymdexBadSenseLists},
      {"a synset's byte in the short last chunk",
       [](DataFileImages* f) { f->synsets[f->synsets.size() - 5] ^= 1; }, kNymdexCorrupt},
      {"a gloss byte in the short last chunk",
       [](DataFileImages* f) { f->tags[f->tags.size() - 5] ^= 1; }, kNymdexCorrupt},
      {"the synset file's tail digest", SynsetField(kSynsetTailDigestAt, 1), kNymdexCorrupt},
      {"the tag file's tail digest", TagField(kTagTailDigestAt + 12, 1), kNymdexCorrupt},
      {"synset file without the tail marker, a byte changed: read as before",
       [](DataFileImages* f) {
         SetU32(&f->synsets, kSynsetTailMarkerAt, 0), f->synsets.back() ^= 1;
       },
       kNymdexOk},
      {"tag file without the tail marker, a byte changed: read as before",
       [](DataFileImages* f) { SetU32(&f->tags, kTagTailMarkerAt, 0), f->tags.back() ^= 1; },
       kNymdexOk},
      {"no tag blocks", TagField(kTagBlockCountAt, -int64_t{good.tag_blocks}), kNymdexCorrupt},
      {"a tag block more than written", TagField(kTagBlockCountAt, 1), kNymdexCorrupt},
      {"tag blocks beyond the limit", TagField(kTagBlockCountAt, kMaxTagBlocks), kNymdexCorrupt},
      {"highest identifier past the offset table", TagField(kTagHighestAt, 1 << 20),
       kNymdexCorrupt},
      {"highest identifiers out of order", TagField(kTagHighestAt + 4, -1 << 10), kNymdexCorrupt},
      {"block starts out of order", TagField(kTagStartsAt + 4, 1 << 16), kNymdexCorrupt},
      {"block starts after its end", TagField(kTagStartsAt, 1 << 16), kNymdexCorrupt},
      {"first block inside the offset table", TagField(kTagStartsAt, -4), kNymdexCorrupt},
      {"last block ends past the file", TagField(kTagEndAt, 1), kNymdexCorrupt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(StartDamaged(good, c.damage), c.code);
  }
}

// Damage of the sample's files beyond what the step damages below and the truncation sweep
// (headers cut short) already pin down.
TEST(StartUpTest, EachDamageHasItsCode) {
  using F = DataFileImages*;
  auto set = [](size_t at, uint32_t value) { return [=](F f) { SetU32(&f->synsets, at, value); }; };
  const DataFileImages good = Images(SampleLexicon());
  const uint32_t beyond = static_cast<uint32_t>(good.synsets.size());
  const struct {
    const char* what;
    std::function<void(F)> damage;
    uint32_t code;
  } cases[] = {
      {"intact", [](F) {}, kNymdexOk},
      {"word index length beyond twice its size",
       [](F f) { SetU32(&f->word_index, 0, uint32_t(2 * f->word_index.size() + 1)); },
       kNymdexBadWordIndex},
      {"verb index past the end", set(nymdex::kPosIndexSizeAt[1], beyond), kNymdexBadIndexes},
      {"adjective bucket table past the end", set(nymdex::kPosBucketOffsetAt[2], beyond - 2),
       kNymdexBadIndexes},
      {"noun bucket count too large", set(nymdex::kPosBucketCountAt[0], 0x40000000),
       kNymdexBadIndexes},
      {"adverb index without its last record: senses without synsets",
       SynsetField(nymdex::kPosIndexSizeAt[3], -9), kNymdexBadSenseLists},
      {"sense lists past the end", set(nymdex::kSenseListOffsetAt, beyond - 3),
       kNymdexBadSenseLists},
      {"sense-list bucket count too large", set(nymdex::kSenseBucketCountAt, 0xFFFFFFFF),
       kNymdexBadSenseLists},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(StartDamaged(good, c.damage), c.code);
  }
  Dictionary missing;
  for (int file = 0; file < 3; ++file) {
    SCOPED_TRACE(file);
    ASSERT_TRUE(missing.Write(good));
    std::filesystem::remove(missing.path(file));
    NymdexEngine* engine = nullptr;
    EXPECT_EQ(missing.Start(&engine), file == 1 ? kNymdexBadWordIndex : kNymdexCorrupt);
  }
}

// Damages that each fail one step; steps in start-up order: tag file, synset file, word index,
// part-of-speech indexes, sense lists.
struct StepDamage {
  const char* what;
  int step;
  uint32_t code;
  std::function<void(DataFileImages*)> damage;
};

std::vector<StepDamage> StepDamages() {
  using F = DataFileImages*;
  return {
      {"tag file short", 0, kNymdexCorrupt, [](F f) { f->tags.resize(1000); }},
      {"tag digest changed", 0, kNymdexCorrupt, [](F f) { f->tags[65550] ^= 1; }},
      {"synset digest changed", 1, kNymdexCorrupt, [](F f) { f->synsets[12] ^= 1; }},
      {"word index empty", 2, kNymdexBadWordIndex, [](F f) { f->word_index.clear(); }},
      {"word index without its header", 2, kNymdexBadWordIndex,
       [](F f) { f->word_index = engine::ArithEncode(f->synsets.data(), 31); }},
      {"tag block after its end", 0, kNymdexCorrupt, TagField(nymdex::kTagStartsAt, 1 << 16)},
      {"word index digest differs", 2, kNymdexBadWordIndex,
       WordEdit(nymdex::kWordIndexHeaderSize + 10, 0x20)},
      {"noun index size 0", 3, kNymdexBadIndexes, [](F f) { SetU32(&f->synsets, 32, 0); }},
      {"noun index a byte longer", 3, kNymdexBadIndexes, SynsetField(32, 1)},
      {"sense-list size 0", 4, kNymdexBadSenseLists, [](F f) { SetU32(&f->synsets, 64, 0); }},
      {"sense bucket count one short", 4, kNymdexBadSenseLists, SynsetField(140, -1)},
  };
}

// The steps run side by side, yet the code is the one of the earliest failing step.
TEST(StartUpTest, TwoDamagesGiveTheEarlierStepsCode) {
  const DataFileImages good = Images(SampleLexicon());
  const std::vector<StepDamage> damages = StepDamages();
  for (const StepDamage& first : damages) {
    for (const StepDamage& second : damages) {
      if (&first == &second) continue;
      SCOPED_TRACE(std::string(first.what) + " + " + second.what);
      auto both = [&](DataFileImages* f) { first.damage(f), second.damage(f); };
      const uint32_t expected = first.step <= second.step ? first.code : second.code;
      EXPECT_EQ(StartDamaged(good, both), expected);
    }
  }
}

// The word index is read while the files are checked, but reports its progress only when
// both checks passed, as it does when it is read after them.
TEST(StartUpTest, ProgressWaitsForBothChecks) {
  const DataFileImages good = Images(SampleLexicon());
  auto record = [](int32_t, void* value) {
    ++*static_cast<int*>(value);
    return 0;
  };
  for (const StepDamage& d : StepDamages()) {
    SCOPED_TRACE(d.what);
    int calls = 0;
    EXPECT_EQ(StartDamaged(good, d.damage, record, &calls), d.code);
    if (d.step < 2) {
      EXPECT_EQ(calls, 0);
    } else if (d.step > 2) {
      EXPECT_GT(calls, 0);
    }
  }
}

TEST(StartUpTest, ProgressIsOneCallPerHundredthOfTheWordIndex) {
  const DataFileImages images = Images(SampleLexicon());
  ASSERT_LT(images.word_index.size(), 1000u);
  // (size, calls, code). Bytes after a stream's code are never read: padding keeps it valid.
  const std::tuple<size_t, size_t, uint32_t> cases[] = {{1099, 99, kNymdexOk},
                                                        {1100, 91, kNymdexOk},
                                                        {50, 50, kNymdexBadWordIndex},
                                                        {0, 0, kNymdexBadWordIndex}};
  for (const auto& [size, calls, code] : cases) {
    SCOPED_TRACE(size);
    std::vector<int32_t> steps;
    auto record = [](int32_t step, void* value) {
      static_cast<std::vector<int32_t>*>(value)->push_back(step);
      return 0;
    };
    auto pad = [size = size](DataFileImages* f) { f->word_index.resize(size, 0); };
    EXPECT_EQ(StartDamaged(images, pad, record, &steps), code);
    std::vector<int32_t> expected(calls);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(steps, expected);
  }
}

TEST(StartUpTest, StopEventLivesWithTheEngine) {
  Dictionary dictionary;
  ASSERT_TRUE(dictionary.Write(Images(SampleLexicon())));
  NymdexEngine* engine = nullptr;
  ASSERT_EQ(dictionary.Start(&engine), kNymdexOk);
  bool existed = false;
  platform::NamedEvent* event =
      platform::OpenNamedEvent(program::kStopNymdexEvent, false, true, &existed);
  EXPECT_TRUE(existed);
  EXPECT_FALSE(platform::TestNamedEvent(event)) << "created not set";
  platform::SetNamedEvent(event);
  EXPECT_TRUE(platform::TestNamedEvent(event));
  EXPECT_TRUE(platform::TestNamedEvent(event)) << "manual reset";
  platform::CloseNamedEvent(event);
  EXPECT_EQ(Nymdex_ShutDown(&engine), kNymdexOk);
  event = platform::OpenNamedEvent(program::kStopNymdexEvent, true, false, &existed);
  EXPECT_FALSE(existed) << "shut-down closes the engine's handle";
  platform::CloseNamedEvent(event);
}

}  // namespace
}  // namespace nymdex_test
