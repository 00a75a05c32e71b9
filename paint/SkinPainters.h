// The painters of the skin state: a section's background, corner pictures and border into a
// bitmap (nothing touches the screen), the corners of a cache restored from the parent's
// background, and the copy of a cache to the screen that leaves the children alone.
#pragma once

#include <windows.h>

#include <string_view>

#include "framework/Control.h"
#include "paint/BackgroundRef.h"
#include "pixel/Bitmap.h"

class TsCommonData;
class TsSkinManager;

// The section's background over rect, then its corner pictures, then its border item.
void PaintSection(const TsSkinManager& manager, int sectionIndex, std::string_view sectionName,
                  const TsBackgroundRef& background, Bitmap& target, Point offset, const Rect& rect, int state,
                  bool fillCentre);
// The same for an element's own section with its texture indexes and custom colour.
void PaintControl(const TsCommonData& data, const TsBackgroundRef& background, bool cornerMode, bool fillCentre,
                  Bitmap& target, Point offset, const Rect& rect, int state);
// PaintControl over the background that the element's parent gives.
void PaintControlOverParent(const TsCommonData& data, bool cornerMode, bool fillCentre, Bitmap& target, Point offset,
                            const Rect& rect, int state);
// Only the background part of the element's section.
void PaintControlBackground(const TsCommonData& data, const TsBackgroundRef& background, int state, Bitmap& target,
                            Point offset, const Rect& rect);

// Repaints the four corners of the cache from the parent's background where the border item's
// mask (or key colour) is transparent.
void RestoreCorners(TsCommonData& data, int state);

// Copies the cache to `dc` over rect without painting over the visible windowed children
// (`refresh` restores the corners first).
void CopyCacheExceptChildren(TsCommonData& data, bool refresh, HDC dc, const Rect& rect, int state = 0);
// The same for the child windows of a bare window.
void CopyCacheExceptWindows(TsCommonData& data, bool refresh, HDC dc, const Rect& rect, int state = 0);

// Copies `bitmap` (a section's pixels) to dc at (x, y).
void CopyBitmapToDc(HDC dc, int x, int y, HBITMAP bitmap, const Rect& source);
