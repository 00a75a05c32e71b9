// Whole-rectangle pixel primitives over memory bitmaps: fills, alpha setting, fades toward a
// colour, weighted blending of two bitmaps, colour masks, grey looks and the clean-up of
// decoded pictures with alpha. Each works on raw rows; colours naming system colours are
// turned into RGB first. Those that need the pixel accessors do nothing on bitmaps under
// 2 x 2 or with formats they do not handle. Plain C++.
#pragma once

#include "framework/Color.h"
#include "framework/Geometry.h"
#include "pixel/Bitmap.h"

// Fills rect (clipped) with the colour; a 32-bit bitmap gets alpha 255 (and is left alone under
// 2 x 2, where its accessor cannot attach).
void FillRectColor(Bitmap& bitmap, const Rect& rect, TColor c);

// The alpha byte of every pixel of rect (clipped) of a 32-bit bitmap becomes `alpha`.
void SetRectAlpha(Bitmap& bitmap, const Rect& rect, uint8_t alpha);

// Inside rect (clipped), each colour byte becomes round(p * old + (1 - p) * colour) with
// p = percent / 100, computed exactly; alpha is kept.
void FadeToColor(Bitmap& bitmap, const Rect& rect, int percent, TColor c);

// Mixes the source rectangle into the destination at `point`: each byte (all four in 32-bit
// bitmaps) becomes (d * weight + s * (255 - weight) + 127) >> 8: weight 255 keeps the destination
// (bytes above 127 lose one to the rounding), 0 gives the source. Both bitmaps 24-bit or both
// 32-bit; cuts on either side move the other.
void BlendWithWeight(Bitmap& destination, const Bitmap& source, uint8_t weight, Point point, Rect sourceRect);

// BlendWithWeight over the whole of two bitmaps of the same size and format.
void BlendBitmaps(Bitmap& destination, const Bitmap& source, uint8_t weight);

// Every pixel that is not the key moves toward the colour: round(f * (old - c) + c) per colour
// byte. A 24-bit pixel is the key when its colour bytes equal it, a 32-bit one when its whole
// value 0xAABBGGRR equals it.
void FadeBitmapToColor(Bitmap& bitmap, TColor c, uint32_t key, double factor);

// v = ((v - k) * m + k * 256) >> 8 per colour byte, with m the mask's byte of the same channel:
// mask 255 keeps the pixel (almost exactly), 0 gives the colour. Two 24-bit bitmaps of one size.
void BlendWithColorMask(Bitmap& bitmap, const Bitmap& mask, TColor c);

// Blue, green and red become their average; alpha is kept. 24-bit and 32-bit bitmaps.
void Grayscale(Bitmap& bitmap);
// As Grayscale on a 24-bit bitmap, leaving pixels of the key colour.
void GrayscaleExceptKey(Bitmap& bitmap, TColor key);

// In a 32-bit bitmap, every fully transparent white pixel (0x00FFFFFF) becomes 0.
void ClearTransparentWhite(Bitmap& bitmap);
