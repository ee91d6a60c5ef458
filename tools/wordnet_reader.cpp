#include "tools/wordnet_reader.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <future>

#include "engine/text_helpers.h"

namespace wordnet {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// Walks the blank-separated fields of one line.
class Fields {
 public:
  explicit Fields(std::string_view line) : line_(line) {}

  bool Next(std::string_view* field) {
    while (pos_ < line_.size() && IsBlank(line_[pos_]))
      ++pos_;
    if (pos_ == line_.size()) return false;
    size_t start = pos_;
    while (pos_ < line_.size() && !IsBlank(line_[pos_]))
      ++pos_;
    *field = line_.substr(start, pos_ - start);
    return true;
  }

  // What follows the fields read so far, blanks trimmed at both ends.
  std::string_view Rest() const {
    size_t start = pos_;
    while (start < line_.size() && IsBlank(line_[start]))
      ++start;
    size_t end = line_.size();
    while (end > start && IsBlank(line_[end - 1]))
      --end;
    return line_.substr(start, end - start);
  }

 private:
  std::string_view line_;
  size_t pos_ = 0;
};

// At most ten digits whose value fits 32 bits.
bool ParseDecimal(std::string_view field, uint32_t* value) {
  uint64_t v = 0;
  if (field.size() > 10 || !engine::ParseDigits(field, UINT32_MAX, &v)) return false;
  *value = static_cast<uint32_t>(v);
  return true;
}

bool ParseHex(std::string_view field, uint32_t* value) {
  if (field.empty() || field.size() > 8) return false;
  uint32_t v = 0;
  for (char c : field) {
    uint32_t digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<uint32_t>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<uint32_t>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<uint32_t>(c - 'A' + 10);
    } else {
      return false;
    }
    v = v * 16 + digit;
  }
  *value = v;
  return true;
}

// Accumulates the message of the first failure of a file.
class LineError {
 public:
  LineError(const std::string& name, std::string* error) : name_(name), error_(error) {}
  void SetLine(uint32_t line) { line_ = line; }
  bool Fail(const std::string& what) {
    *error_ = name_ + ":" + std::to_string(line_) + ": " + what;
    return false;
  }
  bool Field(const char* what, std::string_view field) {
    return Fail(std::string(what) + " \"" + std::string(field) + "\"");
  }
  bool Missing(const char* what) { return Fail(std::string("missing ") + what); }

 private:
  const std::string& name_;
  std::string* error_;
  uint32_t line_ = 0;
};

// Calls `visit(line, number, start)` for each line of `text` that is not part of the licence
// preamble (lines beginning with two spaces) and is not empty. Stops at the first false.
template <typename Visit>
bool ForEachRecordLine(std::string_view text, Visit visit) {
  return engine::ForEachLine(text, [&](std::string_view line, uint32_t number, size_t start) {
    bool preamble = line.size() >= 2 && line[0] == ' ' && line[1] == ' ';
    bool empty = line.find_first_not_of(" \t\r") == std::string_view::npos;
    return preamble || empty || visit(line, number, start);
  });
}

// Cuts the adjective position markers from a word form.
std::string_view CutMarker(std::string_view word) {
  for (std::string_view marker : {"(a)", "(p)", "(ip)"}) {
    if (word.size() > marker.size() && word.ends_with(marker)) {
      return word.substr(0, word.size() - marker.size());
    }
  }
  return word;
}

bool PosMatchesFile(char letter, uint8_t file_pos) {
  return PosFromLetter(letter) == file_pos;
}

// The parts of a data file line, in their order: offset, lexicographer file number and synset
// type; the words with their lexical identifiers; the pointers; for verbs the sentence frames;
// then "|" and the gloss. Each reads on from where the one before stopped.
bool ParseSynsetHead(Fields* fields, LineError* fail, uint8_t file_pos, size_t start,
                     Synset* synset) {
  std::string_view f;
  uint32_t value = 0;
  if (!fields->Next(&f) || !ParseDecimal(f, &synset->offset)) return fail->Field("bad offset", f);
  if (synset->offset != start) {
    return fail->Fail("offset " + std::string(f) + " is not the line's byte position " +
                      std::to_string(start));
  }
  if (!fields->Next(&f)) return fail->Missing("lexicographer file number");
  if (!ParseDecimal(f, &value) || value > 255) {
    return fail->Field("bad lexicographer file number", f);
  }
  synset->lex_filenum = static_cast<uint8_t>(value);
  if (!fields->Next(&f)) return fail->Missing("synset type");
  if (f.size() != 1 || !PosMatchesFile(f[0], file_pos)) return fail->Field("bad synset type", f);
  synset->satellite = f[0] == 's';
  return true;
}

