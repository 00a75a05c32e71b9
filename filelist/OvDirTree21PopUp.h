// TOvDirTree21PopUp: the directory tree's context menu. It is built from the item table
// (dirtree::TreeMenuItems) in the tree's language, enables the items for the selected node each
// time it opens, and runs the chosen item on the tree. The items' glyphs are drawn by the tree
// (the menu's owner window) through MeasurePicture and DrawPicture.
#pragma once

#include <windows.h>

#include "filelist/MenuPictures.h"
#include "framework/Handles.h"

class TOvDirTree21;

class TOvDirTree21PopUp {
 public:
  explicit TOvDirTree21PopUp(TOvDirTree21& tree);
  TOvDirTree21PopUp(const TOvDirTree21PopUp&) = delete;
  TOvDirTree21PopUp& operator=(const TOvDirTree21PopUp&) = delete;

  // Builds the menu anew in the tree's language.
  void Rebuild();
  void UpdateEnabling();
  // Opens the menu 10 pixels right of and below the screen point and runs the item chosen.
  void Popup(HWND owner, POINT screen);
  // Runs the item with this tag (1 to 11).
  void Dispatch(int tag);
  HMENU Handle() const { return menu_.get(); }
  // The items' pictures, which the owner window measures and draws.
  const MenuPictures& Pictures() const { return pictures_; }

 private:
  TOvDirTree21& tree_;  // the tree that owns the menu
  MenuPictures pictures_;  // before menu_: its items point at these pictures
  UniqueMenu menu_;
};
