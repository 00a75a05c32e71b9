// See ListInfoTip.h.
#include "filelist/ListInfoTip.h"

#include <commctrl.h>

ListInfoTip::ListInfoTip(HWND list, TextOfRow textOfRow) : list_(list), textOfRow_(std::move(textOfRow)) {}

void ListInfoTip::MakeTip() {
  tip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, list_, nullptr,
                             GetModuleHandleW(nullptr), nullptr));
  if (!tip_) return;
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND;
  tool.hwnd = list_;
  tool.uId = reinterpret_cast<UINT_PTR>(list_);
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  SendMessageW(tip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  // Lines of the text break at "\r\n"; the width keeps long names on one line.
  SendMessageW(tip_.get(), TTM_SETMAXTIPWIDTH, 0, 480);
  SendMessageW(tip_.get(), TTM_SETDELAYTIME, TTDT_AUTOPOP, 15000);
}

int ListInfoTip::RowAt(POINT client) const {
  LVHITTESTINFO hit{};
  hit.pt = client;
  int row = ListView_HitTest(list_, &hit);
  return (hit.flags & LVHT_ONITEM) ? row : -1;
}

void ListInfoTip::MouseMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!tip_) MakeTip();
  if (!tip_) return;
  const POINT client{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  // The message's own place, on the screen as well: asking for the cursor again is a round trip
  // to the server under Wine on every move.
  MSG relayed{list_, msg, wParam, lParam, static_cast<DWORD>(GetMessageTime()), client};
  ClientToScreen(list_, &relayed.pt);
  SendMessageW(tip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
  if (msg != WM_MOUSEMOVE) return;
  int row = RowAt(client);
  if (row == row_) return;
  row_ = row;
  SendMessageW(tip_.get(), TTM_POP, 0, 0);
}

bool ListInfoTip::HandleNotify(NMHDR* header) {
  if (!tip_ || header->hwndFrom != tip_.get()) return false;
  if (header->code == TTN_GETDISPINFOW) {
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(list_, &cursor);
    row_ = RowAt(cursor);
    text_ = row_ >= 0 ? textOfRow_(row_) : std::wstring();
    info->lpszText = text_.empty() ? nullptr : text_.data();
    info->szText[0] = 0;
    info->hinst = nullptr;
  }
  return true;
}
