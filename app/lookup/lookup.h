// The lookup flow without widgets: from the text of the lookup box to the senses list with its
// check boxes and the output panes with their words, the built-in dictionary and the custom
// database merged. The main window and the command line drive this same code.
//
// A LookupSession holds the engine handles (it owns none of them), the current word, the rows
// of the senses list with their check states, and the pane tabs. Looking up the current word
// again is a refresh: the rows keep their check states by row index; another word checks every
// row. Nothing here throws or prints.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "anagram/pattern.h"
#include "app/lookup/irregular_forms.h"
#include "app/lookup/panes.h"
#include "app/lookup/senses.h"
#include "app/lookup/text_rules.h"

struct NymdexEngine;
struct CustomDatabase;
struct JumbleEngine;

namespace lookup {

class CustomWordData;
class SpellingIndex;

// How the lookup box's text is read.
enum class InputKind {
  kPattern,  // wildcards: the matcher lists the dictionary's words that fit
  kWord,     // the text, or a base form of it, is known
  kInvalid,  // a character that is neither a letter nor a space (kInvalidCharactersMessage)
  kUnknown,  // letters and spaces only, not known (also the empty text)
};

// One tab of the pane frame, in tab order.
struct PaneTab {
  int kind = 0;                    // 0 to 21 a relation, kAnagramsPane the anagram view
  std::vector<std::string> words;  // the pane's items; the anagram view fills its own
  PaneKind pane_kind() const { return static_cast<PaneKind>(kind); }
};

struct LookupResult {
  InputKind kind = InputKind::kUnknown;
  std::string text;       // the normalised text
  std::string base_form;  // kWord: the text that was looked up (a base form of `text`)
  // kWord: `text` when the word looked up is a base form of it ("went" for "go"), else empty.
  std::string from;
  // kWord: the text's further base forms that the dictionary knows, in display form (for
  // "leaves", looked up as "leave": "leaf"); the window offers them beside the senses.
  std::vector<std::string> other_bases;
  // kUnknown: up to 10 dictionary words close to the text, best first (SuggestWords); the
  // window lists them on its help form.
  std::vector<std::string> suggestions;
  bool new_word = false;  // `text` differed from the current word
  // kWord: the senses list was rebuilt. False when neither the engine nor the custom database
  // gave the word's senses (a read failure); the list and tabs are then left as they were.
  bool senses_built = false;
  // A custom record read for this lookup (a form tried, the word's senses) failed its checks:
  // the custom database is damaged, and the word's custom entries are not shown. Callers say
  // so with kCorruptedDataMessage rather than pass the rest off as the whole answer.
  bool custom_damaged = false;
  anagram::PatternMatches matches;  // kPattern
};

class LookupSession {
 public:
  // `custom` is the address of the caller's custom database handle, which restoring a backup
  // replaces (RestoreCustomDatabase); any of the handles may be null.
  LookupSession(const NymdexEngine* engine, CustomDatabase** custom,
                JumbleEngine* jumble = nullptr);

  ~LookupSession();
  LookupSession(const LookupSession&) = delete;
  LookupSession& operator=(const LookupSession&) = delete;

  // The irregular forms (owned by the caller, who keeps them while the session lives). Without
  // them, or when they are not loaded, the base forms are those of FindBaseForm alone.
  void set_irregular_forms(const IrregularForms* forms) { forms_ = forms; }

  const NymdexEngine* engine() const { return engine_; }
  CustomDatabase** custom_handle() const { return custom_; }
  JumbleEngine* jumble() const { return jumble_; }

  // The "Panes" setting: bit k lets relation pane k appear. Default kAllPanes.
  void set_panes_mask(uint32_t mask) { panes_mask_ = mask; }
  uint32_t panes_mask() const { return panes_mask_; }

  // The whole lookup of the Lookup button: normalise, classify, and for a known word build the
  // senses (check states kept on a refresh), the pane tabs and their words. A pattern clears
  // the senses and tabs and lists the matches; an unknown text clears them; invalid text
  // changes nothing but the current word.
  LookupResult Lookup(std::string_view text);

  // Classification alone: the kind of a normalised text and, for kWord, its base form and
  // (optional) its other base forms. `damaged` (optional) as for IsKnown, over every form tried.
  InputKind Classify(const std::string& text, std::string* base_form,
                     std::vector<std::string>* other_bases = nullptr,
                     bool* damaged = nullptr) const;

  // The parts of speech of a word (index form) as InflectionBases asks for them.
  uint32_t PosMask(const std::string& index_form) const;

