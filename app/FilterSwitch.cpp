// See FilterSwitch.h.
#include "app/FilterSwitch.h"

#include "framework/Strings.h"

namespace filter_switch {

std::wstring TargetPath(std::wstring_view source, std::wstring_view from, std::wstring_view to) {
  size_t slash = source.rfind(L'\\');
  size_t nameStart = slash == std::wstring_view::npos ? 0 : slash + 1;
  std::wstring_view name = source.substr(nameStart);
  if (name.size() <= from.size() || !bv::SameText(name.substr(name.size() - from.size()), from)) return {};
  return std::wstring(source.substr(0, source.size() - from.size())) + std::wstring(to);
}

std::wstring FailureText(std::wstring_view fileName, bool switchingOff, Failure failure, std::wstring_view target,
                         std::wstring_view platformText) {
  std::wstring text = std::wstring(L"Unable to switch ") + (switchingOff ? L"off" : L"on") + L" \"" +
                      std::wstring(fileName) + L"\": ";
  switch (failure) {
    case Failure::kNone: return {};
    case Failure::kNotAFilter:
      return text + L"only files ending in \".8bf\" or \".off\" are switched.";
    case Failure::kIsFolder: return text + L"it is a folder, not a filter.";
    case Failure::kGone: return text + L"the file is no longer there (moved, renamed or deleted, or its folder is gone).";
    case Failure::kTargetExists: return text + L"\"" + std::wstring(target) + L"\" already exists.";
    case Failure::kInUse:
      return text + L"it is in use by another program. Close the program that uses it, then try again.";
    case Failure::kAccessDenied: return text + L"access is denied.";
    case Failure::kInvalidName: return text + L"the name or its path is not valid here.";
    case Failure::kOther: break;
  }
  std::wstring reason = bv::Trim(platformText);
  return text + (reason.empty() ? std::wstring(L"the file system refused the rename.") : reason);
}

}  // namespace filter_switch
