#include "engine/arith_resume.h"

#include <algorithm>

#include "engine/arith_internal.h"
#include "engine/little_endian.h"

namespace engine {

namespace {

using arith::Chain;
using arith::CodeBits;
using arith::Lookup;
using arith::State;
using arith::TargetTable;

// Chains decoded side by side in one loop: more than four leave too few registers.
constexpr size_t kLanes = 4;

State FromPoint(const ResumePoint& point) {
  State state;
  state.bit = point.bit;
  state.low = point.low;
  state.high = point.high;
  state.code = point.code;
  return state;
}

// The chain at the stream's first symbol.
Chain FirstChain(const CodeBits& code) {
  State state;
  state.bit = 16;
  state.code = static_cast<uint32_t>(code.LoadChecked(0) >> 48);
  return Chain::Start(state);
}

// Where one chain writes: its next output byte and how many it has left.
struct Lane {
  uint8_t* out;
  uint32_t left;
};

// Steps K chains in turn, each its own output, in runs as long as every chain has output left
// and its loads stay within the code bytes; then each one to its end. The chains are copied
// into locals so that the output stores cannot alias them.
template <size_t K>
[[gnu::always_inline]] inline void Interleave(const Lookup table, const CodeBits code,
                                              Chain* chains, Lane* lanes) {
  Chain c[K] = {};
  for (size_t k = 0; k < K; ++k)
    c[k] = chains[k];
  uint32_t i = 0;
  for (;;) {
    uint64_t run = lanes[0].left - i;
    for (size_t k = 0; k < K; ++k)
      run = std::min(run, std::min<uint64_t>(lanes[k].left - i, code.SafeSteps(c[k].pos)));
    if (run == 0) break;
    for (const uint32_t stop = i + static_cast<uint32_t>(run); i < stop; ++i) {
#pragma GCC unroll 4
      for (size_t k = 0; k < K; ++k)
        lanes[k].out[i] = c[k].Step(table, code);
    }
  }
  for (size_t k = 0; k < K; ++k) {
    for (uint32_t j = i; j < lanes[k].left; ++j)
      lanes[k].out[j] = c[k].template Step<true>(table, code);
    chains[k] = c[k];
  }
}

[[gnu::always_inline]] inline void DecodeLanes(const Lookup& table, const CodeBits& code,
                                               Chain* chains, Lane* lanes, size_t count) {
  for (size_t first = 0; first < count; first += kLanes) {
    switch (std::min(count - first, kLanes)) {
      case 1:
        Interleave<1>(table, code, chains + first, lanes + first);
        break;
      case 2:
        Interleave<2>(table, code, chains + first, lanes + first);
        break;
      case 3:
        Interleave<3>(table, code, chains + first, lanes + first);
        break;
      default:
        Interleave<4>(table, code, chains + first, lanes + first);
        break;
    }
  }
}

void DecodeLanesAnyCpu(const Lookup& table, const CodeBits& code, Chain* chains, Lane* lanes,
                       size_t count) {
  DecodeLanes(table, code, chains, lanes, count);
}

#ifdef VERBARIUM_ARITH_BMI_LOOPS
VERBARIUM_ARITH_BMI_TARGET void DecodeLanesBmi(const Lookup& table, const CodeBits& code,
                                               Chain* chains, Lane* lanes, size_t count) {
  DecodeLanes(table, code, chains, lanes, count);
}
#endif

}  // namespace

bool ArithResumePoints(const uint8_t* in, size_t in_length, const std::vector<uint32_t>& symbols,
                       std::vector<ResumePoint>* out) {
  if (out == nullptr) return false;
  out->clear();
  if (in == nullptr || in_length < kStreamHeadSize) return false;
  const uint32_t length = LoadU32(in);
  FrequencyModel model;
  model.Load(in + 4);
  if (model.total == 0 || model.total > kMaxFrequencyTotal) return false;
  if (!std::is_sorted(symbols.begin(), symbols.end()) ||
      (!symbols.empty() && symbols.back() > length))
    return false;

  const TargetTable table(model);
  const Lookup lookup(table);
  const CodeBits code{in + kStreamHeadSize, in_length - kStreamHeadSize};
  Chain chain = FirstChain(code);
  uint32_t at = 0;
  for (uint32_t symbol : symbols) {
    for (; at < symbol; ++at)
      chain.Step<true>(lookup, code);
    const State state = chain.Snapshot(code);
    if (state.bit > UINT32_MAX) {
      out->clear();
      return false;
    }
    out->push_back({symbol, static_cast<uint32_t>(state.bit), static_cast<uint16_t>(state.low),
                    static_cast<uint16_t>(state.high), static_cast<uint16_t>(state.code)});
  }
  return true;
}

void AppendResumeTrailer(const std::vector<ResumePoint>& points, std::vector<uint8_t>* stream) {
  uint8_t field[4];
  auto put = [&](uint32_t value, size_t bytes) {
    StoreU32(field, value);
    stream->insert(stream->end(), field, field + bytes);
  };
  const size_t count = std::min(points.size(), kMaxResumePoints);
  for (size_t i = 0; i < count; ++i) {
    put(points[i].symbol, 4);
    put(points[i].bit, 4);
    put(points[i].low, 2);
    put(points[i].high, 2);
    put(points[i].code, 2);
    put(0, 2);
  }
  put(static_cast<uint32_t>(count), 4);
  put(kResumeMarker, 4);
}

size_t ReadResumeTrailer(const uint8_t* in, size_t in_length, ResumePoint out[kMaxResumePoints]) {
  if (in == nullptr || in_length < kStreamHeadSize + kResumeTrailerFixedSize) return 0;
  const uint8_t* fixed = in + in_length - kResumeTrailerFixedSize;
  if (LoadU32(fixed + 4) != kResumeMarker) return 0;
  const uint32_t count = LoadU32(fixed);
  if (count == 0 || count > kMaxResumePoints ||
      count * kResumePointSize > in_length - kStreamHeadSize - kResumeTrailerFixedSize)
    return 0;
  const uint8_t* p = fixed - count * kResumePointSize;
  for (uint32_t i = 0; i < count; ++i, p += kResumePointSize) {
    out[i] = {LoadU32(p), LoadU32(p + 4), LoadU16(p + 8), LoadU16(p + 10), LoadU16(p + 12)};
  }
  return count;
}

bool ArithDecodeResumed(const uint8_t* in, size_t in_length, const ResumePoint* points,
                        size_t count, uint8_t* out, size_t capacity, size_t* out_length,
                        size_t* chains_kept) {
  if (in == nullptr || in_length < kStreamHeadSize || out_length == nullptr) return false;
  const uint32_t length = LoadU32(in);
  if (length > capacity || (length > 0 && out == nullptr)) return false;
  FrequencyModel model;
  model.Load(in + 4);
  if (model.total == 0) return false;
  if (chains_kept != nullptr) *chains_kept = 1;
  if (model.total > kMaxFrequencyTotal || points == nullptr || count == 0)
    return ArithDecode(in, in_length, out, capacity, out_length);

  const TargetTable table(model);  // 80 KiB of stack, no allocation
  const CodeBits code{in + kStreamHeadSize, in_length - kStreamHeadSize};
  const uint64_t code_bits = static_cast<uint64_t>(code.size) * 8;

  // The segments: the first from the start, then one per usable point.
  Chain chains[kMaxResumePoints + 1] = {FirstChain(code)};
  State starts[kMaxResumePoints + 1] = {};
  uint32_t from[kMaxResumePoints + 2] = {0};
  size_t segments = 1;
  for (size_t i = 0; i < count && i < kMaxResumePoints; ++i) {
    const State state = FromPoint(points[i]);
    if (points[i].symbol < from[segments - 1] || points[i].symbol > length ||
        state.bit > code_bits || !state.Normal())
      continue;
    starts[segments] = state;
    chains[segments] = Chain::Start(state);
    from[segments++] = points[i].symbol;
  }
  from[segments] = length;
  Lane lanes[kMaxResumePoints + 1];
  for (size_t k = 0; k < segments; ++k)
    lanes[k] = {out + from[k], from[k + 1] - from[k]};
  const Lookup lookup(table);
#ifdef VERBARIUM_ARITH_BMI_LOOPS
  if (arith::HasBmiLoops()) {
    DecodeLanesBmi(lookup, code, chains, lanes, segments);
  } else {
    DecodeLanesAnyCpu(lookup, code, chains, lanes, segments);
  }
#else
  DecodeLanesAnyCpu(lookup, code, chains, lanes, segments);
#endif

  // Each seam: the chain that decoded up to it, correct by induction, must be where the next
  // chain started; otherwise it decodes the next segment itself.
  Chain correct = chains[0];
  size_t kept = 1;
  for (size_t k = 1; k < segments; ++k) {
    if (correct.Snapshot(code) == starts[k]) {
      correct = chains[k];
      ++kept;
      continue;
    }
    for (uint32_t i = from[k]; i < from[k + 1]; ++i)
      out[i] = correct.Step<true>(lookup, code);
  }
  if (chains_kept != nullptr) *chains_kept = kept;
  *out_length = length;
  return true;
}

}  // namespace engine
