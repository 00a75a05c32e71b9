// The shadow of a form in extended mode: the skin's shadow picture (straight alpha) drawn as a
// nine-part frame over the whole composed border picture, corners as they are and edges
// stretched, laid over what the frame painting left there. Plain C++.
#pragma once

#include <vector>

#include "framework/Geometry.h"
#include "pixel/Bitmap.h"

namespace frame_shadow {

// The border widths of the nine parts (left, top, right, bottom) of `shadow` drawn over a picture
// of `width` x `height`; where the picture is too small for them they shrink.
struct NinePart {
  NinePart(const Bitmap& shadow, const Rect& borders, int width, int height);
  // The shadow pixel (0xAABBGGRR) that lands on the picture's pixel (x, y).
  uint32_t At(int x, int y) const;
  // The area inside the four borders (nothing of the shadow is drawn there).
  Rect Inner() const { return {left, top, width - right, height - bottom}; }

  const Bitmap& shadow;
  int width, height;
  int left, top, right, bottom;

 private:
  int SourceX(int x) const;
  int SourceY(int y) const;
};

// Lays the nine-part shadow over every pixel of the 32-bit `image` outside `keep` and outside
// the shadow's own inner area: source over target, straight alpha on both sides. With
// `replace` the shadow's pixels take the place of the target's, alpha included (a picture that
// holds the whole frame, rounded corners and all).
void BlendShadowFrame(Bitmap& image, const NinePart& shadow, const Rect& keep, bool replace = false);

// The pixels of the rectangles (picture coordinates) take the shadow's pixel as it is, alpha
// included: the cut-out corners of a frame show the shadow behind them.
void PutShadowPixels(Bitmap& image, const NinePart& shadow, const std::vector<Rect>& pixels);

// Every pixel of `area` in `image` gets back the alpha it has in `before`, a copy of the
// picture whose top-left corner lies at `at`: painting over a band with the platform's text
// and icon calls clears or sets alpha that the band should keep.
void RestoreAlpha(Bitmap& image, const Bitmap& before, Point at, const Rect& area);

}  // namespace frame_shadow
