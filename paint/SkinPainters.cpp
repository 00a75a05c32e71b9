// See SkinPainters.h.
#include "paint/SkinPainters.h"

#include <algorithm>

#include "paint/BackgroundExchange.h"
#include "paint/ImageItems.h"
#include "paint/PieceCopy.h"
#include "paint/SectionBackground.h"
#include "paint/sCommonData.h"
#include "skin/sSkinManager.h"

namespace {

void PaintCorners(const LoadedSkin& skin, const TsGeneralData& s, Bitmap& target, const Rect& rect, int state,
                  int bottomLeftX) {
  TsBackgroundRef self = BackgroundFromBitmap(target, 0, 0);
  auto glyph = [&](int index, int x, int y) {
    if (skin.IsValidItem(index)) PaintGlyphItem(&skin, target, {x, y}, state, self, skin.Items[static_cast<size_t>(index)], 1);
  };
  auto size = [&](int index) { return skin.IsValidItem(index) ? Point{StateWidth(skin.Items[static_cast<size_t>(index)]), StateHeight(skin.Items[static_cast<size_t>(index)])} : Point{0, 0}; };
  glyph(s.ImgTL, rect.left, rect.top);
  glyph(s.ImgTR, rect.right - size(s.ImgTR).x, rect.top);
  glyph(s.ImgBL, bottomLeftX, rect.bottom - size(s.ImgBL).y);
  glyph(s.ImgBR, rect.right - size(s.ImgBR).x, rect.bottom - size(s.ImgBR).y);
}

bool UsableRect(const Bitmap& target, const Rect& rect) {
  return !target.Empty() && rect.Width() > 0 && rect.Height() > 0 && rect.left < target.Width() &&
         rect.top < target.Height() && rect.right > 0 && rect.bottom > 0;
}

}  // namespace

void PaintSection(const TsSkinManager& manager, int sectionIndex, std::string_view sectionName,
                  const TsBackgroundRef& background, Bitmap& target, Point offset, const Rect& rect, int state,
                  bool fillCentre) {
  if (!UsableRect(target, rect) || !manager.IsValidSection(sectionIndex)) return;
  const LoadedSkin& skin = manager.Skin();
  const TsGeneralData& s = skin.Sections[static_cast<size_t>(sectionIndex)];
  PaintSectionBackground(skin, sectionIndex, sectionName, background, clFuchsia, -1, -1, target, offset, rect, state);
  PaintCorners(skin, s, target, rect, state, rect.left);
  TsBackgroundRef shifted = background;
  shifted.X += offset.x;
  shifted.Y += offset.y;
  if (skin.IsValidItem(s.BorderIndex))
    PaintBorderItem(&skin, target, rect, fillCentre, true, state, skin.Items[static_cast<size_t>(s.BorderIndex)], shifted);
}

void PaintControlBackground(const TsCommonData& data, const TsBackgroundRef& background, int state, Bitmap& target,
                            Point offset, const Rect& rect) {
  TsSkinManager* manager = data.SkinManager();
  if (!manager || !UsableRect(target, rect) || !manager->IsValidSection(data.SectionIndex)) return;
  TColor custom = clFuchsia;
  if (data.CustomColor() && data.Control()) custom = PlainColor(data.Control()->Color());
  PaintSectionBackground(manager->Skin(), data.SectionIndex, data.SkinSection(), background, custom, data.HotTextureItem,
                         data.TextureItem, target, offset, rect, state);
}

void PaintControl(const TsCommonData& data, const TsBackgroundRef& background, bool cornerMode, bool fillCentre,
                  Bitmap& target, Point offset, const Rect& rect, int state) {
  TsSkinManager* manager = data.SkinManager();
  if (!manager || !UsableRect(target, rect) || !manager->IsValidSection(data.SectionIndex)) return;
  const LoadedSkin& skin = manager->Skin();
  PaintControlBackground(data, background, state, target, offset, rect);
  if (skin.IsValidItem(data.BorderItem)) {
    const TsMaskData& item = skin.Items[static_cast<size_t>(data.BorderItem)];
    if (state != 0 || (item.StretchMode & 2) == 0) {
      TsBackgroundRef shifted = background;
      shifted.X += offset.x;
      shifted.Y += offset.y;
      PaintBorderItem(&skin, target, rect, fillCentre, cornerMode, state, item, shifted);
    }
  }
  PaintCorners(skin, skin.Sections[static_cast<size_t>(data.SectionIndex)], target, rect, state, 0);
}

