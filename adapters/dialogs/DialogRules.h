// The decisions the dialog adapter takes from a window's class name and style, as plain C++:
// which adapter a dialog's child control gets (by its class name, and for buttons and static
// controls by the type value of their style), and the frame kind and title-button set of the
// dialog itself.
#pragma once

#include <cstdint>
#include <string_view>

namespace dialog_rules {

// The adapters a dialog's child can be given.
enum class ChildAdapter {
  None,
  Icon,        // static picture (icon or bitmap)
  Static,      // static text
  TransPanel,  // a dialog or folder tree host inside the dialog
  DlgPanel,    // framework panels
  Edit,
  GroupBox,
  CheckBox,    // check boxes and radio buttons
  Button,      // push buttons
  ComboBox,
  ComboList,
  ComboBoxEx,
  Sizer,
  TabControl,
  ListView,
  Spin,
  ListBox,
  Link,
  ToolBar,
  TreeView,
};

struct ChildChoice {
  ChildAdapter adapter = ChildAdapter::None;
  const char* section = "";
  // The adapter works in dialog mode (edits, combo boxes, lists and trees).
  bool dialogMode = false;
  // The dialog then paints its client area for real (edit-like children repaint over it).
  bool clearsValidateOnly = false;
};

// The adapter for a child window of class `className` (any case) with `style`; `visible` tells
// whether the window is visible (hidden edits get none).
ChildChoice ChooseChildAdapter(std::wstring_view className, uint32_t style, bool visible);

// Frame kinds.
constexpr int kFrameModal = 0;      // DS_MODALFRAME
constexpr int kFrameNoCaption = 2;  // a pop-up without a full caption
constexpr int kFrameSizeable = 3;   // WS_THICKFRAME, and everything else

int FrameKind(uint32_t style);
// Kind 3 takes the big title buttons; the others take the small set when the skin has one.
bool UsesSmallButtons(int frameKind, bool skinHasSmallClose);

}  // namespace dialog_rules
