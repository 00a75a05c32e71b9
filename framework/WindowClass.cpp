// See WindowClass.h.
#include "framework/WindowClass.h"

void RegisterWindowClassOnce(const wchar_t* name, WNDPROC procedure, UINT style, int windowExtra) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{sizeof(existing)};
  if (GetClassInfoExW(instance, name, &existing)) return;
  WNDCLASSEXW wc{sizeof(wc)};
  wc.style = style;
  wc.lpfnWndProc = procedure;
  wc.cbWndExtra = windowExtra;
  wc.hInstance = instance;
  wc.lpszClassName = name;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  RegisterClassExW(&wc);
}
