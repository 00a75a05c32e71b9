// See DirTreeNodes.h.
#include "filelist/DirTreeNodes.h"

#include <cmath>
#include <cstdio>

#include "framework/Strings.h"

namespace dirtree {

std::wstring DriveCaption(wchar_t letter, std::wstring_view displayName) {
  std::wstring_view name = displayName.substr(0, displayName.find(L'('));
  std::wstring caption = L" (";
  caption += letter;
  caption += L":)  ";
  caption += name;
  return caption;
}

wchar_t DriveLetterOfCaption(std::wstring_view caption) {
  if (caption.size() < 5 || caption.substr(0, 2) != L" (" || caption[3] != L':' || caption[4] != L')') return 0;
  wchar_t letter = caption[2];
  if (letter >= L'a' && letter <= L'z') letter = static_cast<wchar_t>(letter - L'a' + L'A');
  return letter >= L'A' && letter <= L'Z' ? letter : 0;
}

std::wstring DrivePathOfCaption(std::wstring_view caption) {
  wchar_t letter = DriveLetterOfCaption(caption);
  if (!letter) return {};
  return std::wstring{letter, L':', L'\\'};
}

std::wstring JoinNodePath(std::wstring_view parentPath, std::wstring_view name) {
  std::wstring path(parentPath);
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  path += name;
  return path;
}

uint32_t FolderFilterMask(TFileType folderType) {
  folderType.Exclude(TFileAttr::ftNormal);
  return filelist::AttributeMask(folderType) | 0x10u;
}

bool IsListableSubfolder(std::wstring_view name, uint32_t attributes, uint32_t mask) {
  if (!(attributes & 0x10u) || name == L"." || name == L"..") return false;
  constexpr uint32_t kChecked = 0x1u | 0x2u | 0x4u | 0x10u | 0x20u | 0x80u;
  return (attributes & kChecked & ~mask) == 0;
}

std::vector<std::wstring> PathElements(std::wstring_view path) {
  std::vector<std::wstring> elements;
  for (const std::wstring& piece : bv::Split(path, L'\\'))
    if (!piece.empty()) elements.push_back(piece);
  return elements;
}

std::wstring NodeElement(std::wstring_view caption, int level) {
  if (level == 1) {
    wchar_t letter = DriveLetterOfCaption(caption);
    return letter ? std::wstring{letter, L':'} : std::wstring{};
  }
  return std::wstring(caption);
}

bool ElementMatches(std::wstring_view nodeElement, std::wstring_view pathElement) {
  return !nodeElement.empty() && bv::SameText(nodeElement, pathElement);
}

bool HasForbiddenFolderChar(std::wstring_view name) {
  return name.find_first_of(L"\\*?/=\"<>|:,;+^") != std::wstring_view::npos;
}

namespace {

constexpr uint32_t kDirectory = 0x10;
constexpr uint32_t kReparsePoint = 0x400;

void Walk(const std::wstring& folder, int depth, DirectoryEnumerator& enumerator, const FolderSizeOptions& options,
          FolderSize& total) {
  if (total.cancelled) return;
  if (options.cancelled && options.cancelled()) {
    total.cancelled = true;
    return;
  }
  std::vector<std::wstring> subfolders;
  enumerator.Enumerate(JoinNodePath(folder, L"*.*"), [&](const FoundItem& item) {
    if (item.name == L"." || item.name == L"..") return;
    if (item.attributes & kReparsePoint) return;
    if (item.attributes & kDirectory) {
      subfolders.push_back(JoinNodePath(folder, item.name));
      return;
    }
    total.bytes += static_cast<double>(item.size);
    ++total.files;
  });
  for (const std::wstring& sub : subfolders) {
    if (depth >= options.maxDepth) {
      total.depthLimited = true;
      return;
    }
    Walk(sub, depth + 1, enumerator, options, total);
    if (total.cancelled) return;
  }
}

}  // namespace

FolderSize WalkFolderSize(const std::wstring& folder, DirectoryEnumerator& enumerator,
                          const FolderSizeOptions& options) {
  FolderSize total;
  Walk(folder, 0, enumerator, options, total);
  return total;
}

std::wstring FormatGroupedNumber(double value, int decimals, std::wstring_view thousandSeparator,
                                 std::wstring_view decimalSeparator) {
  bool negative = value < 0;
  double scale = std::pow(10.0, decimals);
  double scaled = std::round(std::fabs(value) * scale);  // halves away from zero
  char buffer[64];
  std::snprintf(buffer, sizeof(buffer), "%.0f", scaled);
  std::string digits = buffer;
  if (static_cast<int>(digits.size()) <= decimals) digits.insert(0, static_cast<size_t>(decimals) + 1 - digits.size(), '0');
  std::string whole = digits.substr(0, digits.size() - static_cast<size_t>(decimals));
  std::string fraction = digits.substr(digits.size() - static_cast<size_t>(decimals));
  std::wstring text;
  if (negative && scaled != 0) text += L'-';
  for (size_t i = 0; i < whole.size(); ++i) {
    if (i > 0 && (whole.size() - i) % 3 == 0) text += thousandSeparator;
    text += static_cast<wchar_t>(whole[i]);
  }
  if (decimals > 0) {
    text += decimalSeparator;
    for (char c : fraction) text += static_cast<wchar_t>(c);
  }
  return text;
}

std::wstring TreeSizeUnitsText(double bytes, std::wstring_view thousandSeparator, std::wstring_view decimalSeparator) {
  double kilobytes = bytes / 1024.0;
  if (bytes >= 1 && bytes <= 1023) kilobytes = 1;
  if (kilobytes > 99999) return FormatGroupedNumber(kilobytes / 1024.0, 2, thousandSeparator, decimalSeparator) + L" MB";
  return FormatGroupedNumber(kilobytes, 2, thousandSeparator, decimalSeparator) + L" KB";
}

}  // namespace dirtree
