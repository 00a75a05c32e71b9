// TOvFilelistView28PopUp: the file list's context menu. It builds the platform menu from the
// layout tables (PopUpMenuLayout) with the captions of the list's language and the menu glyphs,
// lists the user's SendTo shortcuts with their shell icons in the "Send To" submenu, enables the
// items for the list's selection each time it opens, and runs the chosen item on the list.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "filelist/MenuPictures.h"
#include "filelist/PopUpMenuLayout.h"
#include "framework/Handles.h"

class TOvFilelistView28;

class TOvFilelistView28PopUp {
 public:
  explicit TOvFilelistView28PopUp(TOvFilelistView28& list);
  TOvFilelistView28PopUp(const TOvFilelistView28PopUp&) = delete;
  TOvFilelistView28PopUp& operator=(const TOvFilelistView28PopUp&) = delete;
  ~TOvFilelistView28PopUp();

  // Builds the menu anew: the captions of the list's language and the SendTo folder's shortcuts.
  // Asked for while the menu is open, it runs once the menu has closed.
  void Rebuild();
  // Enables each item for the list's selection, its clipboard and its folder.
  void UpdateEnabling();
  // Opens the menu 10 pixels right of and below the screen point (for the owner window `owner`)
  // and runs the item chosen.
  void Popup(HWND owner, POINT screen);
  // Runs the item with this tag (see PopUpMenuLayout).
  void Dispatch(int tag);

  // The owner window's WM_MEASUREITEM and WM_DRAWITEM for the items' pictures; false for items
  // that are not this menu's.
  bool MeasurePicture(MEASUREITEMSTRUCT& measure) const { return pictures_.Measure(measure); }
  bool DrawPicture(const DRAWITEMSTRUCT& draw) const { return pictures_.Draw(draw); }
  // The picture of an item (its item data), nullptr for an item without one of ours.
  HBITMAP PictureOf(ULONG_PTR itemData) const { return pictures_.PictureOf(itemData); }

  HMENU Handle() const { return menu_.get(); }
  HMENU SendToMenu() const { return sendTo_; }
  // The SendTo shortcuts listed in the submenu, in menu order.
  const std::vector<std::wstring>& SendToPaths() const { return sendToPaths_; }
  bool Showing() const { return showing_; }

  // The folder whose shortcuts the submenu lists; empty for the user's SendTo folder. Tests
  // point it at a folder of their own.
  static void OverrideSendToFolder(const std::wstring& folder);

 private:
  void Build();
  void AddItem(HMENU menu, const filelist::MenuItemSpec& item, HMENU submenu);
  void AddSendToShortcuts();

  TOvFilelistView28& list_;  // the list that owns the menu
  UniqueMenu menu_;
  HMENU sendTo_ = nullptr;  // owned by menu_ as its submenu: destroyed with it
  std::vector<UniqueBitmap> shortcutIcons_;  // in menu order, for the shortcut items
  std::vector<std::wstring> sendToPaths_;
  MenuPictures pictures_;  // the glyphs, and the pictures of the items (shortcut icons owned above)
  bool showing_ = false;         // the menu's loop is running
  bool rebuildPending_ = false;  // Rebuild was asked for while the menu was open
};
