// Where the parts of a skinned window frame lie: the border widths around the client area, the
// title band, the icon, the caption and the title buttons, from the skin's values and the
// window's size and state; and which part of the frame a point is over (the platform's
// non-client hit codes). Plain C++: the provider feeds it the platform's metrics.
#pragma once

#include <vector>

#include "framework/Geometry.h"

namespace frame_geometry {

// The platform's non-client hit codes that a frame answers (same values).
enum HitCode : int {
  kHitNowhere = 0,
  kHitClient = 1,
  kHitCaption = 2,
  kHitSysMenu = 3,
  kHitMenu = 5,
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
  // The application's own title buttons answer this plus their index.
  kHitUserButton = 1000,
};

// Whether a hit code names one of the application's title buttons, and which.
constexpr bool IsUserButtonCode(int code) { return code >= kHitUserButton; }
constexpr int UserButtonIndex(int code) { return code - kHitUserButton; }

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
  // The application's title buttons, in their collection's order (laid out right to left, left
  // of the system buttons). An invisible one still takes its room in ButtonsWidth.
  std::vector<ButtonShape> user;
  // The size grip in the client area's lower right corner (0 x 0: none).
  int gripWidth = 0;
  int gripHeight = 0;
  // The menu bar band right below the title band (0: the window has no menu line).
  int menuBand = 0;
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
  std::vector<Rect> user;  // one per user title button; empty when it does not show
  Rect menuBand;           // empty without a menu line
  Rect grip;               // empty without a size grip
  Rect Client(int width, int height) const { return {left, top, width - right, height - bottom}; }
};

// The side length of the title icon for a title band of `bandHeight`.
int IconSize(int bandHeight);
// How wide the title buttons are together at the right of the title band: BIRIGHT, the system
// buttons with their gaps, and when there are user buttons 8 more and each user button (visible
// or not) with its gap.
int ButtonsWidth(const FrameInput& input);
// The frame's thickness alone (what the client area is inset by).
FrameLayout FrameBorders(const FrameInput& input);
FrameLayout ComputeFrameLayout(const FrameInput& input);
// The hit code of point (window coordinates); a disabled maximise, minimise or user button acts as
// caption. A user button answers kHitUserButton + its index, the menu line kHitMenu, the size
// grip kHitBottomRight.
int FrameHitTest(const FrameInput& input, const FrameLayout& layout, Point point);

}  // namespace frame_geometry

namespace frame_geometry {

enum class CaptionAlign { Left, Right, Center };

// Where the caption text and the added title after it are drawn inside `room` (the caption's
// rectangle of the layout), for texts `textWidth` and `addedWidth` pixels wide. The added title
// follows 4 pixels after the caption and is left out (empty) when 4 pixels or less remain.
struct CaptionPlacement {
  Rect text;
  Rect added;
};
CaptionPlacement PlaceCaption(const Rect& room, int textWidth, int addedWidth, CaptionAlign align);

}  // namespace frame_geometry
