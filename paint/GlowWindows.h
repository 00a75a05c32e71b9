// Hover glows: a layered pop-up window around a control that shows the glow picture of its
// section ("GLOW0"). The window never takes activation or the mouse. Ids come from a registry
// that hands freed ids out again.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "framework/Geometry.h"
#include "pixel/Bitmap.h"

class TsSkinManager;

// Shows the glow of `section` around `control` (screen rectangle), of which `visible` (control
// coordinates) can be seen; answers the glow id, or -1 without layered windows or a picture.
int ShowGlowWindow(const Rect& control, const Rect& visible, std::string_view section, TsSkinManager* manager,
                   HWND owner, int margin, std::string_view prefix = "GLOW");
// Shows `picture` (32-bit, straight alpha) in a glow window with its top-left corner at `screen`
// and the constant alpha `alpha`; answers the glow id, or -1.
int ShowGlowPicture(const Bitmap& picture, Point screen, HWND owner, uint8_t alpha, int margin = 0, int item = -1);
// Changes the constant alpha of a shown glow (fades).
void SetGlowAlpha(int id, uint8_t alpha);
void HideGlowWindow(int id);
void RemoveAllGlowWindows();
// The window of a glow, or nullptr (tests and benchmarks).
HWND GlowWindowOf(int id);
// How many registry slots exist (tests: freed slots are reused).
size_t GlowRegistrySlots();
