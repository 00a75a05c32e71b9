// See OvDirTree21PopUp.h.
#include "filelist/OvDirTree21PopUp.h"

#include "filelist/DirTreeTexts.h"
#include "filelist/OvDirTree21.h"

TOvDirTree21PopUp::TOvDirTree21PopUp(TOvDirTree21& tree) : tree_(tree) { Rebuild(); }

void TOvDirTree21PopUp::Rebuild() {
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) return;
  const DirTreeTexts& texts = tree_.Texts();
  for (const dirtree::TreeMenuItem& item : dirtree::TreeMenuItems()) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    if (!item.caption) {
      info.fMask = MIIM_FTYPE;
      info.fType = MFT_SEPARATOR;
    } else {
      info.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP | MIIM_DATA;
      info.wID = static_cast<UINT>(item.tag);
      info.dwTypeData = const_cast<wchar_t*>((texts.*item.caption).c_str());
      pictures_.Attach(info, item.glyph ? pictures_.Glyph(item.glyph) : nullptr);
    }
    InsertMenuItemW(menu.get(), GetMenuItemCount(menu.get()), TRUE, &info);
  }
  menu_ = std::move(menu);
}

void TOvDirTree21PopUp::UpdateEnabling() {
  HTREEITEM selected = tree_.Folders().Selected();
  int level = selected ? tree_.Folders().Level(selected) : -1;
  for (const dirtree::TreeMenuItem& item : dirtree::TreeMenuItems()) {
    if (!item.tag) continue;
    bool enabled = dirtree::TreeMenuItemEnabled(item.tag, level, tree_.PendingFolderPaste());
    EnableMenuItem(menu_.get(), static_cast<UINT>(item.tag), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  }
}

void TOvDirTree21PopUp::Popup(HWND owner, POINT screen) {
  if (!menu_) return;
  UpdateEnabling();
  int tag = static_cast<int>(TrackPopupMenu(menu_.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN,
                                            screen.x + 10, screen.y + 10, 0, owner, nullptr));
  if (tag > 0) Dispatch(tag);
}

void TOvDirTree21PopUp::Dispatch(int tag) {
  switch (tag) {
    case 1: tree_.NewFolder(); break;
    case 2: tree_.StartEditing(); break;
    case 3: tree_.DeleteFolder(); break;
    case 4: tree_.MarkFolder(TTransferMode::tmMove); break;
    case 5: tree_.MarkFolder(TTransferMode::tmCopy); break;
    case 6: tree_.PasteFolder(); break;
    case 7: tree_.ShowTreeSize(); break;
    case 8: tree_.ShowFolderContents(); break;
    case 9: tree_.ConnectNetworkDrive(); break;
    case 10: tree_.DisconnectNetworkDrive(); break;
    case 11: tree_.ShowProperties(); break;
    default: break;
  }
}
