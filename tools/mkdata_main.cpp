// verbarium-mkdata: compiles a Princeton-format lexical database and a word list into the
// program's Data/ folder.
//
// Everything is built in memory first. Only then is each file written beside its final name
// and, once all of them are on disk, renamed over it, so a failed compile leaves the folder
// as it was. The custom database is created empty when both of its files are missing and is
// never touched otherwise: it holds the user's own entries.

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "engine/data_format.h"
#include "engine/word_cache.h"
#include "platform/program_names.h"
#include "tools/anagram_word_rules.h"
#include "tools/datafile_writer.h"
#include "tools/mkdata_forms.h"
#include "tools/mkdata_lexicon.h"
#include "tools/mkdata_meaning.h"
#include "tools/mkdata_output.h"
#include "tools/wordnet_reader.h"

#ifndef VERBARIUM_MKDATA_ASSETS
#define VERBARIUM_MKDATA_ASSETS "tools/data"
#endif

namespace {

struct Options {
  std::string wordnet = "/usr/share/wordnet";
  std::string words = "/usr/share/dict/words";
  std::string assets = VERBARIUM_MKDATA_ASSETS;
  std::string out;
};

const char kUsage[] =
    "usage: verbarium-mkdata [--wordnet DIR] [--words FILE] [--assets DIR] --out DIR\n"
    "  --wordnet DIR  Princeton-format database folder (default /usr/share/wordnet)\n"
    "  --words FILE   word list for anagrams, one word a line (default /usr/share/dict/words)\n"
    "  --assets DIR   folder of tips.dat and verbarium.bmp (default: the sources' tools/data)\n"
    "  --out DIR      the Data folder to write\n";

bool ParseOptions(int argc, char** argv, Options* options, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    std::string* target = nullptr;
    if (arg == "--wordnet") target = &options->wordnet;
    if (arg == "--words") target = &options->words;
    if (arg == "--assets") target = &options->assets;
    if (arg == "--out") target = &options->out;
    if (target == nullptr) {
      *error = "unknown argument \"" + arg + "\"";
      return false;
    }
    if (i + 1 >= argc) {
      *error = arg + " needs a value";
      return false;
    }
    *target = argv[++i];
  }
  if (options->out.empty()) {
    *error = "--out is required";
    return false;
  }
  return true;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "verbarium-mkdata: %s\n", message.c_str());
  std::fprintf(stderr, "verbarium-mkdata: nothing written\n");
  return 1;
}

// What a compile did, for the report.
struct Report {
  uint64_t bytes_read = 0;
  mkdata::LexiconReport lexicon;
  mkdata::AnagramReport anagrams;
  mkdata::FormsReport forms;
  mkdata::WordRulesReport anagram_rules;
  size_t anagram_words = 0;
  size_t word_index_decoded = 0;
  size_t word_index_size = 0;
  uint32_t tag_blocks = 0;
  mkdata::MeaningReport meaning;
  std::vector<std::pair<std::string, uint64_t>> sizes;
  mkdata::CustomDatabaseState custom = mkdata::CustomDatabaseState::kKept;
  double read_seconds = 0;
  double map_seconds = 0;
  double encode_seconds = 0;
  double write_seconds = 0;
};

