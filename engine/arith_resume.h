// Resume points: the decoder's complete state at chosen output positions of a stream, stored
// after the stream's code bits, so that a decode can run several chains over different parts
// of the output at once. The points change nothing in the stream: its decode never takes the
// bytes after its code bits, and a decode that uses them gives ArithDecode's result exactly,
// checking every seam (a point that does not match the state the decode reaches there is
// decoded past instead).
//
// Trailer, at the very end of the input: the points, 16 bytes each (u32 output position, u32
// code bits read after the head, u16 low, u16 high, u16 code, u16 0), then u32 their count,
// then the marker "VBRP".
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace engine {

struct ResumePoint {
  uint32_t symbol = 0;  // the output position the state comes before
  uint32_t bit = 0;     // code bits read after the stream's head
  uint16_t low = 0;
  uint16_t high = 0;
  uint16_t code = 0;

  bool operator==(const ResumePoint&) const = default;
};

inline constexpr uint32_t kResumeMarker = 0x50524256;  // "VBRP"
inline constexpr size_t kResumePointSize = 16;
inline constexpr size_t kMaxResumePoints = 7;
inline constexpr size_t kResumeTrailerFixedSize = 8;  // the count and the marker

// The states before the output positions `symbols` (ascending, each at most the stream's
// length) of a stream that ArithDecode accepts and whose table totals at most
// kMaxFrequencyTotal; false, leaving `out` empty, for any other stream or position list.
bool ArithResumePoints(const uint8_t* in, size_t in_length, const std::vector<uint32_t>& symbols,
                       std::vector<ResumePoint>* out);

// Appends the trailer of `points` (at most kMaxResumePoints) to `stream`.
void AppendResumeTrailer(const std::vector<ResumePoint>& points, std::vector<uint8_t>* stream);

// The points of the trailer ending `in`: how many (0 when there is no whole trailer).
size_t ReadResumeTrailer(const uint8_t* in, size_t in_length, ResumePoint out[kMaxResumePoints]);

// ArithDecode's result for `in`, decoded with a chain from the start and one from each usable
// point, side by side. A point is used when its position ascends from the one before, lies
// within the length, its bit within the input, and its registers form a state a decoder can be
// in; every seam is checked, and one that does not match is decoded again by the chain before
// it. Streams with totals above kMaxFrequencyTotal are decoded as ArithDecode does. `chains`,
// when given, gets the number of chains whose output stands: 1 and each point whose seam held.
bool ArithDecodeResumed(const uint8_t* in, size_t in_length, const ResumePoint* points,
                        size_t count, uint8_t* out, size_t capacity, size_t* out_length,
                        size_t* chains = nullptr);

}  // namespace engine
