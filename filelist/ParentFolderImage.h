// The parent-folder picture of the ".." entry: the bitmaps "Parent_L282" and "Parent_S282" are
// appended once to the shell's large and small system image lists, and the index is cached per
// user in the registry so that later runs (and other lists) reuse the images already appended.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace parent_folder_image {

constexpr const wchar_t* kRegistryKey = L"Software\\Orvandel\\OvFileExplorer";
constexpr const wchar_t* kRegistryValue = L"ParentImgIdx";

// Answers the index of the parent picture in `large` (and `small`), appending the pictures when
// the cached index is missing, out of range or shows another picture. The shell's lists of the
// other sizes get the picture too, so that all of them keep the shell's numbering.
int Resolve(HIMAGELIST large, HIMAGELIST small);

// Appends the bitmap resource `largeName` to `large` and `smallName` to `small`, and a copy drawn
// to size to each of the shell's other lists: the shell numbers an icon alike in all its lists,
// so a list left out would give every icon the shell adds later the picture of its neighbour.
// Answers the index in `large`, or -1.
int AppendToShellLists(HIMAGELIST large, HIMAGELIST small, const wchar_t* largeName, const wchar_t* smallName);

// Whether two image-list entries hold the same picture (same size, same pixels).
bool SameImage(HIMAGELIST a, int indexA, HIMAGELIST b, int indexB);

// The shell's system image lists of every size (borrowed: the shell keeps them for the process).
std::vector<HIMAGELIST> ShellImageLists();

}  // namespace parent_folder_image
