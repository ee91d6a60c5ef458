#include "app/lookup/irregular_forms.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "engine/data_format.h"
#include "engine/little_endian.h"
#include "engine/md5.h"
#include "engine/nymdex.h"
#include "platform/program_names.h"

namespace lookup {
namespace {

// "4732" as "4,732".
std::string WithThousands(size_t value) {
  std::string digits = std::to_string(value);
  for (size_t at = digits.size(); at > 3; at -= 3)
    digits.insert(at - 3, ",");
  return digits;
}

// A NUL-terminated string of 1 to kMaxWordLength bytes starting at `*at`, moved past its NUL.
bool TakeString(const std::vector<uint8_t>& bytes, size_t* at, std::string* out) {
  const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(*at);
  const auto nul = std::find(begin, bytes.end(), uint8_t{0});
  if (nul == bytes.end() || nul == begin) return false;
  const size_t length = static_cast<size_t>(nul - begin);
  if (length > kMaxWordLength) return false;
  out->assign(begin, nul);
  *at += length + 1;
  return true;
}

}  // namespace

IrregularForms IrregularForms::Load(const std::string& path) {
  IrregularForms forms;
  // C streams: the C++ file buffer throws when it meets a folder instead of failing.
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    forms.state_ = errno == ENOENT ? FormsState::kMissing : FormsState::kUnreadable;
    return forms;
  }
  std::vector<uint8_t> bytes;
  uint8_t chunk[1 << 16];
  for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
    bytes.insert(bytes.end(), chunk, chunk + got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
    forms.state_ = FormsState::kUnreadable;
    return forms;
  }
  return FromBytes(bytes);
}

IrregularForms IrregularForms::FromBytes(const std::vector<uint8_t>& bytes) {
  IrregularForms damaged;
  damaged.state_ = FormsState::kDamaged;
  if (bytes.size() < nymdex::kFormsHeaderSize) return damaged;
  const uint8_t* header = bytes.data();
  const size_t body_size = bytes.size() - nymdex::kFormsHeaderSize;
  if (engine::LoadU32(header) != nymdex::kFormsFileMagic ||
      engine::LoadU32(header + nymdex::kFormsVersionAt) != nymdex::kFormsFileVersion ||
      engine::LoadU32(header + nymdex::kFormsBodySizeAt) != body_size) {
    return damaged;
  }
  const engine::Digest digest = engine::Md5Bytes(header + nymdex::kFormsHeaderSize, body_size);
  if (!std::equal(digest.begin(), digest.end(), header + nymdex::kFormsDigestAt)) return damaged;

  IrregularForms forms;
  const uint32_t count = engine::LoadU32(header + nymdex::kFormsCountAt);
  // Each record takes at least six bytes, which bounds the count before anything is reserved.
  if (count > body_size / 6) return damaged;
  forms.records_.reserve(count);
  size_t at = nymdex::kFormsHeaderSize;
  while (at < bytes.size()) {
    if (bytes.size() - at < 2) return damaged;
    Record record;
    record.pos = bytes[at];
    const size_t base_count = bytes[at + 1];
    at += 2;
    if (record.pos < kNoun || record.pos > kAdverb || base_count == 0) return damaged;
    if (!TakeString(bytes, &at, &record.form)) return damaged;
    record.bases.resize(base_count);
    for (std::string& base : record.bases) {
      if (!TakeString(bytes, &at, &base)) return damaged;
    }
    if (!forms.records_.empty()) {
      const Record& last = forms.records_.back();
      if (last.form > record.form || (last.form == record.form && last.pos >= record.pos)) {
        return damaged;  // the search relies on the order
      }
      if (last.form != record.form) ++forms.form_count_;
    } else {
      forms.form_count_ = 1;
    }
    forms.records_.push_back(std::move(record));
  }
  if (forms.records_.size() != count) return damaged;
  forms.state_ = FormsState::kLoaded;
  return forms;
}

const std::vector<std::string>* IrregularForms::Bases(std::string_view form, uint32_t pos) const {
  const auto it =
      std::lower_bound(records_.begin(), records_.end(), std::pair(form, pos),
                       [](const Record& r, const std::pair<std::string_view, uint32_t>& key) {
                         return r.form != key.first ? r.form < key.first : r.pos < key.second;
                       });
  if (it == records_.end() || it->form != form || it->pos != pos) return nullptr;
  return &it->bases;
}

std::string FormsStatusText(const IrregularForms& forms) {
  const std::string head = "Irregular forms: ";
  switch (forms.state()) {
    case FormsState::kLoaded:
      return head + WithThousands(forms.form_count()) + " forms from " +
             program::kIrregularFormsFile;
    case FormsState::kMissing:
      return head + "off (" + program::kIrregularFormsFile + " is missing)";
    case FormsState::kUnreadable:
      return head + "off (" + program::kIrregularFormsFile + " cannot be read)";
    case FormsState::kDamaged:
      break;
  }
  return head + "off (" + program::kIrregularFormsFile + " is damaged)";
}

}  // namespace lookup
