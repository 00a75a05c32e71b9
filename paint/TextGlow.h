// The glow halo behind text: the text is drawn in black into a white 8-bit mask (through a
// small rasteriser interface, so the platform's text output stays outside the core), blurred,
// and the mask's darkness mixes the glow colour into the target. Plain C++.
#pragma once

#include <cstdint>
#include <string>

#include "framework/Color.h"
#include "framework/Geometry.h"
#include "pixel/Bitmap.h"

// Draws text in black ink (value 0) onto an 8-bit mask, with the font it was made for; ink is
// only ever added, never removed.
class TextRasterizer {
 public:
  virtual ~TextRasterizer() = default;
  // `format` is the platform's text format flags (alignment, single line, ...).
  virtual void DrawText(Bitmap& mask, const std::wstring& text, const Rect& rect, uint32_t format) = 0;
};

// Contour flags of PaintTextGlow: extra copies of the text one pixel to each side.
enum TextContour : unsigned { tcLeft = 1, tcUp = 2, tcRight = 4, tcDown = 8 };

// Paints the glow of `text` laid out in rect around it into `target`: the mask covers rect grown
// by size + 4 on every side. `cache`, when given, keeps the mask between calls: a mask of the
// right size in it is used as it is. Each colour channel c under mask value m (other than 255)
// becomes (c - k) * m / 255 + k; a 32-bit target's alpha becomes max(0, alpha + m - 255).
void PaintTextGlow(Bitmap& target, TextRasterizer& rasterizer, const std::wstring& text, const Rect& rect,
                   Bitmap* cache, TColor color, int size, unsigned contours, uint32_t format);
