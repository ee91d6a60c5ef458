#include "tools/wordnet_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "tests/tools/wordnet_fixture.h"

namespace {

using wordnet_test::Files;
using wordnet_test::TempFolder;

TEST(WordNetReader, ReadsTheSmallDatabase) {
  TempFolder folder;
  wordnet_test::Write(folder.path(), wordnet_test::SmallDatabase());
  wordnet::Database db;
  std::string error;
  ASSERT_TRUE(wordnet::ReadDatabase(folder.path(), &db, &error)) << error;

  ASSERT_EQ(db.synsets[0].size(), 10u);
  ASSERT_EQ(db.synsets[1].size(), 2u);
  ASSERT_EQ(db.synsets[2].size(), 3u);
  ASSERT_EQ(db.synsets[3].size(), 2u);

  const wordnet::Synset& cat = db.synsets[0][0];
  EXPECT_EQ(cat.line, 3u);  // after the two preamble lines
  EXPECT_EQ(cat.offset, sizeof wordnet_test::kPreamble - 1);
  EXPECT_EQ(cat.lex_filenum, 5);
  EXPECT_EQ(cat.words, (std::vector<std::string_view>{"cat", "true_cat"}));
  EXPECT_EQ(cat.gloss, "feline mammal usually having thick soft fur: domestic cats; wildcats");
  ASSERT_EQ(cat.pointers.size(), 3u);
  EXPECT_EQ(cat.pointers[2].symbol, "+");
  EXPECT_EQ(cat.pointers[2].target_pos, 2);
  EXPECT_EQ(cat.pointers[2].source_word, 1);
  EXPECT_EQ(cat.pointers[2].target_word, 1);
  EXPECT_EQ(wordnet::FindSynset(db, 2, cat.pointers[2].target_offset), &db.synsets[1][0]);

  // Verb frames are skipped; the second word's lex_id is kept.
  const wordnet::Synset& vomit = db.synsets[1][1];
  EXPECT_EQ(vomit.gloss, "eject the contents of the stomach");
  EXPECT_EQ(vomit.lex_ids, (std::vector<uint8_t>{0, 1}));
  ASSERT_EQ(vomit.pointers.size(), 2u);
  EXPECT_EQ(vomit.pointers[0].symbol, "^");

  // Adjective markers are cut; a satellite is an adjective that says so.
  EXPECT_EQ(db.synsets[2][0].words, (std::vector<std::string_view>{"good", "goodish"}));
  EXPECT_EQ(db.synsets[2][1].words, (std::vector<std::string_view>{"bad", "big_bad"}));
  const wordnet::Synset& fine = db.synsets[2][2];
  EXPECT_EQ(fine.words, (std::vector<std::string_view>{"fine"}));
  EXPECT_TRUE(fine.satellite);
  EXPECT_EQ(fine.pos, 3);
  EXPECT_FALSE(db.synsets[2][0].satellite);
  EXPECT_EQ(db.synsets[3][0].pointers[1].symbol, "\\");

  // Index lines keep their offsets in the order written.
  const wordnet::IndexEntry& pm = db.index[0][7];
  EXPECT_EQ(pm.lemma, "pm");
  ASSERT_EQ(pm.offsets.size(), 2u);
  EXPECT_EQ(wordnet::FindSynset(db, 1, pm.offsets[0]), &db.synsets[0][8]);
  EXPECT_EQ(wordnet::FindSynset(db, 1, pm.offsets[1]), &db.synsets[0][7]);

  ASSERT_EQ(db.counts.size(), 6u);
  EXPECT_EQ(db.counts[3].key, "fine%5:00:00:good:00");
  EXPECT_EQ(db.counts[3].count, 300u);

  EXPECT_EQ(wordnet::FindSynset(db, 1, cat.offset + 1), nullptr);
  EXPECT_EQ(wordnet::FindSynset(db, 5, cat.offset), nullptr);
}

TEST(WordNetReader, WordCountIsHexadecimalAndPointerCountDecimal) {
  std::string line = "00000000 03 n 0a";
  for (int i = 0; i < 10; ++i)
    line += " w" + std::to_string(i) + " a";  // lex_id a = 10
  line += " 010";
  for (int i = 0; i < 10; ++i)
    line += " @ 00000000 n 0000";
  line += " | ten words, ten pointers\n";
  std::vector<wordnet::Synset> synsets;
  std::string error;
  ASSERT_TRUE(wordnet::ParseDataFile(line, "data.noun", 1, &synsets, &error)) << error;
  ASSERT_EQ(synsets.size(), 1u);
  EXPECT_EQ(synsets[0].words.size(), 10u);
  EXPECT_EQ(synsets[0].lex_ids[9], 10);
  EXPECT_EQ(synsets[0].pointers.size(), 10u);
  EXPECT_EQ(synsets[0].gloss, "ten words, ten pointers");
}

TEST(WordNetReader, CarriageReturnsAndBlankLinesAreTolerated) {
  std::vector<wordnet::IndexEntry> entries;
  std::string error;
  ASSERT_TRUE(wordnet::ParseIndexFile("\r\ncat n 1 0 1 0 00000000  \r\n\n", "index.noun", 1,
                                      &entries, &error))
      << error;
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].line, 2u);
  EXPECT_EQ(entries[0].offsets, std::vector<uint32_t>{0});
}

