// The check of one deciphered record against the index entry it is stored under: what every
// record the store writes satisfies, so that a record failing it is damage, or was never
// written by a custom database at all. Restore uses it on a backup before the backup may
// replace anything; queries can use it to tell damage from content.
#pragma once

#include <string_view>

#include "engine/md5.h"

enum class RecordFault {
  kNone,
  kFieldCount,   // not 27 fields each ended by '%', or text after the last '%'
  kUnknownType,  // field 24 is none of the nine type names of kCustomTypes
  kWrongWord,    // field 1 is empty, or its MD5 is not the key the record is stored under
};

// Checks a record's plaintext (as CustomDb_FindRecords gives it: cut at its first zero byte)
// against `key`, the index entry's key. The word is compared as stored: the store keys an
// entry on the word it lower-cases into field 1, and every writer of this program passes it in
// lower case, so the key is the MD5 of field 1.
RecordFault CheckCustomRecord(std::string_view record, const engine::Digest& key);

// What a fault means, to follow "record N ..." in a message: "does not hold 27 fields", ...
// Empty for kNone.
const char* RecordFaultText(RecordFault fault);
