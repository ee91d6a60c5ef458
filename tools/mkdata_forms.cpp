#include "tools/mkdata_forms.h"

#include <algorithm>

#include "engine/data_format.h"
#include "engine/little_endian.h"
#include "engine/md5.h"
#include "engine/nymdex.h"
#include "engine/text_helpers.h"
#include "tools/mkdata_lexicon.h"
#include "tools/wordnet_reader.h"

namespace mkdata {
namespace {

bool IsSeparator(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

void AppendString(std::vector<uint8_t>* bytes, const std::string& text) {
  bytes->insert(bytes->end(), text.begin(), text.end());
  bytes->push_back(0);
}

}  // namespace

bool ParseExceptionList(std::string_view text, const std::string& name, uint8_t pos,
                        std::vector<FormEntry>* out, std::string* error) {
  uint32_t line_number = 0;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++line_number;
    const auto fail = [&](const std::string& what) {
      *error = name + ":" + std::to_string(line_number) + ": " + what;
      return false;
    };
    std::vector<std::string> words;
    for (size_t i = 0; i < line.size();) {
      if (IsSeparator(line[i])) {
        ++i;
        continue;
      }
      size_t j = i;
      while (j < line.size() && !IsSeparator(line[j])) {
        const unsigned char c = static_cast<unsigned char>(line[j]);
        if (c < 0x20 || c == 0x7F) return fail("control character in an exception line");
        ++j;
      }
      if (j - i > kMaxWordLength) {
        return fail("word longer than " + std::to_string(kMaxWordLength) + " bytes");
      }
      words.push_back(engine::AsciiLowerCase(line.substr(i, j - i)));
      i = j;
    }
    if (words.empty()) continue;
    if (words.size() < 2) return fail("an inflected form without a base form");
    FormEntry entry;
    entry.form = std::move(words[0]);
    entry.pos = pos;
    entry.bases.assign(std::make_move_iterator(words.begin() + 1),
                       std::make_move_iterator(words.end()));
    out->push_back(std::move(entry));
  }
  return true;
}

bool ReadExceptionLists(const std::string& folder, std::vector<FormEntry>* entries,
                        std::string* error) {
  for (uint8_t pos = 1; pos <= wordnet::kPosCount; ++pos) {
    const std::string path = folder + "/" + wordnet::kPosFileSuffix[pos - 1] + ".exc";
    std::string text;
    if (!wordnet::ReadWholeFile(path, &text, error)) return false;
    if (!ParseExceptionList(text, path, pos, entries, error)) return false;
  }
  return true;
}

bool BuildFormsFile(std::vector<FormEntry> entries, std::vector<uint8_t>* bytes,
                    FormsReport* report, std::string* error) {
  // A stable sort keeps each list's line order, so merged bases stay in the order written.
  std::stable_sort(entries.begin(), entries.end(), [](const FormEntry& a, const FormEntry& b) {
    return a.form != b.form ? a.form < b.form : a.pos < b.pos;
  });
  std::vector<FormEntry> merged;
  for (FormEntry& entry : entries) {
    if (!merged.empty() && merged.back().form == entry.form && merged.back().pos == entry.pos) {
      merged.back().bases.insert(merged.back().bases.end(), entry.bases.begin(), entry.bases.end());
      ++report->merged;
    } else {
      merged.push_back(std::move(entry));
    }
  }

  bytes->assign(nymdex::kFormsHeaderSize, 0);
  for (FormEntry& entry : merged) {
    std::vector<std::string> bases;
    for (std::string& base : entry.bases) {
      if (std::find(bases.begin(), bases.end(), base) == bases.end()) {
        bases.push_back(std::move(base));
      }
    }
    if (bases.size() > nymdex::kMaxFormBases) {
      *error = "the irregular form \"" + entry.form + "\" has more than 255 base forms";
      return false;
    }
    bytes->push_back(entry.pos);
    bytes->push_back(static_cast<uint8_t>(bases.size()));
    AppendString(bytes, entry.form);
    for (const std::string& base : bases)
      AppendString(bytes, base);
    ++report->entries[entry.pos - 1];
    report->bases += bases.size();
  }
  for (size_t i = 0; i < merged.size(); ++i) {
    if (i == 0 || merged[i].form != merged[i - 1].form) ++report->forms;
  }

  uint8_t* header = bytes->data();
  const size_t body_size = bytes->size() - nymdex::kFormsHeaderSize;
  engine::StoreU32(header, nymdex::kFormsFileMagic);
  engine::StoreU32(header + nymdex::kFormsVersionAt, nymdex::kFormsFileVersion);
  engine::StoreU32(header + nymdex::kFormsCountAt, static_cast<uint32_t>(merged.size()));
  engine::StoreU32(header + nymdex::kFormsBodySizeAt, static_cast<uint32_t>(body_size));
  const engine::Digest digest =
      engine::Md5Bytes(bytes->data() + nymdex::kFormsHeaderSize, body_size);
  std::copy(digest.begin(), digest.end(), header + nymdex::kFormsDigestAt);
  return true;
}

}  // namespace mkdata
