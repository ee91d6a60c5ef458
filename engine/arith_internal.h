// The arithmetic decoder's parts shared by the one-chain decode (arith_coder.cpp) and the
// decode resumed at stored states (arith_resume.cpp): the bit readers, the per-target tables
// and one decoding chain. Not for use outside the coder.
#pragma once

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/arith_coder.h"

namespace engine::arith {

inline constexpr uint32_t kHalf = 0x8000;
inline constexpr uint32_t kQuarter = 0x4000;
inline constexpr uint32_t kMask = 0xFFFF;

// Code bits, most significant first, from a bounded byte range, for the decode of any total;
// bits past its end read as 0.
// The window holds the next `count_` bits left-aligned; the bits below them are either 0 or
// the stream's own next bits, so topping up with OR is exact.
class BitReader {
 public:
  BitReader() = default;
  BitReader(const uint8_t* begin, const uint8_t* end) : next_(begin), end_(end) { Refill(); }

  // Tops the window up to at least 56 bits: eight bytes at once while eight remain (written out
  // so that the compiler makes one load and a byte swap of them).
  void Refill() {
    if (end_ - next_ >= 8) {
      const uint64_t bytes = uint64_t{next_[0]} << 56 | uint64_t{next_[1]} << 48 |
                             uint64_t{next_[2]} << 40 | uint64_t{next_[3]} << 32 |
                             uint64_t{next_[4]} << 24 | uint64_t{next_[5]} << 16 |
                             uint64_t{next_[6]} << 8 | uint64_t{next_[7]};
      window_ |= bytes >> count_;
      next_ += (63 - count_) >> 3;
      count_ |= 56;
      return;
    }
    while (count_ <= 56) {
      uint64_t byte = 0;
      if (next_ < end_) {
        byte = *next_++;
      } else {
        ++past_;
      }
      window_ |= byte << (56 - count_);
      count_ += 8;
    }
  }
  int count() const { return count_; }

  // Bits taken since `begin`, the zeros past the end included.
  uint64_t Position(const uint8_t* begin) const {
    return (static_cast<uint64_t>(next_ - begin) + past_) * 8 - static_cast<uint64_t>(count_);
  }

  // The next 16 bits, left in the window; the caller keeps count() at 16 or more.
  uint32_t Peek16() const { return static_cast<uint32_t>(window_ >> 48); }

  // Takes the next `n` bits, 0 to 16; the caller keeps `n` within count().
  uint32_t Take(int n) {
    uint32_t bits = Peek16() >> (16 - n);
    window_ <<= n;
    count_ -= n;
    return bits;
  }

 private:
  const uint8_t* next_ = nullptr;
  const uint8_t* end_ = nullptr;
  uint64_t window_ = 0;
  int count_ = 0;
  uint64_t past_ = 0;  // bytes read as 0 past the end
};

// Per target value of a table whose total is at most kMaxFrequencyTotal: its symbol's
// cumulative bounds as two 16-bit halves and, apart, the symbol, so that a step reads each with
// a load of its own instead of unpacking one word. A target is its symbol's last when it is
// one below the upper bound.
struct TargetTable {
  static constexpr int kBoundShift = 44;
  struct Bounds {
    uint16_t below, above;
  };

  // Filled symbol by symbol in ascending order with eight-byte stores that may run past a
  // symbol's targets into those of the next (written after it) or the slack at the end. Every
  // symbol, frequency 0 too, gets its first eight targets' bounds and 32 targets' symbols
  // written without a test, so that a block's table costs few mispredicted branches: the table
  // of a 3,072-byte tag block took a fifteenth of its decode, most of it in branches on the
  // frequencies.
  explicit TargetTable(const FrequencyModel& model) : total(model.total) {
    for (uint32_t s = 0; s < 256; ++s) {
      const uint32_t at = model.cum[s], f = model.freq[s];
      const Bounds pair[2] = {{static_cast<uint16_t>(at), static_cast<uint16_t>(at + f)},
                              {static_cast<uint16_t>(at), static_cast<uint16_t>(at + f)}};
      const uint64_t bytes = s * 0x0101010101010101u;
      for (uint32_t i = 0; i < 8; i += 2)
        std::memcpy(bounds + at + i, pair, sizeof pair);
      for (uint32_t i = 0; i < 32; i += 8)
        std::memcpy(symbol + at + i, &bytes, sizeof bytes);
      for (uint32_t i = 8; i < f; i += 2)
        std::memcpy(bounds + at + i, pair, sizeof pair);
      for (uint32_t i = 32; i < f; i += 8)
        std::memcpy(symbol + at + i, &bytes, sizeof bytes);
    }
    scale = ((uint64_t{1} << kBoundShift) + total - 1) / total;
  }

