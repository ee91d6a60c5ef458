#include "app/meaning/meaning_index.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "app/meaning/meaning_format.h"
#include "engine/little_endian.h"

namespace meaning {

namespace {

constexpr char kMissingMessage[] =
    "The search by meaning needs the file 1001S.dat, which is missing.\n"
    "Please reinstall or repair Verbarium.";
constexpr char kDamagedMessage[] =
    "The index of the search by meaning (1001S.dat) has been corrupted.\n"
    "Please reinstall or repair Verbarium.";

// Bounds of the header's real numbers beyond which no compiled index goes: k1, the prior, the
// field weights and the impact step are small positive numbers; a field's average length is a
// count of terms. The digest guards them; these bounds keep a file resealed with nonsense out.
constexpr double kMaxRankingValue = 100.0;
constexpr double kMaxAverageLength = 1000.0;

uint32_t U32(const uint8_t* data, size_t at) {
  return engine::LoadU32(data + at);
}

// True when [at, at + length) lies within `size` bytes.
bool Within(uint64_t at, uint64_t length, uint64_t size) {
  return at <= size && length <= size - at;
}

}  // namespace

const char* IndexMessage(IndexStatus status) {
  switch (status) {
    case IndexStatus::kMissing:
      return kMissingMessage;
    case IndexStatus::kDamaged:
      return kDamagedMessage;
    case IndexStatus::kOk:
      break;
  }
  return "";
}

IndexStatus MeaningIndex::Open(const std::string& path, std::unique_ptr<MeaningIndex>* index) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? IndexStatus::kMissing : IndexStatus::kDamaged;
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
      static_cast<uint64_t>(info.st_size) < kMeaningHeaderSize) {
    ::close(fd);
    return IndexStatus::kDamaged;
  }
  const size_t size = static_cast<size_t>(info.st_size);
  void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
  ::close(fd);
  if (mapped == MAP_FAILED) return IndexStatus::kDamaged;
  std::unique_ptr<MeaningIndex> opened(new MeaningIndex());
  opened->data_ = static_cast<const uint8_t*>(mapped);
  opened->size_ = size;
  if (!opened->Check()) return IndexStatus::kDamaged;
  *index = std::move(opened);
  return IndexStatus::kOk;
}

MeaningIndex::~MeaningIndex() {
  if (data_ != nullptr) ::munmap(const_cast<uint8_t*>(data_), size_);
}