struct Damage {
  const char* file;     // file to damage
  const char* find;     // text of the rendered file to replace (first occurrence)
  const char* replace;  // its replacement
  int line;             // line the message must name (0: no line)
  const char* message;  // part of the message
};

// Every kind of damage is refused with the file, the line and what is wrong.
TEST(WordNetReader, MalformedLinesNameFileAndLine) {
  const Damage cases[] = {
      {"data.noun", "00000132 05 n 02 cat", "0000013x 05 n 02 cat", 3, "bad offset \"0000013x\""},
      {"data.noun", "00000132 05 n 02 cat", "00000133 05 n 02 cat", 3, "byte position 132"},
      {"data.noun", " 05 n 02 cat", " 5x n 02 cat", 3, "bad lexicographer file number"},
      {"data.noun", " 05 n 02 cat", " 05 q 02 cat", 3, "bad synset type \"q\""},
      {"data.noun", " 05 n 02 cat", " 05 s 02 cat", 3, "bad synset type \"s\""},
      {"data.noun", " 05 n 02 cat", " 05 n 0g cat", 3, "bad word count \"0g\""},
      {"data.noun", " 05 n 02 cat", " 05 n 00 cat", 3, "bad word count \"00\""},
      {"data.noun", "cat 0 true_cat", "cat z true_cat", 3, "bad lex_id \"z\""},
      {"data.noun", "true_cat 0 003", "true_cat 0 0x3", 3, "bad pointer count \"0x3\""},
      {"data.noun", "@ 00000", "@ 0000x", 3, "bad pointer offset"},
      {"data.noun", "n 0000 ~", "q 0000 ~", 3, "bad pointer part of speech \"q\""},
      {"data.noun", "v 0101", "v 01g1", 3, "bad pointer source/target \"01g1\""},
      {"data.noun", "v 0101", "v 101", 3, "bad pointer source/target \"101\""},
      {"data.noun", "v 0101", "v 0100", 3, "bad pointer source/target \"0100\""},
      {"data.noun", "v 0101", "v 0301", 3, "pointer source beyond the word count"},
      {"data.noun", "v 0101", "v 0102", 3, "to word 2 of a synset of 1 words"},
      {"data.noun", "~ 00000", "~ 99999", 3, "to a missing synset"},
      {"data.noun", "0101 | feline", "0101 feline", 3, "expected \"|\" before the gloss"},
      {"data.noun", "0101 | feline mammal usually having thick soft fur: domestic cats; wildcats",
       "0101", 3, "missing gloss separator"},
      {"data.noun", "true_cat 0 003 @", "true_cat 0 004 @", 3, "missing pointer"},
      {"data.noun", "ice_cream 0 000 | frozen dessert containing cream; \"ice cream melts\"  ",
       "ice_cream 0", 9, "missing pointer count"},
      {"data.verb", "01 + 02 00 |", "0x + 02 00 |", 3, "bad frame count \"0x\""},
      {"data.verb", "01 + 02 00 |", "01 + 0y 00 |", 3, "bad frame number"},
      {"data.adj", "fine(ip) 0 001 & ", "fine(ip) 0 001 & 99", 5, "bad pointer offset"},
      {"index.noun", "cat n 2 3", "cat n x 3", 3, "bad synset count \"x\""},
      {"index.noun", "cat n 2 3", "cat n 0 3", 3, "bad synset count \"0\""},
      {"index.noun", "cat n 2 3", "cat n 2 y", 3, "bad pointer count \"y\""},
      {"index.noun", "cat n 2 3 @ ~ + 2 1", "cat n 2 3 @ ~ + 3 1", 3, "bad sense count \"3\""},
      {"index.noun", "cat n 2 3 @ ~ + 2 1", "cat n 2 3 @ ~ + 2 z", 3, "bad tagged sense count"},
      {"index.noun", "cat n 2 3 @ ~ + 2 1 00000132", "cat n 2 3 @ ~ + 2 1 0000013G", 3,
       "bad synset offset \"0000013G\""},
      {"index.noun", "cat n 2 3 @ ~ + 2 1 00000132", "cat n 2 3 @ ~ + 2 1 00000133", 3,
       "synset offset 133 is not in data.noun"},
      {"index.noun", "computerized_tomography n 1 0 1 0", "computerized_tomography n 2 0 2 0", 4,
       "missing synset offset"},
      {"index.noun", "einstein n 1 1 @ 1 0 ", "einstein n 1 1 @ 1 0 00000132 ", 5,
       "unexpected field"},
      {"index.verb", "cat v 2", "cat n 2", 3, "bad part of speech \"n\""},
      {"index.adj", "fine a 1", "fine s 1", 5, "bad part of speech \"s\""},
      {"cntlist.rev", "cat%1:05:00:: 1 18", "cat-1:05:00:: 1 18", 1, "bad sense key"},
      {"cntlist.rev", "cat%1:04:00:: 1 4", "cat%9:04:00:: 1 4", 2, "bad sense key"},
      {"cntlist.rev", "cat%2:29:01:: 2 3", "cat%2:29:01:: 0 3", 3, "bad sense number \"0\""},
      {"cntlist.rev", "good%3:00:00:: 1 7", "good%3:00:00:: 1 -7", 5, "bad tag count \"-7\""},
      {"cntlist.rev", "dog%1:05:00:: 1 3", "dog%1:05:00:: 1", 6, "missing tag count"},
  };
  std::map<std::string, std::string> good = wordnet_test::Render(wordnet_test::SmallDatabase());
  ASSERT_NE(good["data.noun"].find("00000132 05 n 02 cat"), std::string::npos)
      << "the first noun synset moved; update the offsets of this table";
  for (const Damage& c : cases) {
    SCOPED_TRACE(std::string(c.file) + ": " + c.replace);
    std::map<std::string, std::string> texts = good;
    std::string& text = texts[c.file];
    size_t at = text.find(c.find);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, std::strlen(c.find), c.replace);
    TempFolder folder;
    for (const auto& [name, content] : texts)
      wordnet_test::WriteText(folder / name, content);
    wordnet::Database db;
    std::string error;
    EXPECT_FALSE(wordnet::ReadDatabase(folder.path(), &db, &error));
    std::string where = folder / c.file + ":" + std::to_string(c.line) + ": ";
    EXPECT_EQ(error.rfind(where, 0), 0u) << error;
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
}

TEST(WordNetReader, MissingFolderAndFilesAreNamed) {
  TempFolder folder;
  wordnet::Database db;
  std::string error;
  EXPECT_FALSE(wordnet::ReadDatabase(folder / "absent", &db, &error));
  EXPECT_EQ(error, folder / "absent" + ": no such folder");

  std::map<std::string, std::string> texts = wordnet_test::Render(wordnet_test::SmallDatabase());
  for (const auto& [missing, unused] : texts) {
    SCOPED_TRACE(missing);
    TempFolder partial;
    for (const auto& [name, content] : texts) {
      if (name != missing) wordnet_test::WriteText(partial / name, content);
    }
    wordnet::Database db2;
    EXPECT_FALSE(wordnet::ReadDatabase(partial.path(), &db2, &error));
    EXPECT_EQ(error, partial / missing + ": cannot be opened");
  }
}

}  // namespace
