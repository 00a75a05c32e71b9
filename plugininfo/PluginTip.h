// The text of a plug-in's tip and the marker its icon carries, from what the reader found.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "plugininfo/PluginFile.h"

namespace plugininfo {

enum class PluginMarker { kNone, kNot64Bit, kInvalid };

// kInvalid for a file that is not a valid plug-in, kNot64Bit for one a 64-bit editor cannot
// load, kNone otherwise.
PluginMarker MarkerFor(const PluginDetails& details);

// "64-bit", "32-bit" or "32-bit and 64-bit"; empty when it loads into neither.
std::wstring PlatformText(const PluginDetails& details);

// Lines of "Label: value" for the tip; `systemText` turns the property list's code-page bytes
// into wide text, `sizeText` is the file size as the list writes it.
std::wstring PluginTipText(const PluginDetails& details, const std::function<std::wstring(std::string_view)>& systemText,
                           const std::wstring& sizeText);

}  // namespace plugininfo
