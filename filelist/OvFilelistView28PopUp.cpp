// See OvFilelistView28PopUp.h.
#include "filelist/OvFilelistView28PopUp.h"

#include <shellapi.h>
#include <shlobj.h>

#include "filelist/FileListFormats.h"
#include "filelist/FileNames.h"
#include "filelist/FileOperations.h"
#include "filelist/OvFilelistView28.h"
#include "framework/Graphics.h"
#include "framework/Strings.h"

namespace {

std::wstring sendToFolderOverride;

// An icon as a 32-bit picture with alpha, whatever kind of icon it is: drawn once on black and
// once on white.
UniqueBitmap IconPicture(HICON icon, int side) {
  uint32_t* onBlack = nullptr;
  uint32_t* onWhite = nullptr;
  UniqueBitmap black = CreateTopDown32Section(side, side, &onBlack);
  UniqueBitmap white = CreateTopDown32Section(side, side, &onWhite);
  if (!black || !white) return {};
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  RECT all{0, 0, side, side};
  for (auto [bitmap, brush] : {std::pair{black.get(), BLACK_BRUSH}, std::pair{white.get(), WHITE_BRUSH}}) {
    HGDIOBJ previous = SelectObject(dc.get(), bitmap);
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(brush)));
    DrawIconEx(dc.get(), 0, 0, icon, side, side, 0, nullptr, DI_NORMAL);
    SelectObject(dc.get(), previous);
  }
  GdiFlush();
  filelist::AlphaFromTwoBackgrounds(onBlack, onWhite, onBlack, static_cast<size_t>(side) * side);
  return black;
}

}  // namespace

void TOvFilelistView28PopUp::OverrideSendToFolder(const std::wstring& folder) { sendToFolderOverride = folder; }

TOvFilelistView28PopUp::TOvFilelistView28PopUp(TOvFilelistView28& list) : list_(list) { Build(); }

TOvFilelistView28PopUp::~TOvFilelistView28PopUp() = default;

void TOvFilelistView28PopUp::Rebuild() {
  if (showing_) {
    // The open menu's loop still works on the present menu; it is replaced once it has closed.
    rebuildPending_ = true;
    return;
  }
  Build();
}

void TOvFilelistView28PopUp::Build() {
  rebuildPending_ = false;
  UniqueMenu menu(CreatePopupMenu());
  UniqueMenu sendTo(CreatePopupMenu());
  if (!menu || !sendTo) return;
  sendTo_ = sendTo.get();
  menu_ = std::move(menu);
  sendToPaths_.clear();
  pictures_.DetachAll();
  shortcutIcons_.clear();
  for (const filelist::MenuItemSpec& item : filelist::SendToFixedItems()) AddItem(sendTo_, item, nullptr);
  AddSendToShortcuts();
  for (const filelist::MenuItemSpec& item : filelist::TopLevelMenuItems()) {
    AddItem(menu_.get(), item, item.submenu ? sendTo.get() : nullptr);
    if (item.submenu) sendTo.release();  // the menu owns its submenu now
  }
}

void TOvFilelistView28PopUp::AddItem(HMENU menu, const filelist::MenuItemSpec& item, HMENU submenu) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  if (!item.caption) {
    info.fMask = MIIM_FTYPE;
    info.fType = MFT_SEPARATOR;
    InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info);
    return;
  }
  std::wstring caption = list_.Texts().*item.caption;
  info.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP | MIIM_DATA | (submenu ? MIIM_SUBMENU : 0u);
  info.wID = static_cast<UINT>(item.tag);
  info.dwTypeData = caption.data();
  pictures_.Attach(info, item.glyph ? pictures_.Glyph(item.glyph) : nullptr);
  info.hSubMenu = submenu;
  InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info);
}

