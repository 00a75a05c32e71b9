// The parent-folder picture of the ".." entry: the bitmaps "Parent_L282" and "Parent_S282" are
// appended once to the shell's large and small system image lists, and the index is cached per
// user in the registry so that later runs (and other lists) reuse the images already appended.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace parent_folder_image {

constexpr const wchar_t* kRegistryKey = L"Software\\Orvandel\\OvFileExplorer";
constexpr const wchar_t* kRegistryValue = L"ParentImgIdx";

// Answers the index of the parent picture in `large` (and `small`), appending the pictures when
// the cached index is missing, out of range or shows another picture.
int Resolve(HIMAGELIST large, HIMAGELIST small);

// Whether two image-list entries hold the same picture (same size, same pixels).
bool SameImage(HIMAGELIST a, int indexA, HIMAGELIST b, int indexB);

}  // namespace parent_folder_image
