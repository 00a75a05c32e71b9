// See ParentFolderImage.h.
#include "filelist/ParentFolderImage.h"

#include <shellapi.h>

#include <vector>

#include "framework/Graphics.h"
#include "framework/Handles.h"

namespace parent_folder_image {

namespace {

UniqueBitmap LoadResourceBitmap(const wchar_t* name) {
  return UniqueBitmap(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

int Append(HIMAGELIST list, const wchar_t* resource) {
  UniqueBitmap bitmap = LoadResourceBitmap(resource);
  if (!bitmap || !list) return -1;
  // Magenta marks the transparent pixels of the pictures.
  return ImageList_AddMasked(list, bitmap.get(), RGB(255, 0, 255));
}

int IconWidth(HIMAGELIST list) {
  int width = 0, height = 0;
  ImageList_GetIconSize(list, &width, &height);
  return width;
}

// The entry's colour and mask pixels, drawn into 32-bit bitmaps.
std::vector<uint32_t> Pixels(HIMAGELIST list, int index, int& width, int& height) {
  std::vector<uint32_t> pixels;
  if (!ImageList_GetIconSize(list, &width, &height) || width <= 0 || height <= 0) return pixels;
  uint32_t* bits = nullptr;
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  UniqueBitmap bitmap = CreateTopDown32Section(width, height, &bits);
  if (!bitmap) return pixels;
  size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  SelectedObject selected(dc.get(), bitmap.get());
  for (UINT style : {ILD_NORMAL, ILD_MASK}) {
    RECT r{0, 0, width, height};
    FillRect(dc.get(), &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ImageList_Draw(list, index, dc.get(), 0, 0, style);
    GdiFlush();
    const uint32_t* p = static_cast<const uint32_t*>(bits);
    pixels.insert(pixels.end(), p, p + count);
  }
  return pixels;
}

}  // namespace

int AppendToShellLists(HIMAGELIST large, HIMAGELIST small, const wchar_t* largeName, const wchar_t* smallName) {
  int index = Append(large, largeName);
  int smallIndex = Append(small, smallName);
  if (index < 0) return index;
  for (HIMAGELIST other : ShellImageLists()) {
    if (other == large || other == small) continue;
    bool fromSmall = smallIndex >= 0 && IconWidth(other) <= IconWidth(small);
    UniqueIcon icon(ImageList_GetIcon(fromSmall ? small : large, fromSmall ? smallIndex : index, ILD_NORMAL));
    if (icon) ImageList_AddIcon(other, icon.get());
  }
  return index;
}

std::vector<HIMAGELIST> ShellImageLists() {
  // IID_IImageList; the handle of an image list and its interface pointer are the same.
  static const GUID kImageListInterface{0x46EB5926, 0x582E, 0x4017, {0x9F, 0xDF, 0xE8, 0x99, 0x8D, 0xAA, 0x09, 0x50}};
  std::vector<HIMAGELIST> lists;
  for (int kind = 0; kind <= SHIL_LAST; ++kind) {
    void* list = nullptr;
    if (FAILED(SHGetImageList(kind, kImageListInterface, &list)) || !list) continue;
    auto handle = static_cast<HIMAGELIST>(list);
    bool known = false;
    for (HIMAGELIST l : lists) known = known || l == handle;
    if (!known) lists.push_back(handle);
    // The shell keeps the lists for the process; the reference it handed out is not kept here.
    static_cast<IUnknown*>(list)->Release();
  }
  return lists;
}

bool SameImage(HIMAGELIST a, int indexA, HIMAGELIST b, int indexB) {
  int wa = 0, ha = 0, wb = 0, hb = 0;
  std::vector<uint32_t> pa = Pixels(a, indexA, wa, ha);
  std::vector<uint32_t> pb = Pixels(b, indexB, wb, hb);
  return !pa.empty() && wa == wb && ha == hb && pa == pb;
}

int Resolve(HIMAGELIST large, HIMAGELIST small) {
  if (!large) return 0;
  HKEY raw = nullptr;
  UniqueRegKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kRegistryKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &raw, nullptr) ==
      ERROR_SUCCESS)
    key.reset(raw);

  if (key) {
    DWORD stored = 0, size = sizeof(stored), type = 0;
    if (RegQueryValueExW(key.get(), kRegistryValue, nullptr, &type, reinterpret_cast<BYTE*>(&stored), &size) ==
            ERROR_SUCCESS &&
        type == REG_DWORD) {
      int index = static_cast<int>(stored);
      if (index >= 0 && index < ImageList_GetImageCount(large)) {
        // A fresh copy of the picture, compared with what the stored index shows, then removed.
        int fresh = Append(large, L"Parent_L282");
        bool same = fresh >= 0 && SameImage(large, fresh, large, index);
        if (fresh >= 0) ImageList_Remove(large, fresh);
        if (same) return index;
      }
    }
  }
  int index = AppendToShellLists(large, small, L"Parent_L282", L"Parent_S282");
  if (key && index >= 0) {
    DWORD value = static_cast<DWORD>(index);
    RegSetValueExW(key.get(), kRegistryValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
  }
  return index < 0 ? 0 : index;
}

}  // namespace parent_folder_image
