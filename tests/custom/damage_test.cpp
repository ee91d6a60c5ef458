// Damaged files: every kind of damage gives its status code, never a read outside the file or
// a giant allocation, and the damaged entry can still be deleted.

#include "tests/custom/test_util.h"

namespace custom_test {
namespace {

// Entries "a", "b" and "b" again, each record 4 + 40 bytes; the last one is damaged.
constexpr uint32_t kDamaged = 88;
constexpr size_t kDamagedEntry =  // its offset field in the index
    kCustomHeaderSize + 2 * kCustomIndexEntrySize + kCustomEntryOffsetAt;

struct Damage {
  const char* name;
  void (*change)(Bytes& index, Bytes& data);
  int32_t code;
};

// Puts the cipher text of `text` in place of the damaged record, which keeps its length.
void Reseal(Bytes& data, const std::string& text) {
  Bytes cipher = Encipher(text);
  ASSERT_EQ(cipher.size(), data.size() - kDamaged - 4);
  std::copy(cipher.begin(), cipher.end(), data.begin() + kDamaged + 4);
}

class DamageTest : public DbTest {
 protected:
  void Damaged(const Damage& damage) {
    CustomDb_Close(&db_);
    WriteHandDatabase(index_, data_,
                      {{"a", RecordText("a", "noun", "one", "x")},
                       {"b", RecordText("b", "noun", "two", "y")},
                       {"b", RecordText("b", "verb", "three", "z")}});
    Bytes index = ReadBytes(index_);
    Bytes data = ReadBytes(data_);
    ASSERT_EQ(data.size(), kDamaged + 44);
    damage.change(index, data);
    WriteBytes(index_, index);
    WriteBytes(data_, data);
  }
};

TEST_F(DamageTest, DamagedIndexDoesNotOpen) {
  const Damage cases[] = {
      {"header cut short", [](Bytes& i, Bytes&) { i.resize(10); }, kCustomBadIndex},
      {"count beyond the entries", [](Bytes& i, Bytes&) { SetLe32(&i, kCustomCountAt, 4); },
       kCustomBadIndex},
      {"last entry cut short", [](Bytes& i, Bytes&) { i.resize(i.size() - 5); }, kCustomBadIndex},
      {"giant count", [](Bytes& i, Bytes&) { SetLe32(&i, kCustomCountAt, 0xFFFFFFFF); },
       kCustomBadIndex},
  };
  for (const Damage& c : cases) {
    SCOPED_TRACE(c.name);
    Damaged(c);
    EXPECT_EQ(CustomDb_Open(&db_, index_.c_str(), data_.c_str()), c.code);
    EXPECT_EQ(db_, nullptr);
  }
}

TEST_F(DamageTest, DamagedRecordFailsOnlyItsWord) {
  const Damage cases[] = {
      {"length beyond the end", [](Bytes&, Bytes& d) { SetLe32(&d, kDamaged, 48); },
       kCustomBadRecord},
      {"huge length", [](Bytes&, Bytes& d) { SetLe32(&d, kDamaged, 0xFFFFFFF8); },
       kCustomBadRecord},
      {"length not a multiple of 8", [](Bytes&, Bytes& d) { SetLe32(&d, kDamaged, 37); },
       kCustomCipherError},
      {"data cut inside the record", [](Bytes&, Bytes& d) { d.pop_back(); }, kCustomBadRecord},
      {"data cut inside the length", [](Bytes&, Bytes& d) { d.resize(kDamaged + 2); },
       kCustomBadRecord},
      {"offset past the end", [](Bytes& i, Bytes&) { SetLe32(&i, kDamagedEntry, 1u << 30); },
       kCustomBadRecord},
      {"offset at the very end",
       [](Bytes& i, Bytes& d) { SetLe32(&i, kDamagedEntry, static_cast<uint32_t>(d.size())); },
       kCustomBadRecord},
      // Records that decipher, but not into a record of their entry.
      {"record of another word",
       [](Bytes&, Bytes& d) { Reseal(d, RecordText("c", "verb", "three", "z")); },
       kCustomCipherError},
      {"field missing",
       [](Bytes&, Bytes& d) {
         std::string text = RecordText("b", "verb", "three", "z");
         text.pop_back();
         Reseal(d, text);
       },
       kCustomCipherError},
      {"cipher text flipped", [](Bytes&, Bytes& d) { d[kDamaged + 5] ^= 0x10; },
       kCustomCipherError},
      // A record of length 0 holds nothing and is passed over, not reported.
      {"empty record",
       [](Bytes&, Bytes& d) {
         SetLe32(&d, kDamaged, 0);
         d.resize(kDamaged + 4);
       },
       kCustomOk},
  };
  for (const Damage& c : cases) {
    SCOPED_TRACE(c.name);
    Damaged(c);
    Open();
    bool ok = c.code == kCustomOk;
    Words records;
    EXPECT_EQ(CustomDb_FindRecords(db_, "b", &records), c.code);
    int32_t status = -1;
    // A failure never makes the word known, though its first record was read.
    EXPECT_EQ(CustomDb_IsWord(db_, "b", &status), ok ? 1 : 0);
    EXPECT_EQ(status, c.code);
    std::vector<TagRecord> senses;
    EXPECT_EQ(CustomDb_GetSenses(db_, "b", &senses), c.code);
    Words words;
    EXPECT_EQ(CustomDb_GetSynonyms(db_, "b", &words), c.code);
    EXPECT_EQ(CustomDb_HasSynonyms(db_, "b"), ok);
    std::vector<CustomEntryInfo> infos;
    EXPECT_EQ(CustomDb_GetEntries(db_, "b", &infos), ok);
    std::vector<CustomEntrySummary> all;
    EXPECT_EQ(CustomDb_GetAllEntries(db_, &all), ok);
    EXPECT_EQ(all.size(), 2u);  // gathered before the damage
    // Listed with marks, the damaged entry keeps its position and shows nothing of itself.
    std::vector<CustomEntrySummary> marked;
    EXPECT_TRUE(CustomDb_GetAllEntries(db_, &marked, true));
    ASSERT_EQ(marked.size(), ok ? 2u : 3u);
    EXPECT_FALSE(marked[1].damaged);
    if (!ok) {
      EXPECT_TRUE(marked[2].damaged && marked[2].word.empty());
    }
    EXPECT_EQ(CustomDb_GetSynonyms(db_, "a", &words), kCustomOk);
    EXPECT_EQ(words, Words{"x"});

    // Deleting the damaged entry repairs the database.
    ASSERT_TRUE(CustomDb_DeleteEntry(db_, 2));
    ASSERT_TRUE(CustomDb_AppendEntry(&db_, 0, "c", "four", "", "", {}));
    EXPECT_EQ(Contents(index_, data_), (Pairs{{"a", "one"}, {"b", "two"}, {"c", "four"}}));
  }
}

}  // namespace
}  // namespace custom_test