bool ParseSynsetWords(Fields* fields, LineError* fail, size_t line_size, Synset* synset) {
  std::string_view f;
  uint32_t word_count = 0;
  uint32_t value = 0;
  if (!fields->Next(&f)) return fail->Missing("word count");
  if (!ParseHex(f, &word_count) || word_count == 0 || word_count > line_size) {
    return fail->Field("bad word count", f);
  }
  synset->words.reserve(word_count);
  synset->lex_ids.reserve(word_count);
  for (uint32_t i = 0; i < word_count; ++i) {
    if (!fields->Next(&f)) return fail->Missing("word");
    std::string_view word = CutMarker(f);
    if (word == "|") return fail->Missing("word");
    synset->words.push_back(word);
    if (!fields->Next(&f)) return fail->Missing("lex_id");
    if (!ParseHex(f, &value) || value > 255) return fail->Field("bad lex_id", f);
    synset->lex_ids.push_back(static_cast<uint8_t>(value));
  }
  return true;
}

bool ParsePointer(Fields* fields, LineError* fail, size_t word_count, Pointer* pointer) {
  std::string_view f;
  uint32_t value = 0;
  if (!fields->Next(&pointer->symbol) || pointer->symbol == "|") return fail->Missing("pointer");
  if (!fields->Next(&f)) return fail->Missing("pointer offset");
  if (!ParseDecimal(f, &pointer->target_offset)) return fail->Field("bad pointer offset", f);
  if (!fields->Next(&f)) return fail->Missing("pointer part of speech");
  pointer->target_pos = f.size() == 1 ? PosFromLetter(f[0]) : 0;
  if (pointer->target_pos == 0) return fail->Field("bad pointer part of speech", f);
  if (!fields->Next(&f)) return fail->Missing("pointer source/target");
  if (f.size() != 4 || !ParseHex(f, &value)) return fail->Field("bad pointer source/target", f);
  pointer->source_word = static_cast<uint8_t>(value >> 8);
  pointer->target_word = static_cast<uint8_t>(value & 0xFF);
  if ((pointer->source_word == 0) != (pointer->target_word == 0)) {
    return fail->Field("bad pointer source/target", f);
  }
  if (pointer->source_word > word_count) {
    return fail->Field("pointer source beyond the word count", f);
  }
  return true;
}

bool ParsePointers(Fields* fields, LineError* fail, size_t line_size, Synset* synset) {
  std::string_view f;
  uint32_t pointer_count = 0;
  if (!fields->Next(&f)) return fail->Missing("pointer count");
  if (!ParseDecimal(f, &pointer_count)) return fail->Field("bad pointer count", f);
  if (pointer_count > line_size) return fail->Field("bad pointer count", f);
  synset->pointers.reserve(pointer_count);
  for (uint32_t i = 0; i < pointer_count; ++i) {
    Pointer pointer;
    if (!ParsePointer(fields, fail, synset->words.size(), &pointer)) return false;
    synset->pointers.push_back(pointer);
  }
  return true;
}

bool ParseGloss(Fields* fields, LineError* fail, uint8_t file_pos, Synset* synset) {
  std::string_view f;
  uint32_t value = 0;
  if (!fields->Next(&f)) return fail->Missing("gloss separator \"|\"");
  if (f != "|" && file_pos == 2) {
    // Verb synsets list their sentence frames: count, then "+ frame word" triples.
    uint32_t frame_count = 0;
    if (!ParseDecimal(f, &frame_count)) return fail->Field("bad frame count", f);
    for (uint32_t i = 0; i < frame_count; ++i) {
      if (!fields->Next(&f) || f != "+") return fail->Missing("frame");
      if (!fields->Next(&f) || !ParseDecimal(f, &value)) return fail->Field("bad frame number", f);
      if (!fields->Next(&f) || !ParseHex(f, &value)) return fail->Field("bad frame word", f);
    }
    if (!fields->Next(&f)) return fail->Missing("gloss separator \"|\"");
  }
  if (f != "|") return fail->Field("expected \"|\" before the gloss, found", f);
  synset->gloss = fields->Rest();
  return true;
}

}  // namespace

uint8_t PosFromLetter(char letter) {
  switch (letter) {
    case 'n':
      return 1;
    case 'v':
      return 2;
    case 'a':
    case 's':
      return 3;
    case 'r':
      return 4;
    default:
      return 0;
  }
}

bool ReadWholeFile(const std::string& path, std::string* contents, std::string* error) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    *error = path + ": cannot be read: it is a folder";
    return false;
  }
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    *error = path + ": cannot be opened";
    return false;
  }
  contents->clear();
  uintmax_t size = std::filesystem::file_size(path, ec);
  if (!ec) contents->reserve(static_cast<size_t>(size));
  // Read in chunks to the end: the size is only a hint (the file may change, or be no regular
  // file at all).
  char chunk[1 << 16];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
    contents->append(chunk, got);
  bool ok = !std::ferror(file);
  std::fclose(file);
  if (!ok) {
    *error = path + ": cannot be read";
    return false;
  }
  return true;
}

