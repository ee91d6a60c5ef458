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
// (phrases are written with "_"), so that the sentinel sorts before it. What is wrong with it,
// or nothing; the caller names the line only then (most words are fine, and there are many).
std::string WordProblem(std::string_view word) {
  if (word.empty()) return "empty word";
  if (word.size() > kMaxWordLength) {
    return "word longer than " + std::to_string(kMaxWordLength) + " bytes";
  }
  for (char c : word) {
    if (static_cast<unsigned char>(c) <= ' ') {
      return "space or control character in word \"" + std::string(word) + "\"";
    }
  }
  return std::string();
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

// Builds the lexicon in the phases of its mapping (mkdata_lexicon.h), each a method over the
// state the phases share.
class LexiconBuilder {
 public:
  LexiconBuilder(const wordnet::Database& db, datafiles::Lexicon* lexicon, LexiconReport* report,
                 std::string* error)
      : db_(db), lexicon_(lexicon), report_(report), error_(error) {}

  bool Build() {
    *report_ = LexiconReport();
    lexicon_->words.clear();
    lexicon_->synsets.clear();
    if (!AddIndexLemmas() || !AddSynsetForms() || !NumberWords()) return false;
    CountTags();
    WriteWords();
    if (!WriteSynsets() || !WriteSenses()) return false;
    ReportSymbols();
    for (const auto& [key, value] : count_of_) {
      if (!value.second) ++report_->counts_without_sense;
    }
    report_->words = lemmas_.size();
    report_->synsets = synset_total_;
    return true;
  }

 private:
  bool Fail(const std::string& message) {
    *error_ = message;
    return false;
  }

  // The lemma slot of a case-folded key, added (spelled `form`) when it is new.
  std::pair<uint32_t, bool> SlotOf(std::string key, std::string_view form) {
    auto [it, added] = slot_of_.try_emplace(std::move(key), static_cast<uint32_t>(lemmas_.size()));
    if (added) {
      lemmas_.emplace_back();
      lemmas_.back().key = it->first;
      lemmas_.back().index_form = form;
    }
    return {it->second, added};
  }

  // The place of a synset of part of speech `pos` among all synsets.
  uint32_t GlobalSynset(uint8_t pos, const wordnet::Synset* synset) const {
    return synset_base_[pos - 1] + static_cast<uint32_t>(synset - db_.synsets[pos - 1].data());
  }

  // Lemmas of the index files.
  bool AddIndexLemmas() {
    size_t index_lines = 0;
    for (const auto& entries : db_.index)
      index_lines += entries.size();
    lemmas_.reserve(index_lines);
    slot_of_.reserve(index_lines * 2);
    for (uint8_t pos = 1; pos <= wordnet::kPosCount; ++pos) {
      for (const wordnet::IndexEntry& entry : db_.index[pos - 1]) {
        if (std::string problem = WordProblem(entry.lemma); !problem.empty()) {
          return Fail(Where(db_, "index", pos, entry.line) + problem);
        }
        Lemma& lemma = lemmas_[SlotOf(engine::AsciiLowerCase(entry.lemma), entry.lemma).first];
        if (lemma.index[pos - 1] != nullptr) {
          return Fail(Where(db_, "index", pos, entry.line) + "lemma \"" + std::string(entry.lemma) +
                      "\" already listed on line " + std::to_string(lemma.index[pos - 1]->line));
        }
        lemma.index[pos - 1] = &entry;
      }
    }
    return true;
  }

  // Spellings of the synsets; a form whose lemma no index file lists becomes a word whose
  // senses are the synsets that hold it, in file order.
  bool AddSynsetForms() {
    for (uint8_t pos = 1; pos <= wordnet::kPosCount; ++pos) {
      synset_base_[pos - 1] = synset_total_;
      synset_total_ += static_cast<uint32_t>(db_.synsets[pos - 1].size());
    }
    synset_slots_.resize(synset_total_);
    for (uint8_t pos = 1; pos <= wordnet::kPosCount; ++pos) {
      for (const wordnet::Synset& synset : db_.synsets[pos - 1]) {
        const uint32_t global = GlobalSynset(pos, &synset);
        for (std::string_view form : synset.words) {
          if (std::string problem = WordProblem(form); !problem.empty()) {
            return Fail(Where(db_, "data", pos, synset.line) + problem);
          }
          AddForm(pos, global, form);
        }
      }
    }
    return true;
  }

  void AddForm(uint8_t pos, uint32_t global, std::string_view form) {
    std::vector<uint32_t>& slots = synset_slots_[global];
    auto [slot, added] = SlotOf(engine::AsciiLowerCase(form), form);
    if (added) ++report_->forms_without_index;
    Lemma& lemma = lemmas_[slot];
    if (std::find(slots.begin(), slots.end(), slot) != slots.end()) {
      ++report_->repeated_forms;
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
    if (!indexed && (own.empty() || own.back() != global)) own.push_back(global);
  }

  // Identifiers: ascending with the folded words, after the sentinel.
  bool NumberWords() {
    if (lemmas_.size() + 1 > nymdex::kMaxWords) {
      return Fail(db_.folder + ": " + std::to_string(lemmas_.size()) +
                  " words exceed the word index's limit of " +
                  std::to_string(nymdex::kMaxWords - 1));
    }
    std::vector<uint32_t> order(lemmas_.size());
    for (uint32_t i = 0; i < order.size(); ++i)
      order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](uint32_t a, uint32_t b) { return lemmas_[a].key < lemmas_[b].key; });
    for (uint32_t rank = 0; rank < order.size(); ++rank)
      lemmas_[order[rank]].id = rank + 1;
    return true;
  }

  // Tag counts by sense key; each line's use is noted for the report.
  void CountTags() {
    count_of_.reserve(db_.counts.size() * 2);
    for (const wordnet::SenseCount& count : db_.counts) {
      uint32_t& total = count_of_[count.key].first;
      total = static_cast<uint32_t>(std::min<uint64_t>(uint64_t{total} + count.count, UINT32_MAX));
    }
  }

  // Words.
  void WriteWords() {
    lexicon_->words.resize(lemmas_.size() + 1);
    lexicon_->words[0].text = kSentinelWord;
    for (const Lemma& lemma : lemmas_) {
      datafiles::WordSpec& word = lexicon_->words[lemma.id];
      word.text = std::string(StoredForm(lemma));
      if (lemma.forms.size() > 1) ++report_->case_variant_lemmas;
    }
  }

  // Synsets with their words and pointers.
  bool WriteSynsets() {
    lexicon_->synsets.resize(synset_total_);
    for (uint8_t pos = 1; pos <= wordnet::kPosCount; ++pos) {
      for (const wordnet::Synset& source : db_.synsets[pos - 1]) {
        const uint32_t global = GlobalSynset(pos, &source);
        datafiles::SynsetSpec& spec = lexicon_->synsets[global];
        spec.pos = pos;
        for (uint32_t slot : synset_slots_[global])
          spec.words.push_back(lemmas_[slot].id);
        if (source.gloss.size() > nymdex::kMaxTagText) {
          return Fail(Where(db_, "data", pos, source.line) + "gloss longer than " +
                      std::to_string(nymdex::kMaxTagText) + " bytes");
        }
        spec.gloss = std::string(source.gloss);
        for (const wordnet::Pointer& pointer : source.pointers) {
          if (!AddPointer(pos, source, pointer, &spec)) return false;
        }
      }
    }
    return true;
  }

  bool AddPointer(uint8_t pos, const wordnet::Synset& source, const wordnet::Pointer& pointer,
                  datafiles::SynsetSpec* spec) {
    uint8_t code = PointerTypeCode(pos, pointer.symbol);
    SymbolUses& uses = symbol_uses_[{pos, pointer.symbol}];
    if (code == 0) {
      ++report_->pointers_dropped;
      ++uses.dropped;
      return true;
    }
    const wordnet::Synset* target =
        wordnet::FindSynset(db_, pointer.target_pos, pointer.target_offset);
    if (target == nullptr) {
      return Fail(Where(db_, "data", pos, source.line) + "pointer to a missing synset");
    }
    const uint32_t target_index = GlobalSynset(pointer.target_pos, target);
    bool repeated = std::any_of(spec->pointers.begin(), spec->pointers.end(), [&](const auto& p) {
      return p.type == code && p.target == target_index;
    });
    if (repeated) {
      ++report_->pointers_repeated;
      return true;
    }
    spec->pointers.push_back({code, target_index});
    ++report_->pointers_kept;
    ++uses.kept;
    return true;
  }

  // The report's counts by symbol, named "noun @" and the like.
  void ReportSymbols() {
    for (const auto& [key, uses] : symbol_uses_) {
      const std::string label = std::string(PosName(key.first)) + " " + std::string(key.second);
      if (uses.kept > 0) report_->kept_by_symbol[label] += uses.kept;
      if (uses.dropped > 0) report_->dropped_by_symbol[label] += uses.dropped;
    }
  }

  // Senses in index order, with their frequencies.
  bool WriteSenses() {
    for (const Lemma& lemma : lemmas_) {
      datafiles::WordSpec& word = lexicon_->words[lemma.id];
      for (uint8_t pos = 1; pos <= wordnet::kPosCount; ++pos) {
        std::vector<datafiles::SenseSpec>& senses = word.senses[pos - 1];
        const wordnet::IndexEntry* entry = lemma.index[pos - 1];
        if (entry == nullptr) {
          for (uint32_t synset : lemma.unindexed_synsets[pos - 1])
            senses.push_back({synset, 0});
          continue;
        }
        for (uint32_t offset : entry->offsets) {
          if (!AddSense(lemma, pos, *entry, offset, &senses)) return false;
        }
        if (senses.size() > nymdex::kMaxSensesPerPos) {
          return Fail(Where(db_, "index", pos, entry->line) + "more than " +
                      std::to_string(nymdex::kMaxSensesPerPos) + " synsets for one word");
        }
      }
      for (const auto& senses : word.senses)
        report_->senses += senses.size();
    }
    return true;
  }

  bool AddSense(const Lemma& lemma, uint8_t pos, const wordnet::IndexEntry& entry, uint32_t offset,
                std::vector<datafiles::SenseSpec>* senses) {
    const wordnet::Synset* synset = wordnet::FindSynset(db_, pos, offset);
    if (synset == nullptr) {
      return Fail(Where(db_, "index", pos, entry.line) + "synset offset " + std::to_string(offset) +
                  " is missing");
    }
    const uint32_t global = GlobalSynset(pos, synset);
    const std::vector<uint32_t>& holders = synset_slots_[global];
    const uint32_t slot = static_cast<uint32_t>(&lemma - lemmas_.data());
    if (std::find(holders.begin(), holders.end(), slot) == holders.end()) {
      ++report_->senses_without_form;
    }
    uint32_t count = 0;
    std::string key = SenseKey(db_, lemma.key, *synset);
    if (!key.empty()) {
      auto it = count_of_.find(key);
      if (it != count_of_.end()) {
        count = it->second.first;
        it->second.second = true;
      }
    }
    if (count > nymdex::kMaxFrequency) ++report_->frequencies_capped;
    senses->push_back(
        {global, static_cast<uint8_t>(std::min<uint32_t>(count, nymdex::kMaxFrequency))});
    return true;
  }

  const wordnet::Database& db_;
  datafiles::Lexicon* lexicon_;
  LexiconReport* report_;
  std::string* error_;
  std::vector<Lemma> lemmas_;
  std::unordered_map<std::string, uint32_t> slot_of_;
  uint32_t synset_base_[wordnet::kPosCount] = {};
  uint32_t synset_total_ = 0;
  std::vector<std::vector<uint32_t>> synset_slots_;  // per synset, the lemma slots of its words
  std::unordered_map<std::string_view, std::pair<uint32_t, bool>> count_of_;  // count, used
  // Pointers by part of speech and symbol, counted without building a label for each.
  struct SymbolUses {
    size_t kept = 0;
    size_t dropped = 0;
  };
  std::map<std::pair<uint8_t, std::string_view>, SymbolUses> symbol_uses_;
};

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
  return LexiconBuilder(db, lexicon, report, error).Build();
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
