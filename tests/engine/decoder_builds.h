// Runs a check with each build of the decoder's loops this processor can run: the one it picks
// and, where that is the build for BMI2 and LZCNT, the build for any processor as well.
#pragma once

#include <gtest/gtest.h>

#include "engine/arith_internal.h"

namespace engine_test {

template <typename Check>
void ForEachDecoderBuild(Check check) {
  check();
#ifdef VERBARIUM_ARITH_BMI_LOOPS
  if (!engine::arith::HasBmiLoops()) return;
  engine::arith::AnyCpuLoopsOnly() = true;
  {
    SCOPED_TRACE("the build for any processor");
    check();
  }
  engine::arith::AnyCpuLoopsOnly() = false;
#endif
}

}  // namespace engine_test
