// Hover glows: a layered pop-up window around a control that shows the glow picture of its
// section ("GLOW0"). The window never takes activation or the mouse. Ids come from a registry
// that hands freed ids out again.
#pragma once

#include <windows.h>

#include <string_view>

#include "framework/Geometry.h"

class TsSkinManager;

// Shows the glow of `section` around `control` (screen rectangle), of which `visible` (control
// coordinates) can be seen; answers the glow id, or -1 without layered windows or a picture.
int ShowGlowWindow(const Rect& control, const Rect& visible, std::string_view section, TsSkinManager* manager,
                   HWND owner, int margin, std::string_view prefix = "GLOW");
void HideGlowWindow(int id);
void RemoveAllGlowWindows();
// The window of a glow, or nullptr (tests and benchmarks).
HWND GlowWindowOf(int id);
// How many registry slots exist (tests: freed slots are reused).
size_t GlowRegistrySlots();
