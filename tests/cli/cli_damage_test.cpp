// Damaged copies of the compiled Data/: bits flipped at sampled positions (every header byte of
// the files whose header is small, the used fields of the tag file's header, positions spread
// over each body and its last bytes) and files cut short. For every copy verbarium-cli either
// reports the damage with one of the documented messages or prints exactly what it prints for
// the undamaged data: damage never passes for a result.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "engine/arith_resume.h"
#include "engine/data_format.h"
#include "engine/little_endian.h"
#include "engine/md5.h"
#include "platform/program_names.h"
#include "tests/cli/cli_runner.h"

namespace {

namespace fs = std::filesystem;
using cli_test::CliResult;
using Ranges = std::vector<std::pair<size_t, size_t>>;

constexpr const char* kCorrupted = "One of the data files has been corrupted.";
constexpr const char* kUnreadable = "Error reading the dictionaries. Please re-install Verbarium.";

// Words whose lookups read the first and the last sections of the files: nouns, adverbs, an
// irregular form, a phrase, a late word, anagrams.
constexpr const char* kWords = "cat\nquickly\nwell\nran\nice cream\nzymurgy\ngeese\nlisten\n";

bool Write(const std::string& path, const std::string& bytes, size_t at, bool cut) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool ok = ::pwrite(fd, bytes.data(), bytes.size(), off_t(at)) == ssize_t(bytes.size()) &&
                  (!cut || ::ftruncate(fd, off_t(at + bytes.size())) == 0);
  return ::close(fd) == 0 && ok;
}

// A data folder of links to the compiled files, with a copy of the one to damage and of the
// custom database, which the program may write.
class DamagedData {
 public:
  explicit DamagedData(const std::string& name) : name_(name) {
    fs::create_directory(data_);
    for (const auto& entry : fs::directory_iterator(VERBARIUM_DATA_DIR)) {
      const std::string file = entry.path().filename().string();
      const fs::path target = data_ / file;
      if (file == name || file.rfind("1001M", 0) == 0)
        fs::copy_file(entry.path(), target);
      else
        fs::create_symlink(entry.path(), target);
    }
    original_ = test_support::ReadFile(path());
  }

  std::string path() const { return (data_ / name_).string(); }
  const std::string& original() const { return original_; }

  // Runs the lookups of the probe's words over the data as it stands.
  CliResult Run() const {
    return cli_test::RunOn(data_.string(), {"lookup", "--batch", "-", "--json"}, kWords);
  }

  // Flips the byte at `at` by `mask`, or cuts the file to `length`; Restore undoes either.
  void Flip(size_t at, uint8_t mask) {
    EXPECT_TRUE(Write(path(), std::string(1, static_cast<char>(original_[at] ^ mask)), at, false));
    changed_ = {at, 1};
  }
  void Cut(size_t length) {
    EXPECT_TRUE(Write(path(), original_.substr(0, length), 0, true));
    changed_ = {length, original_.size() - length};
  }
  void Restore() const {
    EXPECT_TRUE(
        Write(path(), original_.substr(changed_.first, changed_.second), changed_.first, false));
  }

 private:
  test_support::ScratchFolder folder_;
  const fs::path data_ = folder_.path() / "Data";
  std::string name_;
  std::string original_;
  std::pair<size_t, size_t> changed_;  // where the damage is: offset and length
};

// A damaged copy's result that is not the undamaged output: documented when true.
bool DataError(const CliResult& result) {
  return result.status == 2 && (result.err.find(kCorrupted) != std::string::npos ||
                                result.err.find(kUnreadable) != std::string::npos);
}

