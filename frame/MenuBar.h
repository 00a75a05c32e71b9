// TsMenuBar: the band of a skinned frame that shows the form's main menu below the title: how
// high one row is, where the band and each visible top item lie for a window width, painting
// the band ("MENULINE") and letting each item draw itself there, and dropping an item's
// sub-items down below it. The row arithmetic is in MenuMetrics.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/Geometry.h"
#include "pixel/Bitmap.h"

class TForm;
class TMainMenu;
class TMenuItem;

class TsMenuBar {
 public:
  struct Layout {
    Rect band;                        // frame coordinates; empty without a menu line
    int rows = 0;
    std::vector<Rect> items;          // one per entry
    std::vector<TMenuItem*> entries;  // the visible top items, borrowed
  };

  explicit TsMenuBar(const TForm& form) : form_(form) {}

  // One row: the platform's menu bar height less 1 when the form has a main menu with a
  // visible item and is no dialog; else 0.
  int LineHeight() const;
  TMainMenu* Menu() const;
  // The band below a title band ending at `top`, across a window `width` wide whose side
  // borders are `left` and `right` wide (the items are laid out between them).
  Layout Compute(int width, int top, int left, int right) const;
  // Paints the band and its items into `pixels` (the frame picture, selected in `dc` with frame
  // coordinates); `active` chooses the band's look.
  void Paint(HDC dc, Bitmap& pixels, const Layout& layout, bool active) const;
  // The entry at a point in frame coordinates, or -1.
  static int ItemAt(const Layout& layout, Point point);
  // Drops down the sub-items of entry `index`, below its rectangle on the screen
  // (`frameOrigin`: the frame's top-left corner on the screen); returns as the menu does.
  bool DropDown(const Layout& layout, int index, HWND owner, Point frameOrigin) const;

 private:
  const TForm& form_;
};
