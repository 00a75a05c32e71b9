// See PluginDetailsPresenter.h.
#include "app/PluginDetailsPresenter.h"

#include "filelist/FileListFormats.h"
#include "filelist/ParentFolderImage.h"

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
    overlay = presenter->MarkerImage(list, index);
  };
}

const plugininfo::PluginDetails* PluginDetailsPresenter::Details(TOvFilelistView28* list, int index) {
  const TFileInfo* entry = list->Model().Entry(index);
  if (!entry || entry->EntryKind != L"file") return nullptr;
  return &cache_.Get(entry->EntryPath(), entry->EntrySize, entry->EntryTimeKey);
}

std::wstring PluginDetailsPresenter::TipText(TOvFilelistView28* list, int index) {
  const plugininfo::PluginDetails* details = Details(list, index);
  if (!details) return L"";
  return plugininfo::PluginTipText(*details, &SystemCodePageText,
                                   filelist::KilobyteText(list->Model().Entry(index)->EntrySize));
}

namespace {
int not64BitImage = -1;
int invalidImage = -1;
}  // namespace

int PluginDetailsPresenter::ImageOf(plugininfo::PluginMarker marker) {
  switch (marker) {
    case plugininfo::PluginMarker::kNone: return -1;
    case plugininfo::PluginMarker::kNot64Bit: return not64BitImage;
    case plugininfo::PluginMarker::kInvalid: return invalidImage;
  }
  return -1;
}

int PluginDetailsPresenter::MarkerImage(TOvFilelistView28* list, int index) {
  const plugininfo::PluginDetails* details = Details(list, index);
  if (!details) return -1;
  plugininfo::PluginMarker marker = plugininfo::MarkerFor(*details);
  if (marker == plugininfo::PluginMarker::kNone) return -1;
  AddMarkerPictures(list);
  return ImageOf(marker);
}

void PluginDetailsPresenter::AddMarkerPictures(TOvFilelistView28* list) {
  if (!list->HandleAllocated()) return;
  // Both sizes: a list view holds only the image list of the style it shows. (Asking the list
  // for them also waits for the thread that may be adding the pictures.)
  AddMarkerPictures(list->ShellImages(true), list->ShellImages(false));
}

void PluginDetailsPresenter::AddMarkerPictures(HIMAGELIST large, HIMAGELIST small) {
  // The lists share the shell's image lists, which live as long as the process.
  static HIMAGELIST addedTo = nullptr;
  if (!large || large == addedTo) return;
  addedTo = large;
  not64BitImage = parent_folder_image::AppendToShellLists(large, small, L"Mark_Not64_L", L"Mark_Not64_S");
  invalidImage = parent_folder_image::AppendToShellLists(large, small, L"Mark_Invalid_L", L"Mark_Invalid_S");
}
