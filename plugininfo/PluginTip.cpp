// See PluginTip.h.
#include "plugininfo/PluginTip.h"

namespace plugininfo {

PluginMarker MarkerFor(const PluginDetails& details) {
  if (!details.valid) return PluginMarker::kInvalid;
  return details.loads64 ? PluginMarker::kNone : PluginMarker::kNot64Bit;
}

std::wstring PlatformText(const PluginDetails& details) {
  if (details.loads32 && details.loads64) return L"32-bit and 64-bit";
  if (details.loads64) return L"64-bit";
  if (details.loads32) return L"32-bit";
  return L"";
}

std::wstring PluginTipText(const PluginDetails& details, const std::function<std::wstring(std::string_view)>& systemText,
                           const std::wstring& sizeText) {
  std::wstring text;
  auto line = [&text](const wchar_t* label, const std::wstring& value) {
    if (value.empty()) return;
    if (!text.empty()) text += L"\r\n";
    text += label;
    text += value;
  };
  if (!details.valid) {
    text = L"Not a valid plug-in";
    if (!details.problem.empty()) text += L" (" + details.problem + L")";
    line(L"Size: ", sizeText);
    return text;
  }
  line(L"Name: ", systemText(details.name));
  line(L"Category: ", systemText(details.category));
  if (!details.hasPropertyList) line(L"Description: ", details.description);
  line(L"Platform: ", PlatformText(details));
  line(L"Version: ", details.fileVersion);
  line(L"Maker: ", details.company);
  line(L"Size: ", sizeText);
  return text;
}

}  // namespace plugininfo
