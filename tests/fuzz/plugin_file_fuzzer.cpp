// libFuzzer target: the plug-in reader (executable headers, resource tree, property list and
// version information) over arbitrary bytes.
#include "tests/fuzz/PluginFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pluginfuzz::FuzzPluginFile(data, size);
  return 0;
}
