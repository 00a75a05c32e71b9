// Handing pictures to layered windows: the platform's layered-window call takes premultiplied
// colours, while the skin's pictures keep straight alpha everywhere else; the conversion
// happens here, at the hand-over, once per picture.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/Geometry.h"
#include "paint/DibSection.h"
#include "pixel/Bitmap.h"

// A premultiplied copy of a 32-bit picture with straight alpha (a 24-bit one is opaque), as a
// section that can be handed over; an empty section when the platform refuses.
DibSection PremultipliedSection(const Bitmap& picture);
// Shows the whole section in `window` with its top-left corner at `screen` and the constant
// alpha `alpha`; false when the platform refused.
bool HandOverLayered(HWND window, const DibSection& premultiplied, Point screen, uint8_t alpha);
