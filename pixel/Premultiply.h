// Straight alpha to premultiplied alpha, for handing a picture to the platform's layered-window
// call (the skin's pictures keep straight alpha everywhere else). Plain C++.
#pragma once

#include "pixel/Bitmap.h"

// Each colour byte c of a 32-bit bitmap becomes round(c * alpha / 255); other formats stay.
void PremultiplyAlpha(Bitmap& picture);
