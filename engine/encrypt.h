// Record cipher: RC2 of RFC 2268 in ECB mode over 8-byte blocks. The custom database
// enciphers its records with it under the default key.
#pragma once

#include <cstdint>

struct EncryptKey;  // 64 expanded 16-bit key words
using EncryptHandle = EncryptKey*;

// Status codes of the four functions.
inline constexpr uint32_t kEncryptOk = 0;
inline constexpr uint32_t kEncryptNullHandle = 1;    // Encrypt/Decrypt: the handle is null
inline constexpr uint32_t kEncryptNoMemory = 2;      // the expanded key cannot be allocated
inline constexpr uint32_t kEncryptNullArgument = 3;  // a null address, input or output
inline constexpr uint32_t kEncryptOutputTooSmall = 4;

// The key used when Encrypt_Initialize is given none.
inline constexpr char kEncryptDefaultKey[] = "41pqe352KTRVBoeoeoeZPQRRTxuxuxuzwwBDLGE$$$$%$%?$3";

// Expands `key` (1 to 128 bytes; null means the 49-byte default key, length ignored) with an
// effective key length of 1,024 bits and stores the handle through `handle`. A key length
// outside 1 to 128 gives kEncryptNullArgument.
uint32_t Encrypt_Initialize(EncryptHandle* handle, const uint8_t* key, uint32_t key_length);

// Frees the expanded key. The caller's variable is not cleared.
uint32_t Encrypt_Deinitialize(EncryptHandle* handle);

// Enciphers `length` bytes into `out`; a final partial block is padded with zero bytes.
// `*out_length` holds the capacity on entry: before each block, a block start that is not
// below the capacity gives kEncryptOutputTooSmall (earlier blocks stay written), so `out` must
// hold `length` rounded up to a multiple of 8. On success `*out_length` receives that rounded
// length; a length of zero or less writes nothing and reports the length itself.
uint32_t Encrypt(EncryptHandle handle, const uint8_t* in, int32_t length, uint8_t* out,
                 int32_t* out_length);

// Deciphers whole blocks with the same capacity rule; `*out_length` receives `length`.
// A trailing partial block of an input whose length is not a multiple of 8 is not deciphered;
// its bytes are written as zeros.
uint32_t Decrypt(EncryptHandle handle, const uint8_t* in, int32_t length, uint8_t* out,
                 int32_t* out_length);
