// The body of the plug-in reader's fuzz target, shared with the test that replays its corpus.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/Strings.h"
#include "plugininfo/PluginFile.h"
#include "plugininfo/PluginTip.h"

namespace pluginfuzz {

inline void FuzzPluginFile(const uint8_t* data, size_t size) {
  plugininfo::MemorySource source(data, size);
  plugininfo::PluginDetails details = plugininfo::ReadPluginDetails(source);
  plugininfo::PluginTipText(details, [](std::string_view text) { return bv::AnsiToWide(text); }, L"1 KB");
  plugininfo::MarkerFor(details);
}

}  // namespace pluginfuzz
