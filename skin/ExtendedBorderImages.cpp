// See ExtendedBorderImages.h.
#include "skin/ExtendedBorderImages.h"

#include "pixel/BitmapBlend.h"

namespace {

// A 32-bit copy of one state picture of the item's own image (the part inside the image).
Bitmap CopyState(const Bitmap& image, int left, int width, int height) {
  Bitmap source = image.Format() == PixelFormat::pf32bit ? image : image.Converted(PixelFormat::pf32bit);
  Bitmap state(width, height, PixelFormat::pf32bit);
  Rect area = Rect::FromSize(left, 0, width, height).Intersect(source.Bounds());
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) state.SetPixel(x - left, y, source.GetPixel(x, y));
  return state;
}

}  // namespace

TsExtendedBorderImages PrepareExtendedBorders(const LoadedSkin& skin, int exBorderItem, const TsExtendedBorderRequest& request) {
  TsExtendedBorderImages result;
  if (!request.active || !request.extendedBorders) return result;
  const TsSkinData& data = skin.Data;
  if (skin.IsValidItem(exBorderItem) && skin.Items[static_cast<size_t>(exBorderItem)].Image) {
    const TsMaskData& item = skin.Items[static_cast<size_t>(exBorderItem)];
    if (data.BorderMode != 0)
      result.Margins = {data.FormOffset, data.FormOffset, data.FormOffset, data.FormOffset};
    else
      result.Margins = {item.WL - data.FormOffset, item.WT - data.FormOffset, item.WR - data.FormOffset,
                        item.WB - data.FormOffset};
    const int width = StateWidth(item), height = StateHeight(item);
    result.Inactive = CopyState(*item.Image, 0, width, height);
    result.Active = item.ImageCount > 1 ? CopyState(*item.Image, width, width, height) : result.Inactive;
  } else if (request.builtInActive && request.builtInInactive) {
    int grow = request.compositionEnabled ? 1 : 0;
    result.Margins = {11 + grow, 7 + grow, 11 + grow, 11 + grow};
    result.Active = request.builtInActive->Converted(PixelFormat::pf32bit);
    result.Inactive = request.builtInInactive->Converted(PixelFormat::pf32bit);
  }
  ClearTransparentWhite(result.Active);
  ClearTransparentWhite(result.Inactive);
  return result;
}