  static constexpr uint32_t kSlack = 32;
  uint32_t total;
  uint64_t scale;  // ceil(2^44 / total): bounds by a multiply instead of a division
  Bounds bounds[kMaxFrequencyTotal + kSlack];
  uint8_t symbol[kMaxFrequencyTotal + kSlack];
};

// What a step reads of a TargetTable, held by value in the decoding loop: the output stores are
// bytes, which may alias the table, so total and scale read through the table itself would be
// loaded again after every output byte.
struct Lookup {
  explicit Lookup(const TargetTable& table)
      : bounds(table.bounds), symbol(table.symbol), total(table.total), scale(table.scale) {}
  const TargetTable::Bounds* bounds;
  const uint8_t* symbol;
  uint32_t total;
  uint64_t scale;
};

// The decoding loops are built twice on x86-64: for any processor, and for those with BMI2 and
// LZCNT, whose shifts by a count in any register spare the loop the moves into CL that a step's
// six variable shifts need otherwise. The processor picks the build at run time; both give the
// same output, and tests run both (AnyCpuLoopsOnly).
inline std::atomic<bool>& AnyCpuLoopsOnly() {
  static std::atomic<bool> only{false};
  return only;
}
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VERBARIUM_ARITH_BMI_LOOPS 1
#define VERBARIUM_ARITH_BMI_TARGET __attribute__((target("bmi,bmi2,lzcnt")))
inline bool HasBmiLoops() {
  static const bool has = __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("lzcnt");
  return has && !AnyCpuLoopsOnly().load(std::memory_order_relaxed);
}
#endif

// The code bits after a stream's head, read by bit position: a chain keeps only its position,
// so that several chains share one base and the loop keeps their registers for the arithmetic.
// Bits past the end read as 0.
struct CodeBits {
  const uint8_t* begin;
  size_t size;  // bytes

  // The 64 bits from bit `pos` on, most significant first, of which the first 57 are exact: one
  // eight-byte load and a byte swap. The caller keeps pos / 8 + 8 within the bytes.
  uint64_t Load(uint64_t pos) const {
    const uint8_t* p = begin + (pos >> 3);
    const uint64_t bytes = uint64_t{p[0]} << 56 | uint64_t{p[1]} << 48 | uint64_t{p[2]} << 40 |
                           uint64_t{p[3]} << 32 | uint64_t{p[4]} << 24 | uint64_t{p[5]} << 16 |
                           uint64_t{p[6]} << 8 | uint64_t{p[7]};
    return bytes << (pos & 7);
  }

  // Load for any position, the bytes past the end read as 0.
  uint64_t LoadChecked(uint64_t pos) const {
    const uint64_t byte = pos >> 3;
    uint64_t bytes = 0;
    for (uint64_t i = byte; i < byte + 8; ++i)
      bytes = bytes << 8 | (i < size ? begin[i] : 0u);
    return bytes << (pos & 7);
  }

  // How many steps a chain at bit `pos` can take with Load: a step moves at most 16 bits (two
  // bytes) and its load reads eight bytes from pos / 8.
  uint64_t SafeSteps(uint64_t pos) const {
    const uint64_t byte = pos >> 3;
    return byte + 8 <= size ? (size - 8 - byte) / 2 + 1 : 0;
  }
};

// The state a decoder resumes from: the code bits read after the stream's head and the three
// 16-bit registers once the shifts after a symbol are done (low below 0x8000, high at least
// 0x8000 and not both in the middle half, code between them), as the stepwise definition has
// them before the next symbol.
struct State {
  uint64_t bit = 0;
  uint32_t low = 0, high = kMask, code = 0;

