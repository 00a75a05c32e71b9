// See PluginDetailsPresenter.h.
#include "app/PluginDetailsPresenter.h"

#include "filelist/FileListFormats.h"
#include "filelist/ParentFolderImage.h"
#include "plugininfo/PluginTip.h"

namespace {

// Texts of the property list are in the system's code page.
std::wstring SystemCodePageText(std::string_view text) {
  if (text.empty()) return L"";
  int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

}  // namespace

void PluginDetailsPresenter::Attach(const std::shared_ptr<PluginDetailsPresenter>& presenter, TOvFilelistView28* list) {
  list->OnInfoTip = [presenter, list](TObject*, int index, std::wstring& text) { text = presenter->TipText(list, index); };
  list->OnOverlayIndex = [presenter, list](TObject*, int index, int& overlay) {
    overlay = presenter->OverlayNumber(list, index);
  };
}

const plugininfo::PluginDetails* PluginDetailsPresenter::Details(TOvFilelistView28* list, int index) {
  const TFileInfo* entry = list->Model().Entry(index);
  if (!entry || entry->EntryKind != L"file") return nullptr;
  return &cache_.Get(entry->EntryPath, entry->EntrySize, entry->EntryTimeKey);
}

std::wstring PluginDetailsPresenter::TipText(TOvFilelistView28* list, int index) {
  const plugininfo::PluginDetails* details = Details(list, index);
  if (!details) return L"";
  return plugininfo::PluginTipText(*details, &SystemCodePageText,
                                   filelist::KilobyteText(list->Model().Entry(index)->EntrySize));
}

int PluginDetailsPresenter::OverlayNumber(TOvFilelistView28* list, int index) {
  const plugininfo::PluginDetails* details = Details(list, index);
  if (!details) return 0;
  switch (plugininfo::MarkerFor(*details)) {
    case plugininfo::PluginMarker::kNone: return 0;
    case plugininfo::PluginMarker::kNot64Bit: RegisterOverlays(list); return kOverlayNot64Bit;
    case plugininfo::PluginMarker::kInvalid: RegisterOverlays(list); return kOverlayInvalid;
  }
  return 0;
}

void PluginDetailsPresenter::RegisterOverlays(TOvFilelistView28* list) {
  // The lists share the shell's image lists, which live as long as the process.
  static HIMAGELIST registeredFor = nullptr;
  if (!list->HandleAllocated()) return;
  HIMAGELIST large = ListView_GetImageList(list->Handle(), LVSIL_NORMAL);
  HIMAGELIST small = ListView_GetImageList(list->Handle(), LVSIL_SMALL);
  if (!large || large == registeredFor) return;
  registeredFor = large;
  struct Marker {
    const wchar_t* largeName;
    const wchar_t* smallName;
    int overlay;
  } markers[] = {{L"Mark_Not64_L", L"Mark_Not64_S", kOverlayNot64Bit}, {L"Mark_Invalid_L", L"Mark_Invalid_S", kOverlayInvalid}};
  for (const Marker& m : markers) {
    int index = parent_folder_image::AppendToShellLists(large, small, m.largeName, m.smallName);
    if (index < 0) continue;
    for (HIMAGELIST each : parent_folder_image::ShellImageLists()) ImageList_SetOverlayImage(each, index, m.overlay);
    if (small) ImageList_SetOverlayImage(small, index, m.overlay);
    ImageList_SetOverlayImage(large, index, m.overlay);
  }
}
