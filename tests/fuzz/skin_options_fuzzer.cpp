// libFuzzer target: the options loader (image item values, gradients, inheritance, colour
// shifts) against the pictures of the stored skin.
#include "tests/fuzz/SkinFuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  skinfuzz::FuzzOptions(data, size);
  return 0;
}