  bool operator==(const State&) const = default;
  bool Normal() const {
    return low < kHalf && high >= kHalf && high <= kMask &&
           !(low >= kQuarter && high < 3 * kQuarter) && code >= low && code <= high;
  }
};

// One decoding chain, for totals up to kMaxFrequencyTotal. Every range is then above the total
// (a normalised range exceeds 0x4000), so every symbol of non-zero frequency keeps a non-empty
// interval and code never leaves [low, high]; the chain follows code as d = code - low and the
// width of the interval instead of the three registers. One symbol's work is a division, a table
// load and a multiply, each waiting for the one before: Step keeps everything else off that
// chain, and several chains over different parts of the output fill each other's waits. The
// chain is four integers (its bit position, not a reader of its own), so that four chains and
// the loop's shared values nearly fit the registers.
//
// Target estimate. After a symbol the interval is r1 wide with code d1 above its low end,
// before normalisation shifts n bits (0 to 16) into both: range = r1 << n, d = d1 << n | the
// next n code bits. The next target is t = ((d + 1) * total - 1) / range. Taking the next 16
// code bits instead of n gives tp = (d1 * total + bits16 * total / 2^16) / r1, which needs
// neither n nor range. Since d / 2^n <= d1 + bits16 / 2^16 < (d + 1) / 2^n, tp lies between
// d * total / range and t, which differ by less than 1 as total < range: tp is t or t - 1. Only
// at the last target of a symbol can they name different symbols; one multiply decides there.
// The output depends only on the n bits taken, never on the bits peeked beyond them.
//
// Bounds. below * range / total is (below * range * G) >> 44 with G = ceil(2^44 / total):
// G's rounding adds less than below * range / 2^44 <= total / 2^28 < 1 / total, less than the
// gap between any fraction of denominator total and the next integer.
//
// Normalisation. Each shift doubles the width; it goes on while the width is at most 0x4000,
// then once more only if the interval lies within a half or the middle half. With na the
// shifts that bring the width into (0x4000, 0x8000] (0 if it is wider) and y the low end modulo
// 0x8000 after them, that last shift happens when y + width <= 0x8000, or, from y >= 0x4000,
// when y + width <= 0xC000: in one test, when (y modulo 0x4000) + width <= 0x8000. The low end
// after all n shifts is (low << n) modulo 0x8000. A normal state taken as (r1, d1, low1) gets
// n = 0.
struct Chain {
  uint64_t pos;           // code bits taken, those of the pending shifts not yet
  uint32_t r1, d1, low1;  // width, code offset and low end after a symbol, before its shifts

  // The chain at `state`.
  static Chain Start(const State& state) {
    return {state.bit, state.high - state.low + 1, state.code - state.low, state.low};
  }

  // Shifts after the last symbol: how many.
  int Shifts() const {
    const int wide = std::countl_zero(((r1 - 1) << 16) | kHalf);  // shifts to exceed 0x8000
    const int na = wide - (wide != 0);
    const uint32_t within = ((low1 << na) & (kQuarter - 1)) + (r1 << na);
    return na + (within <= kHalf ? 1 : 0);
  }

  // The state before the next symbol, as State has it; the chain itself stays where it is.
  State Snapshot(const CodeBits& code) const {
    const int n = Shifts();
    const uint32_t bits16 = static_cast<uint32_t>(code.LoadChecked(pos) >> 48);
    State state;
    state.bit = pos + static_cast<uint64_t>(n);
    state.low = (low1 << n) & (kHalf - 1);
    state.high = state.low + (r1 << n) - 1;
    state.code = state.low + ((d1 << n) | (bits16 >> (16 - n)));
    return state;
  }

  // One symbol; kChecked for a chain whose load may reach past the end (SafeSteps is 0).
  template <bool kChecked = false>
  [[gnu::always_inline]] inline uint8_t Step(const Lookup& table, const CodeBits& code) {
    const uint32_t total = table.total;
    const uint64_t window = kChecked ? code.LoadChecked(pos) : code.Load(pos);
    const uint32_t bits16 = static_cast<uint32_t>(window >> 48);
    const uint32_t tp = (d1 * total + ((bits16 * total) >> 16)) / r1;

    const int n = Shifts();
    pos += static_cast<uint64_t>(n);
    const uint32_t range = r1 << n;
    const uint32_t d = (d1 << n) | (bits16 >> (16 - n));
    const uint32_t low = (low1 << n) & (kHalf - 1);

    uint32_t t = tp, below = table.bounds[tp].below, above = table.bounds[tp].above;
    if (above == tp + 1 && (tp + 1) * range <= (d + 1) * total - 1) [[unlikely]] {
      t = tp + 1;
      below = table.bounds[t].below;
      above = table.bounds[t].above;
    }
    const uint64_t range_scaled = range * table.scale;
    const uint32_t lb = static_cast<uint32_t>((below * range_scaled) >> TargetTable::kBoundShift);
    const uint32_t hb = static_cast<uint32_t>((above * range_scaled) >> TargetTable::kBoundShift);
    r1 = hb - lb;
    d1 = d - lb;
    low1 = low + lb;
    return table.symbol[t];
  }
};

}  // namespace engine::arith
