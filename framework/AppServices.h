// The few application services that controls need while handling messages, implemented by the
// application object (Application.cpp): the error display and mouse tracking.
#pragma once

#include <windows.h>

#include <exception>

// Shows an error that reached a message handler and lets the program go on.
void HandleException(const std::exception& error);
// Called for mouse messages of the framework's windows: keeps track of the control under the
// mouse and sends CM_MOUSEENTER / CM_MOUSELEAVE.
void NoteMouseMessage(HWND window, UINT msg);
// Called for key presses in the framework's windows (a key hides the hint).
void NoteKeyMessage(UINT msg);
class TControl;
// A control's hint or its ShowHint changed: a hint on show for it follows.
void HintChanged(TControl* control);
