#include "engine/arith_coder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <new>

#include "engine/arith_internal.h"
#include "engine/little_endian.h"

namespace engine {

namespace {

using arith::BitReader;
using arith::kHalf;
using arith::kMask;
using arith::kQuarter;

// Exact division by the stream's total, a constant of the whole decode, for dividends below
// 2^32: a multiply and shifts instead of a hardware division on the decoder's critical path.
class Divider {
 public:
  explicit Divider(uint32_t divisor) {
    if ((divisor & (divisor - 1)) == 0) {
      shift_ = std::countr_zero(divisor);  // magic 0: a plain shift
      return;
    }
    // magic = floor(2^(32 + shift) / divisor) + 1 with shift = ceil(log2(divisor)) lies
    // between 2^32 and 2^33; its 2^32 part is added back in Divide as the dividend itself.
    shift_ = 32 - std::countl_zero(divisor);
    magic_ = static_cast<uint32_t>(((uint64_t{1} << (32 + shift_)) / divisor) + 1);
  }
  uint32_t Divide(uint32_t n) const {
    uint64_t t = (static_cast<uint64_t>(n) * magic_) >> 32;
    return static_cast<uint32_t>((t + n) >> shift_);
  }

 private:
  uint32_t magic_ = 0;
  int shift_ = 0;
};

}  // namespace

FrequencyModel::FrequencyModel() {
  uint8_t ones[256];
  std::memset(ones, 1, sizeof ones);
  Load(ones);
}

void FrequencyModel::Load(const uint8_t frequencies[256]) {
  uint32_t sum = 0;
  for (int s = 0; s < 256; ++s) {
    freq[s] = frequencies[s];
    cum[s] = sum;
    sum += frequencies[s];
  }
  total = sum;
}

namespace {

// Any total, step by step as the format defines it: the symbol by a halving search, then the
// shifts. A total above the coder's limit can leave code outside [low, high]; every register is
// then kept to 16 bits exactly as the definition does.
void DecodeAnyTotal(const FrequencyModel& model, BitReader& bits, uint8_t* out, uint32_t length) {
  const uint32_t total = model.total;
  const Divider by_total(total);
  uint32_t low = 0, high = kMask;
  uint32_t code = bits.Take(16);

  for (uint32_t i = 0; i < length; ++i) {
    if (bits.count() < 32) bits.Refill();
    const uint32_t range = high - low + 1;
    const uint32_t target = ((code - low + 1) * total - 1) / range;
    // The largest s with cum[s] <= target: 255 from cum[255] on, else the s in 0 to 254 with
    // cum[s] <= target < cum[s + 1], so one branch-free halving search serves both.
    uint32_t s = 0;
    for (uint32_t step = 128; step != 0; step >>= 1) {
      s += model.cum[s + step] <= target ? step : 0;
    }
    out[i] = static_cast<uint8_t>(s);
    const uint32_t below = model.cum[s];
    const uint32_t above = (s == 255 ? total : model.cum[s + 1]);
    high = (low + by_total.Divide(above * range) - 1) & kMask;
    low = (low + by_total.Divide(below * range)) & kMask;

    // Shifts while the half bits of low and high agree: as many as their leading equal bits.
    const int agree = std::countl_zero(static_cast<uint16_t>(low ^ high));
    code = ((code << agree) | bits.Take(agree)) & kMask;
    low = (low << agree) & kMask;
    high = ((high << agree) | ((1u << agree) - 1)) & kMask;

    // Now the half bits differ. Underflow steps follow while low has the quarter bit and high
    // has not; each drops that bit from low, high and code (toggled into place) and shifts.
    const int underflow = std::countl_one(static_cast<uint16_t>(((low & ~high) << 1) & kMask));
    const uint32_t toggle = underflow != 0 ? kHalf : 0;
    code = (((code << underflow) ^ toggle) & kMask) | bits.Take(underflow);
    low = (low << underflow) & (kHalf - 1);
    high = ((high << underflow) & (kHalf - 1)) | kHalf | ((1u << underflow) - 1);
  }
}

// Totals up to kMaxFrequencyTotal, all the encoder writes: one chain (engine/arith_internal.h)
// from the first symbol to the last, unchecked loads as far as they stay within the code bytes.
// The chain is a local: the output is bytes, which may alias anything, so a chain reached
// through a reference would be stored and reloaded around every output byte.
[[gnu::always_inline]] inline void DecodeChain(const arith::Lookup table,
                                               const arith::CodeBits code, uint8_t* out,
                                               uint32_t length) {
  arith::Chain chain{16, kMask + 1, static_cast<uint32_t>(code.LoadChecked(0) >> 48), 0};
  uint32_t i = 0;
  for (;;) {
    const uint64_t run = std::min<uint64_t>(length - i, code.SafeSteps(chain.pos));
    if (run == 0) break;
    for (const uint32_t stop = i + static_cast<uint32_t>(run); i < stop; ++i)
      out[i] = chain.Step(table, code);
  }
  for (; i < length; ++i)
    out[i] = chain.Step<true>(table, code);
}

void DecodeChainAnyCpu(const arith::Lookup& table, const arith::CodeBits& code, uint8_t* out,
                       uint32_t length) {
  DecodeChain(table, code, out, length);
}

#ifdef VERBARIUM_ARITH_BMI_LOOPS
VERBARIUM_ARITH_BMI_TARGET void DecodeChainBmi(const arith::Lookup& table,
                                               const arith::CodeBits& code, uint8_t* out,
                                               uint32_t length) {
  DecodeChain(table, code, out, length);
}
#endif

void DecodeWithinLimit(const FrequencyModel& model, const arith::CodeBits& code, uint8_t* out,
                       uint32_t length) {
  const arith::TargetTable table(model);  // 80 KiB of stack, no allocation
  const arith::Lookup lookup(table);
#ifdef VERBARIUM_ARITH_BMI_LOOPS
  if (arith::HasBmiLoops()) return DecodeChainBmi(lookup, code, out, length);
#endif
  DecodeChainAnyCpu(lookup, code, out, length);
}

}  // namespace

bool ArithDecode(const uint8_t* in, size_t in_length, uint8_t* out, size_t capacity,
                 size_t* out_length) {
  if (in == nullptr || in_length < kStreamHeadSize || out_length == nullptr) return false;
  const uint32_t length = LoadU32(in);
  if (length > capacity || (length > 0 && out == nullptr)) return false;

  FrequencyModel model;
  model.Load(in + 4);
  if (model.total == 0) return false;

  if (model.total <= kMaxFrequencyTotal) {
    DecodeWithinLimit(model, {in + kStreamHeadSize, in_length - kStreamHeadSize}, out, length);
  } else {
    BitReader bits(in + kStreamHeadSize, in + in_length);
    DecodeAnyTotal(model, bits, out, length);  // totals that only other writers produce
  }
  *out_length = length;
  return true;
}

void ScaleFrequencies(const uint8_t* data, size_t length, uint8_t frequencies[256]) {
  uint64_t counts[256] = {};
  for (size_t i = 0; i < length; ++i)
    ++counts[data[i]];
  uint64_t largest = 0;
  for (uint64_t c : counts)
    largest = c > largest ? c : largest;

  std::memset(frequencies, 0, 256);
  if (length == 0) {
    frequencies[0] = 1;  // a decodable table for the empty stream
    return;
  }
  // Counts within the limits are the exact model. Otherwise scale by the tighter of the two
  // limits, leaving room for the rounding up of rare symbols to 1 (at most 256 of them).
  constexpr uint64_t kScaledTotal = kMaxFrequencyTotal - 256;
  uint64_t numerator = 1, denominator = 1;
  if (largest > 255 || length > kScaledTotal) {
    if (255 * static_cast<uint64_t>(length) <= kScaledTotal * largest) {
      numerator = 255;
      denominator = largest;
    } else {
      numerator = kScaledTotal;
      denominator = length;
    }
  }
  for (int s = 0; s < 256; ++s) {
    if (counts[s] == 0) continue;
    uint64_t f = (counts[s] * numerator + denominator / 2) / denominator;
    frequencies[s] = static_cast<uint8_t>(f == 0 ? 1 : f);
  }
}

namespace {

// Collects code bits most significant first.
class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>* out) : out_(out) {}
  void Put(uint32_t bit) {
    byte_ = static_cast<uint8_t>(byte_ << 1 | bit);
    ++written_;
    if ((written_ & 7) == 0) {
      out_->push_back(byte_);
      byte_ = 0;
    }
  }
  void PutWithPending(uint32_t bit, uint64_t* pending) {
    Put(bit);
    for (; *pending != 0; --*pending)
      Put(bit ^ 1);
  }
  uint64_t written() const { return written_; }

