// See SkinTextWriter.h.
#include "paint/SkinTextWriter.h"

#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "paint/GdiTextRasterizer.h"
#include "paint/sCommonData.h"
#include "skin/SkinCommands.h"
#include "skin/sSkinManager.h"

void GdiTextSurface::SetTextColor(TColor color) { ::SetTextColor(dc_, ColorToRGB(color)); }

void GdiTextSurface::DrawText(const std::wstring& text, const Rect& rect, uint32_t format) {
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  ::DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &r, format);
}

int GdiTextSurface::TextWidth(const std::wstring& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

int TextParentSection(TControl* control, int ownIndex) {
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  for (TControl* child = control; child && child->Parent() && manager;) {
    TWinControl* parent = child->Parent();
    LRESULT answer = parent->HandleAllocated()
                         ? SendMessageW(parent->Handle(), SM_LACQUERCMD, SkinCommandParam(scGetSectionIndex), 0)
                         : parent->Perform(SM_LACQUERCMD, SkinCommandParam(scGetSectionIndex), 0);
    int index = static_cast<int>(answer) - 1;
    if (!manager->IsValidSection(index)) return ownIndex;
    const TsGeneralData& s = manager->Skin().Sections[static_cast<size_t>(index)];
    if (s.Transparency > 50 && parent->Parent()) {
      child = parent;
      continue;
    }
    return s.GiveOwnFont ? index : ownIndex;
  }
  return ownIndex;
}

void WriteSkinText(HDC dc, const std::wstring& text, bool enabled, bool hot, TsCommonData& data, uint32_t format,
                   const Rect& rect) {
  TsSkinManager* manager = data.SkinManager();
  if (!manager) return;
  TControl* control = data.Control();
  TFont font;
  if (control) font.Assign(*control->Font());
  if (hot && data.SkinSection() == "WEBBUTTON") {
    TFontStyles style = font.Style();
    style.Include(TFontStyle::fsUnderline);
    font.SetStyle(style);
  }
  SavedDcState saved(dc);
  if (control) SelectObject(dc, font.Handle());
  SetBkMode(dc, TRANSPARENT);
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);

  int section = data.SectionIndex;
  if (control && manager->IsValidSection(section)) {
    int kind = data.ControlType();
    bool usesParent = kind == 32 || kind == 33 || kind == 74 || dynamic_cast<TWinControl*>(control) == nullptr;
    const TsGeneralData& own = manager->Skin().Sections[static_cast<size_t>(section)];
    if (usesParent && control->ParentFont() && control->Parent() && (hot ? own.HotTransparency : own.Transparency) >= 1)
      section = TextParentSection(control, section);
  }
  GdiTextSurface surface(dc);
  if (!manager->IsValidSection(section)) {
    DrawSkinText(surface, text, rect, format, SkinTextLook{});
    return;
  }
  const TsGeneralData& s = manager->Skin().Sections[static_cast<size_t>(section)];
  if (data.Cache) {
    GdiTextRasterizer rasterizer(control ? font.Handle() : static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT)));
    PaintSkinTextGlow(data.Cache.Pixels(), rasterizer, text, rect, format, s, hot);
  }
  SkinTextLook look;
  look.Section = &s;
  look.Enabled = enabled;
  look.Hot = hot;
  look.UseOwnColor = data.CustomFont();
  look.OwnColor = control ? control->Font()->Color() : clBlack;
  look.DisabledMix = manager->GlobalColor();
  DrawSkinText(surface, text, rect, format, look);
}

void WriteSectionText(HDC dc, const std::wstring& text, bool enabled, TsSkinManager* manager, bool hot, int sectionIndex,
                      uint32_t format, const Rect& rect) {
  if (!manager) manager = TsSkinManager::DefaultManager();
  if (!manager || !manager->IsValidSection(sectionIndex)) return;
  const TsGeneralData& s = manager->Skin().Sections[static_cast<size_t>(sectionIndex)];
  SavedDcState saved(dc);
  SetBkMode(dc, TRANSPARENT);
  GdiTextSurface surface(dc);
  SkinTextLook look;
  look.Section = &s;
  look.Enabled = enabled;
  look.Hot = hot;
  look.DisabledMix = s.Color;
  look.NoClipMainText = false;
  DrawSkinText(surface, text, rect, format, look);
}

std::wstring CutText(HDC dc, const std::wstring& text, int width) {
  GdiTextSurface surface(dc);
  return CutText(surface, text, width);
}
