// Where the border window of a form in extended mode lies and what it shows: the skinned frame
// and its shadow are composed into one picture that a layered window behind the form shows,
// while the form keeps the platform's slim frame and is cut down by a region to its client
// area. All from the form's window rectangle, the platform's frame metrics and the skin's
// values. Plain C++.
#pragma once

#include "framework/Geometry.h"

namespace frame_geometry {

// The hit code of a point over the shadow (the border window lets it through).
inline constexpr int kHitShadow = -2;

struct ExtendedFrameInput {
  Rect form;                 // the form's window rectangle on the screen
  bool maximized = false;
  bool caption = true;       // the form has a caption
  int platformSide = 4;      // the platform's frame width around the form (SM_CXFRAME)
  int platformCaption = 19;  // the platform's caption height (SM_CYCAPTION)
  int borderWidth = 4;       // BORDERWIDTH
  int titleHeight = 30;      // TITLEHEIGHT, the top border included
  Rect margins;              // how far the shadow reaches beyond the frame
};

struct ExtendedFrameGeometry {
  bool compactMaximized = false;  // see CompactMaximized
  int titleBand = 0;   // the skinned title band's height
  int extraSide = 0;   // how far the skinned frame reaches beyond the form at the sides and below
  int extraTop = 0;    // ... and above
  Rect frame;          // the skinned frame on the screen (the border window less its margins)
  Rect window;         // the border window on the screen (its lower part cut off when maximised)
  int imageWidth = 0;  // the composed picture (frame and margins)
  int imageHeight = 0;
  Rect frameInImage;   // the frame inside the picture
  Rect clientInImage;  // the form's client area inside the picture
  Rect formRegion;     // the form's own region (form window coordinates): its client area
  Rect windowRegion;   // the border window's region (window coordinates); empty: none
};

// A maximised form in a border window whose skin title band is less than 4 pixels taller than
// the platform's caption: its band is made at least that tall, and the frame reaches over the
// form's own top frame. Decided from the band as the skin gives it (the compact band itself is
// not asked, as it depends on this answer).
bool CompactMaximized(bool maximized, bool extended, int titleHeight, int platformCaption);
// The skinned title band's height: the skin's title (the platform's caption when the skin has
// none), in the compact state at least the platform's caption and 4.
int SkinTitleBand(bool compact, int titleHeight, int platformCaption);

ExtendedFrameGeometry ComputeExtendedFrameGeometry(const ExtendedFrameInput& input);

// Where a form in extended mode lies when maximised on a work area: its client area fills the
// work area below a title band of `bandHeight` (the skin's maximised title height), its slim
// platform frame lies off the work area.
Rect ExtendedMaximizedForm(const Rect& work, int platformSide, int platformCaption, int bandHeight);

}  // namespace frame_geometry