  // Spelling suggestions for a normalised text (SuggestWords). The engine's words are indexed
  // at the first call.
  std::vector<std::string> Suggestions(std::string_view text) const;

  // True when the engine or the custom database knows the word (index form). A custom
  // database that cannot be read knows nothing; `damaged` (optional) is set when its records
  // of the word failed their checks.
  bool IsKnown(const std::string& index_form, bool* damaged = nullptr) const;

  const std::string& current_word() const { return current_word_; }
  // The word of the senses list in index form ("ice_cream") and display form ("ice cream").
  const std::string& word() const { return word_; }
  std::string display_word() const { return ToDisplayForm(word_); }

  const std::vector<SenseRow>& senses() const { return rows_; }
  size_t engine_sense_count() const { return engine_sense_count_; }

  // Check boxes. These change the rows only; RebuildPanes (or a Lookup of the same word, as
  // the main window does) makes the panes follow.
  void SetChecked(size_t row, bool checked);
  void SetAllChecked(bool checked);
  void SetCheckedByPos(uint32_t pos, bool checked);  // rows whose code is `pos`

  int selection_code() const { return PosSelectionCode(rows_); }

  // The tabs for the current check states: tried kinds of the selection code that the mask
  // allows and that the engine or the custom database has content for, then filled.
  void RebuildPanes();

  const std::vector<PaneTab>& tabs() const { return tabs_; }
  // The tab the frame shows; kept across rebuilds while its kind is present. -1 for none.
  int selected_tab() const { return selected_tab_; }
  void SelectTab(int index);

  // The "Show usage" button's state after a lookup (a row carries examples), and the rows of
  // its window.
  bool usage_available() const;
  // The button's state while text is typed into the lookup box: the text is an engine word
  // and one of its records (engine tags, then custom senses) has a ";" after its first
  // character.
  bool UsageForTypedText(std::string_view typed) const;
  // The button's state for an entry chosen from the lookup box's list: the entry is known, and
  // a record has a ";" after its first character or the custom database has entries for it.
  bool UsageForListEntry(std::string_view entry) const;
  std::vector<UsageRow> UsageRows() const { return BuildUsageRows(rows_); }

 private:
  // The custom database as it is now (null when there is none).
  const CustomDatabase* custom_db() const { return custom_ != nullptr ? *custom_ : nullptr; }
  bool BuildSenses(const std::string& index_form, const CustomWordData& custom, bool new_word);
  void RebuildPanes(const CustomWordData& custom);
  void ClearView();

  const NymdexEngine* engine_;
  CustomDatabase** custom_;
  JumbleEngine* jumble_;
  const IrregularForms* forms_ = nullptr;
  mutable std::unique_ptr<SpellingIndex> spelling_;
  uint32_t panes_mask_ = kAllPanes;
  std::string current_word_;
  std::string word_;
  std::vector<SenseRow> rows_;
  size_t engine_sense_count_ = 0;
  std::vector<PaneTab> tabs_;
  int selected_tab_ = -1;
};

// What the custom database holds for one word: its records, read once and shared by every
// pane's question (each query of the database would read and decipher them again). Answers as
// CustomDb_Has<Relation> and CustomDb_Get<Relation> do.
class CustomWordData {
 public:
  CustomWordData() = default;  // no database: answers nothing
  CustomWordData(const CustomDatabase* db, const std::string& index_form);

  bool ok() const { return ok_; }  // the records could be read
  // The store's status for the read (kCustomOk when no database was asked).
  int32_t status() const { return status_; }
  const std::vector<std::string>& records() const { return records_; }
  // True when a record has words for relation pane `kind` (0 to 21).
  bool Has(int kind) const;
  // The words of relation pane `kind` over all records, in record order; false (and no
  // words) when the records could not be read.
  bool Get(int kind, std::vector<std::string>* words) const;

 private:
  bool ok_ = false;
  int32_t status_ = 0;
  std::vector<std::string> records_;
};

// True when the engine (for the chosen senses) or the custom database has words for relation
// pane `kind`. The anagram pane always has content.
bool PaneHasContent(const NymdexEngine* engine, const CustomWordData& custom, int kind,
                    const std::string& index_form, const std::vector<uint32_t>& senses);

// The related words of one relation pane for a word (index form) and its chosen senses: the
// engine's words (sorted, without repeats) followed by the custom database's, the whole list
// sorted again by bytes when the custom list was not empty (repeats stay). False, with
// `words` empty, when neither source could answer.
bool PaneWords(const NymdexEngine* engine, const CustomWordData& custom, int kind,
               const std::string& index_form, const std::vector<uint32_t>& senses,
               std::vector<std::string>* words);

}  // namespace lookup
