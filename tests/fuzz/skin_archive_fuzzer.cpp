// libFuzzer target: the packed skin archive reader and the picture decoders behind it.
#include "tests/fuzz/SkinFuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  skinfuzz::FuzzArchive(data, size);
  return 0;
}
