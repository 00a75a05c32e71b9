// See SectionBackground.h.
#include "paint/SectionBackground.h"

#include <algorithm>

#include "pixel/BitmapBlend.h"
#include "pixel/ColorMath.h"
#include "paint/Gradient.h"
#include "paint/PieceCopy.h"
#include "paint/ScratchBitmap.h"
#include "paint/Texture.h"

namespace {

// The values of one state of a section, after the custom colour and the texture look-up.
struct Look {
  TColor color = 0;
  int transparency = 0;
  int gradientShare = 0;
  int imageShare = 0;
  const TsGradArray* gradient = nullptr;
  int textureItem = -1;  // a valid texture item, or -1
  int pattern = -1;      // a JPEG pattern when there is no texture item, or -1
};

Look ChooseLook(const LoadedSkin& skin, int sectionIndex, std::string_view sectionName, TColor customColor,
                int hotTexture, int texture, int state) {
  static const TsGradArray noGradient;
  Look look;
  look.gradient = &noGradient;
  if (customColor != clFuchsia) {
    look.color = PlainColor(customColor);
    return look;
  }
  const TsGeneralData& section = skin.Sections[static_cast<size_t>(sectionIndex)];
  bool hot = state != 0;
  look.color = PlainColor(hot ? section.HotColor : section.Color);
  look.transparency = hot ? section.HotTransparency : section.Transparency;
  if (look.transparency == 100) return look;
  look.imageShare = hot ? section.HotImagePercent : section.ImagePercent;
  look.gradientShare = hot ? section.HotGradientPercent : section.GradientPercent;
  look.gradient = hot ? &section.HotGradientArray : &section.GradientArray;
  if (look.imageShare > 0) {
    std::string_view key = hot ? "HOTPATTERN" : "PATTERN";
    int given = hot ? hotTexture : texture;
    int item = given;
    if (given == -1)
      item = skin.ImageItemIndexOf(sectionIndex, sectionName, key);
    else if (skin.IsValidItem(given) && skin.Items[static_cast<size_t>(given)].MaskType != 0)
      item = -1;  // a given masked texture is an overlay, not the background
    look.textureItem = skin.IsValidItem(item) ? item : -1;
    if (look.textureItem < 0) look.pattern = skin.JpegPatternIndexOf(sectionIndex, sectionName, key);
  }
  return look;
}

// Paints the gradient, or the plain colour when the gradient has no steps.
void PaintGradientOrColor(Bitmap& target, const Rect& rect, const Look& look) {
  if (look.gradient->empty())
    FillRectColor(target, rect, look.color);
  else
    PaintGradient(target, rect, *look.gradient);
}

// The element's own look, ignoring what lies under it.
void PaintOwnBackground(const LoadedSkin& skin, const Look& look, const TsBackgroundRef& background, Bitmap& target,
                        const Rect& rect) {
  bool textured = false;
  if (look.imageShare > 0) {
    if (look.textureItem >= 0) {
      const TsMaskData& item = skin.Items[static_cast<size_t>(look.textureItem)];
      const Bitmap& picture = skin.ItemBitmap(item);
      if (item.MaskType == 0) {
        if (auto rest = PlaceTexture(target, rect, picture, item.StretchMode, item)) FillRectColor(target, *rest, look.color);
      } else {
        // The overlay needs something under it: the section colour, not stale pixels.
        FillRectColor(target, rect, look.color);
        PlaceMaskedTexture(target, rect, background, item.StretchMode, item, picture);
      }
      textured = true;
    } else if (look.pattern >= 0 && skin.Patterns[static_cast<size_t>(look.pattern)].Img) {
      TilePattern(target, rect, *skin.Patterns[static_cast<size_t>(look.pattern)].Img);
      textured = true;
    } else {
      FillRectColor(target, rect, look.color);
    }
  }
  if (look.gradientShare > 0) {
    if (textured) {
      ScratchBitmap scratch(rect.Width(), rect.Height(), target.Format());
      Bitmap& layer = scratch.Get();
      PaintGradientOrColor(layer, layer.Bounds(), look);
      uint8_t weight = ClampByte(look.imageShare * 255 / 100);
      BlendWithWeight(target, layer, weight, {rect.left, rect.top}, layer.Bounds());
    } else {
      PaintGradientOrColor(target, rect, look);
    }
  }
  int shares = look.gradientShare + look.imageShare;
  if (shares == 0)
    FillRectColor(target, rect, look.color);
  else if (shares < 100)
    FadeToColor(target, rect, shares, look.color);
}

// Puts what lies under the element into rect: the background's bitmap or its fill colour.
void PaintParentBackground(const TsBackgroundRef& background, Bitmap& target, Point offset, const Rect& rect) {
  if (!background.Valid || !background.Bitmap) {
    FillRectColor(target, rect, background.FillColor);
  } else if (background.Bitmap != &target) {
    CopyPiece(target, rect.left, rect.top, *background.Bitmap,
              Rect::FromSize(background.X + offset.x, background.Y + offset.y, rect.Width(), rect.Height()));
  }
}

}  // namespace

void PaintSectionBackground(const LoadedSkin& skin, int sectionIndex, std::string_view sectionName,
                            const TsBackgroundRef& background, TColor customColor, int hotTexture, int texture,
                            Bitmap& target, Point offset, const Rect& rect, int state) {
  if (!skin.IsValidSection(sectionIndex) || rect.Empty()) return;
  Look look = ChooseLook(skin, sectionIndex, sectionName, customColor, hotTexture, texture, state);
  TsBackgroundRef shifted = background;
  shifted.X += offset.x;
  shifted.Y += offset.y;
  bool parentKnown = background.Valid || background.FillColor != clFuchsia;

  if (!parentKnown || look.transparency == 0) {
    PaintOwnBackground(skin, look, shifted, target, rect);
  } else if (look.transparency == 100) {
    PaintParentBackground(background, target, offset, rect);
  } else if (background.Valid || look.gradientShare + look.imageShare > 0) {
    ScratchBitmap scratch(rect.Width(), rect.Height(), target.Format());
    Bitmap& own = scratch.Get();
    PaintOwnBackground(skin, look, shifted, own, own.Bounds());
    PaintParentBackground(background, target, offset, rect);
    uint8_t weight = ClampByte(look.transparency * 255 / 100);
    BlendWithWeight(target, own, weight, {rect.left, rect.top}, own.Bounds());
  } else {
    FillRectColor(target, rect, MixColors(background.FillColor, look.color, look.transparency / 100.0));
  }

  if (state != 0) return;
  // Masked overlay textures go on top of the finished background.
  auto overlay = [&](int given, std::string_view key) {
    int item = given != -1 ? given : skin.ImageItemIndexOf(sectionIndex, sectionName, key);
    return skin.IsValidItem(item) ? &skin.Items[static_cast<size_t>(item)] : nullptr;
  };
  const TsMaskData* normal = overlay(texture, "PATTERN");
  const TsMaskData* chosen = nullptr;
  if (normal && normal->MaskType != 0)
    chosen = normal->StretchMode == 10 ? normal : nullptr;
  else if (const TsMaskData* hot = overlay(hotTexture, "HOTPATTERN"); hot && hot->MaskType != 0 && hot->StretchMode == 10)
    chosen = hot;
  if (chosen) PlaceMaskedTexture(target, rect, shifted, chosen->StretchMode, *chosen, skin.ItemBitmap(*chosen));
}
