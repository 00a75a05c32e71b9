// The two text writers every skinned element uses, over the platform's device contexts:
// WriteSkinText for an element with a skin state (its section's colours, contour and glow, the
// parent's section for windowless elements over a transparent parent) and WriteSectionText for
// callers that only know a section index. GdiTextSurface is the platform side of TextSurface.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Control.h"
#include "paint/SkinText.h"

class TsCommonData;
class TsSkinManager;

class GdiTextSurface : public TextSurface {
 public:
  explicit GdiTextSurface(HDC dc) : dc_(dc) {}
  void SetTextColor(TColor color) override;
  void DrawText(const std::wstring& text, const Rect& rect, uint32_t format) override;
  int TextWidth(const std::wstring& text) override;

 private:
  HDC dc_;  // borrowed
};

// Draws `text` in rect of `dc` for the element of `data` (the element's font is selected for
// the call; the background is left transparent).
void WriteSkinText(HDC dc, const std::wstring& text, bool enabled, bool hot, TsCommonData& data, uint32_t format,
                   const Rect& rect);
// The same for a section index; a missing manager means the default manager.
void WriteSectionText(HDC dc, const std::wstring& text, bool enabled, TsSkinManager* manager, bool hot, int sectionIndex,
                      uint32_t format, const Rect& rect);
// The section whose colours a windowless element over a transparent parent takes: the parent's
// (asked with skin command 26, one level further up above 50 % transparency) when it gives its
// own font, else `ownIndex`.
int TextParentSection(TControl* control, int ownIndex);
// CutText with the font selected into dc.
std::wstring CutText(HDC dc, const std::wstring& text, int width);