// Encodes the data files and adds them, with the two assets, to `output`.
bool StageFiles(const Options& options, const datafiles::Lexicon& lexicon,
                const std::vector<std::string>& anagram_words,
                std::vector<mkdata::FormEntry> form_entries, mkdata::OutputSet* output,
                Report* report, std::string* error) {
  datafiles::DataFileImages images;
  if (!datafiles::BuildDataFiles(lexicon, &images, error)) {
    *error = "data files: " + *error;
    return false;
  }
  report->word_index_decoded = images.word_index_decoded;
  report->word_index_size = images.word_index.size();
  report->tag_blocks = images.tag_blocks;
  output->Add(program::kSynsetFile, std::move(images.synsets));
  // The decoded word index's cache file, as a start-up would write it from this word index,
  // so that no start after installation has to decode it.
  std::vector<uint8_t> word_cache;
  if (!nymdex::BuildWordCacheImage(images.word_index.data(), images.word_index.size(),
                                   &word_cache)) {
    *error = "data files: the word index written does not decode";
    return false;
  }
  output->Add(program::kWordIndexFile, std::move(images.word_index));
  output->Add(nymdex::kWordCacheFile, std::move(word_cache));
  output->Add(program::kTagFile, std::move(images.tags));
  output->Add(program::kAnagramFile, datafiles::BuildAnagramFile(anagram_words));
  std::vector<uint8_t> forms_file;
  if (!mkdata::BuildFormsFile(std::move(form_entries), &forms_file, &report->forms, error)) {
    return false;
  }
  output->Add(program::kIrregularFormsFile, std::move(forms_file));
  std::vector<uint8_t> asset;
  if (!mkdata::LoadTips(options.assets + "/" + program::kTipsFile, &asset, error)) return false;
  output->Add(program::kTipsFile, std::move(asset));
  if (!mkdata::LoadSplash(options.assets + "/" + program::kSplashFile, &asset, error)) {
    return false;
  }
  output->Add(program::kSplashFile, std::move(asset));
  return true;
}

