#include "app/meaning/meaning_text.h"

#include <algorithm>
#include <array>

#include "engine/text_helpers.h"

namespace meaning {

namespace {

// Punctuation a description may hold; it separates words.
constexpr std::string_view kDescriptionPunctuation = ",;'-/.:!?\"()";

// Function words, sorted for a binary search: articles, pronouns, prepositions, conjunctions,
// auxiliary and modal verbs, and the fillers of everyday descriptions and glosses.
constexpr std::array<std::string_view, 150> kFunctionWords = {
    "about",      "above",   "after",   "against", "all",   "also",     "am",        "among",
    "an",         "and",     "another", "any",     "are",   "around",   "as",        "at",
    "be",         "because", "been",    "before",  "being", "below",    "between",   "both",
    "but",        "by",      "can",     "could",   "did",   "do",       "does",      "doing",
    "don",        "down",    "during",  "each",    "eg",    "either",   "else",      "esp",
    "especially", "etc",     "even",    "ever",    "every", "for",      "from",      "had",
    "has",        "have",    "having",  "he",      "her",   "here",     "hers",      "herself",
    "him",        "himself", "his",     "how",     "ie",    "if",       "in",        "into",
    "is",         "it",      "its",     "itself",  "just",  "may",      "me",        "might",
    "mine",       "more",    "most",    "must",    "my",    "myself",   "neither",   "nor",
    "of",         "off",     "often",   "on",      "once",  "one",      "ones",      "only",
    "onto",       "or",      "other",   "others",  "our",   "ours",     "ourselves", "out",
    "over",       "per",     "same",    "shall",   "she",   "should",   "so",        "some",
    "such",       "than",    "that",    "the",     "their", "theirs",   "them",      "themselves",
    "then",       "there",   "these",   "they",    "this",  "those",    "through",   "thus",
    "to",         "too",     "under",   "until",   "up",    "upon",     "us",        "usually",
    "very",       "was",     "we",      "were",    "what",  "when",     "where",     "whether",
    "which",      "while",   "who",     "whom",    "whose", "why",      "will",      "with",
    "within",     "would",   "you",     "your",    "yours", "yourself",
};

static_assert(std::is_sorted(kFunctionWords.begin(), kFunctionWords.end()),
              "IsFunctionWord bisects the list");

// Walks the characters of a text: `visit(character, is_word_character)` for each one. Letters
// are those of the lookup box (its invalid-character rule), digits are word characters too.
template <typename Visit>
void WalkCharacters(std::string_view text, Visit visit) {
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      visit(text.substr(i, 1), detail::IsAsciiWordByte(static_cast<char>(c)));
      ++i;
      continue;
    }
    const size_t length = engine::DecodeUtf8(text, i).length;
    const std::string_view character = text.substr(i, length);
    visit(character, !lookup::HasInvalidCharacters(character));
    i += length;
  }
}

}  // namespace

DescriptionCheck CheckDescription(std::string_view text) {
  size_t characters = 0;
  bool invalid = false;
  WalkCharacters(text, [&](std::string_view character, bool word) {
    ++characters;
    if (word) return;
    const unsigned char c = static_cast<unsigned char>(character[0]);
    const bool space = c == ' ' || c == '\t' || c == '\n' || c == '\r';
    if (!space && (character.size() != 1 ||
                   kDescriptionPunctuation.find(character[0]) == std::string_view::npos)) {
      invalid = true;
    }
  });
  if (characters > kMaxDescriptionCharacters) return DescriptionCheck::kTooLong;
  return invalid ? DescriptionCheck::kInvalidCharacters : DescriptionCheck::kOk;
}

const char* DescriptionMessage(DescriptionCheck check) {
  switch (check) {
    case DescriptionCheck::kTooLong:
      return kDescriptionTooLongMessage;
    case DescriptionCheck::kInvalidCharacters:
      return kDescriptionInvalidMessage;
    case DescriptionCheck::kOk:
      break;
  }
  return "";
}

namespace detail {

std::string_view AsciiWord(std::string* word, char before, bool after_n) {
  for (char& c : *word)
    c = engine::AsciiLower(c);
  const bool negation = (*word == "t" && before == '\'' && after_n) || *word == "cannot";
  return negation ? std::string_view("not") : std::string_view(*word);
}

void ForEachWordOfUtf8(std::string_view text, const std::function<void(std::string_view)>& visit) {
  std::string current;
  bool ascii = true;     // the current word has ASCII letters only
  char before = ' ';     // the character before the word
  bool after_n = false;  // the word before ended in "n"
  auto flush = [&] {
    if (current.empty()) return;
    if (ascii) {
      visit(AsciiWord(&current, before, after_n));
    } else {
      visit(lookup::LowerCase(current));
    }
    after_n = current.back() == 'n';
    current.clear();
    ascii = true;
  };
  WalkCharacters(text, [&](std::string_view character, bool word) {
    if (word) {
      current.append(character);
      ascii = ascii && character.size() == 1;
    } else {
      flush();
      before = character.size() == 1 ? character[0] : ' ';
    }
  });
  flush();
}

}  // namespace detail

std::vector<std::string> SplitWords(std::string_view text) {
  std::vector<std::string> words;
  ForEachWord(text, [&words](std::string_view word) { words.emplace_back(word); });
  return words;
}

bool IsFunctionWord(std::string_view word) {
  if (word.size() <= 1) return true;
  return std::binary_search(kFunctionWords.begin(), kFunctionWords.end(), word);
}

std::string TermNormaliser::Term(const std::string& word) const {
  if (std::any_of(word.begin(), word.end(), engine::IsAsciiDigit)) {
    return word;
  }
  std::string base;
  if (lookup::FindBaseForm(word, is_known_, &base)) return base;
  return word;
}

std::vector<std::string> TermNormaliser::Terms(std::string_view text) const {
  std::vector<std::string> terms;
  for (const std::string& word : SplitWords(text)) {
    if (!IsFunctionWord(word)) terms.push_back(Term(word));
  }
  return terms;
}

}  // namespace meaning
