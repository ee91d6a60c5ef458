#include "tools/mkdata_lexicon.h"

#include <algorithm>
#include <unordered_map>

#include "engine/data_format.h"
#include "engine/nymdex.h"
#include "engine/text_helpers.h"

namespace mkdata {
namespace {

struct SymbolCode {
  const char* symbol;
  uint8_t code;
};

// Pointer-type codes per part of speech, in the order of the symbols for that part of speech.
constexpr SymbolCode kNounCodes[] = {
    {"!", 1},   {"@", 2},   {"~", 3},   {"#m", 4},  {"#s", 5},  {"#p", 6},
    {"%m", 7},  {"%s", 8},  {"%p", 9},  {"=", 10},  {"+", 11},  {";c", 12},
    {"-c", 13}, {";r", 14}, {"-r", 15}, {";u", 16}, {"-u", 17},
};
constexpr SymbolCode kVerbCodes[] = {
    {"!", 18}, {"@", 19}, {"~", 20},  {"*", 21},  {">", 22},  {"^", 23},
    {"$", 24}, {"+", 25}, {";c", 26}, {";r", 27}, {";u", 28},
};
constexpr SymbolCode kAdjectiveCodes[] = {
    {"!", 29}, {"&", 30},  {"<", 31},  {"\\", 32}, {"=", 33},
    {"^", 34}, {";c", 35}, {";r", 36}, {";u", 37},
};
constexpr SymbolCode kAdverbCodes[] = {
    {"!", 38}, {"\\", 39}, {";c", 40}, {";r", 41}, {";u", 42},
};

const char* PosName(uint8_t pos) {
  static const char* const kNames[] = {"noun", "verb", "adj", "adv"};
  return pos >= 1 && pos <= 4 ? kNames[pos - 1] : "?";
}

std::string Where(const wordnet::Database& db, const char* kind, uint8_t pos, uint32_t line) {
  return db.folder + "/" + kind + "." + wordnet::kPosFileSuffix[pos - 1] + ":" +
         std::to_string(line) + ": ";
}

// A word must fit the word index: 1 to 1,023 bytes, none of them a control byte or a space
// (phrases are written with "_"), so that the sentinel sorts before it.
bool CheckWord(std::string_view word, const std::string& where, std::string* error) {
  if (word.empty()) {
    *error = where + "empty word";
    return false;
  }
  if (word.size() > kMaxWordLength) {
    *error = where + "word longer than " + std::to_string(kMaxWordLength) + " bytes";
    return false;
  }
  for (char c : word) {
    if (static_cast<unsigned char>(c) <= ' ') {
      *error = where + "space or control character in word \"" + std::string(word) + "\"";
      return false;
    }
  }
  return true;
}

// One lemma while the lexicon is built.
struct Lemma {
  std::string key;                                            // case-folded
  const wordnet::IndexEntry* index[wordnet::kPosCount] = {};  // its index lines
  std::vector<std::pair<std::string_view, uint32_t>> forms;   // spellings in synsets, uses
  std::string_view index_form;
  std::vector<uint32_t> unindexed_synsets[wordnet::kPosCount];  // only for lemmas without index
  uint32_t id = 0;
};

std::string_view StoredForm(const Lemma& lemma) {
  std::string_view best;
  uint32_t best_uses = 0;
  for (const auto& [form, uses] : lemma.forms) {
    if (form == lemma.key) return form;
    if (uses > best_uses || (uses == best_uses && form < best)) {
      best = form;
      best_uses = uses;
    }
  }
  return best_uses > 0 ? best : lemma.index_form;
}

// The sense key of `lemma` (case-folded) in `synset`, as cntlist.rev writes it:
// lemma%ss_type:lex_filenum:lex_id:head_word:head_id, where a satellite names the first word of
// the head synset its "&" pointer leads to. Empty when the synset does not hold the lemma.
std::string SenseKey(const wordnet::Database& db, const std::string& lemma,
                     const wordnet::Synset& synset) {
  auto two_digits = [](uint32_t value) {
    std::string text = std::to_string(value);
    return text.size() < 2 ? "0" + text : text;
  };
  for (size_t w = 0; w < synset.words.size(); ++w) {
    if (engine::AsciiLowerCase(synset.words[w]) != lemma) continue;
    char type = synset.satellite ? '5' : static_cast<char>('0' + synset.pos);
    std::string key = lemma + "%" + type + ":" + two_digits(synset.lex_filenum) + ":" +
                      two_digits(synset.lex_ids[w]) + ":";
    if (synset.satellite) {
      for (const wordnet::Pointer& pointer : synset.pointers) {
        if (pointer.symbol != "&") continue;
        const wordnet::Synset* head = wordnet::FindSynset(db, 3, pointer.target_offset);
        if (head != nullptr) {
          key += engine::AsciiLowerCase(head->words[0]) + ":" + two_digits(head->lex_ids[0]);
        }
        break;
      }
    } else {
      key += ":";
    }
    return key;
  }
  return std::string();
}

}  // namespace

uint8_t PointerTypeCode(uint8_t pos, std::string_view symbol) {
  // Instance pointers are ordinary hypernyms and hyponyms here.
  if (symbol == "@i") symbol = "@";
  if (symbol == "~i") symbol = "~";
  auto find = [symbol](const auto& table) -> uint8_t {
    for (const SymbolCode& entry : table) {
      if (symbol == entry.symbol) return entry.code;
    }
    return 0;
  };
  switch (pos) {
    case 1:
      return find(kNounCodes);
    case 2:
      return find(kVerbCodes);
    case 3:
      return find(kAdjectiveCodes);
    case 4:
      return find(kAdverbCodes);
    default:
      return 0;
  }
}

bool BuildLexicon(const wordnet::Database& db, datafiles::Lexicon* lexicon, LexiconReport* report,
                  std::string* error) {
  *report = LexiconReport();
  lexicon->words.clear();
  lexicon->synsets.clear();

  std::vector<Lemma> lemmas;
  std::unordered_map<std::string, uint32_t> slot_of;
  size_t index_lines = 0;
  for (const auto& entries : db.index)
    index_lines += entries.size();
  lemmas.reserve(index_lines);
  slot_of.reserve(index_lines * 2);

  // Lemmas of the index files.
  for (uint8_t pos = 1; pos <= wordnet::kPosCount; ++pos) {
    for (const wordnet::IndexEntry& entry : db.index[pos - 1]) {
      std::string where = Where(db, "index", pos, entry.line);
      if (!CheckWord(entry.lemma, where, error)) return false;
      std::string key = engine::AsciiLowerCase(entry.lemma);
      auto [it, added] = slot_of.try_emplace(key, static_cast<uint32_t>(lemmas.size()));
      if (added) {
        lemmas.emplace_back();
        lemmas.back().key = std::move(key);
        lemmas.back().index_form = entry.lemma;
      }
      Lemma& lemma = lemmas[it->second];
      if (lemma.index[pos - 1] != nullptr) {
        *error = where + "lemma \"" + std::string(entry.lemma) + "\" already listed on line " +
                 std::to_string(lemma.index[pos - 1]->line);
        return false;
      }
      lemma.index[pos - 1] = &entry;
    }
  }

  // Spellings of the synsets; a form whose lemma no index file lists becomes a word whose
  // senses are the synsets that hold it, in file order.
  uint32_t synset_base[wordnet::kPosCount] = {};
  uint32_t synset_total = 0;
  for (uint8_t pos = 1; pos <= wordnet::kPosCount; ++pos) {
    synset_base[pos - 1] = synset_total;
    synset_total += static_cast<uint32_t>(db.synsets[pos - 1].size());
  }
  std::vector<std::vector<uint32_t>> synset_slots(synset_total);
  for (uint8_t pos = 1; pos <= wordnet::kPosCount; ++pos) {
    const auto& synsets = db.synsets[pos - 1];
    for (size_t s = 0; s < synsets.size(); ++s) {
      const wordnet::Synset& synset = synsets[s];
      std::vector<uint32_t>& slots = synset_slots[synset_base[pos - 1] + s];
      for (std::string_view form : synset.words) {
        if (!CheckWord(form, Where(db, "data", pos, synset.line), error)) return false;
        std::string key = engine::AsciiLowerCase(form);
        auto [it, added] = slot_of.try_emplace(key, static_cast<uint32_t>(lemmas.size()));
        if (added) {
          lemmas.emplace_back();
          lemmas.back().key = std::move(key);
          lemmas.back().index_form = form;
          ++report->forms_without_index;
        }
        uint32_t slot = it->second;
        Lemma& lemma = lemmas[slot];
        if (std::find(slots.begin(), slots.end(), slot) != slots.end()) {
          ++report->repeated_forms;
        } else {
          slots.push_back(slot);
        }
        auto use = std::find_if(lemma.forms.begin(), lemma.forms.end(),
                                [form](const auto& f) { return f.first == form; });
        if (use == lemma.forms.end()) {
          lemma.forms.emplace_back(form, 1);
        } else {
          ++use->second;
        }
        bool indexed = false;
        for (const auto* entry : lemma.index)
          indexed = indexed || entry != nullptr;
        std::vector<uint32_t>& own = lemma.unindexed_synsets[pos - 1];
        uint32_t global = synset_base[pos - 1] + static_cast<uint32_t>(s);
        if (!indexed && (own.empty() || own.back() != global)) own.push_back(global);
      }
    }
  }

  // Identifiers: ascending with the folded words, after the sentinel.
  if (lemmas.size() + 1 > nymdex::kMaxWords) {
    *error = db.folder + ": " + std::to_string(lemmas.size()) +
             " words exceed the word index's limit of " + std::to_string(nymdex::kMaxWords - 1);
    return false;
  }
  std::vector<uint32_t> order(lemmas.size());
  for (uint32_t i = 0; i < order.size(); ++i)
    order[i] = i;
  std::sort(order.begin(), order.end(),
            [&](uint32_t a, uint32_t b) { return lemmas[a].key < lemmas[b].key; });
  for (uint32_t rank = 0; rank < order.size(); ++rank)
    lemmas[order[rank]].id = rank + 1;

  // Tag counts by sense key; each line's use is noted for the report.
  std::unordered_map<std::string_view, std::pair<uint32_t, bool>> count_of;
  count_of.reserve(db.counts.size() * 2);
  for (const wordnet::SenseCount& count : db.counts) {
    uint32_t& total = count_of[count.key].first;
    total = static_cast<uint32_t>(std::min<uint64_t>(uint64_t{total} + count.count, UINT32_MAX));
  }

  // Words.
  lexicon->words.resize(lemmas.size() + 1);
  lexicon->words[0].text = kSentinelWord;
  for (const Lemma& lemma : lemmas) {
    datafiles::WordSpec& word = lexicon->words[lemma.id];
    word.text = std::string(StoredForm(lemma));
    if (lemma.forms.size() > 1) ++report->case_variant_lemmas;
  }

  // Synsets with their words and pointers.
  lexicon->synsets.resize(synset_total);
  for (uint8_t pos = 1; pos <= wordnet::kPosCount; ++pos) {
    const auto& synsets = db.synsets[pos - 1];
    for (size_t s = 0; s < synsets.size(); ++s) {
      const wordnet::Synset& source = synsets[s];
      uint32_t global = synset_base[pos - 1] + static_cast<uint32_t>(s);
      datafiles::SynsetSpec& spec = lexicon->synsets[global];
      spec.pos = pos;
      for (uint32_t slot : synset_slots[global])
        spec.words.push_back(lemmas[slot].id);
      if (source.gloss.size() > nymdex::kMaxTagText) {
        *error = Where(db, "data", pos, source.line) + "gloss longer than " +
                 std::to_string(nymdex::kMaxTagText) + " bytes";
        return false;
      }
      spec.gloss = std::string(source.gloss);
      for (const wordnet::Pointer& pointer : source.pointers) {
        std::string label = std::string(PosName(pos)) + " " + std::string(pointer.symbol);
        uint8_t code = PointerTypeCode(pos, pointer.symbol);
        if (code == 0) {
          ++report->pointers_dropped;
          ++report->dropped_by_symbol[label];
          continue;
        }
        const wordnet::Synset* target =
            wordnet::FindSynset(db, pointer.target_pos, pointer.target_offset);
        if (target == nullptr) {
          *error = Where(db, "data", pos, source.line) + "pointer to a missing synset";
          return false;
        }
        uint32_t target_index =
            synset_base[pointer.target_pos - 1] +
            static_cast<uint32_t>(target - db.synsets[pointer.target_pos - 1].data());
        bool repeated = std::any_of(spec.pointers.begin(), spec.pointers.end(), [&](const auto& p) {
          return p.type == code && p.target == target_index;
        });
        if (repeated) {
          ++report->pointers_repeated;
          continue;
        }
        spec.pointers.push_back({code, target_index});
        ++report->pointers_kept;
        ++report->kept_by_symbol[label];
      }
    }
  }

  // Senses in index order, with their frequencies.
  for (const Lemma& lemma : lemmas) {
    datafiles::WordSpec& word = lexicon->words[lemma.id];
    for (uint8_t pos = 1; pos <= wordnet::kPosCount; ++pos) {
      std::vector<datafiles::SenseSpec>& senses = word.senses[pos - 1];
      const wordnet::IndexEntry* entry = lemma.index[pos - 1];
      if (entry == nullptr) {
        for (uint32_t synset : lemma.unindexed_synsets[pos - 1])
          senses.push_back({synset, 0});
        continue;
      }
      for (size_t k = 0; k < entry->offsets.size(); ++k) {
        const wordnet::Synset* synset = wordnet::FindSynset(db, pos, entry->offsets[k]);
        if (synset == nullptr) {
          *error = Where(db, "index", pos, entry->line) + "synset offset " +
                   std::to_string(entry->offsets[k]) + " is missing";
          return false;
        }
        uint32_t global =
            synset_base[pos - 1] + static_cast<uint32_t>(synset - db.synsets[pos - 1].data());
        const std::vector<uint32_t>& holders = synset_slots[global];
        uint32_t slot = slot_of.find(lemma.key)->second;
        if (std::find(holders.begin(), holders.end(), slot) == holders.end()) {
          ++report->senses_without_form;
        }
        uint32_t count = 0;
        std::string key = SenseKey(db, lemma.key, *synset);
        if (!key.empty()) {
          auto it = count_of.find(key);
          if (it != count_of.end()) {
            count = it->second.first;
            it->second.second = true;
          }
        }
        if (count > nymdex::kMaxFrequency) ++report->frequencies_capped;
        senses.push_back(
            {global, static_cast<uint8_t>(std::min<uint32_t>(count, nymdex::kMaxFrequency))});
      }
      if (senses.size() > nymdex::kMaxSensesPerPos) {
        *error = Where(db, "index", pos, entry->line) + "more than " +
                 std::to_string(nymdex::kMaxSensesPerPos) + " synsets for one word";
        return false;
      }
    }
    for (const auto& senses : word.senses)
      report->senses += senses.size();
  }
  for (const auto& [key, value] : count_of) {
    if (!value.second) ++report->counts_without_sense;
  }
  report->words = lemmas.size();
  report->synsets = synset_total;
  return true;
}

bool ReadWordList(const std::string& path, std::vector<std::string>* words, std::string* error) {
  std::string text;
  if (!wordnet::ReadWholeFile(path, &text, error)) return false;
  words->clear();
  return engine::ForEachLine(text, [&](std::string_view word, uint32_t line, size_t) {
    if (!word.empty() && word.back() == '\r') word.remove_suffix(1);
    if (word.find('\0') != std::string_view::npos) {
      *error = path + ":" + std::to_string(line) + ": NUL byte in the word list";
      return false;
    }
    if (!word.empty()) words->emplace_back(word);
    return true;
  });
}

std::vector<std::string> AnagramWords(const std::vector<std::string>& list_words,
                                      const datafiles::Lexicon& lexicon, AnagramReport* report) {
  *report = AnagramReport();
  std::vector<std::string> words;
  words.reserve(list_words.size() + lexicon.words.size());
  auto offer = [&](const std::string& word) {
    bool letters = !word.empty() && word.size() <= nymdex::kMaxAnagramWordLength &&
                   std::all_of(word.begin(), word.end(), engine::IsAsciiLower);
    if (letters) {
      words.push_back(word);
    } else {
      ++report->rejected;
    }
  };
  for (const std::string& word : list_words)
    offer(word);
  report->list_words = list_words.size();
  for (size_t i = 1; i < lexicon.words.size(); ++i) {
    const std::string& word = lexicon.words[i].text;
    if (word.find('_') != std::string::npos) continue;  // phrases are not one-word lemmas
    ++report->lemma_words;
    offer(word);
  }
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  report->kept = words.size();
  return words;
}

}  // namespace mkdata
