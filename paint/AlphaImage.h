// Drawing of pictures that carry their own transparency: 32-bit pictures with straight alpha
// (optionally faded, tinted, and reflected below themselves), 24-bit pictures with a mask in
// their lower half, and PNG pictures drawn at any size. Plain C++.
#pragma once

#include "framework/Color.h"
#include "framework/Geometry.h"
#include "paint/BackgroundRef.h"
#include "pixel/Bitmap.h"

// Draws sourceRect of `source` (treated as 32-bit) into targetRect of `target` by the source
// alpha: t = ((v - t) * a + t * 256) >> 8 with a = A, or (100 - blend) * A / 100 with a blend
// percent. A tint other than clNone replaces each channel by the grey of the pixel scaled by the
// tint's channel. With a valid background, source pixels 0x00FF00FF are not blended: they take
// the background's pixel when keyFromBackground is set and are left otherwise. With `reflect`,
// a fading third-strength mirror of the picture's lower half is drawn below targetRect.
void DrawAlphaImage(Bitmap& target, const Rect& targetRect, const Bitmap& source, const Rect& sourceRect, bool reflect,
                    int blend, TColor tint, bool keyFromBackground, const TsBackgroundRef& background);

// Draws sourceRect of `source` into targetRect of `target`: a 24-bit source through the mask in
// its lower half (mask 0 gives the source, 255 keeps the target), a 32-bit source by its alpha.
// With a valid background, key-colour source pixels are not drawn: they take the background's
// pixel when cornerMode is set and are left otherwise. 32-bit targets get alpha 255.
void DrawMaskedPicture(Bitmap& target, const Rect& targetRect, const Bitmap& source, const Rect& sourceRect,
                       bool cornerMode, const TsBackgroundRef& background);

// A decoded PNG picture: 32-bit with straight alpha when the file has an alpha channel,
// otherwise an ordinary 24-bit picture.
class TPNGGraphic {
 public:
  TPNGGraphic() = default;
  explicit TPNGGraphic(Bitmap picture) : picture_(std::move(picture)) {}

  const Bitmap& Picture() const { return picture_; }
  bool Reflected() const { return reflected_; }
  void SetReflected(bool reflected) { reflected_ = reflected; }

  // Draws the picture over rect of `surface`, smoothly stretched when the sizes differ: a 32-bit
  // picture is mixed by its alpha with what the surface holds there (and reflected below rect
  // when Reflected), any other picture is copied.
  void Draw(Bitmap& surface, const Rect& rect) const;

 private:
  Bitmap picture_;
  bool reflected_ = false;
};
