// The skin's global colours for controls that are not skinned themselves, with the platform's
// colours standing in where the skin gives none. Plain C++.
#pragma once

#include "framework/Color.h"

struct LoadedSkin;

// "GLOBALINFO"'s COLOR, or the button-face colour without that section; always plain RGB.
TColor GlobalColor(const LoadedSkin& skin);
// "GLOBALINFO"'s first font colour as plain RGB, or 0xFF00FF.
TColor GlobalFontColor(const LoadedSkin& skin);
// "GLOBALINFO"'s HOTCOLOR as plain RGB, or the window colour.
TColor GlobalHotColor(const LoadedSkin& skin);
// "EDIT"'s first hot font colour as plain RGB, or 0xFF00FF.
TColor EditHotFontColor(const LoadedSkin& skin);
// "MENUITEM"'s HOTCOLOR unless it is -1, 0xFF00FF or white; else the highlight colour.
TColor MenuHighlightColor(const LoadedSkin& skin);
// "MENUITEM"'s first hot font colour unless it or the section's HOTCOLOR is unusable; else the
// highlight-text colour.
TColor MenuHighlightTextColor(const LoadedSkin& skin);
