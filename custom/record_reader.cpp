// The record reader: a record's length, cipher text and plaintext from the data file.
#include <fcntl.h>

#include <algorithm>
#include <new>

#include "custom/custom_internal.h"
#include "custom/record_check.h"

namespace custom {

RecordReader::~RecordReader() {
  if (cipher_ != nullptr) Encrypt_Deinitialize(&cipher_);
}

int32_t RecordReader::Open(const std::string& data_path) {
  file_ = OpenFile(data_path, O_RDONLY);
  if (!file_.ok()) return kCustomCannotOpen;
  int64_t size = FileSize(file_.fd());
  if (size < 0) return kCustomCannotOpen;
  size_ = static_cast<uint64_t>(size);
  return kCustomOk;
}

bool RecordReader::Extent(uint32_t offset, uint64_t* length) {
  uint8_t prefix[kCustomRecordLengthSize];
  if (uint64_t{offset} + sizeof prefix > size_ ||
      !ReadAt(file_.fd(), prefix, sizeof prefix, offset))
    return false;
  uint64_t n = LoadU32(prefix);
  if (n > size_ - offset - sizeof prefix) return false;
  *length = sizeof prefix + n;
  return true;
}

int32_t RecordReader::Read(uint32_t offset, std::string* text, bool* skipped) {
  *skipped = false;
  uint8_t prefix[kCustomRecordLengthSize];
  if (uint64_t{offset} + sizeof prefix > size_ ||
      !ReadAt(file_.fd(), prefix, sizeof prefix, offset)) {
    return kCustomBadRecord;
  }
  uint32_t n = LoadU32(prefix);
  if (n == 0) {
    *skipped = true;
    return kCustomOk;
  }
  if (n > size_ - offset - sizeof prefix) return kCustomBadRecord;
  if (n % 8 != 0 || n > static_cast<uint32_t>(INT32_MAX)) return kCustomCipherError;
  try {
    if (cipher_text_.size() < n) cipher_text_.resize(n);
    plain_text_.assign(n, 0);
  } catch (const std::bad_alloc&) {
    *skipped = true;
    return kCustomOk;
  }
  if (!ReadAt(file_.fd(), cipher_text_.data(), n, uint64_t{offset} + sizeof prefix)) {
    return kCustomBadRecord;
  }
  if (cipher_ == nullptr && Encrypt_Initialize(&cipher_, nullptr, 0) != kEncryptOk) {
    cipher_ = nullptr;
    return kCustomCipherError;
  }
  int32_t length = static_cast<int32_t>(n);
  if (Decrypt(cipher_, cipher_text_.data(), length, plain_text_.data(), &length) != kEncryptOk) {
    return kCustomCipherError;
  }
  auto end = std::find(plain_text_.begin(), plain_text_.end(), uint8_t{0});
  text->assign(plain_text_.begin(), end);
  return kCustomOk;
}

int32_t ReadCheckedRecord(RecordReader* reader, const CustomIndexEntry& entry, std::string* text,
                          bool* skipped) {
  int32_t code = reader->Read(entry.offset, text, skipped);
  if (code != kCustomOk || *skipped) return code;
  RecordFault fault = CheckCustomRecord(*text, entry.key);
  // A type name outside the nine reads as "Other" (kCustomOtherPos), as it always has: such a
  // record is kept when its word is its own; only broken fields or a foreign word are damage.
  if (fault == RecordFault::kUnknownType) {
    const std::string word = GetRecordField(*text, kCustomWordField);
    if (!word.empty() && engine::Md5String(word.c_str()) == entry.key) fault = RecordFault::kNone;
  }
  return fault == RecordFault::kNone ? kCustomOk : kCustomCipherError;
}

}  // namespace custom
