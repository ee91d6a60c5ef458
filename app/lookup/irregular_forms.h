// The irregular forms of the dictionary ("1001E.dat", compiled by verbarium-mkdata from the
// exception lists): inflected forms whose base forms no suffix rule finds (went: go, mice:
// mouse), per part of speech.
//
// The table is read whole at start-up and checked (magic, format version, size, the MD5 of its
// body, every record, their order). A missing or damaged file is no failure of the start-up:
// the table is then empty, its state says why, and the lookup leaves the irregular forms and
// the suffix rules that go with them off. Never throws.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lookup {

enum class FormsState {
  kLoaded,
  kMissing,     // no such file
  kUnreadable,  // the file exists but cannot be read
  kDamaged,     // wrong magic, version or size, digest mismatch, or a malformed record
};

class IrregularForms {
 public:
  IrregularForms() = default;  // no table: state kMissing

  // Reads and checks the file at `path`.
  static IrregularForms Load(const std::string& path);
  // Checks and takes the bytes of a forms file (Load's second half).
  static IrregularForms FromBytes(const std::vector<uint8_t>& bytes);

  FormsState state() const { return state_; }
  bool loaded() const { return state_ == FormsState::kLoaded; }
  size_t form_count() const { return form_count_; }  // distinct inflected forms

  // The base forms of `form` (index form, lower case) listed for part of speech `pos` (1 to
  // 4), in list order; null when it lists none.
  const std::vector<std::string>* Bases(std::string_view form, uint32_t pos) const;

 private:
  struct Record {
    std::string form;
    uint32_t pos = 0;
    std::vector<std::string> bases;
  };
  FormsState state_ = FormsState::kMissing;
  size_t form_count_ = 0;
  std::vector<Record> records_;  // sorted by form, then part of speech
};

// One line for "--version" and the About box: "Irregular forms: 4,732 forms from 1001E.dat",
// or "Irregular forms: off (1001E.dat is missing)", "... cannot be read", "... is damaged".
std::string FormsStatusText(const IrregularForms& forms);

}  // namespace lookup
