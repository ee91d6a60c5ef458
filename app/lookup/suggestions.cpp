#include "app/lookup/suggestions.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "app/lookup/text_rules.h"
#include "custom/custom_db.h"
#include "engine/nymdex.h"
#include "engine/text_helpers.h"

namespace lookup {
namespace {

constexpr size_t kMaxWordChars = kMaxSuggestionLength + kMaxSuggestionEdits;
constexpr size_t kIdDigits = 6;

// The set of characters of a word, one bit per letter a to z, one for "_", one for anything
// else. An edit adds at most one member and removes at most one, so two words within n edits
// differ in at most 2n bits: a cheap test before the full comparison.
template <typename Char>
uint32_t LetterMask(const Char* word, size_t length) {
  uint32_t mask = 0;
  for (size_t i = 0; i < length; ++i) {
    const char32_t c = static_cast<char32_t>(word[i]);
    mask |= c >= U'a' && c <= U'z' ? 1u << (c - U'a') : c == U'_' ? 1u << 26 : 1u << 27;
  }
  return mask;
}

// Restricted edit distance over two short sequences, rows kept on the stack. A row whose
// smallest value is above the limit ends the search: no later row can come back under it, a
// swap included, since a swap's cell never beats the cell beside it in the row between.
template <typename A, typename B>
int BoundedDistance(const A* a, size_t n, const B* b, size_t m, int limit) {
  const size_t gap = n > m ? n - m : m - n;
  if (gap > static_cast<size_t>(limit)) return limit + 1;
  if (m > kMaxWordChars) return limit + 1;
  int rows[3][kMaxWordChars + 1];
  int* before = rows[0];
  int* previous = rows[1];
  int* current = rows[2];
  for (size_t j = 0; j <= m; ++j)
    previous[j] = static_cast<int>(j);
  for (size_t i = 1; i <= n; ++i) {
    current[0] = static_cast<int>(i);
    int row_min = current[0];
    const char32_t ai = static_cast<char32_t>(a[i - 1]);
    for (size_t j = 1; j <= m; ++j) {
      const char32_t bj = static_cast<char32_t>(b[j - 1]);
      int value = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (ai != bj)});
      if (i > 1 && j > 1 && ai == static_cast<char32_t>(b[j - 2]) &&
          static_cast<char32_t>(a[i - 2]) == bj) {
        value = std::min(value, before[j - 2] + 1);
      }
      current[j] = value;
      row_min = std::min(row_min, value);
    }
    if (row_min > limit) return limit + 1;
    std::swap(before, previous);
    std::swap(previous, current);
  }
  return std::min(previous[m], limit + 1);
}

uint32_t SenseCountSum(const NymdexEngine* engine, const std::string& index_form) {
  SenseList list;
  if (engine == nullptr || Nymdex_GetSensesForWord(engine, index_form.c_str(), &list) != 1) {
    return 0;
  }
  uint32_t sum = 0;
  for (SenseEntry entry : list.entries)
    sum += SenseFrequency(entry);
  return sum;
}

std::string ToIndexSpelling(const std::string& display) {
  std::string out = display;
  std::replace(out.begin(), out.end(), ' ', '_');
  return out;
}

}  // namespace

int EditDistance(std::u32string_view a, std::u32string_view b, int limit) {
  if (a.size() > kMaxWordChars || b.size() > kMaxWordChars) {
    // Beyond the stack rows: only equality can be told apart from "too far".
    return a == b ? 0 : limit + 1;
  }
  return BoundedDistance(a.data(), a.size(), b.data(), b.size(), limit);
}

void RankSuggestions(std::vector<SuggestionCandidate>* candidates) {
  std::sort(candidates->begin(), candidates->end(),
            [](const SuggestionCandidate& x, const SuggestionCandidate& y) {
              if (x.edits != y.edits) return x.edits < y.edits;
              if (x.frequency != y.frequency) return x.frequency > y.frequency;
              return x.word < y.word;
            });
  if (candidates->size() > kMaxSuggestions) candidates->resize(kMaxSuggestions);
}