void TOvFilelistView28PopUp::AddSendToShortcuts() {
  std::wstring folder =
      sendToFolderOverride.empty() ? FileOperations::SpecialFolder(CSIDL_SENDTO) : bv::IncludeTrailingBackslash(sendToFolderOverride);
  if (folder.empty()) return;
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  UniqueFindHandle find(FindFirstFileW((folder + L"*.lnk").c_str(), &data));
  if (find) {
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
    } while (FindNextFileW(find.get(), &data));
  }
  int side = GetSystemMetrics(SM_CXSMICON);
  for (const std::wstring& name : names) {
    std::wstring path = folder + name;
    SHFILEINFOW info{};
    std::wstring caption = filelist::CaptionWithoutExtension(name);
    UniqueIcon icon;
    if (SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_DISPLAYNAME | SHGFI_ICON | SHGFI_SMALLICON)) {
      if (info.szDisplayName[0]) caption = info.szDisplayName;
      icon.reset(info.hIcon);
    }
    UniqueBitmap picture = icon ? IconPicture(icon.get(), side) : UniqueBitmap();
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP | MIIM_DATA;
    item.wID = static_cast<UINT>(filelist::kFirstShortcutTag + static_cast<int>(sendToPaths_.size()));
    item.dwTypeData = caption.data();
    pictures_.Attach(item, picture.get());
    if (!InsertMenuItemW(sendTo_, GetMenuItemCount(sendTo_), TRUE, &item)) continue;
    sendToPaths_.push_back(path);
    shortcutIcons_.push_back(std::move(picture));
  }
}

void TOvFilelistView28PopUp::UpdateEnabling() {
  filelist::MenuState state;
  state.selectedCount = list_.SelCount();
  state.selectedExtension = filelist::ExtensionOf(filelist::NameOf(list_.SelectedPath()));
  state.filesToPaste = list_.FilesToPaste();
  state.driveView = bv::SameText(list_.Directory(), TOvFilelistView28::kMyComputer);
  auto apply = [&](HMENU menu) {
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
      UINT id = GetMenuItemID(menu, i);
      int tag = id == static_cast<UINT>(-1) ? 0 : static_cast<int>(id);
      if (GetSubMenu(menu, i)) tag = static_cast<int>(filelist::TopLevelMenuItems()[static_cast<size_t>(i)].tag);
      if (tag == 0) continue;
      EnableMenuItem(menu, static_cast<UINT>(i),
                     MF_BYPOSITION | (filelist::MenuItemEnabled(tag, state) ? MF_ENABLED : MF_GRAYED));
    }
  };
  apply(menu_.get());
  apply(sendTo_);
}

void TOvFilelistView28PopUp::Popup(HWND owner, POINT screen) {
  if (!menu_ || showing_) return;
  UpdateEnabling();
  showing_ = true;
  int tag = static_cast<int>(TrackPopupMenuEx(menu_.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                                              screen.x + 10, screen.y + 10, owner, nullptr));
  showing_ = false;
  if (rebuildPending_) Build();
  if (tag > 0) Dispatch(tag);
}

void TOvFilelistView28PopUp::Dispatch(int tag) {
  filelist::MenuChoice choice = filelist::ChoiceOfTag(tag);
  using filelist::MenuCommand;
  switch (choice.command) {
    case MenuCommand::kNone: break;
    case MenuCommand::kOpen: list_.OpenSelected(); break;
    case MenuCommand::kView: list_.ViewSelected(); break;
    case MenuCommand::kMarkForMove: list_.MarkForTransfer(TTransferMode::tmMove); break;
    case MenuCommand::kMarkForCopy: list_.MarkForTransfer(TTransferMode::tmCopy); break;
    case MenuCommand::kPaste: list_.PasteFiles(); break;
    case MenuCommand::kRename: list_.StartRename(); break;
    case MenuCommand::kRecycle: list_.RecycleSelected(); break;
    case MenuCommand::kProperties: list_.ShowProperties(); break;
    case MenuCommand::kNewFolder: list_.CreateNewFolder(); break;
    case MenuCommand::kSendToAnyFolder: list_.SendToAnyFolder(); break;
    case MenuCommand::kCopyContents: list_.CopyContentsToClipboard(); break;
    case MenuCommand::kCopyNames: list_.CopyNamesToClipboard(); break;
    case MenuCommand::kDesktopShortcut: list_.CreateDesktopShortcut(); break;
    case MenuCommand::kSendToShortcut:
      // A copy: the operation may rebuild the menu (and its list of paths).
      if (choice.shortcut < sendToPaths_.size()) list_.SendToTarget(std::wstring(sendToPaths_[choice.shortcut]));
      break;
  }
}
