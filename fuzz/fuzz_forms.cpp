// The irregular-forms reader over random bytes, the base-form search over what it read, and
// the suggestions' edit distance against its own symmetry. Input: text, NUL, forms file bytes.
// The file's size field and digest are set right before it is read, so that the records
// themselves meet the reader's checks.
#include <cstdint>
#include <string>
#include <vector>

#include "app/lookup/inflections.h"
#include "app/lookup/irregular_forms.h"
#include "app/lookup/suggestions.h"
#include "app/lookup/text_rules.h"
#include "engine/data_format.h"
#include "engine/little_endian.h"
#include "engine/md5.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const size_t split = bytes.find('\0');
  const std::string text = bytes.substr(0, split);
  std::vector<uint8_t> file = split == std::string::npos
                                  ? std::vector<uint8_t>()
                                  : std::vector<uint8_t>(data + split + 1, data + size);
  if (text.size() > 256) return 0;
  if (file.size() >= nymdex::kFormsHeaderSize) {
    const size_t body = file.size() - nymdex::kFormsHeaderSize;
    engine::StoreU32(file.data() + nymdex::kFormsBodySizeAt, static_cast<uint32_t>(body));
    const engine::Digest digest = engine::Md5Bytes(file.data() + nymdex::kFormsHeaderSize, body);
    std::copy(digest.begin(), digest.end(), file.begin() + nymdex::kFormsDigestAt);
  }

  const lookup::IrregularForms forms = lookup::IrregularForms::FromBytes(file);
  // Every third length is a word of every part of speech, so the phrase search goes deep.
  const lookup::PosMaskFunction mask = [](const std::string& w) {
    return w.size() % 3 == 0 ? lookup::kAnyPos : 0u;
  };
  const lookup::IsKnownFunction known = [](const std::string& w) { return w.size() % 5 == 0; };
  const std::string w = lookup::ToIndexForm(text);
  for (const std::string& base : lookup::InflectionBases(w, forms, mask)) {
    if (base == w || mask(base) == 0) __builtin_trap();
  }
  lookup::ResolveBaseForms(text, &forms, known, mask);

  const std::u32string a = lookup::CodePoints(text), b = lookup::CodePoints(w);
  if (lookup::EditDistance(a, b, 2) != lookup::EditDistance(b, a, 2)) __builtin_trap();
  return 0;
}
