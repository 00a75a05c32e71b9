// How a skinned element gets what lies behind it: it sends its parent a background request
// (skin command 34) and the parent answers from its cached picture, with a colour, or by
// drawing straight into the element's surface. Parents that know no skin give their colour.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/Color.h"
#include "framework/Control.h"
#include "paint/BackgroundRef.h"

class TsCommonData;

struct TsBackgroundRequest {
  const Bitmap* Bitmap = nullptr;  // borrowed: the parent's cache when Kind is 2
  TColor Color = clFuchsia;        // the background colour when Kind is 1
  int OffsetX = 0;                 // the child's position inside Bitmap
  int OffsetY = 0;
  RECT Area{};                     // the part the child needs, in child coordinates
  uint8_t Kind = 0;                // 0 not answered, 1 colour, 2 bitmap
  bool DrawNow = false;            // draw the background straight into DC
  HDC DC = nullptr;                // borrowed
};

TsBackgroundRef ToBackgroundRef(const TsBackgroundRequest& request);

// The colour a form's client area shows: the skin's form colour while a skin is in force.
TColor FormColor(TWinControl* form);
// Whether a window answers skin commands (command 7).
bool IsSkinAware(TWinControl* control);
// The colour behind `control`: its parent's answer to command 21, or the parent's own colour.
TColor ParentBackgroundColor(TControl* control);

// Answer to command 34 from the element of `data`, for its look `hot`.
void FillBackgroundRequest(TsCommonData& data, TsBackgroundRequest& request, bool hot);
// Asks `parent` (a control, or a bare window) for the background behind a child.
void RequestParentBackground(TsBackgroundRequest& request, TWinControl* parent, bool drawNow);
void RequestParentBackground(TsBackgroundRequest& request, HWND parent, bool drawNow);
// The background behind `control` for painting into its cache: bitmap answers are offset by
// nothing more (the caller passes the control's position as the painter's offset).
TsBackgroundRef ParentBackgroundOf(TControl* control, TsBackgroundRequest& request);