// Writes the staged files and, when it is missing, the empty custom database. 0, or the exit
// status after the message.
int WriteFiles(const Options& options, mkdata::OutputSet* output,
               mkdata::CustomDatabaseState* custom) {
  std::string error;
  if (!output->Commit(&error)) {
    if (!output->touched()) return Fail(error);
    std::fprintf(stderr, "verbarium-mkdata: %s\nverbarium-mkdata: %s is incomplete: run again\n",
                 error.c_str(), options.out.c_str());
    return 1;
  }
  if (!mkdata::EnsureCustomDatabase(options.out, custom, &error)) {
    std::fprintf(stderr, "verbarium-mkdata: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

void PrintSymbols(const char* title, const std::map<std::string, size_t>& counts) {
  std::printf("    %s:", title);
  int column = 0;
  for (const auto& [symbol, count] : counts) {
    if (column++ % 5 == 0) std::printf("\n    ");
    std::printf("  %-8s %6zu", symbol.c_str(), count);
  }
  std::printf("%s\n", counts.empty() ? " none" : "");
}

void PrintReport(const Options& options, const Report& r, double total_seconds) {
  const mkdata::LexiconReport& lexicon = r.lexicon;
  std::printf("verbarium-mkdata: %s (%.1f MB read) and %s\n", options.wordnet.c_str(),
              static_cast<double>(r.bytes_read) / 1e6, options.words.c_str());
  std::printf("  words     %zu (%zu written in more than one case", lexicon.words,
              lexicon.case_variant_lemmas);
  std::printf(", %zu synset forms repeated in another case)\n", lexicon.repeated_forms);
  std::printf("  synsets   %zu\n", lexicon.synsets);
  std::printf("  senses    %zu (%zu frequencies capped at %u, %zu tag counts naming no sense)\n",
              lexicon.senses, lexicon.frequencies_capped, nymdex::kMaxFrequency,
              lexicon.counts_without_sense);
  if (lexicon.forms_without_index > 0 || lexicon.senses_without_form > 0) {
    std::printf(
        "  mismatch  %zu synset forms in no index file, %zu index senses whose synset"
        " lacks the lemma\n",
        lexicon.forms_without_index, lexicon.senses_without_form);
  }
  std::printf("  pointers  %zu kept, %zu dropped, %zu lexical pointers repeating a kept one\n",
              lexicon.pointers_kept, lexicon.pointers_dropped, lexicon.pointers_repeated);
  PrintSymbols("kept", lexicon.kept_by_symbol);
  PrintSymbols("dropped", lexicon.dropped_by_symbol);
  std::printf("  index     %zu bytes decoded from %zu (the engine allows twice the file size)\n",
              r.word_index_decoded, r.word_index_size);
  std::printf("  tags      %u blocks\n", r.tag_blocks);
  std::printf("  anagrams  %zu words (%zu from the list, %zu one-word lemmas); left out:\n",
              r.anagram_words, r.anagrams.list_words, r.anagrams.lemma_words);
  std::printf("    %zu offered words not only of the letters a to z\n", r.anagrams.rejected);
  std::printf("    %zu words of one letter but a and i\n", r.anagram_rules.one_letter);
  std::printf("    %zu words of two letters not in %s\n", r.anagram_rules.two_letter,
              mkdata::kTwoLetterWordsFile);
  std::printf("    %zu words of three or more letters without a vowel or y\n",
              r.anagram_rules.no_vowel);
  std::printf(
      "  forms     %zu irregular forms (%zu noun, %zu verb, %zu adjective, %zu adverb records;"
      " %zu base forms; %zu repeated lines merged)\n",
      r.forms.forms, r.forms.entries[0], r.forms.entries[1], r.forms.entries[2], r.forms.entries[3],
      r.forms.bases, r.forms.merged);
  std::printf("  meaning   %zu terms, %zu postings over %zu senses, %zu words offered (%.2f s)\n",
              r.meaning.terms, r.meaning.postings, r.meaning.senses, r.meaning.word_entries,
              r.meaning.seconds);
  std::printf("  files in %s:\n", options.out.c_str());
  uint64_t total = 0;
  for (const auto& [name, size] : r.sizes) {
    std::printf("    %-14s %10" PRIu64 " bytes\n", name.c_str(), size);
    total += size;
  }
  std::printf("    %-14s %10" PRIu64 " bytes\n", "total", total);
  std::printf("  custom    %s/%s %s\n", program::kCustomIndexFile, program::kCustomDataFile,
              r.custom == mkdata::CustomDatabaseState::kCreated ? "created empty"
              : r.custom == mkdata::CustomDatabaseState::kKept  ? "kept as they were"
                                                                : "incomplete, left as they are");
  std::printf("  time      %.2f s (read %.2f, map %.2f, encode %.2f, write %.2f)\n", total_seconds,
              r.read_seconds, r.map_seconds, r.encode_seconds, r.write_seconds);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::string error;
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!ParseOptions(argc, argv, &options, &error)) {
    std::fprintf(stderr, "verbarium-mkdata: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  Report report;
  const auto start = std::chrono::steady_clock::now();
  wordnet::Database db;
  if (!wordnet::ReadDatabase(options.wordnet, &db, &error)) return Fail(error);
  std::vector<mkdata::FormEntry> form_entries;
  if (!mkdata::ReadExceptionLists(options.wordnet, &form_entries, &error)) return Fail(error);
  std::vector<std::string> list_words;
  if (!mkdata::ReadWordList(options.words, &list_words, &error)) return Fail(error);
  std::set<std::string, std::less<>> two_letter_words;
  if (!mkdata::ReadTwoLetterWords(options.assets + "/" + mkdata::kTwoLetterWordsFile,
                                  &two_letter_words, &error))
    return Fail(error);
  report.bytes_read = db.bytes_read;
  report.read_seconds = Seconds(start);

  auto phase = std::chrono::steady_clock::now();
  datafiles::Lexicon lexicon;
  if (!mkdata::BuildLexicon(db, &lexicon, &report.lexicon, &error)) return Fail(error);
  // The index of the search by meaning is built on a thread of its own from here on, while
  // the anagram list is gathered and the engine's files are encoded.
  mkdata::MeaningIndexBuild meaning_build(lexicon);
  std::vector<std::string> anagram_words =
      mkdata::AnagramWords(list_words, lexicon, &report.anagrams);
  mkdata::ApplyAnagramWordRules(&anagram_words, two_letter_words, &report.anagram_rules);
  report.anagram_words = anagram_words.size();
  report.map_seconds = Seconds(phase);

  phase = std::chrono::steady_clock::now();
  mkdata::OutputSet output(options.out);
  if (!StageFiles(options, lexicon, anagram_words, std::move(form_entries), &output, &report,
                  &error)) {
    return Fail(error);
  }
  std::vector<uint8_t> meaning_index;
  if (!meaning_build.Finish(&meaning_index, &report.meaning, &error)) return Fail(error);
  output.Add(program::kMeaningIndexFile, std::move(meaning_index));
  report.encode_seconds = Seconds(phase);

  phase = std::chrono::steady_clock::now();
  if (const int status = WriteFiles(options, &output, &report.custom); status != 0) return status;
  report.write_seconds = Seconds(phase);
  report.sizes = output.Sizes();
  PrintReport(options, report, Seconds(start));
  return 0;
}
