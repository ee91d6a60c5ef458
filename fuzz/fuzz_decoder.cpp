// Arbitrary bytes as a compressed stream, decoded into an exactly sized buffer so that any
// write past the capacity or read past the input is caught, and compared with the step-by-step
// reference decoder, and decoded again with resume points: those of the input's own trailer
// (arbitrary) and those the writer takes from the stream; then the same bytes as data, encoded
// and decoded back.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "engine/arith_coder.h"
#include "engine/arith_resume.h"
#include "tests/engine/reference_decoder.h"

namespace {

constexpr size_t kCapacity = 4096;

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A private copy of exactly `size` bytes: the decoder may not look beyond it.
  std::unique_ptr<uint8_t[]> in(new uint8_t[size == 0 ? 1 : size]);
  if (size != 0) std::memcpy(in.get(), data, size);

  std::unique_ptr<uint8_t[]> out(new uint8_t[kCapacity]);
  size_t length = 0;
  if (engine::ArithDecode(in.get(), size, out.get(), kCapacity, &length)) {
    Check(size >= engine::kStreamHeadSize && length <= kCapacity);
    // A value of frequency 0 is never decoded.
    for (size_t i = 0; i < length; ++i)
      Check(in[4 + out[i]] != 0);
    Check(engine_test::ReferenceDecode(in.get(), size) ==
          std::vector<uint8_t>(out.get(), out.get() + length));

    engine::ResumePoint stored[engine::kMaxResumePoints];
    const size_t stored_count = engine::ReadResumeTrailer(in.get(), size, stored);
    std::vector<engine::ResumePoint> taken;
    engine::ArithResumePoints(
        in.get(), size, {static_cast<uint32_t>(length / 3), static_cast<uint32_t>(length)}, &taken);
    const std::pair<const engine::ResumePoint*, size_t> sets[] = {{stored, stored_count},
                                                                  {taken.data(), taken.size()}};
    for (const auto& [points, count] : sets) {
      std::unique_ptr<uint8_t[]> again(new uint8_t[length == 0 ? 1 : length]);
      size_t again_length = 0;
      Check(engine::ArithDecodeResumed(in.get(), size, points, count, again.get(), length,
                                       &again_length));
      Check(again_length == length && std::memcmp(again.get(), out.get(), length) == 0);
    }
  }

  std::vector<uint8_t> stream = engine::ArithEncode(in.get(), size);
  std::vector<uint8_t> back(size);
  Check(engine::ArithDecode(stream.data(), stream.size(), back.data(), size, &length));
  Check(length == size && (size == 0 || std::memcmp(back.data(), data, size) == 0));
  return 0;
}
