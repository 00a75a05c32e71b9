// See PopUpMenuLayout.h.
#include "filelist/PopUpMenuLayout.h"

#include <algorithm>

#include "filelist/FileNames.h"

namespace filelist {

namespace {

using T = FileListTexts;

enum Tag {
  kTagOpen = 1,
  kTagView,
  kTagSendTo,
  kTagCut,
  kTagCopy,
  kTagPaste,
  kTagRename,
  kTagDelete,
  kTagProperties,
  kTagNewFolder,
  kTagAnyFolder = 30,
  kTagClipContents,
  kTagClipNames,
  kTagDesktop,
};

}  // namespace

const std::vector<MenuItemSpec>& TopLevelMenuItems() {
  static const std::vector<MenuItemSpec> items{
      {kTagOpen, L"ItemOpen", &T::MnuOpen, L"Open28"},
      {kTagView, L"ItemView", &T::MnuView, L"View28"},
      {},
      {kTagSendTo, L"SubMenuSend", &T::MnuSendTo, L"SendTo28", true},
      {},
      {kTagCut, L"ItemOpCut", &T::MnuCut, L"Cut28"},
      {kTagCopy, L"ItemOpCopy", &T::MnuCopy, L"Copy28"},
      {kTagPaste, L"ItemOpPaste", &T::MnuPaste, L"Paste28"},
      {},
      {kTagRename, L"ItemRename", &T::MnuRename, L"ReName28"},
      {kTagDelete, L"ItemDelete", &T::MnuDelete, L"Delete28"},
      {},
      {kTagProperties, L"ItemProperty", &T::MnuProperties, L"Attributes28"},
      {},
      {kTagNewFolder, L"ItemFolder", &T::MnuNewFolder, L"NewFolder28"},
  };
  return items;
}

const std::vector<MenuItemSpec>& SendToFixedItems() {
  static const std::vector<MenuItemSpec> items{
      {kTagAnyFolder, L"Send_To0", &T::MnuAnyFolder, L"AnyFolder28"},
      {kTagClipContents, L"Send_To1", &T::MnuClipContents, L"ClipBoard28"},
      {kTagClipNames, L"Send_To2", &T::MnuClipNames, L"ClipBoard28"},
      {kTagDesktop, L"Send_To3", &T::MnuDesktopLink, L"DeskTop28"},
  };
  return items;
}

MenuChoice ChoiceOfTag(int tag) {
  switch (tag) {
    case kTagOpen: return {MenuCommand::kOpen};
    case kTagView: return {MenuCommand::kView};
    case kTagCut: return {MenuCommand::kMarkForMove};
    case kTagCopy: return {MenuCommand::kMarkForCopy};
    case kTagPaste: return {MenuCommand::kPaste};
    case kTagRename: return {MenuCommand::kRename};
    case kTagDelete: return {MenuCommand::kRecycle};
    case kTagProperties: return {MenuCommand::kProperties};
    case kTagNewFolder: return {MenuCommand::kNewFolder};
    case kTagAnyFolder: return {MenuCommand::kSendToAnyFolder};
    case kTagClipContents: return {MenuCommand::kCopyContents};
    case kTagClipNames: return {MenuCommand::kCopyNames};
    case kTagDesktop: return {MenuCommand::kDesktopShortcut};
    default: break;
  }
  if (tag >= kFirstShortcutTag) return {MenuCommand::kSendToShortcut, static_cast<size_t>(tag - kFirstShortcutTag)};
  return {};
}

bool MenuItemEnabled(int tag, const MenuState& state) {
  bool selected = state.selectedCount > 0;
  bool single = state.selectedCount == 1;
  switch (tag) {
    case kTagOpen:
    case kTagSendTo:
    case kTagCut:
    case kTagCopy:
    case kTagDelete:
    case kTagProperties:
    case kTagAnyFolder:
    case kTagClipNames:
    case kTagDesktop:
      return selected;
    case kTagView: return selected && IsViewableExtension(state.selectedExtension);
    case kTagPaste: return state.filesToPaste;
    case kTagRename: return single;
    case kTagNewFolder: return !state.driveView;
    case kTagClipContents: return single && IsContentsExtension(state.selectedExtension);
    default: return tag < kFirstShortcutTag || selected;
  }
}

std::wstring PropertiesErrorText(unsigned long code) {
  switch (code) {
    case 2: return L"The specified file was not found.";
    case 3: return L"The specified path was not found.";
    case 5: return L"Access denied";
    case 8: return L"Not enough memory for this operation";
    case 32: return L"Sharing violation";
    case 1155: return L"There is no application associated with the given filename extension.";
    case 1156: return L"The DDE transaction failed.";
    case 1157: return L"DLL not found";
    case 1223:
      return L"The function prompted the user for the location of the application, but the user cancelled the "
             L"request.";
    default: return {};
  }
}

}  // namespace filelist

namespace filelist {

void KeyedToPremultiplied(uint32_t* pixels, size_t count, uint32_t key) {
  for (size_t i = 0; i < count; ++i)
    pixels[i] = (pixels[i] & 0xFFFFFFu) == (key & 0xFFFFFFu) ? 0u : (pixels[i] | 0xFF000000u);
}

void AlphaFromTwoBackgrounds(const uint32_t* onBlack, const uint32_t* onWhite, uint32_t* out, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    // Over black a channel is c * a; over white c * a + (1 - a): the green channels tell a.
    int black = static_cast<int>((onBlack[i] >> 8) & 0xFF);
    int white = static_cast<int>((onWhite[i] >> 8) & 0xFF);
    int alpha = 255 - (white - black);
    if (alpha < 0) alpha = 0;
    if (alpha > 255) alpha = 255;
    uint32_t color = onBlack[i] & 0xFFFFFFu;
    // A premultiplied channel never exceeds alpha.
    uint32_t r = std::min<uint32_t>((color >> 16) & 0xFF, static_cast<uint32_t>(alpha));
    uint32_t g = std::min<uint32_t>((color >> 8) & 0xFF, static_cast<uint32_t>(alpha));
    uint32_t b = std::min<uint32_t>(color & 0xFF, static_cast<uint32_t>(alpha));
    out[i] = (static_cast<uint32_t>(alpha) << 24) | (r << 16) | (g << 8) | b;
  }
}

}  // namespace filelist
