// See SkinText.h.
#include "paint/SkinText.h"

#include "paint/TextGlow.h"
#include "pixel/ColorMath.h"

void DrawSkinText(TextSurface& surface, const std::wstring& text, const Rect& rect, uint32_t format,
                  const SkinTextLook& look) {
  if (!look.Section) {
    surface.DrawText(text, rect, format);
    return;
  }
  const auto& colors = look.Hot ? look.Section->HotFontColor : look.Section->FontColor;
  if (!look.Enabled) {
    surface.SetTextColor(MixColors(look.Section->FontColor[0], look.DisabledMix, 0.4));
    surface.DrawText(text, rect, format);
    return;
  }
  uint32_t mainFormat = look.NoClipMainText ? (format | kTextNoClip) : format;
  if (look.UseOwnColor) {
    surface.SetTextColor(look.OwnColor);
    surface.DrawText(text, rect, mainFormat);
    return;
  }
  // Contour sides in the order left, top, right, bottom.
  static constexpr int kShift[4][2] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
  for (int side = 0; side < 4; ++side) {
    TColor color = colors[static_cast<size_t>(side) + 1];
    if (color == -1) continue;
    surface.SetTextColor(color);
    surface.DrawText(text, rect.Offset(kShift[side][0], kShift[side][1]), format);
  }
  surface.SetTextColor(colors[0]);
  surface.DrawText(text, rect, mainFormat);
}

void PaintSkinTextGlow(Bitmap& target, TextRasterizer& rasterizer, const std::wstring& text, const Rect& rect,
                       uint32_t format, const TsGeneralData& section, bool hot) {
  int size = hot ? section.HotGlowSize : section.GlowSize;
  if (size == 0) return;
  TColor color = hot ? section.HotGlowColor : section.GlowColor;
  PaintTextGlow(target, rasterizer, text, rect, nullptr, color, size, tcLeft | tcUp | tcRight | tcDown, format);
}

std::wstring CutText(TextSurface& surface, const std::wstring& text, int width) {
  if (width <= 0) return {};
  if (surface.TextWidth(text) <= width) return text;
  static const std::wstring kEllipsis = L"...";
  // Widths grow with the length, so the longest fitting part is found by halving.
  size_t low = 0, high = text.size();  // part of length `low` fits (or is empty), `high` does not
  while (high - low > 1) {
    size_t middle = low + (high - low) / 2;
    if (surface.TextWidth(text.substr(0, middle) + kEllipsis) <= width) low = middle;
    else high = middle;
  }
  if (low == 0) return {};
  return text.substr(0, low) + kEllipsis;
}
