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

// Whether two image-list entries hold the same picture (same size, same pixels).
bool SameImage(HIMAGELIST a, int indexA, HIMAGELIST b, int indexB);

// The shell's system image lists of every size (borrowed: the shell keeps them for the process).
std::vector<HIMAGELIST> ShellImageLists();

}  // namespace parent_folder_image
