// Where the parts of a skinned window frame lie: the border widths around the client area, the
// title band, the icon, the caption and the title buttons, from the skin's values and the
// window's size and state; and which part of the frame a point is over (the platform's
// non-client hit codes). Plain C++: the provider feeds it the platform's metrics.
#pragma once

#include "framework/Geometry.h"

namespace frame_geometry {

// The platform's non-client hit codes that a frame answers (same values).
enum HitCode : int {
  kHitNowhere = 0,
  kHitClient = 1,
  kHitCaption = 2,
  kHitSysMenu = 3,
  kHitMinButton = 8,
  kHitMaxButton = 9,
  kHitLeft = 10,
  kHitRight = 11,
  kHitTop = 12,
  kHitTopLeft = 13,
  kHitTopRight = 14,
  kHitBottom = 15,
  kHitBottomLeft = 16,
  kHitBottomRight = 17,
  kHitBorder = 18,
  kHitClose = 20,
};

// The skin's frame values (GLOBALINFO).
struct FrameSkinValues {
  int borderWidth = 4;    // BORDERWIDTH: the frame left, right and below the client area
  int titleHeight = 30;   // TITLEHEIGHT: the title band, the top border included
  int maxHeight = 0;      // MAXHEIGHT: the title band of a maximised window; 0: as TITLEHEIGHT
  int centerOffset = 0;   // CENTEROFFSET: how far icon, caption and buttons move down (BORDERMODE 1)
  int borderMode = 0;     // BORDERMODE
  int iconLeft = 0;       // BILEFT: extra room left of the icon
  int buttonsRight = 0;   // BIRIGHT: extra room right of the buttons
  int buttonSpace = 0;    // BISPACE: the gap between title buttons
};

// One title button: its size (one state picture of its image), and whether it shows and acts.
struct ButtonShape {
  bool visible = true;
  bool enabled = true;
  int width = 21;
  int height = 21;
};

struct FrameInput {
  int width = 0;            // the window
  int height = 0;
  bool maximized = false;
  bool sizeable = true;     // the window has a sizing frame
  int sizingZone = 4;       // how wide the sizing zone along the outer edge is (the platform's frame)
  bool showIcon = true;
  // The frame lies in a border window around the form: a maximised window keeps its whole frame
  // (the border window hides what lies off the screen) and its icon, caption and buttons move
  // down into the band that stays visible.
  bool extended = false;
  FrameSkinValues skin;
  ButtonShape close, maximize, minimize;
};

struct FrameLayout {
  // The frame's thickness around the client area (top: the title band).
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  Rect titleBand;
  Rect icon;       // empty when no icon shows
  Rect caption;    // the room for the caption text; empty when there is none
  Rect close;      // empty when the button does not show
  Rect maximize;
  Rect minimize;
  Rect Client(int width, int height) const { return {left, top, width - right, height - bottom}; }
};

// The side length of the title icon for a title band of `bandHeight`.
int IconSize(int bandHeight);
// The frame's thickness alone (what the client area is inset by).
FrameLayout FrameBorders(const FrameInput& input);
FrameLayout ComputeFrameLayout(const FrameInput& input);
// The hit code of point (window coordinates); a disabled maximise or minimise button acts as
// caption.
int FrameHitTest(const FrameInput& input, const FrameLayout& layout, Point point);

}  // namespace frame_geometry
