// The tip over a list view's rows whose text the list's owner gives per row. The list view's own
// info tips (LVS_EX_INFOTIP, LVN_GETINFOTIP) are not available everywhere (Wine's list view
// never asks for them), so the list keeps a tooltip of its own: one tool over the whole list
// that asks for the hovered row's text each time it shows and starts over when the mouse
// reaches another row. The tooltip is made when the mouse first comes over the list, and the
// list hands it its mouse messages (rather than the tooltip joining the list's chain of
// procedures, where every message to the list would pass it).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "framework/Handles.h"

class ListInfoTip {
 public:
  using TextOfRow = std::function<std::wstring(int row)>;

  // `list` is borrowed and must outlive the tip.
  ListInfoTip(HWND list, TextOfRow textOfRow);
  ListInfoTip(const ListInfoTip&) = delete;
  ListInfoTip& operator=(const ListInfoTip&) = delete;

  // The tooltip window; null until the mouse first came over the list.
  HWND Handle() const { return tip_.get(); }
  // A mouse message of the list (WM_MOUSEMOVE to WM_MBUTTONDBLCLK, client coordinates). A move
  // to a new row hides the tip, which shows again with the new row's text.
  void MouseMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  // The tooltip's request for text (TTN_GETDISPINFOW); true when `header` was the tip's.
  bool HandleNotify(NMHDR* header);

 private:
  int RowAt(POINT client) const;
  void MakeTip();

  HWND list_;  // borrowed
  TextOfRow textOfRow_;
  UniqueWindow tip_;
  int row_ = -1;       // the row the tip speaks of
  std::wstring text_;  // kept while the tooltip shows it
};