bool ParseDataFile(std::string_view text, const std::string& name, uint8_t file_pos,
                   std::vector<Synset>* out, std::string* error) {
  LineError fail(name, error);
  return ForEachRecordLine(text, [&](std::string_view line, uint32_t number, size_t start) {
    fail.SetLine(number);
    Fields fields(line);
    Synset synset;
    synset.line = number;
    synset.pos = file_pos;
    if (!ParseSynsetHead(&fields, &fail, file_pos, start, &synset) ||
        !ParseSynsetWords(&fields, &fail, line.size(), &synset) ||
        !ParsePointers(&fields, &fail, line.size(), &synset) ||
        !ParseGloss(&fields, &fail, file_pos, &synset)) {
      return false;
    }
    out->push_back(std::move(synset));
    return true;
  });
}

bool ParseIndexFile(std::string_view text, const std::string& name, uint8_t file_pos,
                    std::vector<IndexEntry>* out, std::string* error) {
  LineError fail(name, error);
  return ForEachRecordLine(text, [&](std::string_view line, uint32_t number, size_t) {
    fail.SetLine(number);
    Fields fields(line);
    std::string_view f;
    IndexEntry entry;
    entry.line = number;
    uint32_t synset_count = 0, pointer_count = 0, sense_count = 0, value = 0;
    if (!fields.Next(&entry.lemma)) return fail.Missing("lemma");
    if (!fields.Next(&f)) return fail.Missing("part of speech");
    if (f.size() != 1 || f[0] == 's' || !PosMatchesFile(f[0], file_pos)) {
      return fail.Field("bad part of speech", f);
    }
    if (!fields.Next(&f)) return fail.Missing("synset count");
    if (!ParseDecimal(f, &synset_count) || synset_count == 0 || synset_count > line.size()) {
      return fail.Field("bad synset count", f);
    }
    if (!fields.Next(&f)) return fail.Missing("pointer count");
    if (!ParseDecimal(f, &pointer_count) || pointer_count > line.size()) {
      return fail.Field("bad pointer count", f);
    }
    for (uint32_t i = 0; i < pointer_count; ++i) {
      if (!fields.Next(&f)) return fail.Missing("pointer symbol");
    }
    if (!fields.Next(&f)) return fail.Missing("sense count");
    if (!ParseDecimal(f, &sense_count) || sense_count != synset_count) {
      return fail.Field("bad sense count", f);
    }
    if (!fields.Next(&f)) return fail.Missing("tagged sense count");
    if (!ParseDecimal(f, &value)) return fail.Field("bad tagged sense count", f);
    entry.offsets.resize(synset_count);
    for (uint32_t& offset : entry.offsets) {
      if (!fields.Next(&f)) return fail.Missing("synset offset");
      if (!ParseDecimal(f, &offset)) return fail.Field("bad synset offset", f);
    }
    if (fields.Next(&f)) return fail.Field("unexpected field", f);
    out->push_back(std::move(entry));
    return true;
  });
}

bool ParseCountFile(std::string_view text, const std::string& name, std::vector<SenseCount>* out,
                    std::string* error) {
  LineError fail(name, error);
  return ForEachRecordLine(text, [&](std::string_view line, uint32_t number, size_t) {
    fail.SetLine(number);
    Fields fields(line);
    std::string_view key, f;
    SenseCount count;
    if (!fields.Next(&key)) return fail.Missing("sense key");
    size_t percent = key.find('%');
    if (percent == 0 || percent == std::string_view::npos || percent + 1 >= key.size() ||
        key[percent + 1] < '1' || key[percent + 1] > '5') {
      return fail.Field("bad sense key", key);
    }
    count.key = key;
    if (!fields.Next(&f)) return fail.Missing("sense number");
    if (!ParseDecimal(f, &count.sense_number) || count.sense_number == 0) {
      return fail.Field("bad sense number", f);
    }
    if (!fields.Next(&f)) return fail.Missing("tag count");
    if (!ParseDecimal(f, &count.count)) return fail.Field("bad tag count", f);
    if (fields.Next(&f)) return fail.Field("unexpected field", f);
    out->push_back(count);
    return true;
  });
}

