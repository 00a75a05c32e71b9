// Recolouring a loaded skin without editing it: a hue rotation in degrees and a saturation change,
// applied once at the end of every load to the master bitmap, the pictures of image items, the
// section colours, the gradient colours and the two global colours. The title-bar close icons
// (and with BIKEEPHUE 1 all title icons) can keep the colours the skin gives them. The arithmetic
// is on whole numbers: every result is the exact quotient of the colour formula, its halves
// rounded to the even neighbour. Plain C++.
#pragma once

#include "framework/Color.h"

struct LoadedSkin;
class Bitmap;

// Hue of `c` (system colours first made plain) rotated by `offset` degrees; greys come back
// unchanged, always without a top byte.
TColor ShiftHue(TColor c, int offset);
// Each channel moved by `amount` percent toward the average of the three (away from it when
// negative); 0 answers `c` unchanged.
TColor ShiftSaturation(TColor c, int amount);

// Rotate the hue of the whole loaded skin; nothing for 0.
void ApplyHueOffset(LoadedSkin& skin, int offset);
// Make the whole loaded skin more colourful (positive) or greyer (negative); values beyond ±100
// wrap; nothing for 0.
void ApplySaturation(LoadedSkin& skin, int value);