bool MeaningIndex::Check() {
  const uint8_t* d = data_;
  if (U32(d, kMagicAt) != kMeaningMagic || U32(d, kVersionAt) != kMeaningVersion ||
      U32(d, kFileSizeAt) != size_) {
    return false;
  }
  const engine::Digest digest = MeaningDigest(d, size_);
  if (std::memcmp(digest.data(), d + kDigestAt, digest.size()) != 0) return false;

  sense_count_ = U32(d, kSenseCountAt);
  term_count_ = U32(d, kTermCountAt);
  word_count_ = U32(d, kWordEntryCountAt);
  ranking_.k1 = U32(d, kK1At) * kMeaningFixedPoint;
  ranking_.prior = U32(d, kPriorAt) * kMeaningFixedPoint;
  impact_step_ = U32(d, kImpactStepAt) * kMeaningFixedPoint;
  stats_.documents = sense_count_;
  for (int f = 0; f < kFieldCount; ++f) {
    ranking_.weight[f] = U32(d, kWeightAt + 4 * f) * kMeaningFixedPoint;
    ranking_.b[f] = U32(d, kLengthNormAt + 4 * f) * kMeaningFixedPoint;
    stats_.average_length[f] = U32(d, kAverageLengthAt + 4 * f) * kMeaningFixedPoint;
    if (ranking_.weight[f] > kMaxRankingValue || ranking_.b[f] > 1.0 ||
        stats_.average_length[f] > kMaxAverageLength) {
      return false;
    }
  }
  if (ranking_.k1 <= 0 || ranking_.k1 > kMaxRankingValue || ranking_.prior > kMaxRankingValue ||
      impact_step_ <= 0 || impact_step_ > kMaxRankingValue) {
    return false;
  }

  const uint32_t terms_at = U32(d, kTermsAt);
  const uint32_t strings_at = U32(d, kStringsAt);
  strings_size_ = U32(d, kStringsSizeAt);
  const uint32_t postings_at = U32(d, kPostingsAt);
  postings_size_ = U32(d, kPostingsSizeAt);
  const uint32_t senses_at = U32(d, kSensesAt);
  const uint32_t words_at = U32(d, kWordsAt);
  const uint32_t relatives_at = U32(d, kRelativesAt);
  relative_count_ = U32(d, kRelativeCountAt);
  if (!Within(relatives_at, 4 * (uint64_t{term_count_} + 1 + relative_count_), size_) ||
      !Within(terms_at, uint64_t{term_count_} * kTermEntrySize, size_) ||
      !Within(strings_at, strings_size_, size_) || !Within(postings_at, postings_size_, size_) ||
      !Within(senses_at, 4 * (uint64_t{sense_count_} + 1) + 2 * uint64_t{sense_count_}, size_) ||
      !Within(words_at, 5 * uint64_t{word_count_}, size_)) {
    return false;
  }
  terms_ = d + terms_at;
  strings_ = reinterpret_cast<const char*>(d + strings_at);
  postings_ = d + postings_at;
  sense_first_ = d + senses_at;
  sense_pos_ = sense_first_ + 4 * (size_t{sense_count_} + 1);
  words_ = d + words_at;
  word_frequency_ = words_ + 4 * size_t{word_count_};
  relative_first_ = d + relatives_at;
  relatives_ = relative_first_ + 4 * (size_t{term_count_} + 1);

  // Terms: texts inside the strings section, strictly ascending (the search bisects them),
  // postings in order within their section.
  uint32_t previous_postings = 0;
  for (uint32_t t = 0; t < term_count_; ++t) {
    const uint8_t* entry = terms_ + size_t{t} * kTermEntrySize;
    const uint32_t text_at = U32(entry, 0);
    const uint32_t postings_at_t = U32(entry, 4);
    if (text_at >= strings_size_ ||
        std::memchr(strings_ + text_at, 0, strings_size_ - text_at) == nullptr) {
      return false;
    }
    if (postings_at_t < previous_postings || postings_at_t > postings_size_) return false;
    previous_postings = postings_at_t;
    if (t > 0 && !(TermText(t - 1) < TermText(t))) return false;
  }
  // Relatives: ranges ascending from 0 to the relative count, each naming a term.
  if (U32(relative_first_, 0) != 0 ||
      U32(relative_first_, 4 * size_t{term_count_}) != relative_count_) {
    return false;
  }
  for (uint32_t t = 0; t < term_count_; ++t) {
    if (FirstRelative(t) > FirstRelative(t + 1)) return false;
  }
  for (uint32_t e = 0; e < relative_count_; ++e) {
    if (Relative(e) >= term_count_) return false;
  }
  // Senses: word ranges ascending from 0 to the entry count, part-of-speech codes 1 to 4.
  if (U32(sense_first_, 0) != 0 || U32(sense_first_, 4 * size_t{sense_count_}) != word_count_) {
    return false;
  }
  for (uint32_t s = 0; s < sense_count_; ++s) {
    if (FirstWord(s) > FirstWord(s + 1)) return false;
    if (sense_pos_[s] < 1 || sense_pos_[s] > 4) return false;
  }
  return true;
}

std::string_view MeaningIndex::TermText(uint32_t t) const {
  return std::string_view(strings_ + U32(terms_ + size_t{t} * kTermEntrySize, 0));
}

bool MeaningIndex::FindTerm(std::string_view term, Postings* postings) const {
  uint32_t low = 0;
  uint32_t high = term_count_;
  while (low < high) {
    const uint32_t mid = low + (high - low) / 2;
    if (TermText(mid) < term) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  if (low >= term_count_ || TermText(low) != term) return false;
  *postings = TermPostings(low);
  return true;
}

MeaningIndex::Postings MeaningIndex::TermPostings(uint32_t t) const {
  const uint8_t* entry = terms_ + size_t{t} * kTermEntrySize;
  Postings postings;
  postings.term = t;
  postings.begin = U32(entry, 4);
  postings.end = t + 1 < term_count_ ? U32(entry + kTermEntrySize, 4) : postings_size_;
  postings.document_frequency = U32(entry, 8);
  return postings;
}

uint32_t MeaningIndex::FirstRelative(uint32_t t) const {
  return U32(relative_first_, 4 * size_t{t});
}

uint32_t MeaningIndex::Relative(uint32_t entry) const {
  return U32(relatives_, 4 * size_t{entry});
}

bool MeaningIndex::ReadPosting(size_t* at, size_t end, uint32_t* delta, uint8_t* impact) const {
  if (!ReadVarint(postings_, end, at, delta) || *at >= end) return false;
  *impact = postings_[(*at)++];
  return true;
}

uint32_t MeaningIndex::FirstWord(uint32_t s) const {
  return U32(sense_first_, 4 * size_t{s});
}

uint32_t MeaningIndex::WordId(uint32_t entry) const {
  return U32(words_, 4 * size_t{entry}) & kWordIdMask;
}

uint32_t MeaningIndex::SenseNumber(uint32_t entry) const {
  return U32(words_, 4 * size_t{entry}) >> kWordIdBits;
}

}  // namespace meaning
