// The irregular-forms file: what the compiler writes the lookup reads back, the same bytes for
// lists in another order, and every damaged or cut file turned down (what the program does
// without the file: tests/cli/cli_run_test.cpp).
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/lookup/irregular_forms.h"
#include "engine/data_format.h"
#include "engine/little_endian.h"
#include "engine/md5.h"
#include "tools/mkdata_forms.h"

namespace lookup {
namespace {

using Strings = std::vector<std::string>;
using Bytes = std::vector<uint8_t>;

Bytes Build(const std::vector<mkdata::FormEntry>& entries, mkdata::FormsReport* report) {
  Bytes bytes;
  std::string error;
  EXPECT_TRUE(mkdata::BuildFormsFile(entries, &bytes, report, &error)) << error;
  return bytes;
}

// A header over `body` with a matching size and digest.
Bytes Sealed(const std::string& body, uint32_t count) {
  Bytes bytes(nymdex::kFormsHeaderSize + body.size(), 0);
  std::copy(body.begin(), body.end(), bytes.begin() + nymdex::kFormsHeaderSize);
  engine::StoreU32(bytes.data(), nymdex::kFormsFileMagic);
  engine::StoreU32(bytes.data() + nymdex::kFormsVersionAt, nymdex::kFormsFileVersion);
  engine::StoreU32(bytes.data() + nymdex::kFormsCountAt, count);
  engine::StoreU32(bytes.data() + nymdex::kFormsBodySizeAt, static_cast<uint32_t>(body.size()));
  const engine::Digest digest = engine::Md5Bytes(bytes.data() + 32, body.size());
  std::copy(digest.begin(), digest.end(), bytes.begin() + nymdex::kFormsDigestAt);
  return bytes;
}

TEST(IrregularForms, ReadsBackWhatTheCompilerWrites) {
  const std::vector<mkdata::FormEntry> entries = {
      {"involucra", 1, {"involucre"}},
      {"axes", 1, {"ax", "axis"}},
      {"involucra", 1, {"involucrum", "involucre"}},  // a second line of one form
      {"better", 4, {"well"}},
      {"better", 3, {"good", "well"}},
  };
  mkdata::FormsReport report, again;
  const Bytes bytes = Build(entries, &report);
  EXPECT_EQ(report.forms, 3u);
  EXPECT_EQ(report.merged, 1u);
  EXPECT_EQ(report.bases, 7u);
  // Other forms in another order change nothing; lines of one form merge in their order.
  EXPECT_EQ(Build({entries[4], entries[0], entries[3], entries[2], entries[1]}, &again), bytes);

  const IrregularForms forms = IrregularForms::FromBytes(bytes);
  ASSERT_TRUE(forms.loaded());
  EXPECT_EQ(*forms.Bases("involucra", 1), Strings({"involucre", "involucrum"}));
  EXPECT_EQ(*forms.Bases("better", 3), Strings({"good", "well"}));
  EXPECT_EQ(*forms.Bases("better", 4), Strings({"well"}));
  for (const auto& [form, pos] : {std::pair{"better", 1u}, {"axe", 1u}, {"axesa", 1u}, {"", 1u}})
    EXPECT_EQ(forms.Bases(form, pos), nullptr) << form;
  EXPECT_EQ(FormsStatusText(forms), "Irregular forms: 3 forms from 1001E.dat");

  // Every changed and every cut byte is damage, and so is every malformed record, even
  // under a good digest.
  for (size_t at = 0; at < bytes.size(); ++at) {
    Bytes changed = bytes;
    changed[at] ^= 0x20;
    EXPECT_FALSE(IrregularForms::FromBytes(changed).loaded()) << "byte " << at;
    EXPECT_FALSE(IrregularForms::FromBytes(Bytes(bytes.begin(), bytes.begin() + at)).loaded());
  }
  using std::string_literals::operator""s;
  const std::pair<const char*, Bytes> cases[] = {
      {"well formed", Sealed("\x01\x01mice\0mouse\0\x02\x01went\0go\0"s, 2)},
      {"out of order", Sealed("\x02\x01went\0go\0\x01\x01mice\0mouse\0"s, 2)},
      {"a form twice", Sealed("\x01\x01mice\0mouse\0\x01\x01mice\0mouse\0"s, 2)},
      {"part of speech 5", Sealed("\x05\x01mice\0mouse\0"s, 1)},
      {"no base form", Sealed("\x01\x00mice\0"s, 1)},
      {"an empty form", Sealed("\x01\x01\0mouse\0"s, 1)},
      {"a base without its NUL", Sealed("\x01\x01mice\0mouse"s, 1)},
      {"more bases than written", Sealed("\x01\x02mice\0mouse\0"s, 1)},
      {"a wrong count", Sealed("\x01\x01mice\0mouse\0"s, 2)},
      {"a huge count", Sealed("\x01\x01mice\0mouse\0"s, 0xFFFFFFFF)},
  };
  for (const auto& [what, file] : cases)
    EXPECT_EQ(IrregularForms::FromBytes(file).loaded(), std::string(what) == "well formed") << what;
}

}  // namespace
}  // namespace lookup
