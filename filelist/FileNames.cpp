// See FileNames.h.
#include "filelist/FileNames.h"

#include <iterator>

#include "filelist/FileListFormats.h"
#include "framework/Strings.h"

namespace filelist {

std::wstring FolderOf(std::wstring_view path) {
  size_t slash = path.rfind(L'\\');
  return slash == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, slash + 1));
}

std::wstring NameOf(std::wstring_view path) {
  size_t slash = path.rfind(L'\\');
  return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

namespace {

bool IsDeviceName(std::wstring_view name) {
  std::wstring base = bv::UpperCase(bv::TrimSpaces(name.substr(0, name.find(L'.'))));
  for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL"})
    if (base == device) return true;
  return base.size() == 4 && (base.starts_with(L"COM") || base.starts_with(L"LPT")) && base[3] >= L'1' &&
         base[3] <= L'9';
}

}  // namespace

bool IsValidFileName(std::wstring_view name) {
  if (name.empty() || name == L"." || name == L"..") return false;
  for (wchar_t c : name)
    if (c < 32 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) return false;
  if (name.back() == L'.' || name.back() == L' ') return false;
  return !IsDeviceName(name);
}

RenamePlan PlanRename(std::wstring_view source, std::wstring_view typed, bool captionHidExtension,
                      const TextComparer& comparer) {
  RenamePlan plan;
  if (bv::Trim(typed).empty()) return plan;
  plan.name = std::wstring(typed);
  if (captionHidExtension) plan.name += ExtensionOf(NameOf(source));
  if (!IsValidFileName(plan.name)) {
    plan.outcome = RenameOutcome::kInvalidName;
    return plan;
  }
  plan.target = FolderOf(source) + plan.name;
  plan.outcome = comparer.CompareIgnoringCase(plan.target, source) == 0 ? RenameOutcome::kUnchanged
                                                                        : RenameOutcome::kRename;
  return plan;
}

std::wstring UniqueNewName(const std::wstring& base, const std::function<bool(const std::wstring&)>& exists) {
  if (!exists(base)) return base;
  for (int n = 2; n < 10000; ++n) {
    std::wstring candidate = base + L"(" + std::to_wstring(n) + L")";
    if (!exists(candidate)) return candidate;
  }
  return {};
}

namespace {

// Texts, documents, pictures, then the web pages; the contents of all but the web pages can go
// to the clipboard.
constexpr const wchar_t* kViewable[] = {
    L".C",   L".CPP", L".DPK", L".DPR",  L".H",   L".HPP", L".BPK", L".BPR", L".INF",
    L".INI", L".PAS", L".PRG", L".TXT",  L".DOC", L".RTF", L".WRI", L".BMP", L".GIF",
    L".JPG", L".TIFF", L".PNG", L".WMF", L".ICO", L".HTML", L".HTM"};
constexpr size_t kWebPages = 2;

// The position of the extension in kViewable, or its size when it is not there.
size_t ViewableIndex(std::wstring_view extension) {
  std::wstring upper = bv::UpperCase(extension);
  size_t i = 0;
  while (i < std::size(kViewable) && upper != kViewable[i]) ++i;
  return i;
}

}  // namespace

bool IsViewableExtension(std::wstring_view extension) { return ViewableIndex(extension) < std::size(kViewable); }

bool IsContentsExtension(std::wstring_view extension) {
  return ViewableIndex(extension) < std::size(kViewable) - kWebPages;
}

std::wstring UniqueLinkPath(const std::wstring& folder, const std::wstring& name,
                            const std::function<bool(const std::wstring&)>& exists) {
  std::wstring first = folder + name + L".lnk";
  if (!exists(first)) return first;
  for (int n = 2; n < 10000; ++n) {
    std::wstring candidate = folder + name + L" (" + std::to_wstring(n) + L").lnk";
    if (!exists(candidate)) return candidate;
  }
  return {};
}

bool IsSameOrInside(std::wstring_view folder, std::wstring_view target) {
  auto withSlash = [](std::wstring_view path) {
    std::wstring upper = bv::UpperCase(path);
    if (upper.empty() || upper.back() != L'\\') upper += L'\\';
    return upper;
  };
  if (folder.empty()) return false;
  std::wstring outer = withSlash(folder), inner = withSlash(target);
  return inner.compare(0, outer.size(), outer) == 0;
}

std::wstring QuotedArgument(std::wstring_view path) { return L"\"" + std::wstring(path) + L"\""; }

std::wstring PathLines(const std::vector<std::wstring>& paths) {
  std::wstring text;
  for (const auto& p : paths) {
    if (!text.empty()) text += L"\r\n";
    text += p;
  }
  return text;
}

bool HasOwnIconExtension(std::wstring_view extension) {
  static const wchar_t* const kOwn[] = {L".EXE", L".ICO", L".CUR", L".ANI", L".LNK", L".PIF", L".SCR", L".URL"};
  std::wstring upper = bv::UpperCase(extension);
  for (const wchar_t* e : kOwn)
    if (upper == e) return true;
  return false;
}

}  // namespace filelist
