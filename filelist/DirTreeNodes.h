// The plain arithmetic of the directory trees: node captions and paths of drives and folders,
// which found items a tree lists as subfolders, walking a path element by element, the names a
// folder may take, and the folder-size walk with its text. No platform calls: the Windows side
// hands in display names, attributes and a folder enumerator.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "filelist/FileListModel.h"
#include "filelist/FileNames.h"

namespace dirtree {

// What the tree reports as the path of its root node.
inline constexpr const wchar_t* kRootPath = L"My Computer";

// A drive node's caption: " (X:)  " followed by the shell's display name of the drive up to its
// first "(" (the display name usually ends with the letter in brackets already).
std::wstring DriveCaption(wchar_t letter, std::wstring_view displayName);
// The drive letter of a drive caption (upper case), or 0 when the caption is not one.
wchar_t DriveLetterOfCaption(std::wstring_view caption);
// The root path of a drive caption ("C:\"), empty when the caption is not one.
std::wstring DrivePathOfCaption(std::wstring_view caption);
// A child's path: a drive's root path or a folder path, then the folder name. Folder paths have
// no trailing backslash.
std::wstring JoinNodePath(std::wstring_view parentPath, std::wstring_view name);

// The attribute mask of the folders a tree lists, from its FolderType: the bits of the members
// (ftReadOnly 0x1, ftHidden 0x2, ftSystem 0x4, ftVolumeID 0x10, ftDirectory 0x20, ftArchive
// 0x80) plus 0x10; ftNormal is not used.
uint32_t FolderFilterMask(TFileType folderType);
// Whether a found item is listed as a subfolder: a directory, not "." or "..", and each of its
// bits 0x1, 0x2, 0x4, 0x10, 0x20, 0x80 that is set is also set in `mask`.
bool IsListableSubfolder(std::wstring_view name, uint32_t attributes, uint32_t mask);

// The elements of a path, each without its backslash: "C:\a\b\" gives "C:", "a", "b". Empty
// elements (doubled backslashes) are dropped.
std::vector<std::wstring> PathElements(std::wstring_view path);
// The element a node stands for on a path: "C:" for a drive caption, the caption for a folder.
std::wstring NodeElement(std::wstring_view caption, int level);
// Whether a node's element and a path element name the same thing, ignoring letter case.
bool ElementMatches(std::wstring_view nodeElement, std::wstring_view pathElement);

// Whether a folder name typed by the user holds one of the characters the trees refuse:
// \ * ? / = " < > | : , ; + ^
bool HasForbiddenFolderChar(std::wstring_view name);

// Whether `target` is the folder `folder` or lies below it (copying or moving `folder` there
// would put it into itself). The file list's rule, shared.
using filelist::IsSameOrInside;

// The folder-size walk: every file below a folder, added up as 64-bit sizes. Reparse points
// (symbolic links, junctions, mount points) are neither followed nor counted, so a link back up
// the tree cannot loop and a mount is not counted twice; folders deeper than `maxDepth` below
// the start are not entered; `cancelled` is asked between folders and stops the walk.
struct FolderSizeOptions {
  int maxDepth = 64;
  std::function<bool()> cancelled;  // may be empty
};
struct FolderSize {
  double bytes = 0;
  uint64_t files = 0;
  bool cancelled = false;     // the walk was stopped: the sum is partial
  bool depthLimited = false;  // some folder was too deep to enter: the sum is partial
};
FolderSize WalkFolderSize(const std::wstring& folder, DirectoryEnumerator& enumerator,
                          const FolderSizeOptions& options);

// A number with two (or `decimals`) decimals and thousands grouped: 1234567.891 -> "1,234,567.89"
// (halves rounded away from zero).
std::wstring FormatGroupedNumber(double value, int decimals, std::wstring_view thousandSeparator,
                                 std::wstring_view decimalSeparator);
// The second figure of the tree-size box: the kilobytes ("%.2n KB"), or above 99999 kilobytes
// the megabytes ("%.2n MB"). A sum of 1 to 1023 bytes counts as one kilobyte.
std::wstring TreeSizeUnitsText(double bytes, std::wstring_view thousandSeparator, std::wstring_view decimalSeparator);

}  // namespace dirtree