// Sweeps one file: every byte of `header` ranges, `spread` positions over the rest and the
// file's last bytes, and cuts at sampled lengths, the last complete digest chunk's end among
// them. Each damaged copy gives the undamaged output or a documented message.
void Sweep(const std::string& name, const Ranges& header, size_t spread) {
  DamagedData data(name);
  const CliResult intact = data.Run();
  ASSERT_NE(intact.status, 2) << intact.err;
  const size_t size = data.original().size();
  ASSERT_GT(size, 64u);

  std::vector<size_t> positions;
  for (const auto& [begin, end] : header) {
    for (size_t at = begin; at < std::min(end, size); ++at)
      positions.push_back(at);
  }
  const size_t chunks_end = size - size % engine::kFileDigestChunk;
  for (size_t i = 0; i < spread; ++i)
    positions.push_back(size / 3 + (size - size / 3) * i / spread);
  for (size_t back = 1; back <= 3; ++back)
    positions.push_back(size - back);
  for (size_t i = 0; chunks_end < size && i < 4; ++i)
    positions.push_back(chunks_end + (size - chunks_end) * i / 4);
  const std::vector<size_t> lengths = {0, 16, size / 4, size / 2, chunks_end, size - 9, size - 1};

  std::vector<std::string> passed;
  size_t copies = 0;
  // Runs the probe over the damaged copy, then restores the file.
  auto check = [&](const std::string& what) {
    ++copies;
    const CliResult result = data.Run();
    const bool same = result.status == intact.status && result.out == intact.out;
    if (!same && !DataError(result))
      passed.push_back(what + " (exit " + std::to_string(result.status) + ")");
    data.Restore();
  };
  for (size_t i = 0; i < positions.size(); ++i) {
    const uint8_t mask = "\x01\x80\x10\xFF"[i % 4];
    data.Flip(positions[i], mask);
    check("byte " + std::to_string(positions[i]) + " ^ " + std::to_string(mask));
  }
  for (size_t length : lengths) {
    if (length >= size) continue;
    data.Cut(length);
    check("cut to " + std::to_string(length));
  }
  std::string shown;
  for (size_t i = 0; i < passed.size() && i < 12; ++i)
    shown += "\n  " + passed[i];
  EXPECT_TRUE(passed.empty()) << passed.size() << " of " << copies << " damaged copies of " << name
                              << " gave other output without a message:" << shown;
}

TEST(DamagedData, SynsetFile) {
  Sweep(program::kSynsetFile, {{0, nymdex::kSynsetHeaderSize}}, 24);
}

TEST(DamagedData, WordIndexFile) {
  // The stream's head, and in the resume points' trailer at the file's end a byte of each field
  // of each point, the count and the marker.
  const size_t size =
      test_support::ReadFile(std::string(VERBARIUM_DATA_DIR) + "/" + program::kWordIndexFile)
          .size();
  const size_t points = nymdex::kWordIndexResumePoints;
  const size_t trailer = points * engine::kResumePointSize + engine::kResumeTrailerFixedSize;
  ASSERT_GT(size, trailer + 48);
  Ranges ranges = {{0, 48}};
  for (size_t field_at : {0, 4, 8, 10, 12, 14}) {
    for (size_t point = 0; point < points; ++point) {
      const size_t at = size - trailer + point * engine::kResumePointSize + field_at;
      ranges.push_back({at, at + 1});
    }
  }
  ranges.push_back({size - 8, size - 7});  // the count
  ranges.push_back({size - 2, size - 1});  // the marker
  Sweep(program::kWordIndexFile, ranges, 24);
}

TEST(DamagedData, TagFile) {
  // The header's used fields: the block count, the first and last used entries of both block
  // tables and the slot after them, the end offset and the digest.
  const std::string tags =
      test_support::ReadFile(std::string(VERBARIUM_DATA_DIR) + "/" + program::kTagFile);
  ASSERT_GE(tags.size(), nymdex::kTagHeaderSize);
  const size_t blocks =
      engine::LoadU32(reinterpret_cast<const uint8_t*>(tags.data()) + nymdex::kTagBlockCountAt);
  ASSERT_GE(blocks, 2u);
  ASSERT_LT(blocks, nymdex::kMaxTagBlocks);
  using nymdex::kTagHighestAt, nymdex::kTagStartsAt;
  Sweep(program::kTagFile,
        {{0, kTagHighestAt + 8},
         {kTagHighestAt + 4 * (blocks - 1), kTagHighestAt + 4 * (blocks + 1)},
         {nymdex::kTagEndAt, kTagStartsAt + 8},
         {kTagStartsAt + 4 * (blocks - 1), kTagStartsAt + 4 * (blocks + 1)},
         {nymdex::kTagDigestAt, nymdex::kTagHeaderSize + 8}},
        24);
}

// The anagram list's short last chunk is sealed after the list: a changed letter there is
// damage like one in a complete chunk.
TEST(DamagedData, AnagramFile) {
  Sweep(program::kAnagramFile, {{0, nymdex::kAnagramHeaderSize}}, 24);
}

// An anagram of the probe's "listen" in the short last chunk, changed into a word that is none:
// without the seal, the lookups would show one anagram less with no message.
TEST(DamagedData, AnagramFileLetterInTheLastChunk) {
  DamagedData data(program::kAnagramFile);
  const std::string& list = data.original();
  const size_t chunks_end =
      list.size() - (list.size() - nymdex::kAnagramHeaderSize) % engine::kFileDigestChunk;
  const size_t at = list.find(std::string("\0tinsel\0", 8), chunks_end);
  ASSERT_NE(at, std::string::npos) << "no anagram of the probe's word in the last chunk";
  data.Flip(at + 1, 't' ^ 'u');  // "uinsel"
  EXPECT_TRUE(DataError(data.Run()));
}

}  // namespace
