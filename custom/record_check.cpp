// The well-formedness check of a custom record.

#include "custom/record_check.h"

#include <algorithm>
#include <string>

#include "custom/custom_db.h"

RecordFault CheckCustomRecord(std::string_view record, const engine::Digest& key) {
  // No field holds a '%' (the dialogs and the command line refuse it), so a record of 27
  // fields has exactly 27 of them, the last one at its end.
  if (std::count(record.begin(), record.end(), '%') != kCustomFieldCount || record.back() != '%') {
    return RecordFault::kFieldCount;
  }
  const std::string type_name = GetRecordField(record, kCustomTypeField);
  if (std::none_of(std::begin(kCustomTypes), std::end(kCustomTypes),
                   [&type_name](const CustomType& type) { return type_name == type.name; })) {
    return RecordFault::kUnknownType;
  }
  const std::string word = GetRecordField(record, kCustomWordField);
  if (word.empty() || engine::Md5String(word.c_str()) != key) return RecordFault::kWrongWord;
  return RecordFault::kNone;
}

const char* RecordFaultText(RecordFault fault) {
  switch (fault) {
    case RecordFault::kNone:
      return "";
    case RecordFault::kFieldCount:
      return "does not hold 27 fields";
    case RecordFault::kUnknownType:
      return "has an unknown type";
    case RecordFault::kWrongWord:
      return "is not stored under its own word";
  }
  return "";
}
