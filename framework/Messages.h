// The framework's own window messages: control notifications (CM_) that the framework sends to
// a control's object, and reflected notifications (CN_) that a parent hands back to the child
// control whose window sent them (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLOR*).
#pragma once

#include <windows.h>

struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

constexpr UINT CM_BASE = 0xB000;
enum : UINT {
  CM_ACTIVATE = CM_BASE + 0,  // the application was activated (sent to the application window)
  CM_DEACTIVATE = CM_BASE + 1,
  CM_MOUSEENTER = CM_BASE + 19,
  CM_MOUSELEAVE = CM_BASE + 20,
  CM_ENABLEDCHANGED = CM_BASE + 12,
  CM_VISIBLECHANGED = CM_BASE + 11,
  CM_COLORCHANGED = CM_BASE + 13,
  CM_FONTCHANGED = CM_BASE + 14,
  CM_TEXTCHANGED = CM_BASE + 18,
  CM_SHOWINGCHANGED = CM_BASE + 25,
  CM_RELEASE = CM_BASE + 33,
};

constexpr UINT CN_BASE = 0xBC00;
enum : UINT {
  CN_COMMAND = CN_BASE + WM_COMMAND,
  CN_NOTIFY = CN_BASE + WM_NOTIFY,
  CN_DRAWITEM = CN_BASE + WM_DRAWITEM,
  CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN,
  CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT,
  CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX,
  CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC,
};
