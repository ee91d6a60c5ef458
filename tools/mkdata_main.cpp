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
#include <string>
#include <vector>

#include "tools/datafile_writer.h"
#include "tools/mkdata_forms.h"
#include "tools/mkdata_lexicon.h"
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

  auto start = std::chrono::steady_clock::now();
  wordnet::Database db;
  if (!wordnet::ReadDatabase(options.wordnet, &db, &error)) return Fail(error);
  std::vector<mkdata::FormEntry> form_entries;
  if (!mkdata::ReadExceptionLists(options.wordnet, &form_entries, &error)) return Fail(error);
  std::vector<std::string> list_words;
  if (!mkdata::ReadWordList(options.words, &list_words, &error)) return Fail(error);
  double read_seconds = Seconds(start);

  auto build_start = std::chrono::steady_clock::now();
  datafiles::Lexicon lexicon;
  mkdata::LexiconReport lexicon_report;
  if (!mkdata::BuildLexicon(db, &lexicon, &lexicon_report, &error)) return Fail(error);
  mkdata::AnagramReport anagram_report;
  std::vector<std::string> anagram_words =
      mkdata::AnagramWords(list_words, lexicon, &anagram_report);
  double build_seconds = Seconds(build_start);

  auto encode_start = std::chrono::steady_clock::now();
  datafiles::DataFileImages images;
  if (!datafiles::BuildDataFiles(lexicon, &images, &error)) return Fail("data files: " + error);
  size_t word_index_size = images.word_index.size();
  mkdata::OutputSet output(options.out);
  output.Add("1001L.dat", std::move(images.synsets));
  output.Add("1001W.dat", std::move(images.word_index));
  output.Add("1001T.dat", std::move(images.tags));
  output.Add("1001A.dat", datafiles::BuildAnagramFile(anagram_words));
  std::vector<uint8_t> forms_file;
  mkdata::FormsReport forms_report;
  if (!mkdata::BuildFormsFile(std::move(form_entries), &forms_file, &forms_report, &error)) {
    return Fail(error);
  }
  output.Add("1001E.dat", std::move(forms_file));
  std::vector<uint8_t> asset;
  if (!mkdata::LoadTips(options.assets + "/tips.dat", &asset, &error)) return Fail(error);
  output.Add("tips.dat", std::move(asset));
  if (!mkdata::LoadSplash(options.assets + "/verbarium.bmp", &asset, &error)) return Fail(error);
  output.Add("verbarium.bmp", std::move(asset));
  double encode_seconds = Seconds(encode_start);

  auto write_start = std::chrono::steady_clock::now();
  mkdata::CustomDatabaseState custom = mkdata::CustomDatabaseState::kKept;
  if (!output.Commit(&error)) {
    if (!output.touched()) return Fail(error);
    std::fprintf(stderr, "verbarium-mkdata: %s\nverbarium-mkdata: %s is incomplete: run again\n",
                 error.c_str(), options.out.c_str());
    return 1;
  }
  if (!mkdata::EnsureCustomDatabase(options.out, &custom, &error)) {
    std::fprintf(stderr, "verbarium-mkdata: %s\n", error.c_str());
    return 1;
  }
  double write_seconds = Seconds(write_start);

  // The report.
  std::printf("verbarium-mkdata: %s (%.1f MB read) and %s\n", options.wordnet.c_str(),
              static_cast<double>(db.bytes_read) / 1e6, options.words.c_str());
  std::printf("  words     %zu (%zu written in more than one case", lexicon_report.words,
              lexicon_report.case_variant_lemmas);
  std::printf(", %zu synset forms repeated in another case)\n", lexicon_report.repeated_forms);
  std::printf("  synsets   %zu\n", lexicon_report.synsets);
  std::printf("  senses    %zu (%zu frequencies capped at 255, %zu tag counts naming no sense)\n",
              lexicon_report.senses, lexicon_report.frequencies_capped,
              lexicon_report.counts_without_sense);
  if (lexicon_report.forms_without_index > 0 || lexicon_report.senses_without_form > 0) {
    std::printf(
        "  mismatch  %zu synset forms in no index file, %zu index senses whose synset"
        " lacks the lemma\n",
        lexicon_report.forms_without_index, lexicon_report.senses_without_form);
  }
  std::printf("  pointers  %zu kept, %zu dropped, %zu lexical pointers repeating a kept one\n",
              lexicon_report.pointers_kept, lexicon_report.pointers_dropped,
              lexicon_report.pointers_repeated);
  auto print_symbols = [](const char* title, const std::map<std::string, size_t>& counts) {
    std::printf("    %s:", title);
    int column = 0;
    for (const auto& [symbol, count] : counts) {
      if (column++ % 5 == 0) std::printf("\n    ");
      std::printf("  %-8s %6zu", symbol.c_str(), count);
    }
    std::printf("%s\n", counts.empty() ? " none" : "");
  };
  print_symbols("kept", lexicon_report.kept_by_symbol);
  print_symbols("dropped", lexicon_report.dropped_by_symbol);
  std::printf("  index     %zu bytes decoded from %zu (the engine allows twice the file size)\n",
              images.word_index_decoded, word_index_size);
  std::printf("  tags      %u blocks\n", images.tag_blocks);
  std::printf("  anagrams  %zu words (%zu from the list, %zu one-word lemmas, %zu rejected)\n",
              anagram_report.kept, anagram_report.list_words, anagram_report.lemma_words,
              anagram_report.rejected);
  std::printf(
      "  forms     %zu irregular forms (%zu noun, %zu verb, %zu adjective, %zu adverb records;"
      " %zu base forms; %zu repeated lines merged)\n",
      forms_report.forms, forms_report.entries[0], forms_report.entries[1], forms_report.entries[2],
      forms_report.entries[3], forms_report.bases, forms_report.merged);
  std::printf("  files in %s:\n", options.out.c_str());
  uint64_t total = 0;
  for (const auto& [name, size] : output.Sizes()) {
    std::printf("    %-14s %10" PRIu64 " bytes\n", name.c_str(), size);
    total += size;
  }
  std::printf("    %-14s %10" PRIu64 " bytes\n", "total", total);
  std::printf("  custom    1001M.idx/1001M.dat %s\n",
              custom == mkdata::CustomDatabaseState::kCreated ? "created empty"
              : custom == mkdata::CustomDatabaseState::kKept  ? "kept as they were"
                                                              : "incomplete, left as they are");
  std::printf("  time      %.2f s (read %.2f, map %.2f, encode %.2f, write %.2f)\n", Seconds(start),
              read_seconds, build_seconds, encode_seconds, write_seconds);
  return 0;
}
