// The indexes that painting asks for again and again, looked up once per skin load: the global
// section with its check-box and radio pictures and the extended border, and the sections of
// combo buttons, tabs and scroll bars with their border masks, glyphs and textures. Plain C++.
#pragma once

#include "skin/LoadedSkin.h"

// One section and the items painting takes from it (-1: missing).
struct TsSectionIndexes {
  int Section = -1;
  int BorderMask = -1;
  int GlyphMask = -1;
  int Texture = -1;     // "PATTERN"
  int HotTexture = -1;  // "HOTPATTERN"
};

struct TsCommonIndexes {
  int GlobalInfo = -1;
  int CheckBoxChecked = -1;
  int CheckBoxUnchecked = -1;
  int CheckBoxGrayed = -1;
  int RadioButtonChecked = -1;
  int RadioButtonUnchecked = -1;
  int RadioButtonGrayed = -1;
  int SmallBoxChecked = -1;
  int SmallBoxUnchecked = -1;
  int SmallBoxGrayed = -1;
  int ExBorder = -1;
  TsSectionIndexes ComboButton;     // "COMBOBTN"
  int ComboBoxGlyph = -1;           // "GLYPHMASK" of "COMBOBOX"
  TsSectionIndexes TabTop, TabBottom, TabLeft, TabRight;
  TsSectionIndexes ScrollButtonTop, ScrollButtonBottom, ScrollButtonLeft, ScrollButtonRight;
  TsSectionIndexes ScrollSliderV, ScrollSliderH;
  TsSectionIndexes ScrollBar1H, ScrollBar1V, ScrollBar2H, ScrollBar2V;
};

// Looks the indexes up (all -1 for a skin without sections) and resolves every section's
// border and corner items.
TsCommonIndexes PrepareCommonIndexes(LoadedSkin& skin);