 private:
  std::vector<uint8_t>* out_;
  uint8_t byte_ = 0;
  uint64_t written_ = 0;
};

// Writes the stream: head, then code bits. The table is already checked.
void EncodeSymbols(const FrequencyModel& model, const uint8_t* data, size_t length,
                   std::vector<uint8_t>* out) {
  out->reserve(kStreamHeadSize + length + length / 8 + 8);
  for (int i = 0; i < 4; ++i)
    out->push_back(static_cast<uint8_t>(length >> (8 * i)));
  for (int s = 0; s < 256; ++s)
    out->push_back(static_cast<uint8_t>(model.freq[s]));

  // The decoder's registers, stepped the same way: every shift of the decoder reads one code
  // bit, and the encoder emits that bit here, or later for an underflow step, whose bit is
  // the opposite of the next one decided.
  BitWriter writer(out);
  uint32_t low = 0, high = kMask;
  uint64_t pending = 0, shifts = 0;
  const uint32_t total = model.total;
  for (size_t i = 0; i < length; ++i) {
    const uint32_t s = data[i];
    const uint32_t range = high - low + 1;
    high = (low + (model.cum[s] + model.freq[s]) * range / total - 1) & kMask;
    low = (low + model.cum[s] * range / total) & kMask;
    for (;;) {
      if (((low ^ high) & kHalf) == 0) {
        writer.PutWithPending(low >> 15, &pending);
      } else if ((low & kQuarter) != 0 && (high & kQuarter) == 0) {
        ++pending;
        low ^= kHalf | kQuarter;
        high |= kQuarter;
      } else {
        break;
      }
      low = (low << 1) & kMask;
      high = ((high << 1) | 1) & kMask;
      ++shifts;
    }
  }
  // Two more bits single out a value inside the final interval: a quarter when low is below
  // it, else a half (high is then at least three quarters). The value continues with zeros,
  // written out up to the last bit the decoder reads: 16 plus one per shift.
  ++pending;
  writer.PutWithPending((low & kQuarter) != 0 ? 1 : 0, &pending);
  while (writer.written() < 16 + shifts || (writer.written() & 7) != 0)
    writer.Put(0);
}

}  // namespace

bool ArithEncodeWithTable(const uint8_t* data, size_t length, const uint8_t frequencies[256],
                          std::vector<uint8_t>* out) {
  if (out == nullptr) return false;
  out->clear();
  if (frequencies == nullptr || (data == nullptr && length != 0)) return false;
  if (length > std::numeric_limits<uint32_t>::max()) return false;
  FrequencyModel model;
  model.Load(frequencies);
  if (model.total == 0 || model.total > kMaxFrequencyTotal) return false;
  for (size_t i = 0; i < length; ++i) {
    if (model.freq[data[i]] == 0) return false;
  }

  // The stream is built in a vector; running out of memory is a failure, not an exception.
  try {
    EncodeSymbols(model, data, length, out);
  } catch (const std::bad_alloc&) {
    out->clear();
    return false;
  }
  return true;
}

std::vector<uint8_t> ArithEncode(const uint8_t* data, size_t length) {
  std::vector<uint8_t> out;
  if (data == nullptr && length != 0) return out;
  uint8_t frequencies[256];
  ScaleFrequencies(data, length, frequencies);
  ArithEncodeWithTable(data, length, frequencies, &out);
  return out;
}

}  // namespace engine
