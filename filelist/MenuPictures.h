// MenuPictures: the pictures of a context menu's items. Glyph resources (24-bit, keyed on
// magenta) are loaded once as 32-bit pictures with alpha; an item carrying one is drawn by the
// menu's owner window (WM_MEASUREITEM, WM_DRAWITEM), faded when the item is disabled, because not
// every platform menu blends a picture's alpha channel itself.
#pragma once

#include <windows.h>

#include <map>
#include <set>
#include <string>

#include "framework/Handles.h"
#include "framework/Messages.h"

class MenuPictures {
 public:
  MenuPictures() = default;
  MenuPictures(const MenuPictures&) = delete;
  MenuPictures& operator=(const MenuPictures&) = delete;

  // The glyph resource of this program as a picture with alpha (loaded once; nullptr when the
  // resource is missing).
  HBITMAP Glyph(const wchar_t* name);
  // Gives the menu item the picture (nothing for nullptr); fills hbmpItem and dwItemData, so the
  // caller adds MIIM_BITMAP | MIIM_DATA to fMask.
  void Attach(MENUITEMINFOW& item, HBITMAP picture);
  // Forgets every picture given to items (the loaded glyphs stay): for a menu built again,
  // whose other pictures are freed by their owner.
  void DetachAll() { attached_.clear(); }
  // The picture of an item (its item data), nullptr for an item without one of these.
  HBITMAP PictureOf(ULONG_PTR itemData) const;
  // The owner window's WM_MEASUREITEM and WM_DRAWITEM; false for items that are not ours.
  bool Measure(MEASUREITEMSTRUCT& measure) const;
  bool Draw(const DRAWITEMSTRUCT& draw) const;
  // Either of the two messages of the owner window: true (with the message's result set) when
  // it was about one of these pictures.
  bool OwnerDraw(TMessage& message) const;

 private:
  std::map<std::wstring, UniqueBitmap> glyphs_;
  std::set<HBITMAP> attached_;  // pictures given to items, owned by glyphs_ or by the caller
};