const Synset* FindSynset(const Database& db, uint8_t pos, uint32_t offset) {
  if (pos < 1 || pos > kPosCount) return nullptr;
  const std::vector<Synset>& list = db.synsets[pos - 1];
  const std::vector<uint32_t>& offsets = db.synset_offsets[pos - 1];
  if (offsets.size() == list.size()) {
    // Bisecting the compact offsets touches far fewer cache lines than the synsets.
    auto at = std::lower_bound(offsets.begin(), offsets.end(), offset);
    return at != offsets.end() && *at == offset ? &list[at - offsets.begin()] : nullptr;
  }
  auto it = std::lower_bound(list.begin(), list.end(), offset,
                             [](const Synset& s, uint32_t o) { return s.offset < o; });
  return it != list.end() && it->offset == offset ? &*it : nullptr;
}

namespace {

// Cross-references: pointer targets and index offsets must name synsets, and pointer word
// numbers must lie within the target's words.
bool CheckReferences(const Database& db, std::string* error) {
  const std::string& folder = db.folder;
  for (uint8_t pos = 1; pos <= kPosCount; ++pos) {
    std::string data_name = folder + "/data." + kPosFileSuffix[pos - 1];
    for (const Synset& synset : db.synsets[pos - 1]) {
      for (const Pointer& pointer : synset.pointers) {
        const Synset* target = FindSynset(db, pointer.target_pos, pointer.target_offset);
        // The message's head is built only for a pointer that fails.
        auto where = [&] {
          return data_name + ":" + std::to_string(synset.line) + ": pointer \"" +
                 std::string(pointer.symbol) + "\" ";
        };
        if (target == nullptr) {
          *error = where() + "to a missing synset " + std::to_string(pointer.target_offset);
          return false;
        }
        if (pointer.target_word > target->words.size()) {
          *error = where() + "to word " + std::to_string(pointer.target_word) + " of a synset of " +
                   std::to_string(target->words.size()) + " words";
          return false;
        }
      }
    }
    std::string index_name = folder + "/index." + kPosFileSuffix[pos - 1];
    for (const IndexEntry& entry : db.index[pos - 1]) {
      for (uint32_t offset : entry.offsets) {
        if (FindSynset(db, pos, offset) == nullptr) {
          *error = index_name + ":" + std::to_string(entry.line) + ": synset offset " +
                   std::to_string(offset) + " is not in data." + kPosFileSuffix[pos - 1];
          return false;
        }
      }
    }
  }
  return true;
}

// Reads a file into a buffer `db` keeps, and gives its text.
bool Load(const std::string& path, Database* db, std::string_view* text, std::string* error) {
  auto buffer = std::make_unique<std::string>();
  if (!ReadWholeFile(path, buffer.get(), error)) return false;
  db->bytes_read += buffer->size();
  *text = *buffer;
  db->buffers.push_back(std::move(buffer));
  return true;
}

}  // namespace

bool ReadDatabase(const std::string& folder, Database* db, std::string* error) {
  db->folder = folder;
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    *error = folder + ": no such folder";
    return false;
  }
  // The index files and the counts are read on a thread of their own while the data files
  // are; a fault in a data file is told first, as when they were read in turn.
  Database later;
  std::string later_error;
  std::future<bool> later_read = std::async(std::launch::async, [&] {
    std::string_view text;
    for (uint8_t pos = 1; pos <= kPosCount; ++pos) {
      std::string name = std::string("index.") + kPosFileSuffix[pos - 1];
      if (!Load(folder + "/" + name, &later, &text, &later_error) ||
          !ParseIndexFile(text, folder + "/" + name, pos, &later.index[pos - 1], &later_error)) {
        return false;
      }
    }
    return Load(folder + "/cntlist.rev", &later, &text, &later_error) &&
           ParseCountFile(text, folder + "/cntlist.rev", &later.counts, &later_error);
  });
  bool data_read = true;
  std::string_view text;
  for (uint8_t pos = 1; pos <= kPosCount && data_read; ++pos) {
    std::string name = std::string("data.") + kPosFileSuffix[pos - 1];
    data_read = Load(folder + "/" + name, db, &text, error) &&
                ParseDataFile(text, folder + "/" + name, pos, &db->synsets[pos - 1], error);
    if (data_read) {
      for (const Synset& synset : db->synsets[pos - 1])
        db->synset_offsets[pos - 1].push_back(synset.offset);
    }
  }
  const bool others_read = later_read.get();
  if (!data_read) return false;
  if (!others_read) {
    *error = later_error;
    return false;
  }
  for (auto& buffer : later.buffers)
    db->buffers.push_back(std::move(buffer));
  db->bytes_read += later.bytes_read;
  for (uint8_t pos = 1; pos <= kPosCount; ++pos)
    db->index[pos - 1] = std::move(later.index[pos - 1]);
  db->counts = std::move(later.counts);

  return CheckReferences(*db, error);
}

}  // namespace wordnet