SpellingIndex::SpellingIndex(const NymdexEngine* engine) {
  const NymdexEntryRegion region = Nymdex_GetEntryRegion(engine);
  std::vector<std::vector<Entry>> by_length(kMaxWordChars + 1);
  chars_.reserve(region.length);
  const char* data = region.data;
  size_t at = 0;
  for (uint32_t n = 0; n < region.count && at < region.length; ++n) {
    const void* nul = std::memchr(data + at, 0, region.length - at);
    if (nul == nullptr) break;
    const size_t end = static_cast<size_t>(static_cast<const char*>(nul) - data);
    if (end + 1 + kIdDigits > region.length) break;
    const size_t length = end - at;
    // Only words the lookup box could take back: letters and "_".
    const bool usable = length > 0 && length <= kMaxWordChars &&
                        std::all_of(data + at, data + end,
                                    [](char c) { return engine::IsAsciiLetter(c) || c == '_'; });
    if (usable) {
      const uint32_t offset = static_cast<uint32_t>(chars_.size());
      chars_.append(engine::AsciiLowerCase(std::string_view(data + at, length)));
      by_length[length].push_back({offset, LetterMask(chars_.data() + offset, length)});
    }
    at = end + 1 + kIdDigits;
  }
  starts_.push_back(0);
  for (std::vector<Entry>& group : by_length) {
    entries_.insert(entries_.end(), group.begin(), group.end());
    starts_.push_back(entries_.size());
  }
}

void SpellingIndex::Find(std::u32string_view key, std::vector<SuggestionCandidate>* out) const {
  if (key.empty() || key.size() > kMaxSuggestionLength) return;
  const uint32_t key_mask = LetterMask(key.data(), key.size());
  const size_t shortest = key.size() > kMaxSuggestionEdits ? key.size() - kMaxSuggestionEdits : 1;
  const size_t longest = std::min(key.size() + kMaxSuggestionEdits, kMaxWordChars);
  for (size_t length = shortest; length <= longest; ++length) {
    for (size_t e = starts_[length]; e < starts_[length + 1]; ++e) {
      const Entry& entry = entries_[e];
      if (std::popcount(entry.mask ^ key_mask) > 2 * kMaxSuggestionEdits) continue;
      const char* word = chars_.data() + entry.offset;
      const int edits = BoundedDistance(key.data(), key.size(), word, length, kMaxSuggestionEdits);
      if (edits > kMaxSuggestionEdits) continue;
      out->push_back({ToDisplayForm(std::string_view(word, length)), edits, 0});
    }
  }
}

std::vector<std::string> SuggestWords(const SpellingIndex& index, const NymdexEngine* engine,
                                      const CustomDatabase* custom, std::string_view text) {
  const std::u32string key = CodePoints(ToIndexForm(text));
  const size_t letters = static_cast<size_t>(
      std::count_if(key.begin(), key.end(), [](char32_t c) { return c != U'_'; }));
  if (letters < kMinSuggestionLetters || key.size() > kMaxSuggestionLength) return {};

  std::vector<SuggestionCandidate> candidates;
  index.Find(key, &candidates);
  const size_t engine_count = candidates.size();
  std::vector<CustomEntrySummary> entries;
  if (custom != nullptr && CustomDb_GetAllEntries(custom, &entries)) {
    for (const CustomEntrySummary& entry : entries) {
      const std::string word = ToDisplayForm(LowerCase(entry.word));
      if (word.empty() || HasInvalidCharacters(word)) continue;
      const int edits = EditDistance(key, CodePoints(ToIndexSpelling(word)), kMaxSuggestionEdits);
      if (edits > kMaxSuggestionEdits) continue;
      const auto same = [&word](const SuggestionCandidate& c) { return c.word == word; };
      if (std::none_of(candidates.begin(), candidates.end(), same)) {
        candidates.push_back({word, edits, 0});
      }
    }
  }
  // Only the candidates that can still reach the list need their tag counts: those with no
  // more edits than the last of the best kMaxSuggestions by edits alone.
  std::vector<int> edits;
  for (const SuggestionCandidate& c : candidates)
    edits.push_back(c.edits);
  std::sort(edits.begin(), edits.end());
  const int reach = edits.empty() ? 0 : edits[std::min(edits.size(), kMaxSuggestions) - 1];
  for (size_t i = 0; i < engine_count; ++i) {
    if (candidates[i].edits <= reach) {
      candidates[i].frequency = SenseCountSum(engine, ToIndexSpelling(candidates[i].word));
    }
  }
  RankSuggestions(&candidates);
  std::vector<std::string> words;
  for (SuggestionCandidate& c : candidates)
    words.push_back(std::move(c.word));
  return words;
}

}  // namespace lookup
