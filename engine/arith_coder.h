// Order-0 arithmetic coder with 16-bit registers and a static byte-frequency table at the head
// of each stream: u32 decoded length, 256 u8 frequencies, then the code bits, most
// significant bit of each byte first. The word index and the tag blocks are such streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace engine {

inline constexpr size_t kStreamHeadSize = 260;
inline constexpr uint32_t kMaxFrequencyTotal = 16383;

// Frequencies of the 256 byte values with their cumulative sums. A new model has every
// frequency 1. The model is static: a stream's table holds for all of its symbols.
class FrequencyModel {
 public:
  FrequencyModel();
  void Load(const uint8_t frequencies[256]);

  uint32_t freq[256];
  uint32_t cum[256];
  uint32_t total = 0;
};

// Decodes one stream of `in_length` bytes into `out`. Fails (false) when the stream is shorter
// than its 260-byte head, its frequencies total 0, or its declared length exceeds `capacity`.
// Code bits beyond the end of the input read as 0. On success `*out_length` is the declared
// length.
bool ArithDecode(const uint8_t* in, size_t in_length, uint8_t* out, size_t capacity,
                 size_t* out_length);

// Frequencies for `data` as the encoder writes them: every byte value that occurs gets at least
// 1, the total is at most kMaxFrequencyTotal and each frequency at most 255. Empty data gets
// frequency 1 for byte 0, so that its stream has a non-zero total.
void ScaleFrequencies(const uint8_t* data, size_t length, uint8_t frequencies[256]);

// Encodes `data` as one stream with ScaleFrequencies' table; the exact inverse of ArithDecode.
// The stream holds every code bit the decoder reads. Empty (no stream) when `length` does not
// fit the 32-bit length field.
std::vector<uint8_t> ArithEncode(const uint8_t* data, size_t length);

// Encodes with a given table. Returns false, leaving `out` empty, when a byte of `data` has
// frequency 0, the total is 0 or above kMaxFrequencyTotal, or `length` does not fit 32 bits.
bool ArithEncodeWithTable(const uint8_t* data, size_t length, const uint8_t frequencies[256],
                          std::vector<uint8_t>* out);

}  // namespace engine