void PaintControlOverParent(const TsCommonData& data, bool cornerMode, bool fillCentre, Bitmap& target, Point offset,
                            const Rect& rect, int state) {
  TsBackgroundRequest request;
  TsBackgroundRef background;
  if (TControl* control = data.Control(); control && control->Parent()) {
    background = ParentBackgroundOf(control, request);
  } else if (HWND window = data.Window(); window && GetParent(window)) {
    RequestParentBackground(request, GetParent(window), false);
    background = ToBackgroundRef(request);
  } else {
    background = {nullptr, 0, 0, PlainColor(clBtnFace), false};
  }
  PaintControl(data, background, cornerMode, fillCentre, target, offset, rect, state);
}

void RestoreCorners(TsCommonData& data, int state) {
  TsSkinManager* manager = data.SkinManager();
  TControl* control = data.Control();
  if (!manager || !data.Cache || !control || control->Width() < 2 || control->Height() < 2) return;
  const LoadedSkin& skin = manager->Skin();
  if (!skin.IsValidItem(data.BorderItem)) return;
  const TsMaskData& item = skin.Items[static_cast<size_t>(data.BorderItem)];
  TsBackgroundRequest request;
  TsBackgroundRef background = ParentBackgroundOf(control, request);
  if (background.Valid) {
    background.X += control->Left();
    background.Y += control->Top();
  }
  int count = item.ImageCount > 0 ? item.ImageCount : 3;
  bool masked = item.ImageCount > 0 ? item.MaskType > 0 : true;
  int stateIndex = std::clamp(state, 0, count - 1);
  int stateWidth = item.R.Width() / count;
  int stateHeight = masked ? item.R.Height() / 2 : item.R.Height();
  int x0 = item.R.left + stateIndex * stateWidth;
  Bitmap& cache = data.Cache.Pixels();
  const Bitmap& source = skin.ItemBitmap(item);
  int w = cache.Width(), h = cache.Height();
  struct Corner {
    Rect source;
    int x, y;
  } corners[] = {
      {Rect::FromSize(x0, item.R.top, item.WL, item.WT), 0, 0},
      {Rect::FromSize(x0, item.R.top + stateHeight - item.WB, item.WL, item.WB), 0, h - item.WB},
      {Rect::FromSize(x0 + stateWidth - item.WR, item.R.top + stateHeight - item.WB, item.WR, item.WB), w - item.WR, h - item.WB},
      {Rect::FromSize(x0 + stateWidth - item.WR, item.R.top, item.WR, item.WT), w - item.WR, 0},
  };
  for (const Corner& c : corners) {
    if (c.source.Width() <= 0 || c.source.Height() <= 0) continue;
    TsBackgroundRef at = background;
    at.X += c.x;
    at.Y += c.y;
    if (masked) CopyMaskedPiece(cache, c.x, c.y, source, c.source, item, true, at);
    else CopyKeyedPiece(cache, c.x, c.y, source, c.source, clFuchsia, true, at);
  }
}

void CopyBitmapToDc(HDC dc, int x, int y, HBITMAP bitmap, const Rect& source) {
  UniqueMemoryDc memory(CreateCompatibleDC(dc));
  SelectedObject selected(memory.get(), bitmap);
  BitBlt(dc, x, y, source.Width(), source.Height(), memory.get(), source.left, source.top, SRCCOPY);
}

void CopyCacheExceptChildren(TsCommonData& data, bool refresh, HDC dc, const Rect& rect, int state) {
  if (!data.Cache) return;
  if (refresh) RestoreCorners(data, state);
  SavedDcState saved(dc);
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  if (auto* parent = dynamic_cast<TWinControl*>(data.Control())) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
      auto* child = dynamic_cast<TWinControl*>(parent->Controls(i));
      if (!child || !child->Visible() || !child->HandleAllocated()) continue;
      Rect r = child->BoundsRect();
      if (r.right <= rect.left || r.left >= rect.right || r.bottom <= rect.top || r.top >= rect.bottom) continue;
      ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
  }
  CopyBitmapToDc(dc, rect.left, rect.top, data.Cache.Handle(), rect);
}

void CopyCacheExceptWindows(TsCommonData& data, bool refresh, HDC dc, const Rect& rect, int state) {
  if (!data.Cache) return;
  if (refresh) RestoreCorners(data, state);
  SavedDcState saved(dc);
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  if (HWND window = data.Window()) {
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (!IsWindowVisible(child)) continue;
      RECT r;
      GetWindowRect(child, &r);
      MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
      ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
  }
  CopyBitmapToDc(dc, rect.left, rect.top, data.Cache.Handle(), rect);
}
