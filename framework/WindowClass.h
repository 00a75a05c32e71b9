// Registering the window classes of the program's own helper windows (glow, border, animation
// windows): once per process, with the arrow cursor.
#pragma once

#include <windows.h>

// Registers the class `name` of this module with `procedure`, the class `style` and
// `windowExtra` bytes per window, unless it is registered already.
void RegisterWindowClassOnce(const wchar_t* name, WNDPROC procedure, UINT style = 0, int windowExtra = 0);
